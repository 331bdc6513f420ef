// SHA-256 / HMAC-SHA256 hex renderings and the forgiving hex decoder.
#include "data/digest.hpp"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "data/sha256.hpp"

namespace nj {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The unusual pairs (a sign, leading blanks, "0x", a single digit followed by
// junk) follow the C library's base-16 conversion exactly, as the format
// always has.
unsigned char decodeOddPair(char first, char second) {
    const char pair[3] = {first, second, '\0'};
    char* end = nullptr;
    const unsigned long value = std::strtoul(pair, &end, 16);
    if (end == pair) throw std::invalid_argument("invalid stoul argument");
    return static_cast<unsigned char>(value & 0xFFu);
}

std::string digestToString(const Sha256Digest& d) {
    return std::string(reinterpret_cast<const char*>(d.data()), d.size());
}

}  // namespace

std::string hexEncode(std::string_view bytes) {
    std::string out(bytes.size() * 2, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[2 * i] = kHexDigits[b >> 4];
        out[2 * i + 1] = kHexDigits[b & 15];
    }
    return out;
}

std::string hexDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size() / 2);
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const int hi = hexValue(text[i]);
        const int lo = hexValue(text[i + 1]);
        if (hi >= 0 && lo >= 0) {
            out.push_back(static_cast<char>((hi << 4) | lo));
        } else {
            out.push_back(static_cast<char>(decodeOddPair(text[i], text[i + 1])));
        }
    }
    return out;
}

std::string sha256Raw(std::string_view bytes) { return digestToString(sha256(bytes)); }

std::string sha256Hex(std::string_view bytes) { return hexEncode(sha256Raw(bytes)); }

std::string hmacSha256Hex(std::string_view key, std::initializer_list<std::string_view> parts) {
    unsigned char block[64] = {};
    if (key.size() > 64) {
        const Sha256Digest d = sha256(key);
        std::memcpy(block, d.data(), d.size());
    } else {
        std::memcpy(block, key.data(), key.size());
    }
    unsigned char inner[64], outer[64];
    for (int i = 0; i < 64; ++i) {
        inner[i] = block[i] ^ 0x36;
        outer[i] = block[i] ^ 0x5C;
    }
    Sha256 innerHash;
    innerHash.update(inner, sizeof inner);
    for (std::string_view part : parts) innerHash.update(part);
    const Sha256Digest innerDigest = innerHash.finish();
    Sha256 outerHash;
    outerHash.update(outer, sizeof outer);
    outerHash.update(innerDigest.data(), innerDigest.size());
    return hexEncode(digestToString(outerHash.finish()));
}

std::string hmacSha256Hex(std::string_view key, std::string_view message) {
    return hmacSha256Hex(key, {message});
}

bool signaturesMatch(std::string_view a, std::string_view b) { return a == b; }

}  // namespace nj
