#pragma once
// Map tokens: one line "NJ3M_V1.<salt>.<tag>.<payload>" carrying a mission's
// JSON, HMAC-tagged and XOR-enciphered under the built-in map key.

#include <string>
#include <string_view>

namespace nj {

inline constexpr std::string_view kMapKey =
    "QRV-512-RESTRICTED-FIELD-ORDER-KEY-5820-COURIER-BULLETIN";
inline constexpr std::string_view kMapHeader = "NJ3M_V1";

// Verifies and deciphers a token; throws std::runtime_error (or
// std::invalid_argument for a bad hex pair) with the format's fixed texts.
std::string decodeMapToken(std::string_view token);

// Produces a token the reader accepts. The salt must not contain '.'
// (std::invalid_argument otherwise).
std::string encodeMapToken(std::string_view json, std::string_view salt);

// A reproducible salt for `json`: hex digits of its digest. Six characters
// make the hashed keystream prefix exactly one SHA-256 block long, which
// halves the cost of every keystream block.
std::string mapSaltFor(std::string_view json);

}  // namespace nj
