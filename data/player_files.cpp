// Finding the game's data and the player's folders, and writing player files
// so that no crash can tear one.
#include "data/player_files.hpp"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>

#include "data/regular_file.hpp"

namespace nj {
namespace {

constexpr const char* kPackageName = "game.nj3p";
constexpr const char* kCampaignName = "campaign_maps.json";
constexpr const char* kGameFolderName = "nightjar/";

// Where an install puts the data, seen from the installed executable's folder
// ("../share/games/nightjar"), so an install moved to another prefix, or
// packaged under one it was not configured for, still finds its data.
#ifdef NJ_DATA_DIR_FROM_EXECUTABLE
constexpr const char* kDataFromExecutable = NJ_DATA_DIR_FROM_EXECUTABLE;
#else
constexpr const char* kDataFromExecutable = "";
#endif

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// "" stays "" (the working directory); anything else ends in exactly one '/'.
std::string asFolder(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

bool holdsGameData(const std::string& folder) {
    return isRegularFile(folder + kPackageName) || isRegularFile(folder + kCampaignName);
}

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The XDG rules ignore a relative value: it would depend on where the game
// happened to be started.
std::string xdgFolder(const std::string& value, const std::string& home, const char* fallback) {
    if (!value.empty() && value.front() == '/') return asFolder(value) + kGameFolderName;
    if (!home.empty() && home.front() == '/') return asFolder(home) + fallback + kGameFolderName;
    return "";
}

std::string parentFolder(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// One line per folder per run: a game that cannot save says so once, not on
// every win.
void reportUnwritable(const std::string& folder, int error) {
    static std::mutex guard;
    static std::set<std::string> reported;
    const std::lock_guard<std::mutex> lock(guard);
    const std::string shown = folder.empty() ? "." : folder;
    if (!reported.insert(shown).second) return;
    std::fprintf(stderr,
                 "nightjar: cannot write player files in %s (%s); playing on without saving\n",
                 shown.c_str(), std::strerror(error));
}

bool flushToDisk(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const bool flushed = ::fsync(fd) == 0;
    ::close(fd);
    return flushed;
}

}  // namespace

std::string GameLocation::packagePath() const {
    return dataDir + kPackageName;
}

std::vector<std::string> GameLocation::campaignPaths() const {
    if (portable) return {kCampaignName, std::string("../") + kCampaignName};
    return {dataDir + kCampaignName};
}

GameLocation locateGameData(const std::string& executableDir, const std::string& installDataDir) {
    if (holdsGameData("")) return {};
    const std::string installBesideExecutable =
        executableDir.empty() || *kDataFromExecutable == '\0'
            ? std::string()
            : asFolder(std::filesystem::path(asFolder(executableDir) + kDataFromExecutable)
                           .lexically_normal()
                           .string());
    for (const std::string& candidate : {executableDir, installBesideExecutable, installDataDir}) {
        if (candidate.empty()) continue;
        const std::string folder = asFolder(candidate);
        if (holdsGameData(folder)) return {folder, false};
    }
    return {};
}

std::string executableDir() {
    char buffer[4096];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return "";
    return parentFolder(std::string(buffer, static_cast<std::size_t>(length)));
}

PlayerEnvironment PlayerEnvironment::fromProcess() {
    PlayerEnvironment env;
    env.xdgDataHome = environmentValue("XDG_DATA_HOME");
    env.xdgConfigHome = environmentValue("XDG_CONFIG_HOME");
    env.home = environmentValue("HOME");
    if (env.home.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
            env.home = entry->pw_dir;
    }
    env.saveInWorkingDir = isRegularFile("save.dat");
    return env;
}

PlayerFiles PlayerFiles::portable() {
    return {};
}

PlayerFiles PlayerFiles::installed(const PlayerEnvironment& env) {
    PlayerFiles files;
    files.dataDir_ = xdgFolder(env.xdgDataHome, env.home, ".local/share/");
    files.configDir_ = xdgFolder(env.xdgConfigHome, env.home, ".config/");
    // Half a home is no home: both live in the working directory then.
    if (files.dataDir_.empty() || files.configDir_.empty()) return portable();
    files.saveInWorkingDir_ = env.saveInWorkingDir;
    return files;
}

PlayerFiles PlayerFiles::forLocation(const GameLocation& location) {
    if (location.portable) return portable();
    return installed(PlayerEnvironment::fromProcess());
}

std::string PlayerFiles::path(PlayerFile file) const {
    switch (file) {
        case PlayerFile::Save:
            return saveInWorkingDir_ ? "save.dat" : dataDir_ + "save.dat";
        case PlayerFile::Settings:
            return configDir_ + "settings.json";
        case PlayerFile::Records:
            return dataDir_ + "records.json";
        case PlayerFile::Missions:
            return dataDir_ + "missions";
        case PlayerFile::Replays:
            return dataDir_ + "replays";
    }
    return dataDir_;
}

bool makePlayerFolder(const std::string& folder) {
    if (folder.empty() || isFolder(folder)) return true;
    const std::string parent = parentFolder(folder);
    if (!parent.empty() && parent != folder && !makePlayerFolder(parent)) return false;
    if (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) return isFolder(folder);
    return false;
}

bool writePlayerFile(const std::string& path, const std::string& bytes) {
    const std::string folder = parentFolder(path);
    if (!makePlayerFolder(folder)) {
        reportUnwritable(folder, errno);
        return false;
    }
    const std::string temporary = path + ".tmp";
    // A temporary left half written is simply written over by the next
    // write; whatever else holds its name (a folder, a pipe) is not ours to
    // remove.
    if (!writeRegularFile(temporary, bytes) || !flushToDisk(temporary)) {
        reportUnwritable(folder, errno);
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        reportUnwritable(folder, error);
        return false;
    }
    return true;
}

}  // namespace nj
