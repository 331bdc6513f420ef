// Fonts are read once a process, and the faces kept stay bounded.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "ui/web/font_faces.hpp"
#include "ui/web/fonts.hpp"
#include "web_test_support.hpp"

namespace {

// Answers every family with DejaVu Sans and counts the questions.
struct CountingLoader : webtest::TestFontLoader {
    std::map<std::string, int> asked;
    web::BufferPtr load(const std::string& family, int weight, bool italic) override {
        ++asked[family];
        return TestFontLoader::load("DejaVu Sans", weight, italic);
    }
};

cairo_font_face_t* drawnFace(web::FontCache& page, const std::string& family) {
    web::Font* font = page.createFont(family, 16, 400, false, 0);
    cairo_font_face_t* face =
        font->primary ? cairo_scaled_font_get_font_face(font->primary.cairo) : nullptr;
    web::FontCache::destroyFont(font);
    return face;
}

TEST(SharedFaces, PagesOfOneLoaderShareItsFacesAndNoOtherLoaderGetsThem) {
    CountingLoader loader, other;
    web::FontCache first(&loader), second(&loader), elsewhere(&other);
    cairo_font_face_t* face = drawnFace(first, "Lato");
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(drawnFace(second, "Lato"), face);
    EXPECT_EQ(loader.asked["lato"], 1) << "the second page read the font again";
    EXPECT_NE(drawnFace(elsewhere, "Lato"), face);
    EXPECT_EQ(other.asked["lato"], 1);
}

TEST(SharedFaces, PastTheCapTheLeastRecentlyAskedGoAndALoaderTakesItsOwnAlong) {
    auto loader = std::make_unique<CountingLoader>();
    web::SharedFaces& faces = web::SharedFaces::instance();
    const auto ask = [&](const std::string& family) {
        if (cairo_font_face_t* face = faces.face(loader.get(), family, 400, false)) {
            cairo_font_face_destroy(face);
        }
    };
    for (std::size_t i = 0; i <= web::SharedFaces::kMaxFaces; ++i) ask("f" + std::to_string(i));
    EXPECT_EQ(faces.size(), web::SharedFaces::kMaxFaces);
    const std::string newest = "f" + std::to_string(web::SharedFaces::kMaxFaces);
    ask(newest);
    ask("f0");
    EXPECT_EQ(loader->asked[newest], 1);
    EXPECT_EQ(loader->asked["f0"], 2) << "the oldest face was kept past the cap";
    loader.reset();
    EXPECT_EQ(faces.size(), 0u) << "a gone loader's faces are still kept";
}

}  // namespace
