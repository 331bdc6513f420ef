// Disk file system rooted at ./assets/ and the fontconfig font loader.
#include "ui/stock_sources.hpp"

#include <fontconfig/fontconfig.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <vector>

#include "data/regular_file.hpp"
#include "ui/package_file_system.hpp"

namespace nj {
namespace {

// Larger than any page, picture or font the overlay could use (the biggest
// system fonts are some tens of megabytes).
constexpr std::size_t kPageFileMaxBytes = 64 * 1024 * 1024;

// A folder, a pipe, an unreadable or an oversized file is simply not there.
web::BufferPtr readWholeFile(const std::string& path) {
    std::string bytes;
    if (!readRegularFile(path, kPageFileMaxBytes, bytes)) return nullptr;
    return web::makeBuffer(bytes.data(), bytes.size());
}

// fontconfig's weight scale for a CSS weight.
int fontconfigWeight(int cssWeight) {
    if (cssWeight >= 800) return FC_WEIGHT_EXTRABOLD;
    if (cssWeight >= 700) return FC_WEIGHT_BOLD;
    if (cssWeight >= 600) return FC_WEIGHT_DEMIBOLD;
    if (cssWeight >= 500) return FC_WEIGHT_MEDIUM;
    if (cssWeight >= 400) return FC_WEIGHT_REGULAR;
    return FC_WEIGHT_LIGHT;
}

// The best system match for a pattern: its file, and every family name it
// answers to (a face may list several, "DejaVu Sans" and "DejaVu Sans Light").
bool matchFont(FcPattern* pattern, std::string* file, std::vector<std::string>* families) {
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    bool found = false;
    if (match) {
        FcChar8* value = nullptr;
        if (file && FcPatternGetString(match, FC_FILE, 0, &value) == FcResultMatch) {
            *file = reinterpret_cast<const char*>(value);
            found = true;
        }
        for (int i = 0;
             families && FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
            families->emplace_back(reinterpret_cast<const char*>(value));
            found = true;
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}

std::string lowerAscii(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// CSS's generic families name no font of their own: fontconfig's choice is the answer.
bool isGenericFamily(const std::string& family) {
    static const char* const kGeneric[] = {
        "serif",         "sans-serif", "monospace",    "cursive", "fantasy", "system-ui",
        "ui-sans-serif", "ui-serif",   "ui-monospace", "emoji",   "math"};
    const std::string name = lowerAscii(family);
    return std::any_of(std::begin(kGeneric), std::end(kGeneric),
                       [&](const char* generic) { return name == generic; });
}

bool namesFamily(const std::vector<std::string>& families, const std::string& family) {
    const std::string wanted = lowerAscii(family);
    return std::any_of(families.begin(), families.end(),
                       [&](const std::string& name) { return lowerAscii(name) == wanted; });
}

}  // namespace

std::string DiskFileSystem::resolve(const std::string& path) const {
    const std::filesystem::path relative(path);
    if (path.empty() || relative.is_absolute() || path.front() == '/' || path.front() == '\\')
        return "";
    for (const auto& part : relative) {
        if (part == "..") return "";
    }
    if (path.find('\\') != std::string::npos) {
        // Backslashes are separators on Windows; refuse ".." written that way too.
        if (path.find("..") != std::string::npos) return "";
    }
    return insideRoot(std::filesystem::path(root_) / relative);
}

// A symbolic link under the root may point anywhere on the disk: the file it
// leads to must itself lie under the root, or it is not there.
std::string DiskFileSystem::insideRoot(const std::filesystem::path& file) const {
    std::error_code ec;
    std::filesystem::path realRoot = std::filesystem::weakly_canonical(root_, ec);
    if (ec) return "";
    if (!realRoot.has_filename()) realRoot = realRoot.parent_path();
    const std::filesystem::path realFile = std::filesystem::weakly_canonical(file, ec);
    if (ec) return "";
    const auto [rootEnd, fileAt] =
        std::mismatch(realRoot.begin(), realRoot.end(), realFile.begin(), realFile.end());
    if (rootEnd != realRoot.end() || fileAt == realFile.end()) return "";
    return realFile.string();
}

bool DiskFileSystem::fileExists(const std::string& path) {
    const std::string file = resolve(path);
    std::error_code ec;
    if (file.empty() || !std::filesystem::is_regular_file(file, ec)) return false;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    return !ec && size <= kPageFileMaxBytes && ::access(file.c_str(), R_OK) == 0;
}

std::string DiskFileSystem::mimeType(const std::string& path) {
    const std::string type = mimeTypeForExtension(path);
    return type.empty() ? "application/octet-stream" : type;
}

std::string DiskFileSystem::charset(const std::string&) {
    return "utf-8";
}

web::BufferPtr DiskFileSystem::openFile(const std::string& path) {
    const std::string file = resolve(path);
    return file.empty() ? nullptr : readWholeFile(file);
}

std::string SystemFontLoader::fallbackFont() {
    return "sans-serif";
}

std::string SystemFontLoader::fallbackFontForCharacters(const std::string& characters, int weight,
                                                        bool italic) {
    FcPattern* pattern = FcPatternCreate();
    FcCharSet* charset = FcCharSetCreate();
    const auto* bytes = reinterpret_cast<const FcChar8*>(characters.data());
    int length = static_cast<int>(characters.size());
    while (length > 0) {
        FcChar32 ch = 0;
        const int used = FcUtf8ToUcs4(bytes, &ch, length);
        if (used <= 0) break;
        FcCharSetAddChar(charset, ch);
        bytes += used;
        length -= used;
    }
    FcPatternAddCharSet(pattern, FC_CHARSET, charset);
    FcPatternAddInteger(pattern, FC_WEIGHT, fontconfigWeight(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcCharSetDestroy(charset);
    std::vector<std::string> families;
    return matchFont(pattern, nullptr, &families) ? families.front() : fallbackFont();
}

web::BufferPtr SystemFontLoader::load(const std::string& family, int weight, bool italic) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, fontconfigWeight(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    // fontconfig always answers with its nearest face; a named family it does
    // not have must stay absent so the CSS list falls through to the next name.
    std::string file;
    std::vector<std::string> families;
    if (!matchFont(pattern, &file, &families) || file.empty()) return nullptr;
    if (!isGenericFamily(family) && !namesFamily(families, family)) return nullptr;
    return readWholeFile(file);
}

}  // namespace nj
