#include "data/map_token.hpp"

#include <gtest/gtest.h>

#include "data/digest.hpp"
#include "data/keystream.hpp"

namespace {

constexpr const char* kMission = R"({"name":"Casino","walls":[{"x":0,"y":0,"w":960,"h":10}]})";

std::string errorOf(const std::string& token) {
    try {
        nj::decodeMapToken(token);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

const std::string kHeaderError = "Invalid .nj3m file header or unsupported protocol version.";
const std::string kIntegrityError =
    "INTEGRITY COMPROMISED: Map data has been tampered with or modified!";

// Round trips, headers, field counts and tampering are checked against a
// second implementation by tests/tools/njtool_crosscheck.py; here are the
// edges it does not reach.
TEST(MapToken, EdgesOfTheFieldsAndTheTag) {
    // An empty payload would make a three-field token the reader refuses.
    EXPECT_THROW(nj::encodeMapToken("", "s"), std::invalid_argument);
    EXPECT_THROW(nj::encodeMapToken(kMission, "a.b"), std::invalid_argument);
    const std::string token = nj::encodeMapToken(kMission, "salt");
    EXPECT_EQ(errorOf(token + "."), "");  // a trailing full stop adds no field
    EXPECT_EQ(errorOf("nj3m_v1" + token.substr(7)), kHeaderError);
    const std::string tag = nj::hmacSha256Hex(nj::kMapKey, "salt:");
    EXPECT_EQ(errorOf("NJ3M_V1.salt." + tag + "."), kHeaderError);
    // The tag is checked before the payload is decoded.
    EXPECT_EQ(errorOf("NJ3M_V1.s." + std::string(64, '0') + ".zz"), kIntegrityError);
}

TEST(MapToken, PayloadQuirksFollowTheHexRules) {
    // Uppercase payload hex decodes when the tag covers it as written.
    const std::string cipher = nj::xorWith(kMission, nj::mapKeystream(nj::kMapKey, "s", 58));
    std::string payload = nj::hexEncode(cipher);
    for (char& c : payload) c = static_cast<char>(std::toupper(c));
    const std::string upperToken =
        "NJ3M_V1.s." + nj::hmacSha256Hex(nj::kMapKey, "s:" + payload) + "." + payload;
    EXPECT_EQ(nj::decodeMapToken(upperToken), kMission);

    // An odd payload is tagged over every character but decoded without the last.
    const std::string odd =
        nj::hexEncode(nj::xorWith("{}", nj::mapKeystream(nj::kMapKey, "s", 2))) + "7";
    EXPECT_EQ(
        nj::decodeMapToken("NJ3M_V1.s." + nj::hmacSha256Hex(nj::kMapKey, "s:" + odd) + "." + odd),
        "{}");

    // A correctly tagged payload with a bad pair fails in the hex decoder.
    const std::string junk = "zz";
    EXPECT_EQ(errorOf("NJ3M_V1.s." + nj::hmacSha256Hex(nj::kMapKey, "s:" + junk) + "." + junk),
              "invalid stoul argument");
}

}  // namespace
