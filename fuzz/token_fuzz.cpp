// Map tokens: any text decodes or is refused, and any text survives encoding and decoding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "data/map_token.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        (void)nj::decodeMapToken(text);
    } catch (const std::runtime_error&) {
    } catch (const std::invalid_argument&) {
    }
    if (!text.empty() && nj::decodeMapToken(nj::encodeMapToken(text, nj::mapSaltFor(text))) != text)
        std::abort();
    return 0;
}
