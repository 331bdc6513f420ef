// njtool pack build/list/extract: the asset package "game.nj3p".
#include <algorithm>
#include <filesystem>
#include <iostream>

#include "cli_io.hpp"
#include "data/package.hpp"

namespace fs = std::filesystem;

namespace njtool {
namespace {

std::vector<nj::PackageAsset> collectDirectory(const fs::path& root) {
    if (!fs::is_directory(root))
        throw std::runtime_error("'" + root.string() + "' is not a directory");
    std::vector<nj::PackageAsset> assets;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        assets.push_back({entry.path().lexically_relative(root).generic_string(),
                          readInput(entry.path().string())});
    }
    // Directory order is the file system's; sort so builds are reproducible.
    std::sort(assets.begin(), assets.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    return assets;
}

int build(const Args& args) {
    if (args.size() < 2) throw UsageError("pack build: OUT.nj3p DIR [NAME=FILE ...]");
    std::vector<nj::PackageAsset> assets = collectDirectory(args[1]);
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::size_t eq = args[i].find('=');
        if (eq == std::string::npos || eq == 0)
            throw UsageError("pack build: expected NAME=FILE, got '" + args[i] + "'");
        assets.push_back({args[i].substr(0, eq), readInput(args[i].substr(eq + 1))});
    }
    const std::string index = nj::buildPackageIndex(assets);
    writeFile(args[0], nj::buildPackage(assets, nj::packageSaltFor(index)));
    return 0;
}

// Mounts like the game does, but keeps the success line off standard output
// so that the listing can be piped.
bool mountQuietly(nj::NJ3Package& store, const std::string& path) {
    store.setLogStreams(&std::cerr, &std::cerr);
    if (store.mount(path)) return true;
    if (!fs::exists(path)) std::cerr << "njtool: cannot read '" << path << "'\n";
    return false;
}

int list(const Args& args) {
    if (args.size() != 1) throw UsageError("pack list: one FILE.nj3p expected");
    nj::NJ3Package store;
    if (!mountQuietly(store, args[0])) return 1;
    for (const std::string& name : store.assetNames()) {
        std::size_t size = 0;
        store.find(name, size);
        std::cout << name << " " << size << "\n";
    }
    return 0;
}

bool staysInside(const std::string& name) {
    const fs::path p(name);
    if (name.empty() || p.is_absolute()) return false;
    return std::none_of(p.begin(), p.end(), [](const fs::path& part) { return part == ".."; });
}

int extract(const Args& args) {
    if (args.size() != 2) throw UsageError("pack extract: FILE.nj3p DIR");
    nj::NJ3Package store;
    if (!mountQuietly(store, args[0])) return 1;
    int status = 0;
    for (const std::string& name : store.assetNames()) {
        if (!staysInside(name)) {
            std::cerr << "njtool: skipping '" << name << "': it would leave " << args[1] << "\n";
            status = 1;
            continue;
        }
        const fs::path target = fs::path(args[1]) / name;
        fs::create_directories(target.parent_path());
        std::size_t size = 0;
        const char* data = store.find(name, size);
        writeFile(target.string(), data ? std::string(data, size) : std::string());
    }
    return status;
}

}  // namespace

int runPackCommand(const Args& args) {
    if (args.empty()) throw UsageError("pack: expected 'build', 'list' or 'extract'");
    const Args rest(args.begin() + 1, args.end());
    if (args[0] == "build") return build(rest);
    if (args[0] == "list") return list(rest);
    if (args[0] == "extract") return extract(rest);
    throw UsageError("pack: unknown subcommand '" + args[0] + "'");
}

}  // namespace njtool
