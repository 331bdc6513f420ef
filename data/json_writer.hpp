#pragma once
// The game's one JSON writer: the page's state script, the binding metadata
// and the simulator's state line all come out of it, so they share one number
// form and one string escape. Output has no blanks.
//
// Numbers: integers in decimal; other numbers as printf's "%g" (six
// significant digits, no trailing zeros: 0, 12.5, 426.667, 1.23457e+06).
// Strings: '"' and '\' behind a backslash; tab, line feed and carriage return
// as \t \n \r; backspace and form feed as \b \f in the page's form and as
// \u0008 \u000c in binding metadata's; other bytes below 0x20 as \u00xx
// (lower-case hex); everything else, UTF-8 and DEL included, as it is.

#include <string>
#include <string_view>

namespace nj {

enum class JsonStringForm { Page, Metadata };

// The escaped bytes of `text` in the page's form, without quotes.
std::string escapeJsonText(std::string_view text);
// `text` quoted in binding metadata's form.
std::string quoteJsonString(std::string_view text);
// printf's "%g".
std::string formatJsonNumber(double value);

class JsonWriter {
  public:
    explicit JsonWriter(JsonStringForm form = JsonStringForm::Page) : form_(form) {}

    JsonWriter& beginObject() { return open('{'); }
    JsonWriter& endObject() { return close('}'); }
    JsonWriter& beginArray() { return open('['); }
    JsonWriter& endArray() { return close(']'); }

    // A member name; the next value is its value.
    JsonWriter& key(std::string_view name);

    JsonWriter& integer(long long value);
    JsonWriter& unsignedInteger(unsigned long long value);
    JsonWriter& number(double value);
    JsonWriter& boolean(bool value);
    JsonWriter& null();
    JsonWriter& string(std::string_view value);

    const std::string& text() const { return out_; }

  private:
    JsonWriter& open(char bracket);
    JsonWriter& close(char bracket);
    // The separator a value or key needs where it stands.
    void beforeValue();

    std::string out_;
    JsonStringForm form_;
    bool needsComma_ = false;  // a value ended at this level
    bool afterKey_ = false;    // the next value belongs to a key just written
};

}  // namespace nj
