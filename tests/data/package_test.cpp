#include "data/package.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <optional>
#include <sstream>
#include <tuple>

#include "data/digest.hpp"
#include "data/keystream.hpp"
#include "tests/support/scratch_dir.hpp"

// Allocations larger than the cap fail while an AllocationCap is alive, so a
// test can tell "refused at once" from "read it all, then refused". The
// library's own operator delete frees with free().
namespace {
std::size_t allocationCap = SIZE_MAX;
}  // namespace

void* operator new(std::size_t n) {
    void* p = n <= allocationCap ? std::malloc(n ? n : 1) : nullptr;
    if (!p) throw std::bad_alloc();
    return p;
}

namespace {

using nj::NJ3Package;

struct AllocationCap {
    explicit AllocationCap(std::size_t bytes) { allocationCap = bytes; }
    ~AllocationCap() { allocationCap = SIZE_MAX; }
};

void putLittle(std::string& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Builds a package file field by field from the writer steps, with every
// field overridable, so refusals can be provoked one at a time.
struct RawPackage {
    std::string magic = "NJ3P";
    std::uint32_t version = 1;
    std::string salt = "pepper";
    std::string index;
    std::optional<std::uint64_t> payloadLengthOverride;
    std::optional<std::uint32_t> signatureLengthOverride;
    bool corruptSignature = false;

    std::string bytes() const {
        std::string payload =
            nj::xorWith(index, nj::packageKeystream(nj::kPackageKey, salt, index.size()));
        std::string signature = nj::hmacSha256Hex(nj::kPackageKey, salt + ":" + payload);
        if (corruptSignature) signature[0] = signature[0] == 'a' ? 'b' : 'a';
        std::string file = magic;
        putLittle(file, version, 4);
        putLittle(file, salt.size(), 4);
        file += salt;
        putLittle(file, signatureLengthOverride.value_or(64), 4);
        file += signature;
        putLittle(file, payloadLengthOverride.value_or(payload.size()), 8);
        file += payload;
        return file;
    }
};

std::string entry(const std::string& name, const std::string& data) {
    std::string e;
    putLittle(e, name.size(), 4);
    e += name;
    putLittle(e, data.size(), 8);
    e += data;
    return e;
}

std::string indexOf(std::initializer_list<std::pair<std::string, std::string>> entries) {
    std::string index;
    putLittle(index, entries.size(), 4);
    for (const auto& [name, data] : entries) index += entry(name, data);
    return index;
}

// A store with its log captured.
struct Mounted {
    NJ3Package store;
    std::ostringstream info, error;
    Mounted() { store.setLogStreams(&info, &error); }
    bool mount(const std::string& bytes, const std::string& label = "game.nj3p") {
        return store.mountBytes(label, bytes);
    }
};

std::string textOf(const NJ3Package& store, const std::string& path) {
    std::size_t size = 0;
    const char* data = store.find(path, size);
    return data ? std::string(data, size) : std::string("<absent>");
}

// An empty entry is listed but has no bytes to hand out.
TEST(PackageLookup, NormalisedPathsAndTheAssetsPrefixReachTheSameEntry) {
    Mounted m;
    RawPackage p;
    p.index = indexOf({{"assets/ui/ui.html", "<html>"}, {"empty.txt", ""}});
    ASSERT_TRUE(m.mount(p.bytes()));
    for (const char* path : {"assets/ui/ui.html", "assets\\ui\\ui.html", "./assets/ui/ui.html",
                             "/assets/ui/ui.html", "ui/ui.html", "././//ui/ui.html"}) {
        EXPECT_EQ(textOf(m.store, path), "<html>") << path;
    }
    EXPECT_EQ(textOf(m.store, "ASSETS/ui/ui.html"), "<absent>");
    EXPECT_EQ(textOf(m.store, "ui//ui.html"), "<absent>");
    std::size_t size = 99;
    EXPECT_EQ(m.store.find("empty.txt", size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_TRUE(m.store.contains("empty.txt"));
    std::string text = "unchanged";
    EXPECT_FALSE(m.store.readText("empty.txt", text));
    EXPECT_EQ(text, "unchanged");
}

// What the writer's packages hold is read back by the njtool cross-check and
// the hostile files' table; bytes after the payload by the latter.
TEST(PackageWrite, AnEmptyOrOverlongSaltIsRefused) {
    const std::vector<nj::PackageAsset> assets = {{"ui/ui.html", "<p>"}};
    EXPECT_THROW(nj::buildPackage(assets, ""), std::invalid_argument);
    EXPECT_THROW(nj::buildPackage(assets, std::string(257, 's')), std::invalid_argument);
}

TEST(PackageRefusals, HeaderAndLengthFieldsAreChecked) {
    const std::string headerError = "Invalid .nj3p header or version\n";
    // Magic, version 2 and an overlong salt are the njtool cross-check's too.
    const std::vector<std::tuple<const char*, std::function<void(RawPackage&)>, std::string>>
        cases = {
            {"version 0", [](RawPackage& p) { p.version = 0; }, headerError},
            {"empty salt", [](RawPackage& p) { p.salt.clear(); }, ""},
            {"signature length 63", [](RawPackage& p) { p.signatureLengthOverride = 63; }, ""},
            {"payload length 0", [](RawPackage& p) { p.payloadLengthOverride = 0; }, ""},
            {"payload above 500 MiB",
             [](RawPackage& p) { p.payloadLengthOverride = nj::kPackageMaxPayload + 1; }, ""},
        };
    for (const auto& [what, change, expectedError] : cases) {
        RawPackage p;
        p.index = indexOf({{"a", "1"}});
        change(p);
        Mounted m;
        EXPECT_FALSE(m.mount(p.bytes())) << what;
        EXPECT_EQ(m.error.str(), expectedError) << what;
        EXPECT_TRUE(m.info.str().empty()) << what;
    }
    // The largest salt is fine, and so is an index of no entries.
    RawPackage big;
    big.index = indexOf({});
    big.salt.assign(256, 's');
    EXPECT_TRUE(Mounted().mount(big.bytes()));
}

TEST(PackageRefusals, TamperingAndTruncationFailTheSignature) {
    const std::string tamperError =
        "CRITICAL ERROR: .nj3p package signature failed! Tampering detected.\n";
    RawPackage p;
    p.index = indexOf({{"ui/ui.html", std::string(300, 'x')}});
    const std::string good = p.bytes();
    // A flipped payload byte is the njtool cross-check's; the salt and the
    // signature's last byte are signed too.
    const std::size_t payloadAt = 88 + p.salt.size();
    for (std::size_t at : {std::size_t{12}, payloadAt - 9}) {
        std::string bad = good;
        bad[at] = static_cast<char>(bad[at] ^ 0x01);
        Mounted m;
        EXPECT_FALSE(m.mount(bad)) << "flipped byte " << at;
        EXPECT_EQ(m.error.str(), tamperError) << "flipped byte " << at;
    }
}

TEST(PackageRefusals, HugeDeclaredPayloadOnATinyFileIsRefusedWithoutAllocating) {
    RawPackage p;
    p.index = indexOf({{"a", "1"}});
    p.payloadLengthOverride = nj::kPackageMaxPayload;  // 500 MiB declared, a few bytes present
    const std::string file = p.bytes();
    Mounted m;
    bool mounted = true;
    {
        const AllocationCap cap(1 << 20);  // far more than the file could need
        mounted = m.mount(file);
    }
    EXPECT_FALSE(mounted);
    EXPECT_NE(m.error.str().find("signature failed"), std::string::npos);
}

TEST(PackageRefusals, MalformedIndexEntriesEndTheMountButKeepEarlierEntries) {
    auto indexWith = [](std::uint32_t count, const std::string& entries) {
        std::string index;
        putLittle(index, count, 4);
        return index + entries;
    };
    std::string hugeData;
    putLittle(hugeData, 1, 4);
    hugeData += "b";
    putLittle(hugeData, ~0ull, 8);  // data length that would wrap an unchecked sum
    std::string hugeName;
    putLittle(hugeName, 0xFFFFFFFFu, 4);

    const std::vector<std::pair<const char*, std::string>> cases = {
        {"index of 3 bytes", std::string("\x01\x00\x00", 3)},
        {"count beyond entries", indexWith(2, entry("a", "1"))},
        {"data past the end", indexWith(2, entry("a", "1") + entry("b", "12").substr(0, 14))},
        {"wrapping data length", indexWith(2, entry("a", "1") + hugeData)},
        {"huge name length", indexWith(2, entry("a", "1") + hugeName)},
        {"name length cut", indexWith(2, entry("a", "1") + "\x01\x00")},
    };
    for (const auto& [what, index] : cases) {
        RawPackage p;
        p.index = index;
        Mounted m;
        EXPECT_FALSE(m.mount(p.bytes())) << what;
        EXPECT_TRUE(m.error.str().empty()) << what;
        if (index.size() >= 4 + 14) {
            EXPECT_EQ(textOf(m.store, "a"), "1") << what;
        }
    }
}

// A folder in the package's place is no package: the assets/ copy is found.
TEST(PackageMount, FileFallsBackToTheAssetsFolderAndAFailedMountEmptiesTheStore) {
    const nj::test::ScratchDir scratch;
    std::filesystem::create_directories("assets");
    RawPackage p;
    p.index = indexOf({{"x", "y"}});
    { std::ofstream("assets/game.nj3p", std::ios::binary) << p.bytes(); }
    Mounted m;
    std::filesystem::create_directories("game.nj3p");
    EXPECT_TRUE(m.store.mount("game.nj3p"));
    EXPECT_EQ(m.info.str(),
              "[NJ3Package] Successfully mounted encrypted archive 'game.nj3p' with 1 assets.\n");
    EXPECT_FALSE(m.store.mount("missing.nj3p"));
    EXPECT_FALSE(m.store.contains("x"));
}

}  // namespace
