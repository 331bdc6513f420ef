// PNG encoding with zlib: signature, IHDR, one IDAT, IEND; no filtering.

#include "render/png_writer.hpp"

#include <zlib.h>

#include <cstdio>
#include <memory>

namespace nj {

namespace {

void putU32(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value >> 24));
    out.push_back(static_cast<uint8_t>(value >> 16));
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

// A chunk is length, type, data, then the CRC of type and data.
void putChunk(std::vector<uint8_t>& out, const char (&type)[5], std::span<const uint8_t> data) {
    putU32(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
    putU32(out, static_cast<uint32_t>(crc));
}

}  // namespace

std::vector<uint8_t> encodePngRgb(std::span<const uint8_t> rgb, uint32_t width, uint32_t height) {
    const size_t rowBytes = size_t{width} * 3;
    if (width == 0 || height == 0 || rgb.size() != rowBytes * height) return {};

    // Every scan line starts with its filter type; 0 leaves the bytes as they are.
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * height);
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto row = rgb.subspan(y * rowBytes, rowBytes);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_SPEED) != Z_OK) {
        return {};
    }
    packed.resize(packedSize);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putU32(header, width);
    putU32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", packed);
    putChunk(png, "IEND", {});
    return png;
}

bool writePngRgb(const std::string& path, std::span<const uint8_t> rgb, uint32_t width,
                 uint32_t height) {
    const std::vector<uint8_t> png = encodePngRgb(rgb, width, height);
    if (png.empty()) return false;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) return false;
    if (std::fwrite(png.data(), 1, png.size(), file.get()) != png.size()) return false;
    return std::fflush(file.get()) == 0;
}

}  // namespace nj
