// Keystream generation. The hashed text is a long constant prefix plus a short
// counter, so the prefix's whole blocks are hashed once and every block of
// output costs one or two compressions of the tail alone.
#include "data/keystream.hpp"

#include <algorithm>
#include <cstring>

#include "data/sha256.hpp"

namespace nj {
namespace {

// Decimal counter kept as text and incremented in place.
class DecimalCounter {
public:
    std::string_view text() const { return {digits_ + kMax - len_, len_}; }
    void increment() {
        for (std::size_t i = kMax; i-- > kMax - len_;) {
            if (digits_[i] != '9') {
                ++digits_[i];
                return;
            }
            digits_[i] = '0';
        }
        ++len_;
        digits_[kMax - len_] = '1';
    }

private:
    static constexpr std::size_t kMax = 24;
    char digits_[kMax] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                          0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, '0'};
    std::size_t len_ = 1;
};

enum class Mode { Write, Xor };

// Wrapping the counter at 2^32 for the package form is unreachable: the
// package payload is capped far below 2^32 blocks of 32 bytes.
void generate(std::string_view prefix, unsigned char* out, std::size_t length, Mode mode) {
    if (length == 0) return;
    const std::size_t wholeBlocks = prefix.size() / 64;
    std::uint32_t midstate[8];
    {
        Sha256 ctx;
        ctx.update(prefix.data(), wholeBlocks * 64);
        std::memcpy(midstate, ctx.state(), sizeof midstate);
    }
    const std::string_view tail = prefix.substr(wholeBlocks * 64);

    unsigned char block[128];
    std::memcpy(block, tail.data(), tail.size());
    DecimalCounter counter;
    for (std::size_t produced = 0; produced < length; counter.increment()) {
        const std::string_view digits = counter.text();
        std::size_t used = tail.size();
        std::memcpy(block + used, digits.data(), digits.size());
        used += digits.size();
        const std::uint64_t bits = (prefix.size() + digits.size()) * 8ull;
        block[used++] = 0x80;
        const std::size_t blocks = used + 8 <= 64 ? 1 : 2;
        std::memset(block + used, 0, blocks * 64 - 8 - used);
        for (int i = 0; i < 8; ++i) {
            block[blocks * 64 - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
        }
        std::uint32_t state[8];
        std::memcpy(state, midstate, sizeof state);
        sha256Compress(state, block, blocks);

        unsigned char digest[32];
        for (int i = 0; i < 8; ++i) {
            digest[4 * i] = static_cast<unsigned char>(state[i] >> 24);
            digest[4 * i + 1] = static_cast<unsigned char>(state[i] >> 16);
            digest[4 * i + 2] = static_cast<unsigned char>(state[i] >> 8);
            digest[4 * i + 3] = static_cast<unsigned char>(state[i]);
        }
        const std::size_t take = std::min<std::size_t>(32, length - produced);
        if (mode == Mode::Write) {
            std::memcpy(out + produced, digest, take);
        } else {
            for (std::size_t i = 0; i < take; ++i) out[produced + i] ^= digest[i];
        }
        produced += take;
    }
}

std::string joinPrefix(std::string_view first, std::string_view second) {
    std::string prefix;
    prefix.reserve(first.size() + second.size() + 2);
    prefix.append(first).append(":").append(second).append(":");
    return prefix;
}

std::string makeKeystream(const std::string& prefix, std::size_t length) {
    std::string out(length, '\0');
    generate(prefix, reinterpret_cast<unsigned char*>(out.data()), length, Mode::Write);
    return out;
}

}  // namespace

std::string mapKeystream(std::string_view key, std::string_view salt, std::size_t length) {
    return makeKeystream(joinPrefix(key, salt), length);
}

std::string packageKeystream(std::string_view key, std::string_view salt, std::size_t length) {
    return makeKeystream(joinPrefix(salt, key), length);
}

void xorMapKeystream(std::string_view key, std::string_view salt, char* data, std::size_t length) {
    generate(joinPrefix(key, salt), reinterpret_cast<unsigned char*>(data), length, Mode::Xor);
}

void xorPackageKeystream(std::string_view key, std::string_view salt, char* data,
                         std::size_t length) {
    generate(joinPrefix(salt, key), reinterpret_cast<unsigned char*>(data), length, Mode::Xor);
}

std::string xorWith(std::string_view data, std::string_view keystream) {
    std::string out(data);
    const std::size_t n = std::min(data.size(), keystream.size());
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<char>(out[i] ^ keystream[i]);
    return out;
}

}  // namespace nj
