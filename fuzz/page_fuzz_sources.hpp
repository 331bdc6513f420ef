#pragma once
// What the page fuzzers give the engine to read: a sheet a page may link, one face for all.

#include <fstream>
#include <iterator>
#include <string>

#include "ui/web/platform.hpp"

namespace fuzzpage {

struct Files : web::FileSystem {
    bool fileExists(const std::string& path) override { return openFile(path) != nullptr; }
    std::string mimeType(const std::string&) override { return "application/octet-stream"; }
    std::string charset(const std::string&) override { return "utf-8"; }
    web::BufferPtr openFile(const std::string& path) override {
        static const std::string css = ".a{color:red;border:1px solid blue}.b{display:none}";
        return path == "ui/a.css" ? web::makeBuffer(css.data(), css.size()) : nullptr;
    }
};

struct Fonts : web::FontLoader {
    std::string fallbackFont() override { return "DejaVu Sans"; }
    std::string fallbackFontForCharacters(const std::string&, int, bool) override {
        return "DejaVu Sans";
    }
    web::BufferPtr load(const std::string&, int, bool) override {
        static const web::BufferPtr bytes = [] {
            std::ifstream in("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", std::ios::binary);
            const std::string data((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
            return web::makeBuffer(data.data(), data.size());
        }();
        return bytes->empty() ? nullptr : bytes;
    }
};

}  // namespace fuzzpage
