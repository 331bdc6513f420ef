// Feeds arbitrary bytes to the JSON reader: it must either return a document
// or throw one of its documented exception types, never crash or hang.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "data/json.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const nj::JsonValue v = nj::parseJson(text);
        (void)v.size();
        (void)v.getNumber("x", 0.0f);
        (void)v.at(0).getString("name", "");
    } catch (const std::runtime_error&) {
    } catch (const std::invalid_argument&) {
    } catch (const std::out_of_range&) {
    }
    return 0;
}
