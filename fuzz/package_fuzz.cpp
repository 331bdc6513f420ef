// Asset packages. Odd first byte: the rest is a whole package file (header, lengths, signature).
// Even: the rest is a deciphered index sealed with a valid signature, for the index parser.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "data/digest.hpp"
#include "data/keystream.hpp"
#include "data/package.hpp"

namespace {

std::string little(std::uint64_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return out;
}

std::string sealIndex(const std::string& index) {
    const std::string salt = "fz";
    std::string payload = index;
    nj::xorPackageKeystream(nj::kPackageKey, salt, payload.data(), payload.size());
    return "NJ3P" + little(1, 4) + little(salt.size(), 4) + salt + little(64, 4) +
           nj::hmacSha256Hex(nj::kPackageKey, {salt, ":", payload}) + little(payload.size(), 8) +
           payload;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    static std::ostringstream sink;
    sink.str("");
    nj::NJ3Package store;
    store.setLogStreams(&sink, &sink);
    store.mountBytes("fuzz.nj3p", (data[0] & 1) ? rest : sealIndex(rest));
    for (const std::string& name : store.assetNames()) {
        std::size_t bytes = 0;
        (void)store.find(name, bytes);
        (void)store.contains("assets/" + name);
    }
    return 0;
}
