// Map token reader and writer.
#include "data/map_token.hpp"

#include <stdexcept>
#include <vector>

#include "data/digest.hpp"
#include "data/keystream.hpp"

namespace nj {
namespace {

std::string_view trimSpace(std::string_view s) {
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Every full stop ends a field; a trailing full stop adds no empty field.
std::vector<std::string_view> splitFields(std::string_view s) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t stop = s.find('.'); stop != std::string_view::npos;
         stop = s.find('.', start)) {
        fields.push_back(s.substr(start, stop - start));
        start = stop + 1;
    }
    if (start < s.size()) fields.push_back(s.substr(start));
    return fields;
}

}  // namespace

std::string decodeMapToken(std::string_view token) {
    const std::string_view text = trimSpace(token);
    if (text.empty()) throw std::runtime_error("Invalid empty .nj3m content");
    const std::vector<std::string_view> fields = splitFields(text);
    if (fields.size() != 4 || fields[0] != kMapHeader) {
        throw std::runtime_error("Invalid .nj3m file header or unsupported protocol version.");
    }
    const std::string_view salt = fields[1], tag = fields[2], payload = fields[3];
    if (!signaturesMatch(hmacSha256Hex(kMapKey, {salt, ":", payload}), tag)) {
        throw std::runtime_error(
            "INTEGRITY COMPROMISED: Map data has been tampered with or modified!");
    }
    std::string plain = hexDecode(payload);
    xorMapKeystream(kMapKey, salt, plain.data(), plain.size());
    return plain;
}

std::string encodeMapToken(std::string_view json, std::string_view salt) {
    if (salt.find('.') != std::string_view::npos) {
        throw std::invalid_argument("map token salt must not contain '.'");
    }
    if (json.empty()) throw std::invalid_argument("an empty mission cannot be encoded");
    std::string cipher(json);
    xorMapKeystream(kMapKey, salt, cipher.data(), cipher.size());
    const std::string payload = hexEncode(cipher);
    const std::string tag = hmacSha256Hex(kMapKey, {salt, ":", payload});
    std::string token;
    token.reserve(kMapHeader.size() + salt.size() + tag.size() + payload.size() + 3);
    token.append(kMapHeader).append(".").append(salt).append(".").append(tag).append(".");
    token.append(payload);
    return token;
}

std::string mapSaltFor(std::string_view json) {
    return sha256Hex(json).substr(0, 6);
}

}  // namespace nj
