// SHA-256 block function: a portable C++ version and an x86 SHA-NI version
// selected once at start-up through CPUID.
#include "data/sha256.hpp"

#include <algorithm>
#include <atomic>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define NJ_SHA_X86 1
#endif

namespace nj {
namespace {

constexpr std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t kInitial[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                       0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

inline std::uint32_t rotr(std::uint32_t x, int n) {
    return (x >> n) | (x << (32 - n));
}
inline std::uint32_t loadBig(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}

void compressPortable(std::uint32_t state[8], const std::uint8_t* data, std::size_t blocks) {
    for (; blocks > 0; --blocks, data += 64) {
        std::uint32_t w[64];
        for (int i = 0; i < 16; ++i) w[i] = loadBig(data + 4 * i);
        for (int i = 16; i < 64; ++i) {
            const std::uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const std::uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
        std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
        for (int i = 0; i < 64; ++i) {
            const std::uint32_t s1 = rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25);
            const std::uint32_t ch = (e & f) ^ (~e & g);
            const std::uint32_t t1 = h + s1 + ch + kRound[i] + w[i];
            const std::uint32_t s0 = rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22);
            const std::uint32_t maj = (a & b) ^ (a & c) ^ (b & c);
            const std::uint32_t t2 = s0 + maj;
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + t2;
        }
        state[0] += a;
        state[1] += b;
        state[2] += c;
        state[3] += d;
        state[4] += e;
        state[5] += f;
        state[6] += g;
        state[7] += h;
    }
}

#ifdef NJ_SHA_X86
// State is kept as ABEF/CDGH, four rounds per sha256rnds2 pair, and message
// words are expanded with sha256msg1/msg2 three groups ahead.
#define NJ_SHA_TARGET __attribute__((target("sha,sse4.1")))

NJ_SHA_TARGET inline void loadState(const std::uint32_t* state, __m128i& abef, __m128i& cdgh) {
    __m128i tmp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[0]));
    cdgh = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[4]));
    tmp = _mm_shuffle_epi32(tmp, 0xB1);       // CDAB
    cdgh = _mm_shuffle_epi32(cdgh, 0x1B);     // EFGH
    abef = _mm_alignr_epi8(tmp, cdgh, 8);     // ABEF
    cdgh = _mm_blend_epi16(cdgh, tmp, 0xF0);  // CDGH
}

NJ_SHA_TARGET inline void storeState(std::uint32_t* state, __m128i abef, __m128i cdgh) {
    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[0]), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[4]), _mm_alignr_epi8(dchg, feba, 8));
}

// One block into each of N independent states. The lanes' instructions are
// interleaved round by round, so one lane's latency hides behind the others.
template <int N>
NJ_SHA_TARGET inline void shaNiLanes(std::uint32_t* const* states,
                                     const std::uint8_t* const* blocks) {
    const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    const __m128i* k = reinterpret_cast<const __m128i*>(kRound);
    __m128i abef[N], cdgh[N], abefSave[N], cdghSave[N], msg[N][4];
    for (int l = 0; l < N; ++l) {
        loadState(states[l], abef[l], cdgh[l]);
        abefSave[l] = abef[l];
        cdghSave[l] = cdgh[l];
        for (int i = 0; i < 4; ++i) {
            msg[l][i] = _mm_shuffle_epi8(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks[l] + 16 * i)), byteSwap);
        }
    }
#pragma GCC unroll 16
    for (int r = 0; r < 16; ++r) {
        const __m128i kr = _mm_loadu_si128(k + r);
#pragma GCC unroll 4
        for (int l = 0; l < N; ++l) {
            __m128i& cur = msg[l][r & 3];
            __m128i m = _mm_add_epi32(cur, kr);
            cdgh[l] = _mm_sha256rnds2_epu32(cdgh[l], abef[l], m);
            if (r >= 3 && r < 15) {
                // Finish word group r+1 from the three groups before it.
                __m128i& next = msg[l][(r + 1) & 3];
                next = _mm_add_epi32(next, _mm_alignr_epi8(cur, msg[l][(r + 3) & 3], 4));
                next = _mm_sha256msg2_epu32(next, cur);
            }
            m = _mm_shuffle_epi32(m, 0x0E);
            abef[l] = _mm_sha256rnds2_epu32(abef[l], cdgh[l], m);
            if (r >= 1 && r < 13) {
                msg[l][(r + 3) & 3] = _mm_sha256msg1_epu32(msg[l][(r + 3) & 3], cur);
            }
        }
    }
    for (int l = 0; l < N; ++l) {
        storeState(states[l], _mm_add_epi32(abef[l], abefSave[l]),
                   _mm_add_epi32(cdgh[l], cdghSave[l]));
    }
}

