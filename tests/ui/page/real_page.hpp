#pragma once
// The shipped page on our engine with its real fonts and the game's own state script.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "data/map_token.hpp"
#include "game/game.hpp"
#include "tests/ui/package_mount.hpp"
#include "tests/ui/web/web_test_support.hpp"
#include "ui/package_file_system.hpp"
#include "ui/page_state.hpp"
#include "ui/stock_sources.hpp"

namespace pagetest {

// Page-side checks of a list "kind text | box; ...", answering "ok" or what is wrong. "line",
// "rline", "cline": one line inside its box even 6 % wider, grown from its left, right or centre;
// "wrap": wrapped text inside its box, also narrowed 6 %; "apart": boxes on one row apart with the
// first 6 % wider rightwards and the second leftwards; "clear": boxes apart as they are; "allin",
// "allclear": every shown match inside the box, or clear of it. Matching nothing fails. Other
// kinds take lists on either side ("a, b | c, d") and check each pair.
inline constexpr const char* kFitScript = R"JS(
(function () {
  var MORE = 0.06, LINE = { line: [0, 1], rline: [1, 0], cline: [0.5, 0.5] };  // growth at left, right
  function el(sel) { var e = document.querySelector(sel); if (!e) throw new Error("nothing matches " + sel); return e; }
  function rect(sel) { return el(sel).getBoundingClientRect(); }
  function show(r) { return "[" + [r.left, r.top, r.right, r.bottom].map(Math.round).join(",") + "]"; }
  function grown(r, left, right) { return { left: r.left - left, top: r.top, right: r.right + right, bottom: r.bottom }; }
  function shown(r) { return r.right > r.left; }
  function meet(a, p, b, q) {
    return shown(p) && shown(q) && p.left < q.right && q.left < p.right && p.top < q.bottom && q.top < p.bottom
      ? a + " " + show(p) + " meets " + b + " " + show(q) : "ok";
  }
  function within(a, t, b, box) {
    if (!shown(t)) return a + " is not laid out";
    if (t.left < box.left - 0.5 || t.top < box.top - 0.5 || t.right > box.right + 0.5 || t.bottom > box.bottom + 0.5)
      return a + " " + show(t) + " leaves " + b + " " + show(box);
    return "ok";
  }
  function check(kind, a, b) {
    if (LINE[kind]) {
      var t = rect(a), w = (t.right - t.left) * MORE;
      return within(a, grown(t, w * LINE[kind][0], w * LINE[kind][1]), b, rect(b));
    }
    if (kind === "wrap") {
      var e = el(a), before = rect(a), outer = rect(b);
      e.style.width = Math.floor(before.width / (1 + MORE)) + "px";
      var narrowed = rect(a);
      e.style.removeProperty("width");
      var r = within(a, before, b, outer);
      return r !== "ok" ? r : within(a + " when wider", narrowed, b, outer);
    }
    if (kind === "allin" || kind === "allclear") {
      var all = document.querySelectorAll(a), box = rect(b);
      if (!all.length) return "nothing matches " + a;
      for (var i = 0; i < all.length; i++) {
        var one = all[i].getBoundingClientRect(), name = a + "[" + i + "]";
        one = !shown(one) ? "ok" : kind === "allin" ? within(name, one, b, box) : meet(name, one, b, box);
        if (one !== "ok") return one;
      }
      return "ok";
    }
    if (kind === "clear") return meet(a, rect(a), b, rect(b));
    if (kind === "apart") {
      var p = rect(a), q = rect(b), m = meet(a, grown(p, 0, p.width * MORE), b, grown(q, q.width * MORE, 0));
      return m === "ok" ? m : m + " (both 6 % wider)";
    }
    return "unknown check " + kind;
  }
  window.__fits = function (list) {
    var wrong = [];
    list.split(";").forEach(function (one) {
      var m = one.trim(), space = m.indexOf(" "), bar = m.indexOf("|"), kind = m.slice(0, space);
      var texts = kind.indexOf("all") === 0 ? [m.slice(space + 1, bar)] : m.slice(space + 1, bar).split(",");
      texts.forEach(function (a) {
        m.slice(bar + 1).split(",").forEach(function (b) {
          var r;
          try { r = check(kind, a.trim(), b.trim()); } catch (e) { r = e.message; }
          if (r !== "ok") wrong.push(r);
        });
      });
    });
    return wrong.length ? wrong.join("; ") : "ok";
  };
})();
)JS";

// Every check runs at each text size.
class RealPage : public nj::test::BuiltPackageTest, public ::testing::WithParamInterface<int> {
  protected:
    webtest::PageHarness page{1280, 720};
    nj::SystemFontLoader systemFonts;
    nj::NJ3PackageFileSystem files{nullptr};
    nj::NJ3PackageFontLoader fonts{&systemFonts};
    nj::SilentAudio audio;
    nj::Game game{&audio};

