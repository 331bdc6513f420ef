#pragma once
// SHA-256 (FIPS 180-4) as an incremental context. The block function picks the
// CPU's SHA extensions at run time when they exist, and a portable path
// otherwise; both give identical digests.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace nj {

using Sha256Digest = std::array<std::uint8_t, 32>;

// Compresses `blocks` consecutive 64-byte blocks into `state`.
void sha256Compress(std::uint32_t state[8], const std::uint8_t* data, std::size_t blocks);
// Compresses one 64-byte block into each of `lanes` (1 to 3 interleave on
// the SHA extension path; more run one after another) independent states.
void sha256CompressLanes(std::uint32_t* const* states, const std::uint8_t* const* blocks,
                         int lanes);
// Forces the portable block function (tests and benchmarks compare both paths).
void sha256UsePortable(bool portable);
// True when the SHA extension path is active.
bool sha256HasHardware();

class Sha256 {
  public:
    Sha256();
    void update(const void* data, std::size_t size);
    void update(std::string_view bytes) { update(bytes.data(), bytes.size()); }
    Sha256Digest finish();  // the context is spent afterwards

    // Raw midstate access for the keystreams, which hash one constant prefix
    // followed by a short counter, and for callers that interleave this hash's
    // blocks with others (sha256CompressLanes). Whole blocks may be compressed
    // into blockState() only while pendingBytes() is 0, and must then be
    // reported with countBlocks().
    const std::uint32_t* state() const { return state_; }
    std::uint32_t* blockState() { return state_; }
    std::size_t pendingBytes() const { return buffered_; }
    void countBlocks(std::size_t blocks) { total_ += 64u * blocks; }
    std::uint64_t bytesHashed() const { return total_; }

  private:
    std::uint32_t state_[8];
    std::uint8_t buffer_[64];
    std::size_t buffered_ = 0;
    std::uint64_t total_ = 0;
};

Sha256Digest sha256(std::string_view bytes);

}  // namespace nj
