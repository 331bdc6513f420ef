// Test-side PNG decoding, written from the format's definition.

#include "tests/support/png_reader.hpp"

#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace nj::test {

namespace {

uint32_t readU32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

DecodedPng failed(const char* why) {
    DecodedPng out;
    out.error = why;
    return out;
}

}  // namespace

DecodedPng decodePng(const std::vector<uint8_t>& file) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.size() < 8 || !std::equal(kSignature, kSignature + 8, file.begin())) {
        return failed("bad signature");
    }
    uint32_t width = 0, height = 0;
    int channels = 0;
    std::vector<uint8_t> packed;
    bool ended = false;
    for (size_t at = 8; at < file.size() && !ended;) {
        if (file.size() - at < 12) return failed("truncated chunk");
        const uint32_t length = readU32(&file[at]);
        if (file.size() - at - 12 < length) return failed("chunk overruns file");
        const uint8_t* type = &file[at + 4];
        const uint8_t* data = type + 4;
        const uLong crc = crc32(0L, type, 4 + length);
        if (crc != readU32(data + length)) return failed("bad CRC");
        const std::string name(type, type + 4);
        if (name == "IHDR") {
            if (length != 13) return failed("bad IHDR");
            width = readU32(data);
            height = readU32(data + 4);
            if (data[8] != 8 || (data[9] != 2 && data[9] != 6) || data[12] != 0) {
                return failed("unsupported IHDR");
            }
            channels = data[9] == 2 ? 3 : 4;
        } else if (name == "IDAT") {
            packed.insert(packed.end(), data, data + length);
        } else if (name == "IEND") {
            ended = true;
        }
        at += 12 + length;
    }
    if (!ended || channels == 0) return failed("missing IHDR or IEND");

    const size_t stride = size_t{width} * channels;
    std::vector<uint8_t> raw((stride + 1) * height);
    uLongf rawSize = raw.size();
    if (uncompress(raw.data(), &rawSize, packed.data(), packed.size()) != Z_OK ||
        rawSize != raw.size()) {
        return failed("bad image data");
    }

    std::vector<uint8_t> image(stride * height);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t filter = raw[y * (stride + 1)];
        const uint8_t* in = &raw[y * (stride + 1) + 1];
        uint8_t* row = &image[y * stride];
        const uint8_t* up = y > 0 ? &image[(y - 1) * stride] : nullptr;
        for (size_t i = 0; i < stride; ++i) {
            const int a = i >= static_cast<size_t>(channels) ? row[i - channels] : 0;
            const int b = up ? up[i] : 0;
            const int c = up && i >= static_cast<size_t>(channels) ? up[i - channels] : 0;
            int predicted = 0;
            switch (filter) {
                case 0:
                    predicted = 0;
                    break;
                case 1:
                    predicted = a;
                    break;
                case 2:
                    predicted = b;
                    break;
                case 3:
                    predicted = (a + b) / 2;
                    break;
                case 4:
                    predicted = paeth(a, b, c);
                    break;
                default:
                    return failed("bad filter");
            }
            row[i] = static_cast<uint8_t>(in[i] + predicted);
        }
    }

    DecodedPng out;
    out.width = width;
    out.height = height;
    out.rgb.reserve(size_t{width} * height * 3);
    for (size_t p = 0; p < size_t{width} * height; ++p) {
        for (int k = 0; k < 3; ++k) out.rgb.push_back(image[p * channels + k]);
    }
    return out;
}

DecodedPng readPng(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return failed("cannot open");
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    return decodePng(bytes);
}

}  // namespace nj::test