    void SetUp() override {
        web::Platform::instance().setFileSystem(&files);
        web::Platform::instance().setFontLoader(&fonts);
        std::vector<std::string> maps;
        for (int i = 1; i <= 4; ++i) {
            const std::string json = webtest::readText(std::string(NJ_MISSIONS_DIR) + "/mission" +
                                                       std::to_string(i) + ".json");
            ASSERT_FALSE(json.empty()) << "mission" << i;
            maps.push_back(nj::encodeMapToken(json, "salt" + std::to_string(i)));
        }
        game.setCampaignMaps(std::move(maps));
        game.highestUnlocked = 3;
        page.view->loadURL("file:///ui/ui.html");
        page.frame();
        ASSERT_EQ(page.domReadyCount, 1);
        page.eval(nj::approachNamesScript());
        page.eval(kFitScript);
    }

    void loadMission(std::uint64_t index) {
        game.missionIndex = index;
        game.loadMission(false);
    }
    void play(std::uint64_t index) {
        loadMission(index);
        game.gameState = nj::GameState::Playing;
    }
    // `checks` for `count` rows from `first`, every '@' in it that row's number.
    static std::string eachRow(int count, const std::string& checks, int first = 0) {
        std::string all;
        for (int row = first; row < first + count; ++row) {
            std::string one = checks;
            for (std::size_t at = one.find('@'); at != std::string::npos; at = one.find('@', at))
                one.replace(at, 1, std::to_string(row));
            all += "; " + one;
        }
        return all;
    }

    // The game's state script, kept as window.__state, `changes` (JavaScript on s) made first.
    void sync(const std::string& changes = "") {
        const std::string script = nj::buildStateScript(game, nj::PageLayout{});
        const std::string call = "window.syncGameState(";
        const std::size_t open = script.find(call + "{");
        ASSERT_NE(open, std::string::npos);
        const std::size_t from = open + call.size();
        page.eval("window.__state = " + script.substr(from, script.size() - from - 2) + ";");
        const std::string textSize = "s.settings.textSize = " + std::to_string(GetParam()) + ";";
        page.eval("(function (s) { " + textSize + changes +
                  " window.syncGameState(s); })(window.__state);");
        page.frame();
    }
    void expectFits(const std::string& checks, const std::string& where) {
        EXPECT_EQ(page.js("window.__fits('" + checks + "')"), "ok") << where;
    }
    std::string text(const std::string& id) {
        return page.js("document.getElementById('" + id + "').textContent");
    }
    bool hasClassAt(const std::string& selector, const std::string& cls) {
        return page.js("document.querySelector('" + selector + "').classList.contains('" + cls +
                       "')") == "true";
    }
    bool hasClass(const std::string& id, const std::string& cls) {
        return hasClassAt("#" + id, cls);
    }
    struct Box {
        double left, top, right, bottom;
    };
    Box rectAt(const std::string& selector) {
        std::istringstream in(
            page.js("(function (r) { return [r.left, r.top, r.right, r.bottom].join(' '); })("
                    "document.querySelector('" +
                    selector + "').getBoundingClientRect())"));
        Box b{};
        in >> b.left >> b.top >> b.right >> b.bottom;
        return b;
    }
    Box rectOf(const std::string& id) { return rectAt("#" + id); }
    void clickAt(const std::string& selector) {
        const Box b = rectAt(selector);
        ASSERT_GT(b.right, b.left) << selector << " is not shown";
        page.click(static_cast<int>((b.left + b.right) / 2),
                   static_cast<int>((b.top + b.bottom) / 2));
    }
    // Stands in for the commands `names` ('a', 'b'); calls() gives "name argument,..." once.
    void recordCalls(const std::string& names) {
        page.eval("window.__calls = []; window.game = {}; [" + names +
                  "].forEach(function (n) { window.game[n] = function (a) { window.__calls.push("
                  "a === undefined ? n : n + ' ' + a); }; });");
    }
    std::string calls() {
        const std::string all = page.js("window.__calls.join(',')");
        page.eval("window.__calls = [];");
        return all;
    }
    double heightOf(const std::string& selector) {
        return rectAt(selector).bottom - rectAt(selector).top;
    }
    // A key-down as the overlay forwards one (a Windows key code).
    void key(int code) {
        page.view->fireKeyEvent({web::KeyEventType::RawKeyDown, code, 0, false, {}});
    }
    bool errorsLogged() const {
        return std::any_of(page.log.lines.begin(), page.log.lines.end(),
                           [](const auto& line) { return line.level == web::LogLevel::Error; });
    }
};

}  // namespace pagetest
