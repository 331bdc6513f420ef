#pragma once
// The one game window: borderless full screen on the primary display, or a
// centred window whose drawable is 1280 x 720 pixels. F11 and Alt+Enter
// switch between the two.

#include <SDL2/SDL.h>

#include <string>

#include "data/settings_file.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {

inline constexpr const char* kWindowTitle = "NIGHTJAR : Glass Harbor [Vulkan Cross-Platform]";
inline constexpr int kWindowedWidth = 1280;  // drawable pixels
inline constexpr int kWindowedHeight = 720;

class ShellWindow {
  public:
    ShellWindow() = default;
    ~ShellWindow();
    ShellWindow(const ShellWindow&) = delete;
    ShellWindow& operator=(const ShellWindow&) = delete;

    // Creates the window hidden, borderless over the primary display; false
    // with SDL's reason in error().
    bool create();
    void show();
    void toggleFullScreen();
    bool fullScreen() const { return fullScreen_; }
    // Where the window goes the first time it is windowed (the place the
    // player left it in the last run); unknown, off every display, or any
    // later time: 1280 x 720 drawable pixels, centred.
    void setWindowedPlacement(const WindowPlacement& placement) { windowed_ = placement; }
    // The window's place and size in window units, as it is now.
    WindowPlacement windowedPlacement() const;
    // Minimised or hidden: nothing drawn now would be seen.
    bool outOfSight() const {
        return window_ &&
               (SDL_GetWindowFlags(window_) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
    }

    // Drawable size in pixels (differs from window units on HiDPI screens).
    void drawableSize(int& width, int& height) const;
    // A window-unit position as drawable pixels.
    void toDrawable(int x, int y, int& px, int& py) const;
    // The icon from the asset package, else from assets/logo on disk.
    void loadIcon();

    // The instance extensions and surface maker the renderer needs.
    WindowSurface surface() const;
    SDL_Window* handle() const { return window_; }
    const std::string& error() const { return error_; }

  private:
    SDL_Window* window_ = nullptr;
    bool fullScreen_ = true;
    WindowPlacement windowed_;
    std::string error_;
};

// Error box with the same text on stderr (the box needs a display; stderr does not).
void showErrorMessage(const char* caption, const char* text, SDL_Window* owner);

}  // namespace nj
