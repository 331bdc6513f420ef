// SHA-256 / HMAC-SHA256 hex renderings and the forgiving hex decoder.
#include "data/digest.hpp"

#include <array>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace nj {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// Value of each byte as a hex digit, or -1.
constexpr auto kHexValue = [] {
    std::array<signed char, 256> table{};
    for (int c = 0; c < 256; ++c) {
        table[c] = -1;
        if (c >= '0' && c <= '9') table[c] = static_cast<signed char>(c - '0');
        if (c >= 'a' && c <= 'f') table[c] = static_cast<signed char>(c - 'a' + 10);
        if (c >= 'A' && c <= 'F') table[c] = static_cast<signed char>(c - 'A' + 10);
    }
    return table;
}();

int hexValue(char c) {
    return kHexValue[static_cast<unsigned char>(c)];
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
    std::string out(text.size() / 2, '\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char first = text[2 * i], second = text[2 * i + 1];
        const int hi = hexValue(first);
        const int lo = hexValue(second);
        out[i] = (hi | lo) >= 0 ? static_cast<char>((hi << 4) | lo)
                                : static_cast<char>(decodeOddPair(first, second));
    }
    return out;
}

std::string sha256Raw(std::string_view bytes) {
    return digestToString(sha256(bytes));
}

std::string sha256Hex(std::string_view bytes) {
    return hexEncode(sha256Raw(bytes));
}

HmacSha256::HmacSha256(std::string_view key) {
    unsigned char block[64] = {};
    if (key.size() > 64) {
        const Sha256Digest d = sha256(key);
        std::memcpy(block, d.data(), d.size());
    } else {
        std::memcpy(block, key.data(), key.size());
    }
    unsigned char innerPad[64];
    for (int i = 0; i < 64; ++i) {
        innerPad[i] = block[i] ^ 0x36;
        outerPad_[i] = block[i] ^ 0x5C;
    }
    inner_.update(innerPad, sizeof innerPad);
}

std::string HmacSha256::finishHex() {
    const Sha256Digest innerDigest = inner_.finish();
    Sha256 outer;
    outer.update(outerPad_, sizeof outerPad_);
    outer.update(innerDigest.data(), innerDigest.size());
    return hexEncode(digestToString(outer.finish()));
}

std::string hmacSha256Hex(std::string_view key, std::initializer_list<std::string_view> parts) {
    HmacSha256 mac(key);
    for (std::string_view part : parts) mac.update(part);
    return mac.finishHex();
}

std::string hmacSha256Hex(std::string_view key, std::string_view message) {
    return hmacSha256Hex(key, {message});
}

bool signaturesMatch(std::string_view a, std::string_view b) {
    return a == b;
}

}  // namespace nj
