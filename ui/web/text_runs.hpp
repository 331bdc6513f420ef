#pragma once
// Text at a browser's fractional positions inside litehtml's whole-pixel
// layout.
//
// litehtml lays out word by word, each word (and each space) an element with
// a whole-pixel width. Rounding every word on its own lets a line drift by
// half a pixel a word, enough to wrap a paragraph where a browser does not.
// So the words directly inside an element form a run: each gets the width
// that keeps the run's running total within half a pixel of its shaped
// length, and is painted shifted by the fraction its whole-pixel place lost,
// counted from the first word of its line, where a browser's line starts
// too.
//
// Vertically, litehtml gives the half of an odd leading (line-height less
// the font's height) to the space above the text, a browser to the space
// below it; each word is moved up that pixel after layout, and the inline
// boxes around it follow, as they are made from their words.

#include <litehtml.h>

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace web {

class FontCache;

class TextPlacement {
  public:
    // After any styling (which measures words one by one): every run under `top`.
    void fitSubtree(const litehtml::element::ptr& top, FontCache& fonts);
    // The words directly inside `parent`, after a styling or a text change.
    void fit(litehtml::html_tag& parent, FontCache& fonts);
    // A new layout: line breaks may have moved, and each line's text is set
    // on the baseline a browser gives it.
    void layoutChanged();
    // Where the word whose text litehtml hands to draw_text is painted, given
    // the whole-pixel x litehtml placed it at.
    double paintX(const char* text, int x);

  private:
    struct Word {
        std::weak_ptr<litehtml::element> parent;
        double fraction = 0.0;  // shaped start minus whole-pixel start, px
    };
    void placeLines(litehtml::element& parent);

    // Keyed by the text buffer, the one thing draw_text is given that names
    // the word; every live word is fitted before it is painted.
    std::unordered_map<const char*, Word> words_;
    // Which of those each run noted last time, so a run fitted again drops
    // the notes of words it no longer has.
    std::unordered_map<const litehtml::element*, std::vector<const char*>> runWords_;
    // Runs whose lines litehtml sets lower than a browser: by how much, and
    // their words, moved up after every layout.
    struct BaselineMove {
        int excess = 0;  // px
        std::vector<std::weak_ptr<litehtml::element>> words;
    };
    std::unordered_map<const litehtml::element*, BaselineMove> baselineMoves_;
    // This layout's paint offsets, for the runs painted so far.
    std::unordered_map<const char*, double> offsets_;
    std::unordered_set<const litehtml::element*> placedRuns_;
};

}  // namespace web
