// File helpers for njtool.
#include "cli_io.hpp"

#include <fstream>
#include <iostream>
#include <sstream>

#include "data/package.hpp"
#include "data/regular_file.hpp"

namespace njtool {

std::string readInput(const std::string& path) {
    if (path == "-") {
        std::ostringstream text;
        text << std::cin.rdbuf();
        return text.str();
    }
    // Only a regular file: a named pipe or a device given by mistake would
    // otherwise hold the tool forever. The cap is the largest package payload.
    std::string bytes;
    if (!nj::readRegularFile(path, nj::kPackageMaxPayload, bytes)) {
        throw std::runtime_error("cannot read '" + path + "'");
    }
    return bytes;
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
