#pragma once
// The asset store: the signed, enciphered package "game.nj3p" mounted into one
// process-wide map from normalised path to bytes.
//
// File layout (little-endian):
//   "NJ3P" | u32 version=1 | u32 S (1..256) | salt[S] | u32 64 | signature[64]
//   | u64 P (1..500 MiB) | payload[P]
// payload = index XOR packageKeystream(key, salt, P);
// index   = u32 N, then N x (u32 L, name[L], u64 D, data[D]).

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace nj {

inline constexpr std::string_view kPackageKey =
    "QRV-512-SEALED-BUNDLE-CONTENT-VAULT-GUARDIAN-PHRASES-3141";
inline constexpr std::uint64_t kPackageMaxPayload = 524288000;  // 500 MiB
inline constexpr std::uint32_t kPackageMaxSalt = 256;

class NJ3Package {
  public:
    static NJ3Package& instance();

    // Loads `path` (or "assets/" + path) into the store, replacing what was
    // there. Logs one line on success (stdout) or on a bad header or
    // signature (stderr).
    bool mount(const std::string& path);
    // Same, from a package already in memory; `label` names it in the log.
    bool mountBytes(const std::string& label, std::string_view fileBytes);

    // Pointer into the stored bytes (valid until the next mount); null and 0
    // when absent or empty.
    const char* find(const std::string& path, std::size_t& size) const;
    bool contains(const std::string& path) const;
    // False when absent or empty.
    bool readText(const std::string& path, std::string& text) const;

    static std::string normalizePath(std::string_view path);

    std::vector<std::string> assetNames() const;  // sorted byte-wise
    std::size_t assetCount() const { return assets_.size(); }

    // Where the log lines go; tools route the success line away from stdout.
    void setLogStreams(std::ostream* info, std::ostream* error);

    NJ3Package() = default;  // tests use their own stores; the game uses instance()
    NJ3Package(const NJ3Package&) = delete;
    NJ3Package& operator=(const NJ3Package&) = delete;

  private:
    class Source;
    bool mountFrom(const std::string& label, Source& source);
    bool readIndex(std::string_view index);
    const std::string* lookup(const std::string& path) const;

    std::unordered_map<std::string, std::string> assets_;
    std::ostream* info_ = nullptr;   // null = std::cout
    std::ostream* error_ = nullptr;  // null = std::cerr
};

// Writer side, for njtool and tests. Names are normalised; later duplicates
// replace earlier ones when mounted, as in any package.
struct PackageAsset {
    std::string name;
    std::string data;
};
std::string buildPackageIndex(const std::vector<PackageAsset>& assets);
std::string buildPackage(const std::vector<PackageAsset>& assets, std::string_view salt);
// A reproducible 5-byte salt from the index's digest: salt, ':', the 57-byte
// key and ':' then fill exactly one SHA-256 block, so each keystream block
// costs a single compression.
std::string packageSaltFor(std::string_view index);

}  // namespace nj
