#pragma once
// Replay files (.njr): a recorded run in a compact binary form of our own.
//
//   "NJREPLAY", version byte, the run's start, its events, an end tag, the
//   outcome, score, mission clock and final state line, then the SHA-256 of
//   the final state line and the SHA-256 of every byte before it.
//
// Numbers are little-endian; counts and codes are LEB128 varints; texts are a
// varint length and bytes. A step is one byte (0x80 | command bits) and the
// XOR of its step length's float bits with the previous step's, so a steady
// frame rate costs two bytes an update and repeats of the same update collapse
// into one tag and a count. Reading checks everything: the magic, the
// version, both hashes, every value's range and the total number of updates,
// so a damaged or hostile file is refused with a reason, never played.

#include <cstddef>
#include <cstdint>
#include <string>

#include "data/run_record.hpp"

namespace nj {

inline constexpr std::uint8_t kReplayVersion = 1;
inline constexpr const char* kReplayExtension = ".njr";
// An hour at 60 updates a second is about 0.5 MB; nothing real comes near this.
inline constexpr std::size_t kMaxReplayBytes = 16u << 20;
// About four hours at 144 updates a second: a file claiming more is refused
// rather than played for a day.
inline constexpr std::uint64_t kMaxReplaySteps = 2'000'000;
// The longest step a record may hold (the game caps its own at 0.05 s;
// scripts may ask for more).
inline constexpr float kMaxReplayStep = 1.0f;

// The command bits a step carries: move x + 1 (bits 0-1), move y + 1 (bits
// 2-3), sneak, interact, takedown (bits 4-6).
inline constexpr std::uint32_t kRunCommandBits = 0x7F;
bool validCommandBits(std::uint32_t bits);

std::string encodeReplay(const RunRecord& record);
// False, with `why` set to a sentence a player can read, for anything that is
// not a whole, unaltered replay of this version; `record` is untouched then.
bool decodeReplay(const std::string& bytes, RunRecord& record, std::string& why);

// Reads a replay file: only a regular file of at most kMaxReplayBytes.
bool readReplayFile(const std::string& path, RunRecord& record, std::string& why);
// Atomic (writePlayerFile): a crash mid-write leaves the old file whole.
bool writeReplayFile(const std::string& path, const RunRecord& record);

// How many updates the record holds.
std::uint64_t replaySteps(const RunRecord& record);

}  // namespace nj
