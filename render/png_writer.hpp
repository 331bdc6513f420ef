#pragma once
// Writing screenshots as PNG files.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace nj {

// An 8-bit RGB PNG of width x height pixels from tightly packed RGB rows, top
// row first. The bytes of the whole file; empty when the sizes do not match.
std::vector<uint8_t> encodePngRgb(std::span<const uint8_t> rgb, uint32_t width, uint32_t height);

// encodePngRgb written to `path`; false when encoding or writing fails.
bool writePngRgb(const std::string& path, std::span<const uint8_t> rgb, uint32_t width,
                 uint32_t height);

}  // namespace nj
