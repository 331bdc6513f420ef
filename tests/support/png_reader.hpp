#pragma once
// Any PNG libpng reads, as 8-bit RGB (opaque ones only: colours come premultiplied by alpha).

#include <cstdint>
#include <string>
#include <vector>

namespace nj::test {

struct DecodedPng {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb;  // width x height x 3, top row first
    std::string error;         // empty when decoding succeeded

    uint32_t pixel(uint32_t x, uint32_t y) const {
        const size_t i = (size_t{y} * width + x) * 3;
        return uint32_t{rgb[i]} << 16 | uint32_t{rgb[i + 1]} << 8 | rgb[i + 2];
    }
};

DecodedPng readPng(const std::string& path);

}  // namespace nj::test
