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

#include "data/digest.hpp"
#include "data/keystream.hpp"
#include "tests/support/scratch_dir.hpp"

// While an AllocationCap lives, larger allocations fail: a refusal is seen to
// come before the declared bytes are allocated. The library frees with free().
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

std::string little(std::uint64_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return out;
}

std::string entry(const std::string& name, const std::string& data) {
    return little(name.size(), 4) + name + little(data.size(), 8) + data;
}

// A package file built from the writer steps with every field overridable, so
// refusals can be provoked one at a time. An index is its entry count, then the entries.
struct RawPackage {
    std::uint32_t version = 1;
    std::string salt = "pepper";
    std::uint32_t signatureLength = 64;
    std::string index = little(1, 4) + entry("a", "1");
    std::optional<std::uint64_t> payloadLength;

    std::string bytes() const {
        const std::string payload =
            nj::xorWith(index, nj::packageKeystream(nj::kPackageKey, salt, index.size()));
        return "NJ3P" + little(version, 4) + little(salt.size(), 4) + salt +
               little(signatureLength, 4) +
               nj::hmacSha256Hex(nj::kPackageKey, salt + ":" + payload) +
               little(payloadLength.value_or(payload.size()), 8) + payload;
    }
};

struct Mounted {
    NJ3Package store;
    std::ostringstream info, error;
    Mounted() { store.setLogStreams(&info, &error); }
    bool mount(const std::string& bytes) {
        const AllocationCap cap(1 << 20);  // far more than any test's file could need
        return store.mountBytes("game.nj3p", bytes);
    }
};

std::string textOf(const NJ3Package& store, const std::string& path) {
    std::size_t size = 0;
    const char* data = store.find(path, size);
    return data ? std::string(data, size) : std::string("<absent>");
}

// Magic, version 2, an overlong salt and a flipped payload byte are the njtool
// cross-check's. A bad index entry ends the mount but keeps the ones before it.
TEST(PackageRefusals, HeaderAndLengthFieldsAreChecked) {
    const std::string header = "Invalid .nj3p header or version\n";
    const std::string tampered =
        "CRITICAL ERROR: .nj3p package signature failed! Tampering detected.\n";
    const auto with = [](const std::function<void(RawPackage&)>& change) {
        RawPackage p;
        change(p);
        return p.bytes();
    };
    const auto flipped = [](std::size_t at) {
        std::string bytes = RawPackage().bytes();
        bytes[at] = static_cast<char>(bytes[at] ^ 0x01);
        return bytes;
    };
    // Two entries declared: "a", then what follows it.
    const auto afterA = [](const std::string& rest) {
        RawPackage p;
        p.index = little(2, 4) + entry("a", "1") + rest;
        return p.bytes();
    };
    const struct {
        const char* what;
        std::string bytes, error;
        bool keepsA = false;
    } cases[] = {
        {"version 0", with([](RawPackage& p) { p.version = 0; }), header},
        {"empty salt", with([](RawPackage& p) { p.salt.clear(); }), ""},
        {"signature length 63", with([](RawPackage& p) { p.signatureLength = 63; }), ""},
        {"payload length 0", with([](RawPackage& p) { p.payloadLength = 0; }), ""},
        {"payload above 500 MiB",
         with([](RawPackage& p) { p.payloadLength = nj::kPackageMaxPayload + 1; }), ""},
        {"500 MiB declared on a tiny file",
         with([](RawPackage& p) { p.payloadLength = nj::kPackageMaxPayload; }), tampered},
        {"the salt's first byte flipped", flipped(12), tampered},
        {"the signature's last byte flipped", flipped(12 + 6 + 4 + 63), tampered},
        {"index of 3 bytes", with([](RawPackage& p) { p.index = std::string("\x01\0\0", 3); }), ""},
        {"count beyond entries", afterA(""), "", true},
        {"data past the end", afterA(entry("b", "12").substr(0, 14)), "", true},
        // A data length that would wrap an unchecked sum.
        {"wrapping data length", afterA(std::string("\x01\0\0\0b", 5) + std::string(8, '\xff')), "",
         true},
        {"huge name length", afterA(std::string(4, '\xff')), "", true},
        {"name length cut", afterA(std::string("\x01\0", 2)), "", true},
    };
    for (const auto& c : cases) {
        Mounted m;
        EXPECT_FALSE(m.mount(c.bytes)) << c.what;
        EXPECT_EQ(m.error.str(), c.error) << c.what;
        EXPECT_TRUE(m.info.str().empty()) << c.what;
        EXPECT_EQ(textOf(m.store, "a"), c.keepsA ? "1" : "<absent>") << c.what;
    }
    // The largest salt is fine, and so is an index of no entries; the writer
    // refuses the salts the reader would (what it writes is the cross-check's).
    RawPackage big;
    big.index = little(0, 4);
    big.salt.assign(256, 's');
    EXPECT_TRUE(Mounted().mount(big.bytes()));
    EXPECT_THROW(nj::buildPackage({{"a", "1"}}, ""), std::invalid_argument);
    EXPECT_THROW(nj::buildPackage({{"a", "1"}}, std::string(257, 's')), std::invalid_argument);
}

// A folder in the package's place is no package: the assets/ copy is found.
// An empty entry is listed but has no bytes to hand out.
TEST(PackageMount, TheAssetsCopyIsFoundAndNormalisedPathsReachTheSameEntry) {
    const nj::test::ScratchDir scratch;
    RawPackage p;
    p.index = little(2, 4) + entry("assets/ui/ui.html", "<html>") + entry("empty.txt", "");
    std::filesystem::create_directories("assets");
    { std::ofstream("assets/game.nj3p", std::ios::binary) << p.bytes(); }
    std::filesystem::create_directories("game.nj3p");
    Mounted m;
    ASSERT_TRUE(m.store.mount("game.nj3p"));
    EXPECT_EQ(m.info.str(),
              "[NJ3Package] Successfully mounted encrypted archive 'game.nj3p' with 2 assets.\n");
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
    EXPECT_FALSE(m.store.mount("missing.nj3p"));
    EXPECT_FALSE(m.store.contains("ui/ui.html")) << "a failed mount empties the store";
}

}  // namespace
