// Where the page's files and fonts come from: the package first, then the stock sources.
#include "ui/package_file_system.hpp"

#include <cairo-ft.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include "data/package.hpp"
#include "tests/support/deadline.hpp"
#include "tests/ui/package_mount.hpp"
#include "tests/ui/web/web_test_support.hpp"
#include "ui/stock_sources.hpp"
#include "ui/web/fonts.hpp"

namespace {

// A fallback that records what reached it.
struct RecordingFallback : webtest::MemoryFileSystem, webtest::TestFontLoader {
    std::vector<std::string> asked;
    bool fileExists(const std::string& p) override { return asked.push_back("exists " + p), true; }
    web::BufferPtr openFile(const std::string& p) override {
        asked.push_back("open " + p);
        return web::makeBuffer("disk", 4);
    }
    std::string fallbackFont() override { return "Stock Sans"; }
    std::string fallbackFontForCharacters(const std::string&, int, bool) override {
        return "Stock CJK";
    }
    web::BufferPtr load(const std::string& family, int weight, bool) override {
        asked.push_back("font " + family + " " + std::to_string(weight));
        return web::makeBuffer("ttf", 3);
    }
};

class PackageSources : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::vector<nj::PackageAsset> assets = {{"ui/ui.html", "<html>"},
                                                      {"ui/empty.css", ""},
                                                      {"fonts/RobotoMono-Bold.ttf", "ROBOTO-B"},
                                                      {"fonts/Lato-Regular.ttf", "LATO-R"}};
        ASSERT_TRUE(nj::test::mountPackageBytes(nj::buildPackage(assets, "salt")));
    }
    static std::string text(const web::BufferPtr& b) {
        return b ? std::string(b->begin(), b->end()) : std::string("<null>");
    }
};

TEST_F(PackageSources, FilesComeFromThePackageThenTheFallback) {
    RecordingFallback stock;
    nj::NJ3PackageFileSystem files(&stock);
    EXPECT_EQ(text(files.openFile("ui/ui.html")), "<html>");
    EXPECT_EQ(text(files.openFile("assets/ui/ui.html")), "<html>");
    EXPECT_TRUE(files.fileExists("ui/empty.css"));
    EXPECT_EQ(text(files.openFile("ui/empty.css")), "disk") << "an empty asset counts as absent";
    EXPECT_EQ(text(files.openFile("ui/missing.js")), "disk");
    EXPECT_EQ(stock.asked, (std::vector<std::string>{"open ui/empty.css", "open ui/missing.js"}));
    nj::NJ3PackageFileSystem alone(nullptr);
    EXPECT_EQ(alone.openFile("ui/missing.js"), nullptr);
    EXPECT_FALSE(alone.fileExists("ui/missing.js"));
}

TEST_F(PackageSources, FontFamiliesMapToThePackagedPairs) {
    EXPECT_EQ(nj::packagedFontPath("Roboto Mono", 700), "fonts/RobotoMono-Bold.ttf");
    EXPECT_EQ(nj::packagedFontPath("Lato", 599), "fonts/Lato-Regular.ttf");
    EXPECT_EQ(nj::packagedFontPath("MONTSERRAT", 600), "fonts/Montserrat-Bold.ttf");
    EXPECT_EQ(nj::packagedFontPath("Lato, Roboto", 400), "fonts/RobotoMono-Regular.ttf");
    EXPECT_EQ(nj::packagedFontPath("Arial", 400), "");

    RecordingFallback stock;
    nj::NJ3PackageFontLoader fonts(&stock);
    EXPECT_EQ(text(fonts.load("Roboto Mono", 700, false)), "ROBOTO-B");
    EXPECT_EQ(text(fonts.load("lato", 400, true)), "LATO-R");  // italic is not looked at
    EXPECT_EQ(text(fonts.load("Arial", 400, false)), "ttf");
    EXPECT_EQ(text(fonts.load("Montserrat", 400, false)), "ttf") << "not in this package";
    EXPECT_EQ(stock.asked, (std::vector<std::string>{"font Arial 400", "font Montserrat 400"}));
    EXPECT_EQ(fonts.fallbackFont(), "Stock Sans");
    nj::NJ3PackageFontLoader alone(nullptr);
    EXPECT_EQ(alone.fallbackFont(), "Montserrat");
    EXPECT_EQ(alone.fallbackFontForCharacters("x", 400, false), "Montserrat");
    EXPECT_EQ(alone.load("Arial", 400, false), nullptr);
}

