#pragma once
// Names what a kept layer of the play field looks like: everything the
// layer's drawing depends on is mixed into one 64-bit FNV-1a value, so a
// layer is redrawn exactly when its inputs change.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace nj {

class LayerKey {
  public:
    void mix(const void* bytes, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            value_ ^= static_cast<const unsigned char*>(bytes)[i];
            value_ *= 0x100000001b3ull;
        }
    }
    void mix(std::string_view text) {
        mix(text.data(), text.size());
        mix(&kSeparator, 1);  // "ab"+"c" and "a"+"bc" stay apart
    }
    std::uint64_t value() const { return value_; }

  private:
    static constexpr char kSeparator = '\0';
    std::uint64_t value_ = 0xcbf29ce484222325ull;
};

}  // namespace nj