NJ_SHA_TARGET void compressShaNi(std::uint32_t state[8], const std::uint8_t* data,
                                 std::size_t blocks) {
    for (; blocks > 0; --blocks, data += 64) {
        std::uint32_t* s[1] = {state};
        const std::uint8_t* b[1] = {data};
        shaNiLanes<1>(s, b);
    }
}

NJ_SHA_TARGET void compressLanesShaNi(std::uint32_t* const* states,
                                      const std::uint8_t* const* blocks, int lanes) {
    switch (lanes) {
        case 1:
            shaNiLanes<1>(states, blocks);
            break;
        case 2:
            shaNiLanes<2>(states, blocks);
            break;
        case 3:
            shaNiLanes<3>(states, blocks);
            break;
        default:
            for (int l = 0; l < lanes; ++l) compressShaNi(states[l], blocks[l], 1);
            break;
    }
}

bool cpuHasShaNi() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return false;
    const bool sha = (ebx >> 29) & 1u;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    const bool sse41 = (ecx >> 19) & 1u;
    const bool ssse3 = (ecx >> 9) & 1u;
    return sha && sse41 && ssse3;
}
#endif

using CompressFn = void (*)(std::uint32_t*, const std::uint8_t*, std::size_t);
using LanesFn = void (*)(std::uint32_t* const*, const std::uint8_t* const*, int);

void compressLanesPortable(std::uint32_t* const* states, const std::uint8_t* const* blocks,
                           int lanes) {
    for (int l = 0; l < lanes; ++l) compressPortable(states[l], blocks[l], 1);
}

CompressFn pickCompress(bool portable) {
#ifdef NJ_SHA_X86
    if (!portable && cpuHasShaNi()) return compressShaNi;
#endif
    (void)portable;
    return compressPortable;
}

LanesFn pickLanes(bool portable) {
#ifdef NJ_SHA_X86
    if (!portable && cpuHasShaNi()) return compressLanesShaNi;
#endif
    (void)portable;
    return compressLanesPortable;
}

std::atomic<CompressFn>& activeCompress() {
    static std::atomic<CompressFn> fn{pickCompress(false)};
    return fn;
}

std::atomic<LanesFn>& activeLanes() {
    static std::atomic<LanesFn> fn{pickLanes(false)};
    return fn;
}

}  // namespace

void sha256Compress(std::uint32_t state[8], const std::uint8_t* data, std::size_t blocks) {
    activeCompress().load(std::memory_order_relaxed)(state, data, blocks);
}

void sha256CompressLanes(std::uint32_t* const* states, const std::uint8_t* const* blocks,
                         int lanes) {
    activeLanes().load(std::memory_order_relaxed)(states, blocks, lanes);
}

void sha256UsePortable(bool portable) {
    activeCompress().store(pickCompress(portable));
    activeLanes().store(pickLanes(portable));
}

bool sha256HasHardware() {
    return activeCompress().load() != compressPortable;
}

Sha256::Sha256() {
    std::memcpy(state_, kInitial, sizeof state_);
}

void Sha256::update(const void* data, std::size_t size) {
    auto* p = static_cast<const std::uint8_t*>(data);
    total_ += size;
    if (buffered_ > 0) {
        const std::size_t take = std::min(size, 64 - buffered_);
        std::memcpy(buffer_ + buffered_, p, take);
        buffered_ += take;
        p += take;
        size -= take;
        if (buffered_ < 64) return;
        sha256Compress(state_, buffer_, 1);
        buffered_ = 0;
    }
    const std::size_t whole = size / 64;
    if (whole > 0) {
        sha256Compress(state_, p, whole);
        p += whole * 64;
        size -= whole * 64;
    }
    if (size > 0) {
        std::memcpy(buffer_, p, size);
        buffered_ = size;
    }
}

Sha256Digest Sha256::finish() {
    const std::uint64_t bits = total_ * 8;
    std::uint8_t pad[72] = {0x80};
    const std::size_t padLen = (buffered_ < 56) ? 56 - buffered_ : 120 - buffered_;
    update(pad, padLen);
    std::uint8_t length[8];
    for (int i = 0; i < 8; ++i) length[i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
    update(length, 8);
    Sha256Digest out{};
    for (int i = 0; i < 8; ++i) {
        out[4 * i] = static_cast<std::uint8_t>(state_[i] >> 24);
        out[4 * i + 1] = static_cast<std::uint8_t>(state_[i] >> 16);
        out[4 * i + 2] = static_cast<std::uint8_t>(state_[i] >> 8);
        out[4 * i + 3] = static_cast<std::uint8_t>(state_[i]);
    }
    return out;
}

Sha256Digest sha256(std::string_view bytes) {
    Sha256 ctx;
    ctx.update(bytes);
    return ctx.finish();
}

}  // namespace nj
