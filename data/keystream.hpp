#pragma once
// The counter keystreams both protected formats XOR over their contents:
// block i is SHA-256 of a constant text followed by decimal(i).
//   map:     key ":" salt ":" i   (64-bit counter)
//   package: salt ":" key ":" i   (32-bit counter)

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace nj {

std::string mapKeystream(std::string_view key, std::string_view salt, std::size_t length);
std::string packageKeystream(std::string_view key, std::string_view salt, std::size_t length);

// Byte-wise XOR; the keystream must be at least as long as the data.
std::string xorWith(std::string_view data, std::string_view keystream);

// In-place forms used on large buffers: XOR the keystream straight into
// `data` without materialising it.
void xorMapKeystream(std::string_view key, std::string_view salt, char* data, std::size_t length);
void xorPackageKeystream(std::string_view key, std::string_view salt, char* data,
                         std::size_t length);

class Sha256;

// Deciphers `data` in place with the package keystream while also feeding
// its bytes, as they were before deciphering, to `hash`. One pass: the hash's
// blocks are compressed side by side with the keystream's, which is what
// makes mounting a large package fast.
void xorPackageKeystreamHashing(std::string_view key, std::string_view salt, char* data,
                                std::size_t length, Sha256& hash);

}  // namespace nj
