// Replay files: any bytes are refused or read without crashing, hanging or unbounded allocation.
// Sealed with the file's own hash, so the value checks behind it are what get exercised.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "data/digest.hpp"
#include "data/replay_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes = std::string("NJREPLAY") + static_cast<char>(nj::kReplayVersion) +
                        std::string(reinterpret_cast<const char*>(data), size);
    bytes += nj::sha256Raw(bytes);
    nj::RunRecord record;
    std::string why;
    if (!nj::decodeReplay(bytes, record, why)) {
        if (why.empty()) std::abort();
        return 0;
    }
    if (nj::replaySteps(record) > nj::kMaxReplaySteps) std::abort();
    // A varint written longer than needed still reads: the record, not the bytes, comes back.
    const std::string again = nj::encodeReplay(record);
    nj::RunRecord reread;
    if (!nj::decodeReplay(again, reread, why) || !(reread == record)) std::abort();
    return 0;
}
