#pragma once
// Digest helpers shared by both protected formats (map tokens and the asset
// package): SHA-256 and HMAC-SHA256 as lowercase hex text, and hex decoding.

#include <initializer_list>
#include <string>
#include <string_view>

#include "data/sha256.hpp"

namespace nj {

// HMAC-SHA256 fed piece by piece; inner() lets a caller stream the message
// through other machinery (the package reader deciphers while it signs).
class HmacSha256 {
  public:
    explicit HmacSha256(std::string_view key);
    void update(std::string_view bytes) { inner_.update(bytes); }
    Sha256& inner() { return inner_; }
    std::string finishHex();  // 64 lowercase hex characters; the object is spent

  private:
    unsigned char outerPad_[64];
    Sha256 inner_;
};

std::string sha256Hex(std::string_view bytes);
std::string sha256Raw(std::string_view bytes);  // the 32 digest bytes

// HMAC-SHA256 (RFC 2104, 64-byte blocks) of the message under `key`.
std::string hmacSha256Hex(std::string_view key, std::string_view message);
// Same, over the concatenation of `parts`, without building it in memory.
std::string hmacSha256Hex(std::string_view key, std::initializer_list<std::string_view> parts);

// Lowercase hex text, two characters per byte.
std::string hexEncode(std::string_view bytes);
// Pairs of characters to bytes, each pair read as the longest base-16 prefix
// (so "a?" gives 0x0A); an odd last character is ignored. Throws
// std::invalid_argument("invalid stoul argument") on a pair with no hex prefix.
std::string hexDecode(std::string_view text);

// Signature comparison: same length and same bytes, case-sensitive.
bool signaturesMatch(std::string_view a, std::string_view b);

}  // namespace nj
