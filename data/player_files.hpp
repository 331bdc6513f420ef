#pragma once
// Where the game finds its own data and where it keeps the player's files.
//
// The game's data (game.nj3p, campaign_maps.json) is looked for in the
// working directory first, as the game always did (../campaign_maps.json
// included), then beside the executable, then in the install's data folder.
// Found in the working directory, the game runs portable: every player file
// stays in the working directory, where save.dat has always been. Otherwise
// player data lives in $XDG_DATA_HOME/nightjar (~/.local/share/nightjar) and
// settings in $XDG_CONFIG_HOME/nightjar (~/.config/nightjar), folders made on
// the first write with mode 0700.

#include <string>
#include <vector>

namespace nj {

// Where the game's own data was found.
struct GameLocation {
    std::string dataDir;   // "" for the working directory, else a folder ending in '/'
    bool portable = true;  // found in the working directory (or nowhere)
    std::string packagePath() const;
    // Campaign files to try in turn.
    std::vector<std::string> campaignPaths() const;
};

// The working directory first, then `executableDir`, then the install's data
// folder as seen from `executableDir` (wherever the install was moved), then
// `installDataDir` (either may be empty: not looked at). Data found nowhere runs portable,
// as the game always ran.
GameLocation locateGameData(const std::string& executableDir, const std::string& installDataDir);

// The folder of the running executable ("" when the system cannot say).
std::string executableDir();

enum class PlayerFile {
    Save,      // save.dat
    Settings,  // settings.json
    Records,   // records.json
    Missions,  // missions/ (a folder)
    Replays,   // replays/ (a folder)
};

// The environment the player folders are chosen from; taken from the process
// by fromProcess(), spelt out by tests.
struct PlayerEnvironment {
    std::string xdgDataHome;        // $XDG_DATA_HOME, "" when unset
    std::string xdgConfigHome;      // $XDG_CONFIG_HOME, "" when unset
    std::string home;               // $HOME, or the password database's home
    bool saveInWorkingDir = false;  // a save.dat already lies in the working directory
    static PlayerEnvironment fromProcess();
};

class PlayerFiles {
  public:
    // Everything in the working directory.
    static PlayerFiles portable();
    // The XDG folders. Relative XDG values are ignored, as the XDG rules say;
    // with no usable home at all the game falls back to the working directory.
    static PlayerFiles installed(const PlayerEnvironment& env);
    // The rule for a run whose data was found at `location`.
    static PlayerFiles forLocation(const GameLocation& location);

    bool isPortable() const { return dataDir_.empty() && configDir_.empty(); }
    // The file's (or folder's) path. A save.dat an installed run found in its
    // working directory stays in use there, so no progress is left behind.
    std::string path(PlayerFile file) const;

  private:
    std::string dataDir_;    // "" or ending in '/'
    std::string configDir_;  // "" or ending in '/'
    bool saveInWorkingDir_ = false;
};

// Writes `bytes` to `path` atomically: a temporary file beside it, flushed to
// disk, then renamed over it, so a crash or a kill mid-write leaves either the
// old file or the new one. Missing parent folders are made with mode 0700. A
// folder that cannot be written is reported once on stderr (per folder, per
// run); the result says whether the file was written.
bool writePlayerFile(const std::string& path, const std::string& bytes);

// Makes `folder` and its missing parents with mode 0700. True when it exists
// as a folder afterwards.
bool makePlayerFolder(const std::string& folder);

}  // namespace nj
