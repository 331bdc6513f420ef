// Keystream generation. The hashed text is a long constant prefix plus a short
// counter, so the prefix's whole blocks are hashed once and every block of
// output costs one or two compressions of the tail alone.
#include "data/keystream.hpp"

#include <algorithm>
#include <bit>
#include <cstring>

#include "data/sha256.hpp"

namespace nj {
namespace {

// Decimal counter kept as text and incremented in place.
class DecimalCounter {
  public:
    explicit DecimalCounter(std::uint64_t start) {
        do {
            digits_[kMax - 1 - len_++] = static_cast<char>('0' + start % 10);
            start /= 10;
        } while (start > 0);
    }
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
    char digits_[kMax] = {};
    std::size_t len_ = 0;
};

enum class Mode { Write, Xor };

// Keystream blocks hashed side by side; three lanes keep the SHA extension
// units busy without spilling registers.
constexpr int kLanes = 3;

// The final one or two SHA-256 blocks of "prefix tail + digits", padded.
// Only the digits change from block to block, so the rest is rebuilt only
// when the counter gains a digit.
struct TailBlocks {
    alignas(16) unsigned char bytes[128];
    int count = 0;
    std::size_t tailLength = 0;
    std::size_t digitCount = 0;  // 0 = nothing built yet

    void build(std::string_view tail, std::string_view digits, std::uint64_t totalLength) {
        if (digits.size() != digitCount || tail.size() != tailLength) {
            tailLength = tail.size();
            digitCount = digits.size();
            std::memcpy(bytes, tail.data(), tailLength);
            std::size_t used = tailLength + digitCount;
            bytes[used++] = 0x80;
            count = used + 8 <= 64 ? 1 : 2;
            const std::size_t end = static_cast<std::size_t>(count) * 64;
            std::memset(bytes + used, 0, end - 8 - used);
            const std::uint64_t bits = totalLength * 8;
            for (int i = 0; i < 8; ++i) {
                bytes[end - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
            }
        }
        std::memcpy(bytes + tailLength, digits.data(), digitCount);
    }
};

void emitDigest(const std::uint32_t state[8], unsigned char* out, std::size_t take, Mode mode) {
    std::uint32_t bigEndian[8];
    for (int i = 0; i < 8; ++i) {
        if constexpr (std::endian::native == std::endian::little) {
            bigEndian[i] = __builtin_bswap32(state[i]);
        } else {
            bigEndian[i] = state[i];
        }
    }
    if (mode == Mode::Write) {
        std::memcpy(out, bigEndian, take);
        return;
    }
    if (take == 32) {
        std::uint64_t a[4], b[4];
        std::memcpy(a, out, 32);
        std::memcpy(b, bigEndian, 32);
        for (int i = 0; i < 4; ++i) a[i] ^= b[i];
        std::memcpy(out, a, 32);
        return;
    }
    const auto* digest = reinterpret_cast<const unsigned char*>(bigEndian);
    for (std::size_t i = 0; i < take; ++i) out[i] ^= digest[i];
}

// Turns a constant prefix into keystream blocks, a few at a time. The
// prefix's whole SHA-256 blocks are hashed once; each keystream block then
// costs one or two compressions of the short tail plus its counter.
// Wrapping the counter at 2^32 for the package form is unreachable: the
// package payload is capped far below 2^32 blocks of 32 bytes.
class KeystreamBlocks {
  public:
    KeystreamBlocks(std::string_view prefix, std::uint64_t firstBlock)
        : prefixLength_(prefix.size()), counter_(firstBlock) {
        const std::size_t whole = prefix.size() / 64;
        Sha256 ctx;
        ctx.update(prefix.data(), whole * 64);
        std::memcpy(midstate_, ctx.state(), sizeof midstate_);
        tail_.assign(prefix.substr(whole * 64));
    }

