// Page files and fonts from the asset store, with the stock fallbacks.
#include "ui/package_file_system.hpp"

#include <algorithm>
#include <cctype>
#include <utility>

#include "data/package.hpp"

namespace nj {
namespace {

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Whatever goes wrong in a fallback, a resource it cannot give is one the page
// goes without: no exception reaches the page engine, which would drop the
// whole page for one bad picture.
template <typename Ask, typename Answer>
Answer askFallback(const Ask& ask, Answer missing) {
    try {
        return ask();
    } catch (...) {
        return missing;
    }
}

web::BufferPtr copyFromStore(const std::string& path) {
    std::size_t size = 0;
    const char* data = NJ3Package::instance().find(path, size);
    if (!data || size == 0) return nullptr;
    return web::makeBuffer(data, size);
}

}  // namespace

std::string mimeTypeForExtension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) return "";
    static const std::pair<const char*, const char*> kTypes[] = {
        {".html", "text/html"},
        {".htm", "text/html"},
        {".css", "text/css"},
        {".js", "application/javascript"},
        {".png", "image/png"},
        {".jpg", "image/jpeg"},
        {".jpeg", "image/jpeg"},
        {".svg", "image/svg+xml"},
        {".ttf", "font/ttf"},
        {".otf", "font/otf"},
        {".woff", "font/woff"},
        {".woff2", "font/woff2"},
        {".json", "application/json"},
        {".pem", "application/x-pem-file"},
        {".dat", "application/octet-stream"},
    };
    const std::string extension = lowerAscii(path.substr(dot));
    for (const auto& [ext, type] : kTypes) {
        if (extension == ext) return type;
    }
    return "";
}

bool NJ3PackageFileSystem::fileExists(const std::string& path) {
    if (NJ3Package::instance().contains(path)) return true;
    if (!fallback) return false;
    return askFallback([&] { return fallback->fileExists(path); }, false);
}

std::string NJ3PackageFileSystem::mimeType(const std::string& path) {
    const std::string known = mimeTypeForExtension(path);
    if (!known.empty()) return known;
    return fallback ? fallback->mimeType(path) : "application/unknown";
}

std::string NJ3PackageFileSystem::charset(const std::string&) {
    return "utf-8";
}

web::BufferPtr NJ3PackageFileSystem::openFile(const std::string& path) {
    if (web::BufferPtr bytes = copyFromStore(path)) return bytes;
    if (!fallback) return nullptr;
    return askFallback([&] { return fallback->openFile(path); }, web::BufferPtr());
}

std::string packagedFontPath(const std::string& family, int weight) {
    const std::string name = lowerAscii(family);
    const bool bold = weight >= 600;
    if (name.find("montserrat") != std::string::npos) {
        return bold ? "fonts/Montserrat-Bold.ttf" : "fonts/Montserrat-Regular.ttf";
    }
    if (name.find("roboto") != std::string::npos) {
        return bold ? "fonts/RobotoMono-Bold.ttf" : "fonts/RobotoMono-Regular.ttf";
    }
    if (name.find("lato") != std::string::npos) {
        return bold ? "fonts/Lato-Bold.ttf" : "fonts/Lato-Regular.ttf";
    }
    return "";
}

std::string NJ3PackageFontLoader::fallbackFont() {
    return fallback ? fallback->fallbackFont() : "Montserrat";
}

std::string NJ3PackageFontLoader::fallbackFontForCharacters(const std::string& characters,
                                                            int weight, bool italic) {
    return fallback ? fallback->fallbackFontForCharacters(characters, weight, italic)
                    : "Montserrat";
}

web::BufferPtr NJ3PackageFontLoader::load(const std::string& family, int weight, bool italic) {
    const std::string path = packagedFontPath(family, weight);
    if (!path.empty()) {
        if (web::BufferPtr bytes = copyFromStore(path)) return bytes;
    }
    if (!fallback) return nullptr;
    return askFallback([&] { return fallback->load(family, weight, italic); }, web::BufferPtr());
}

}  // namespace nj
