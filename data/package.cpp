// Asset package reader: verify the signature, decipher the index, store the
// entries under normalised names.
#include "data/package.hpp"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "data/digest.hpp"
#include "data/keystream.hpp"

namespace nj {

// Reads fields from a file or memory. A read past the end yields what was
// there followed by zero bytes, and every later read yields nothing, so a
// truncated package fails the header, length or signature checks.
class NJ3Package::Source {
  public:
    explicit Source(std::string_view bytes) : memory_(bytes), size_(bytes.size()) {}
    explicit Source(std::ifstream& file) : file_(&file) {
        file.seekg(0, std::ios::end);
        size_ = static_cast<std::uint64_t>(std::max<std::streamoff>(0, file.tellg()));
        file.seekg(0, std::ios::beg);
    }

    std::uint64_t remaining() const { return exhausted_ ? 0 : size_ - pos_; }

    std::string read(std::size_t n) {
        std::string out(n, '\0');
        const std::size_t avail = static_cast<std::size_t>(std::min<std::uint64_t>(n, remaining()));
        if (avail > 0) {
            if (file_) {
                file_->read(out.data(), static_cast<std::streamsize>(avail));
            } else {
                std::memcpy(out.data(), memory_.data() + pos_, avail);
            }
            pos_ += avail;
        }
        if (avail < n) exhausted_ = true;
        return out;
    }

    std::uint64_t readUint(int bytes) {
        const std::string raw = read(static_cast<std::size_t>(bytes));
        std::uint64_t v = 0;
        for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(raw[i]);
        return v;
    }

