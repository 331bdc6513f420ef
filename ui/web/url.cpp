// Resolution of page-relative addresses to file-system paths.
#include "ui/web/url.hpp"

#include <vector>

namespace web {

namespace {

constexpr const char* kFileScheme = "file:///";

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string stripScheme(const std::string& url) {
    if (startsWith(url, kFileScheme)) return url.substr(8);
    if (startsWith(url, "file://")) return url.substr(7);
    if (startsWith(url, "file:")) return url.substr(5);
    return url;
}

std::string foldSegments(const std::string& path) {
    std::vector<std::string> kept;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        const std::string segment = path.substr(start, slash - start);
        if (segment == "..") {
            if (!kept.empty()) kept.pop_back();
        } else if (!segment.empty() && segment != ".") {
            kept.push_back(segment);
        }
        start = slash + 1;
    }
    std::string joined;
    for (const std::string& segment : kept) joined += (joined.empty() ? "" : "/") + segment;
    return joined;
}

bool hasOtherScheme(const std::string& reference) {
    const std::size_t colon = reference.find(':');
    return colon != std::string::npos && colon > 1 && reference.find('/') > colon &&
           !startsWith(reference, "file:");
}

}  // namespace

std::string resolveUrl(const std::string& base, const std::string& reference) {
    if (hasOtherScheme(reference)) return reference;
    std::string path;
    if (startsWith(reference, "file:") || (!reference.empty() && reference[0] == '/')) {
        path = stripScheme(reference);
    } else {
        const std::string basePath = stripScheme(base);
        const std::size_t slash = basePath.rfind('/');
        path = (slash == std::string::npos ? std::string() : basePath.substr(0, slash + 1)) +
               reference;
    }
    const std::size_t query = path.find_first_of("?#");
    if (query != std::string::npos) path.resize(query);
    return kFileScheme + foldSegments(path);
}

std::string filePathOf(const std::string& url) {
    if (!startsWith(url, "file:")) return {};
    return foldSegments(stripScheme(url));
}

}  // namespace web
