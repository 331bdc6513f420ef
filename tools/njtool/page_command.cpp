// njtool page render: renders an overlay page off-screen, the way the game
// shows it, and writes the bitmap as PNG for page authors and tests.
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli_io.hpp"
#include "data/json.hpp"
#include "data/package.hpp"
#include "ui/web/platform.hpp"
#include "ui/web/renderer.hpp"

namespace njtool {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSystemFontDir = "/usr/share/fonts/truetype/dejavu/";

web::BufferPtr bufferOf(const std::string& bytes) {
    return web::makeBuffer(bytes.data(), bytes.size());
}

// Page files from a folder on disk, or from the mounted asset package when
// one was given. Paths are kept inside the root.
class ToolFileSystem : public web::FileSystem {
  public:
    ToolFileSystem(fs::path root, bool usePackage)
        : root_(std::move(root)), usePackage_(usePackage) {}

    bool fileExists(const std::string& path) override { return openFile(path) != nullptr; }
    std::string mimeType(const std::string&) override { return "application/octet-stream"; }
    std::string charset(const std::string&) override { return "utf-8"; }
    web::BufferPtr openFile(const std::string& path) override {
        if (path.find("..") != std::string::npos) return nullptr;
        if (usePackage_) {
            std::size_t size = 0;
            const char* bytes = nj::NJ3Package::instance().find(path, size);
            return bytes && size > 0 ? web::makeBuffer(bytes, size) : nullptr;
        }
        try {
            return bufferOf(readInput((root_ / path).string()));
        } catch (const std::exception&) {
            return nullptr;
        }
    }

  private:
    fs::path root_;
    bool usePackage_;
};

// Page fonts by the names the game packs them under ("fonts/" + family
// without spaces + "-Regular.ttf" or "-Bold.ttf"); anything else, and any
// family the page cannot supply, falls back to DejaVu from the system.
class ToolFontLoader : public web::FontLoader {
  public:
    explicit ToolFontLoader(web::FileSystem& files) : files_(files) {}

    std::string fallbackFont() override { return "DejaVu Sans"; }
    std::string fallbackFontForCharacters(const std::string&, int, bool) override {
        return "DejaVu Sans";
    }
    web::BufferPtr load(const std::string& family, int weight, bool) override {
        std::string compact;
        for (char c : family) {
            if (c != ' ' && c != '"' && c != '\'') compact += c;
        }
        const char* style = weight >= 600 ? "-Bold.ttf" : "-Regular.ttf";
        for (const std::string& name : {compact, capitalised(compact)}) {
            if (auto bytes = files_.openFile("fonts/" + name + style)) return bytes;
        }
        std::string lower = compact;
        std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
        if (lower.find("mono") != std::string::npos)
            return system(weight >= 600 ? "DejaVuSansMono-Bold.ttf" : "DejaVuSansMono.ttf");
        if (lower == "serif")
            return system(weight >= 600 ? "DejaVuSerif-Bold.ttf" : "DejaVuSerif.ttf");
        if (lower == "dejavusans" || lower == "sans-serif")
            return system(weight >= 600 ? "DejaVuSans-Bold.ttf" : "DejaVuSans.ttf");
        return nullptr;
    }