// The hostile run asks only for a folder: an escape, a pipe or a huge file it would not notice.
TEST(DiskFileSystem, ServesOnlyReadableFilesUnderItsRoot) {
    namespace fs = std::filesystem;
    const nj::test::Deadline deadline(10);
    const fs::path root = fs::temp_directory_path() / ("nj_disk_" + std::to_string(::getpid()));
    fs::create_directories(root / "assets" / "ui");
    std::ofstream(root / "assets" / "ui" / "ui.html") << "<p>loose</p>";
    std::ofstream(root / "secret.txt") << "not for pages";
    ASSERT_EQ(::mkfifo((root / "assets" / "ui" / "pipe.png").c_str(), 0600), 0);
    // Sparse: as large as it says without taking the disk space.
    std::ofstream(root / "assets" / "ui" / "huge.ttf") << "x";
    fs::resize_file(root / "assets" / "ui" / "huge.ttf", 65ull * 1024 * 1024);
    // Links that stay inside serve their target; links that lead out do not.
    fs::create_symlink("ui.html", root / "assets" / "ui" / "same.html");
    fs::create_symlink(root / "secret.txt", root / "assets" / "ui" / "secret.css");
    fs::create_directory_symlink(root, root / "assets" / "ui" / "up");
    nj::DiskFileSystem disk((root / "assets").string() + "/");
    ASSERT_NE(disk.openFile("ui/ui.html"), nullptr);
    EXPECT_EQ(disk.openFile("ui/ui.html")->size(), 12u);
    ASSERT_NE(disk.openFile("ui/same.html"), nullptr);
    EXPECT_EQ(disk.openFile("ui/same.html")->size(), 12u);
    // Out and back in again ends under the root: the file it reaches is served.
    EXPECT_TRUE(disk.fileExists("ui/up/assets/ui/ui.html"));
    for (const char* absent :
         {"../secret.txt", "ui/../../secret.txt", "/etc/passwd", "..\\secret.txt", "ui/pipe.png",
          "ui/huge.ttf", "ui/secret.css", "ui/up/secret.txt"}) {
        EXPECT_FALSE(disk.fileExists(absent)) << absent;
        EXPECT_EQ(disk.openFile(absent), nullptr) << absent;
    }
    fs::remove_all(root);
}

std::string familyOf(const web::FaceAtSize& face) {
    FT_Face ft = face.cairo ? cairo_ft_scaled_font_lock_face(face.cairo) : nullptr;
    const std::string family = ft && ft->family_name ? ft->family_name : "<none>";
    if (ft) cairo_ft_scaled_font_unlock_face(face.cairo);
    return family;
}

// Else a CSS list never reaches its second name.
TEST(SystemFontLoader, AFamilyTheSystemLacksIsAbsentSoTheListFallsThrough) {
    nj::SystemFontLoader system;
    EXPECT_EQ(system.load("No Such Font", 400, false), nullptr);
    EXPECT_EQ(system.load("no such font", 700, true), nullptr);
    EXPECT_NE(system.load("sans-serif", 400, false), nullptr) << "a generic family is fontconfig's";
    EXPECT_NE(system.load("monospace", 700, false), nullptr);
    EXPECT_NE(system.load("dejavu sans", 400, false), nullptr) << "installed, in any letter case";

    const std::string lato =
        webtest::readText(NJ_PAGE_FONT_DIR "/lato/400Regular/Lato_400Regular.ttf");
    ASSERT_FALSE(lato.empty());
    ASSERT_TRUE(nj::test::mountPackageBytes(
        nj::buildPackage({{"ui/ui.html", "<html>"}, {"fonts/Lato-Regular.ttf", lato}}, "salt")));
    nj::NJ3PackageFontLoader fonts(&system);
    web::FontCache cache(&fonts);
    const std::pair<const char*, const char*> lists[] = {
        {"\"No Such Font\", Lato", "Lato"},
        {"'No Such Font', 'Another Missing', lato, sans-serif", "Lato"},
        {"No Such Font, sans-serif", "DejaVu Sans"},
        {"Lato, DejaVu Sans", "Lato"}};
    for (const auto& [families, drawnIn] : lists) {
        web::Font* font = cache.createFont(families, 16, 400, false, 0);
        EXPECT_EQ(familyOf(font->primary), drawnIn) << families;
        cache.destroyFont(font);
    }
}

}  // namespace
