#pragma once
// Small file helpers and the shared error type for njtool's commands.

#include <stdexcept>
#include <string>
#include <vector>

namespace njtool {

// Thrown for a wrong command line; main prints the usage and exits 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads a whole file ("-" = standard input); throws std::runtime_error with a
// message naming the file when it cannot be read.
std::string readInput(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// Drops whitespace outside string literals, so a mission prints on one line.
std::string compactJsonText(const std::string& json);

using Args = std::vector<std::string>;
int runJsonCommand(const Args& args);
int runTokenCommand(const Args& args);
int runMissionCommand(const Args& args);
int runCampaignCommand(const Args& args);
int runPackCommand(const Args& args);
int runCuesCommand(const Args& args);
int runPageCommand(const Args& args);  // only when built with the HTML engine
int runPageCompare(const Args& args);  // the arguments after "page compare"
int runIconCommand(const Args& args);  // only when built with cairo (the HTML engine's)

}  // namespace njtool