  private:
    static std::string capitalised(std::string name) {
        if (!name.empty())
            name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        return name;
    }
    static web::BufferPtr system(const std::string& file) {
        try {
            return bufferOf(readInput(kSystemFontDir + file));
        } catch (const std::exception&) {
            return nullptr;
        }
    }
    web::FileSystem& files_;
};

class StderrLogger : public web::Logger {
  public:
    void logMessage(web::LogLevel level, const std::string& message) override {
        static const char* const kNames[] = {"error", "warning", "info", "diagnostic"};
        std::cerr << "page " << kNames[static_cast<int>(level)] << ": " << message << "\n";
    }
};

class LoadWatcher : public web::LoadListener {
  public:
    void onDOMReady(web::View&, std::uint64_t, bool isMainFrame, const std::string&) override {
        domReady = domReady || isMainFrame;
    }
    void onFailLoading(web::View&, std::uint64_t, bool, const std::string&,
                       const std::string&) override {
        failed = true;
    }
    bool domReady = false;
    bool failed = false;
};

struct RenderOptions {
    std::string page;
    std::string output;
    std::uint32_t width = 1280;
    std::uint32_t height = 720;
    std::string script;
    std::string stateFile;
    std::string packageFile;
    std::string root;
};

void parseSize(const std::string& text, RenderOptions& options) {
    unsigned w = 0, h = 0;
    char x = 0, extra = 0;
    if (std::sscanf(text.c_str(), "%u%c%u%c", &w, &x, &h, &extra) != 3 || (x != 'x' && x != 'X') ||
        w == 0 || h == 0 || w > 8192 || h > 8192) {
        throw UsageError("page: --size wants WxH, each 1..8192");
    }
    options.width = w;
    options.height = h;
}

RenderOptions parseRenderArgs(const Args& args) {
    RenderOptions options;
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError("page: " + arg + " needs a value");
            return args[++i];
        };
        if (arg == "--size")
            parseSize(value(), options);
        else if (arg == "--script")
            options.script = value();
        else if (arg == "--state")
            options.stateFile = value();
        else if (arg == "--package")
            options.packageFile = value();
        else if (arg == "--root")
            options.root = value();
        else if (!arg.empty() && arg[0] == '-')
            throw UsageError("page: unknown option " + arg);
        else
            positional.push_back(arg);
    }
    if (positional.size() != 2) throw UsageError("page: expected 'render PAGE.html OUT.png'");
    options.page = positional[0];
    options.output = positional[1];
    return options;
}

bool writePng(web::Bitmap& bitmap, const std::string& path) {
    void* pixels = bitmap.lockPixels();
    if (!pixels) return false;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        static_cast<unsigned char*>(pixels), CAIRO_FORMAT_ARGB32, int(bitmap.width()),
        int(bitmap.height()), int(bitmap.rowBytes()));
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    bitmap.unlockPixels();
    return ok;
}

int renderPage(const RenderOptions& options) {
    std::string state;
    if (!options.stateFile.empty()) {
        state = compactJsonText(readInput(options.stateFile));
        nj::parseJson(state);  // a bad state file is the author's error, reported as such
    }
    const bool usePackage = !options.packageFile.empty();
    std::string pagePath = options.page;
    fs::path root;
    if (usePackage) {
        if (!nj::NJ3Package::instance().mount(options.packageFile)) {
            throw std::runtime_error("cannot mount " + options.packageFile);
        }
    } else {
        const fs::path page = fs::absolute(options.page);
        root = options.root.empty() ? page.parent_path() : fs::absolute(options.root);
        pagePath = fs::relative(page, root).generic_string();
        if (pagePath.empty() || pagePath.rfind("..", 0) == 0) {
            throw UsageError("page: PAGE.html must lie inside --root");
        }
    }
    ToolFileSystem files(root, usePackage);
    ToolFontLoader fonts(files);
    StderrLogger logger;
    web::Platform& platform = web::Platform::instance();
    platform.setFileSystem(&files);
    platform.setFontLoader(&fonts);
    platform.setLogger(&logger);

    auto renderer = web::Renderer::create();
    auto view = renderer->createView(options.width, options.height, web::ViewConfig{});
    LoadWatcher watcher;
    view->setLoadListener(&watcher);
    view->loadURL("file:///" + pagePath);
    renderer->update();
    if (watcher.failed || !watcher.domReady) {
        std::cerr << "njtool: cannot load page " << pagePath << "\n";
        return 1;
    }
    if (!state.empty()) {
        view->evaluateScript("window.syncGameState && window.syncGameState(" + state + ");");
    }
    if (!options.script.empty()) view->evaluateScript(options.script);
    // A few frames so timers of zero delay and first animation frames run.
    for (int frame = 0; frame < 3; ++frame) {
        renderer->update();
        renderer->refreshDisplay(0);
        renderer->render();
    }
    const bool written = writePng(view->surface()->bitmap(), options.output);
    view.reset();
    renderer.reset();
    platform.setFileSystem(nullptr);
    platform.setFontLoader(nullptr);
    platform.setLogger(nullptr);
    if (!written) throw std::runtime_error("cannot write " + options.output);
    std::cout << options.output << ": " << options.width << "x" << options.height << "\n";
    return 0;
}

}  // namespace

int runPageCommand(const Args& args) {
    if (args.empty() || args[0] != "render")
        throw UsageError("page: expected 'render PAGE.html OUT.png'");
    return renderPage(parseRenderArgs(args));
}

}  // namespace njtool
