#pragma once
// Reading the files the game is handed (save.dat, campaign_maps.json, page
// files, fonts) without ever waiting on them: only a regular file of a sane
// size is read. A folder, a named pipe or a device in the file's place, or a
// file grown past its cap, reads as missing, so a broken folder can neither
// block start-up nor make the game allocate without bound.

#include <cstddef>
#include <string>

namespace nj {

// The whole of `path` into `bytes` when it is a regular file of at most
// `maxBytes`; false (and `bytes` untouched) for anything else. Never blocks
// on a pipe and never throws.
bool readRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

// Replaces the contents of `path` with `bytes`, creating it when missing.
// False, without waiting, when something other than a regular file has the
// name (a folder, or a named pipe nobody reads) or the write fails.
bool writeRegularFile(const std::string& path, const std::string& bytes);

}  // namespace nj