    // Computes the next `lanes` blocks (1..kLanes) into states_[0..lanes);
    // `passenger`, when given, has one more block compressed alongside.
    void next(int lanes, std::uint32_t* passengerState = nullptr,
              const std::uint8_t* passengerBlock = nullptr) {
        int maxBlocks = 0;
        for (int l = 0; l < lanes; ++l, counter_.increment()) {
            const std::string_view digits = counter_.text();
            tails_[l].build(tail_, digits, prefixLength_ + digits.size());
            maxBlocks = std::max(maxBlocks, tails_[l].count);
            std::memcpy(states_[l], midstate_, sizeof midstate_);
        }
        for (int b = 0; b < maxBlocks; ++b) {
            // Lanes whose text fits one block sit out the second round; that
            // only happens where the counter gains a digit.
            std::uint32_t* states[kLanes + 1];
            const std::uint8_t* blocks[kLanes + 1];
            int active = 0;
            if (passengerState && b == 0) {
                states[active] = passengerState;
                blocks[active++] = passengerBlock;
            }
            for (int l = 0; l < lanes; ++l) {
                if (b < tails_[l].count) {
                    states[active] = states_[l];
                    blocks[active++] = tails_[l].bytes + 64 * b;
                }
            }
            sha256CompressLanes(states, blocks, active);
        }
    }

    void emit(int lane, unsigned char* out, std::size_t take, Mode mode) const {
        emitDigest(states_[lane], out, take, mode);
    }

  private:
    std::uint32_t midstate_[8];
    std::string tail_;
    std::size_t prefixLength_;
    DecimalCounter counter_;
    TailBlocks tails_[kLanes];
    std::uint32_t states_[kLanes][8];
};

void generate(std::string_view prefix, unsigned char* out, std::size_t length, Mode mode,
              std::uint64_t firstBlock = 0) {
    if (length == 0) return;
    KeystreamBlocks blocks(prefix, firstBlock);
    std::size_t produced = 0;
    while (produced < length) {
        const std::size_t blocksLeft = (length - produced + 31) / 32;
        const int lanes = static_cast<int>(std::min<std::size_t>(kLanes, blocksLeft));
        blocks.next(lanes);
        for (int l = 0; l < lanes; ++l) {
            const std::size_t take = std::min<std::size_t>(32, length - produced);
            blocks.emit(l, out + produced, take, mode);
            produced += take;
        }
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

void xorPackageKeystreamHashing(std::string_view key, std::string_view salt, char* data,
                                std::size_t length, Sha256& hash) {
    const std::string prefix = joinPrefix(salt, key);
    auto* bytes = reinterpret_cast<unsigned char*>(data);
    // Bring the hash onto a block boundary so payload chunks can be
    // compressed straight from the buffer.
    const std::size_t lead = std::min(length, (64 - hash.pendingBytes()) % 64);
    hash.update(bytes, lead);
    const std::size_t chunks = (length - lead) / 64;

    // Chunk k ends at byte lead + 64k + 63, so keystream region k (bytes
    // 64k .. 64k+63) is always hashed by the time it is deciphered.
    KeystreamBlocks blocks(prefix, 0);
    for (std::size_t k = 0; k < chunks; ++k) {
        blocks.next(2, hash.blockState(), bytes + lead + 64 * k);
        blocks.emit(0, bytes + 64 * k, 32, Mode::Xor);
        blocks.emit(1, bytes + 64 * k + 32, 32, Mode::Xor);
    }
    hash.countBlocks(chunks);
    hash.update(bytes + lead + 64 * chunks, length - lead - 64 * chunks);
    generate(prefix, bytes + 64 * chunks, length - 64 * chunks, Mode::Xor, 2 * chunks);
}

std::string xorWith(std::string_view data, std::string_view keystream) {
    std::string out(data);
    const std::size_t n = std::min(data.size(), keystream.size());
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<char>(out[i] ^ keystream[i]);
    return out;
}

}  // namespace nj
