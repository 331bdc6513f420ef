#pragma once
// Font faces made from a loader's bytes, shared by every page of the process:
// a page that names a family another page already drew with gets the same
// face, its glyphs already rasterised and its shaping tables already read,
// instead of parsing the font file again.

#include <cairo.h>
#include <hb.h>

#include <cstddef>
#include <list>
#include <mutex>
#include <string>

namespace web {

class FontLoader;

// HarfBuzz's view of a face made here (the empty face for any other), so
// shaping and painting agree on every glyph index.
hb_face_t* shapingFaceOf(cairo_font_face_t* face);

class SharedFaces {
  public:
    // A page may name any number of families; past this many faces (misses
    // included) the least recently asked for is let go.
    static constexpr std::size_t kMaxFaces = 32;

    static SharedFaces& instance();

    // The face `loader` has for the family at `weight`, loaded on the first
    // ask; the caller owns the reference it gets. Null when the loader has
    // no bytes for it, or bytes FreeType cannot read: the loader is not asked
    // again for that family while the miss is remembered.
    cairo_font_face_t* face(FontLoader* loader, const std::string& family, int weight, bool italic);
    // Lets go of every face `loader` gave: a loader made later at the same
    // address must not be answered with them.
    void forget(const FontLoader* loader);
    std::size_t size() const;

  private:
    SharedFaces() = default;

    struct Entry {
        const FontLoader* loader;
        std::string family;
        int weight;
        bool italic;
        cairo_font_face_t* face;  // null: the loader had none
    };
    mutable std::mutex mutex_;
    std::list<Entry> entries_;  // most recently asked for first
};

}  // namespace web
