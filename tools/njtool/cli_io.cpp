// File helpers for njtool.
#include "cli_io.hpp"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace njtool {

std::string readInput(const std::string& path) {
    if (path == "-") {
        std::ostringstream text;
        text << std::cin.rdbuf();
        return text.str();
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read '" + path + "'");
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) throw std::runtime_error("cannot write '" + path + "'");
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) throw std::runtime_error("cannot write '" + path + "'");
}

std::string compactJsonText(const std::string& json) {
    std::string out;
    out.reserve(json.size());
    bool inString = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            out.push_back(c);
            if (c == '\\' && i + 1 < json.size()) {
                out.push_back(json[++i]);
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        if (c == '"') inString = true;
        out.push_back(c);
    }
    return out;
}

}  // namespace njtool
