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

TEST(MapToken, RoundTripsWithAnySaltAndSurroundingWhitespace) {
    for (const std::string salt : {"abc123", "", "a-much-longer-salt-with:colons and blanks"}) {
        // The format itself is checked against a second implementation by
        // tests/tools/njtool_crosscheck.py.
        const std::string token = nj::encodeMapToken(kMission, salt);
        EXPECT_EQ(nj::decodeMapToken(token), kMission);
        EXPECT_EQ(nj::decodeMapToken(" \r\n\t" + token + "\n \t"), kMission);
    }
    // An empty payload would make a three-field token the reader refuses.
    EXPECT_THROW(nj::encodeMapToken("", "s"), std::invalid_argument);
    EXPECT_THROW(nj::encodeMapToken(kMission, "a.b"), std::invalid_argument);
}

TEST(MapToken, FieldCountAndHeaderAreChecked) {
    const std::string token = nj::encodeMapToken(kMission, "salt");
    EXPECT_EQ(errorOf(""), "Invalid empty .nj3m content");
    EXPECT_EQ(errorOf(" \n\t\r "), "Invalid empty .nj3m content");
    EXPECT_EQ(errorOf(token + ".extra"), kHeaderError);
    EXPECT_EQ(errorOf(token + "."), "");  // a trailing full stop adds no field
    EXPECT_EQ(errorOf("NJ3M_V2" + token.substr(7)), kHeaderError);
    EXPECT_EQ(errorOf("nj3m_v1" + token.substr(7)), kHeaderError);
    // Empty payload: "NJ3M_V1.salt.tag." is three fields.
    const std::string tag = nj::hmacSha256Hex(nj::kMapKey, "salt:");
    EXPECT_EQ(errorOf("NJ3M_V1.salt." + tag + "."), kHeaderError);
    EXPECT_EQ(errorOf("NJ3M_V1"), kHeaderError);
}

TEST(MapToken, AnyTamperingIsAnIntegrityFailure) {
    const std::string token = nj::encodeMapToken(kMission, "salt");
    const std::size_t saltAt = 8, tagAt = 13, payloadAt = 13 + 65;
    for (std::size_t at : {saltAt, tagAt, tagAt + 63, payloadAt, token.size() - 1}) {
        std::string bad = token;
        bad[at] = bad[at] == '0' ? '1' : '0';
        EXPECT_EQ(errorOf(bad), kIntegrityError) << "changed byte " << at;
    }
    // An uppercase tag does not match the lowercase digest.
    std::string upper = token;
    for (std::size_t i = tagAt; i < tagAt + 64; ++i)
        upper[i] = static_cast<char>(std::toupper(upper[i]));
    EXPECT_EQ(errorOf(upper), kIntegrityError);
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

TEST(MapToken, ReproducibleSaltIsStableAndMakesOneBlockPrefix) {
    EXPECT_EQ(nj::mapSaltFor(kMission), nj::mapSaltFor(kMission));
    EXPECT_NE(nj::mapSaltFor(kMission), nj::mapSaltFor("{}"));
    EXPECT_EQ((nj::kMapKey.size() + 2 + nj::mapSaltFor(kMission).size()) % 64, 0u);
}

}  // namespace