  private:
    std::ifstream* file_ = nullptr;
    std::string_view memory_;
    std::uint64_t size_ = 0;
    std::uint64_t pos_ = 0;
    bool exhausted_ = false;
};

namespace {

std::uint64_t loadLittle(std::string_view s, std::size_t offset, int bytes) {
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(s[offset + static_cast<std::size_t>(i)]);
    }
    return v;
}

void appendLittle(std::string& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

NJ3Package& NJ3Package::instance() {
    static NJ3Package store;
    return store;
}

void NJ3Package::setLogStreams(std::ostream* info, std::ostream* error) {
    info_ = info;
    error_ = error;
}

std::string NJ3Package::normalizePath(std::string_view path) {
    std::string p(path);
    std::replace(p.begin(), p.end(), '\\', '/');
    std::size_t start = 0;
    while (p.size() - start >= 2 && p.compare(start, 2, "./") == 0) start += 2;
    while (start < p.size() && p[start] == '/') ++start;
    return p.substr(start);
}

namespace {

// Only regular files count: a folder named like the package would "open" and
// then report a nonsense size.
bool openPackageFile(std::ifstream& file, const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    file.open(path, std::ios::binary);
    return static_cast<bool>(file);
}

}  // namespace

bool NJ3Package::mount(const std::string& path) {
    assets_.clear();
    std::ifstream file;
    if (!openPackageFile(file, path) && !openPackageFile(file, "assets/" + path)) return false;
    Source source(file);
    return mountFrom(path, source);
}

bool NJ3Package::mountBytes(const std::string& label, std::string_view fileBytes) {
    assets_.clear();
    Source source(fileBytes);
    return mountFrom(label, source);
}

bool NJ3Package::mountFrom(const std::string& label, Source& source) {
    std::ostream& info = info_ ? *info_ : std::cout;
    std::ostream& error = error_ ? *error_ : std::cerr;
    const std::string magic = source.read(4);
    const std::uint64_t version = source.readUint(4);
    if (magic != "NJ3P" || version != 1) {
        error << "Invalid .nj3p header or version" << std::endl;
        return false;
    }
    const std::uint64_t saltLength = source.readUint(4);
    if (saltLength == 0 || saltLength > kPackageMaxSalt) return false;
    const std::string salt = source.read(static_cast<std::size_t>(saltLength));
    if (source.readUint(4) != 64) return false;
    const std::string signature = source.read(64);
    const std::uint64_t payloadLength = source.readUint(8);
    if (payloadLength == 0 || payloadLength > kPackageMaxPayload) return false;

    const char* tampered = "CRITICAL ERROR: .nj3p package signature failed! Tampering detected.";
    // A payload longer than the file could only be zero-filled and would fail
    // the signature anyway; refuse it before allocating for it.
    if (payloadLength > source.remaining()) {
        error << tampered << std::endl;
        return false;
    }
    std::string payload = source.read(static_cast<std::size_t>(payloadLength));
    // Sign and decipher in one pass; a payload that fails the signature is
    // thrown away before anything reads it.
    HmacSha256 mac(kPackageKey);
    mac.update(salt);
    mac.update(":");
    xorPackageKeystreamHashing(kPackageKey, salt, payload.data(), payload.size(), mac.inner());
    if (!signaturesMatch(mac.finishHex(), signature)) {
        error << tampered << std::endl;
        return false;
    }
    if (!readIndex(payload)) return false;
    info << "[NJ3Package] Successfully mounted encrypted archive '" << label << "' with "
         << assets_.size() << " assets." << std::endl;
    return true;
}

bool NJ3Package::readIndex(std::string_view index) {
    if (index.size() < 4) return false;
    const std::uint64_t count = loadLittle(index, 0, 4);
    std::size_t pos = 4;
    for (std::uint64_t entry = 0; entry < count; ++entry) {
        // Every comparison is against what is left, so no length can wrap.
        if (index.size() - pos < 4) return false;
        const std::uint64_t nameLength = loadLittle(index, pos, 4);
        pos += 4;
        if (nameLength > index.size() - pos) return false;
        const std::string_view name = index.substr(pos, static_cast<std::size_t>(nameLength));
        pos += static_cast<std::size_t>(nameLength);
        if (index.size() - pos < 8) return false;
        const std::uint64_t dataLength = loadLittle(index, pos, 8);
        pos += 8;
        if (dataLength > index.size() - pos) return false;
        assets_.insert_or_assign(
            normalizePath(name),
            std::string(index.substr(pos, static_cast<std::size_t>(dataLength))));
        pos += static_cast<std::size_t>(dataLength);
    }
    return true;
}

const std::string* NJ3Package::lookup(const std::string& path) const {
    const std::string key = normalizePath(path);
    if (auto it = assets_.find(key); it != assets_.end()) return &it->second;
    constexpr std::string_view kPrefix = "assets/";
    const std::string alternate = (key.size() >= kPrefix.size() && key.starts_with(kPrefix))
                                      ? key.substr(kPrefix.size())
                                      : std::string(kPrefix) + key;
    if (auto it = assets_.find(alternate); it != assets_.end()) return &it->second;
    return nullptr;
}

const char* NJ3Package::find(const std::string& path, std::size_t& size) const {
    const std::string* data = lookup(path);
    if (!data || data->empty()) {
        size = 0;
        return nullptr;
    }
    size = data->size();
    return data->data();
}

bool NJ3Package::contains(const std::string& path) const {
    return lookup(path) != nullptr;
}

bool NJ3Package::readText(const std::string& path, std::string& text) const {
    const std::string* data = lookup(path);
    if (!data || data->empty()) return false;
    text = *data;
    return true;
}

std::vector<std::string> NJ3Package::assetNames() const {
    std::vector<std::string> names;
    names.reserve(assets_.size());
    for (const auto& entry : assets_) names.push_back(entry.first);
    std::sort(names.begin(), names.end());
    return names;
}

std::string buildPackageIndex(const std::vector<PackageAsset>& assets) {
    std::string index;
    appendLittle(index, assets.size(), 4);
    for (const PackageAsset& asset : assets) {
        const std::string name = NJ3Package::normalizePath(asset.name);
        appendLittle(index, name.size(), 4);
        index += name;
        appendLittle(index, asset.data.size(), 8);
        index += asset.data;
    }
    return index;
}

std::string buildPackage(const std::vector<PackageAsset>& assets, std::string_view salt) {
    if (salt.empty() || salt.size() > kPackageMaxSalt) {
        throw std::invalid_argument("package salt must be 1 to 256 bytes");
    }
    std::string payload = buildPackageIndex(assets);
    xorPackageKeystream(kPackageKey, salt, payload.data(), payload.size());
    const std::string signature = hmacSha256Hex(kPackageKey, {salt, ":", payload});
    std::string file = "NJ3P";
    appendLittle(file, 1, 4);
    appendLittle(file, salt.size(), 4);
    file += salt;
    appendLittle(file, signature.size(), 4);
    file += signature;
    appendLittle(file, payload.size(), 8);
    file += payload;
    return file;
}

std::string packageSaltFor(std::string_view index) {
    return sha256Raw(index).substr(0, 5);
}

}  // namespace nj
