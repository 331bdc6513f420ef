#pragma once
// The page's files and fonts come from the asset package; whatever the
// package lacks is asked of a fallback (loose files under ./assets/, the
// system's fonts), so the game also runs without a package.

#include <string>

#include "ui/web/platform.hpp"

namespace nj {

class NJ3PackageFileSystem final : public web::FileSystem {
  public:
    explicit NJ3PackageFileSystem(web::FileSystem* stock) : fallback(stock) {}
    bool fileExists(const std::string& path) override;
    std::string mimeType(const std::string& path) override;
    std::string charset(const std::string& path) override;
    web::BufferPtr openFile(const std::string& path) override;

    web::FileSystem* fallback;  // not owned; may be null
};

class NJ3PackageFontLoader final : public web::FontLoader {
  public:
    explicit NJ3PackageFontLoader(web::FontLoader* stock) : fallback(stock) {}
    std::string fallbackFont() override;
    std::string fallbackFontForCharacters(const std::string& characters, int weight,
                                          bool italic) override;
    web::BufferPtr load(const std::string& family, int weight, bool italic) override;

    web::FontLoader* fallback;  // not owned; may be null
};

// The package file of a family: Montserrat, Roboto (Mono) and Lato, bold from
// weight 600; empty for any other family.
std::string packagedFontPath(const std::string& family, int weight);

// MIME type by extension, or empty when the table has none.
std::string mimeTypeForExtension(const std::string& path);

}  // namespace nj
