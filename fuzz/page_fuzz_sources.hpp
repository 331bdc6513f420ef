#pragma once
// What the page fuzzers give the engine to read: a style sheet a page may
// link, and one system face for every family, read once.

#include <fstream>
#include <iterator>
#include <string>

#include "ui/web/platform.hpp"

namespace fuzzpage {

class Files : public web::FileSystem {
  public:
    bool fileExists(const std::string& path) override { return openFile(path) != nullptr; }
    std::string mimeType(const std::string&) override { return "application/octet-stream"; }
    std::string charset(const std::string&) override { return "utf-8"; }
    web::BufferPtr openFile(const std::string& path) override {
        static const std::string css = ".a{color:red;border:1px solid blue}.b{display:none}";
        if (path == "ui/a.css") return web::makeBuffer(css.data(), css.size());
        return nullptr;
    }
};

class Fonts : public web::FontLoader {
  public:
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
