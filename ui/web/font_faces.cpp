// FreeType faces from font-loader bytes, wrapped as cairo font faces with
// HarfBuzz's view of the same face attached, kept for the whole process.
#include "ui/web/font_faces.hpp"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ft.h>

#include <utility>

#include "ui/web/platform.hpp"

namespace web {

namespace {

// One library for the process: faces may outlive any one page inside cairo's
// own font cache, and their destroy callback still needs it.
FT_Library freeType() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
        return lib;
    }();
    return library;
}

// The font bytes live exactly as long as the FreeType face reading them,
// however many owners (cairo, HarfBuzz) hold a reference to that face.
void releaseFaceBytes(void* object) {
    auto face = static_cast<FT_Face>(object);
    delete static_cast<BufferPtr*>(face->generic.data);
    face->generic.data = nullptr;
}

// What a cairo font face carries besides the FreeType face.
struct FaceOwner {
    FT_Face face = nullptr;
    hb_face_t* shaping = nullptr;
};

const cairo_user_data_key_t kFaceOwnerKey{};

void destroyFaceOwner(void* data) {
    auto* owner = static_cast<FaceOwner*>(data);
    hb_face_destroy(owner->shaping);
    FT_Done_Face(owner->face);
    delete owner;
}

cairo_font_face_t* loadFace(FontLoader* loader, const std::string& family, int weight,
                            bool italic) {
    BufferPtr bytes = loader && freeType() ? loader->load(family, weight, italic) : nullptr;
    FT_Face face = nullptr;
    if (!bytes || bytes->empty() ||
        FT_New_Memory_Face(freeType(), bytes->data(), static_cast<FT_Long>(bytes->size()), 0,
                           &face) != 0) {
        return nullptr;
    }
    face->generic.data = new BufferPtr(std::move(bytes));
    face->generic.finalizer = releaseFaceBytes;
    cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_ft_face(face, 0);
    auto* owner = new FaceOwner{face, hb_ft_face_create_referenced(face)};
    if (cairo_font_face_set_user_data(cairoFace, &kFaceOwnerKey, owner, destroyFaceOwner) !=
        CAIRO_STATUS_SUCCESS) {
        destroyFaceOwner(owner);
        cairo_font_face_destroy(cairoFace);
        return nullptr;
    }
    return cairoFace;
}

}  // namespace

hb_face_t* shapingFaceOf(cairo_font_face_t* face) {
    const auto* owner =
        face ? static_cast<FaceOwner*>(cairo_font_face_get_user_data(face, &kFaceOwnerKey))
             : nullptr;
    return owner ? owner->shaping : hb_face_get_empty();
}

SharedFaces& SharedFaces::instance() {
    // Never destroyed: loaders that are themselves static objects let go of
    // their faces here on the way out, in no order the language promises.
    static auto* faces = new SharedFaces;
    return *faces;
}

cairo_font_face_t* SharedFaces::face(FontLoader* loader, const std::string& family, int weight,
                                     bool italic) {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
        if (entry->loader == loader && entry->weight == weight && entry->italic == italic &&
            entry->family == family) {
            entries_.splice(entries_.begin(), entries_, entry);
            return entry->face ? cairo_font_face_reference(entry->face) : nullptr;
        }
    }
    cairo_font_face_t* loaded = loadFace(loader, family, weight, italic);
    entries_.push_front(Entry{loader, family, weight, italic, loaded});
    if (entries_.size() > kMaxFaces) {
        if (entries_.back().face) cairo_font_face_destroy(entries_.back().face);
        entries_.pop_back();
    }
    return loaded ? cairo_font_face_reference(loaded) : nullptr;
}

void SharedFaces::forget(const FontLoader* loader) {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (auto entry = entries_.begin(); entry != entries_.end();) {
        if (entry->loader != loader) {
            ++entry;
            continue;
        }
        if (entry->face) cairo_font_face_destroy(entry->face);
        entry = entries_.erase(entry);
    }
}

std::size_t SharedFaces::size() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return entries_.size();
}

}  // namespace web
