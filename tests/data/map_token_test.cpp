// Map tokens, and the digest and keystream that seal and hide their payload.
#include "data/map_token.hpp"
#include "data/digest.hpp"
#include "data/keystream.hpp"
#include "data/sha256.hpp"

#include <gtest/gtest.h>

namespace {

// The SHA extension's path is taken only when the CPU has it.
TEST(Digest, Sha256MatchesFips180ExamplesOnBothBlockFunctions) {
    for (const bool portable : {false, true}) {
        nj::sha256UsePortable(portable);
        SCOPED_TRACE(portable ? "portable" : "dispatched");
        EXPECT_EQ(nj::sha256Hex("abc"),
                  "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
        EXPECT_EQ(nj::sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
                  "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
        EXPECT_EQ(nj::sha256Hex(std::string(1000000, 'a')),
                  "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    }
    nj::sha256UsePortable(false);
}

TEST(Keystreams, EveryPrefixLengthAndCounterWidthMatchesPlainHashing) {
    // Salts around the block boundary take one or two compressions; 1100
    // blocks carry the counter into four digits, past the cross-check's reach.
    for (std::size_t saltLength : {0u, 5u, 6u, 7u, 60u, 70u, 200u}) {
        const std::string salt(saltLength, 's');
        const std::string stream = nj::mapKeystream("K", salt, 1100 * 32);
        for (std::size_t block : {0u, 9u, 10u, 99u, 100u, 1099u}) {
            EXPECT_EQ(stream.substr(block * 32, 32),
                      nj::sha256Raw("K:" + salt + ":" + std::to_string(block)))
                << "salt " << saltLength << " block " << block;
        }
    }
}

// Every alignment of the hash against the data, lengths around the blocks:
// the hash fed in pieces must end where one pass over the same bytes does.
TEST(Keystreams, DecipheringWhileHashingEqualsHashingThenDeciphering) {
    for (std::size_t pending : {0u, 1u, 5u, 63u, 64u, 100u}) {
        for (std::size_t length : {0u, 1u, 31u, 32u, 63u, 64u, 65u, 127u, 128u, 1000u, 4097u}) {
            std::string data(length, '\0');
            for (std::size_t i = 0; i < length; ++i) data[i] = static_cast<char>(i * 13 + pending);
            const std::string head(pending, 'h');
            SCOPED_TRACE(std::to_string(pending) + "/" + std::to_string(length));

            nj::Sha256 fused;
            fused.update(head);
            std::string deciphered = data;
            nj::xorPackageKeystreamHashing("KEY", "salt", deciphered.data(), length, fused);

            EXPECT_EQ(fused.finish(), nj::sha256(head + data));
            EXPECT_EQ(deciphered, nj::xorWith(data, nj::packageKeystream("KEY", "salt", length)));
        }
    }
}

constexpr const char* kMission = R"({"name":"Casino","walls":[{"x":0,"y":0,"w":960,"h":10}]})";

// The decoded mission, or the refusal's text.
std::string decoded(const std::string& token) {
    try {
        return nj::decodeMapToken(token);
    } catch (const std::exception& e) {
        return e.what();
    }
}

// A token whose tag covers the payload's hex as written.
std::string tagged(const std::string& salt, const std::string& payload) {
    return "NJ3M_V1." + salt + "." + nj::hmacSha256Hex(nj::kMapKey, salt + ":" + payload) + "." +
           payload;
}

std::string cipherHex(const std::string& plain) {
    return nj::hexEncode(nj::xorWith(plain, nj::mapKeystream(nj::kMapKey, "s", plain.size())));
}

// Round trips, headers, field counts and tampering are the njtool cross-check's
// (a second implementation); here, the edges it does not reach.
TEST(MapToken, EdgesOfTheFieldsTheTagAndThePayloadHex) {
    // An empty payload would make a three-field token the reader refuses.
    EXPECT_THROW(nj::encodeMapToken("", "s"), std::invalid_argument);
    EXPECT_THROW(nj::encodeMapToken(kMission, "a.b"), std::invalid_argument);
    const std::string token = nj::encodeMapToken(kMission, "salt");
    const std::string header = "Invalid .nj3m file header or unsupported protocol version.";
    std::string upper = cipherHex(kMission);
    for (char& c : upper) c = static_cast<char>(std::toupper(c));
    const struct {
        const char* what;
        std::string token, result;
    } cases[] = {
        {"a trailing full stop, which adds no field", token + ".", kMission},
        {"a lowercase header", "nj3m_v1" + token.substr(7), header},
        {"an empty payload", tagged("salt", ""), header},
        // The tag is checked before the payload is decoded.
        {"bad hex under a wrong tag", "NJ3M_V1.s." + std::string(64, '0') + ".zz",
         "INTEGRITY COMPROMISED: Map data has been tampered with or modified!"},
        {"uppercase hex", tagged("s", upper), kMission},
        // Tagged over every character but decoded without the last.
        {"an odd payload", tagged("s", cipherHex("{}") + "7"), "{}"},
        {"a bad hex pair under its tag", tagged("s", "zz"), "invalid stoul argument"},
    };
    for (const auto& c : cases) EXPECT_EQ(decoded(c.token), c.result) << c.what;
}

}  // namespace
