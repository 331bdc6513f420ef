#pragma once
// The fallbacks behind the package: loose files under a root folder on disk,
// and the system's fonts through fontconfig.

#include <filesystem>
#include <string>

#include "ui/web/platform.hpp"

namespace nj {

// Files under `root` ("./assets/"). A path that would leave the root — an
// absolute path, any ".." step or a symbolic link that leads outside — is
// refused, so a page cannot read the rest of the disk.
class DiskFileSystem final : public web::FileSystem {
  public:
    explicit DiskFileSystem(std::string root) : root_(std::move(root)) {}
    bool fileExists(const std::string& path) override;
    std::string mimeType(const std::string& path) override;
    std::string charset(const std::string& path) override;
    web::BufferPtr openFile(const std::string& path) override;

    // The file's place on disk, or empty when the path would leave the root.
    std::string resolve(const std::string& path) const;

  private:
    std::string insideRoot(const std::filesystem::path& file) const;

    std::string root_;
};

// System fonts found by fontconfig, read into memory.
class SystemFontLoader final : public web::FontLoader {
  public:
    std::string fallbackFont() override;
    std::string fallbackFontForCharacters(const std::string& characters, int weight,
                                          bool italic) override;
    web::BufferPtr load(const std::string& family, int weight, bool italic) override;
};

}  // namespace nj
