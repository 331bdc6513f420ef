#pragma once
// The overlay host: the HTML page (menus, dossier, HUD) rendered off-screen
// by our engine and drawn over the play field. It loads "file:///ui/ui.html"
// from the asset package, binds the page's 13 commands into its global
// object "game", takes input before the game does, and once a frame pushes
// the game's state into the page and hands the page's bitmap to the renderer.
// The shell owns it and drives it; the game never sees it.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "ui/page_command_table.hpp"

namespace web {
class View;
}

namespace nj {

class Game;
struct ReplayPageState;

// A pointer position in page units: the page is laid out 1280 x 720 whatever
// the window, so a position on the letterboxed canvas (0..1 each way, as the
// renderer maps window pixels) is scaled to that layout and truncated.
struct PagePoint {
    std::uint32_t x = 0, y = 0;
};
PagePoint pagePointFromCanvas(float fx, float fy);

// Where the page's picture goes: the renderer's viewport and its overlay draw.
class OverlayCanvas {
  public:
    virtual ~OverlayCanvas() = default;
    virtual void viewportSize(float& width, float& height) const = 0;  // window pixels
    // BGRA, 8 bits a channel, premultiplied alpha. `changed` is false when
    // the pixels are the same as last time's.
    virtual void drawOverlayBitmap(const std::uint8_t* pixels, int width, int height, int rowBytes,
                                   bool changed) = 0;
};

// The page as the shell's input routing sees it. Keys reach the page before
// the game; a key-down answers whether the page keeps the key for itself (a
// text field being typed in), so the shell does not hand it on to the game.
// Key-ups always go on: a key the game holds is let go whatever the page
// does. The game never reads the pointer: it is the page's alone.
class PageInput {
  public:
    virtual ~PageInput() = default;
    virtual bool forwardKeyDown(std::uint32_t key) = 0;
    virtual void forwardKeyUp(std::uint32_t key) = 0;
    virtual void forwardMouseMove(std::uint32_t x, std::uint32_t y) = 0;  // page units
    virtual void forwardMouseButton(bool down) = 0;
    // Typed text, UTF-8; what has no field to type into goes nowhere.
    virtual void forwardText(const std::string& text) { (void)text; }
};

class OverlayUI final : public PageInput {
  public:
    // `canvas` may be null (no picture is handed over); `quit` ends the game
    // loop, with or without a game.
    OverlayUI(OverlayCanvas* canvas, std::function<void()> quit);
    ~OverlayUI() override;
    OverlayUI(const OverlayUI&) = delete;
    OverlayUI& operator=(const OverlayUI&) = delete;

    // Loads the page laid out at width x height page units.
    bool initialize(int width, int height);
    void teardown();
    // Between the play field and the end of the frame: pushes the game's
    // state to the page, lets it paint, and hands its bitmap to the canvas.
    // The page's commands reach this game from then on.
    // With `replay` watching, `game` is the watched one: the page shows it
    // with the replay's state, and its game commands reach no game (only the
    // replay's own do). A replay not watched only brings its notice.
    // `editor` is the mission editor's page state while it is open (see
    // buildStateScript); its requests go where onEditorRequest says.
    void renderFrame(Game& game, const ReplayPageState* replay = nullptr,
                     std::string_view editor = {});
    void onEditorRequest(std::function<void(std::string_view)> handler);
    // Where the page's replay commands go; unset, they do nothing.
    void onReplayRequest(std::function<void(ReplayRequest, double)> handler);

    // The page keeps a key-down its script prevented (a field being typed
    // in); every other key goes on to the game as well.
    bool forwardKeyDown(std::uint32_t key) override;
    void forwardText(const std::string& text) override;
    void forwardKeyUp(std::uint32_t key) override;
    void forwardMouseMove(std::uint32_t x, std::uint32_t y) override;
    void forwardMouseButton(bool down) override;

    // For tests and tools.
    bool domReady() const;
    web::View* view() const;
    std::uint32_t pixelWidth() const;
    std::uint32_t pixelHeight() const;
    double deviceScale() const;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace nj
