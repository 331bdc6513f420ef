// njtool page render: renders an overlay page off-screen, the way the game
// shows it (the game's file and font sources, the same engine), and writes
// the bitmap as PNG for page authors, tests and the fidelity script.
#include <cairo.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli_io.hpp"
#include "data/json.hpp"
#include "data/package.hpp"
#include "ui/package_file_system.hpp"
#include "ui/page_state.hpp"
#include "ui/stock_sources.hpp"
#include "ui/web/platform.hpp"
#include "ui/web/renderer.hpp"

namespace njtool {

namespace {

namespace fs = std::filesystem;

// Page files from an author's working copy under --root first, then from the
// mounted package, read exactly as the game reads it.
class ToolFileSystem : public web::FileSystem {
  public:
    ToolFileSystem(const std::string& root, bool usePackage)
        : disk_(root), package_(nullptr), useDisk_(!root.empty()), usePackage_(usePackage) {}

    bool fileExists(const std::string& path) override { return openFile(path) != nullptr; }
    std::string mimeType(const std::string& path) override { return package_.mimeType(path); }
    std::string charset(const std::string&) override { return "utf-8"; }
    web::BufferPtr openFile(const std::string& path) override {
        if (useDisk_) {
            if (web::BufferPtr bytes = disk_.openFile(path)) return bytes;
        }
        return usePackage_ ? package_.openFile(path) : nullptr;
    }

  private:
    nj::DiskFileSystem disk_;
    nj::NJ3PackageFileSystem package_;
    bool useDisk_;
    bool usePackage_;
};

// Without a package, the game's family-to-file mapping over the files under
// --root (a staged package folder has them), then the same system fallback.
class RootFontLoader : public web::FontLoader {
  public:
    RootFontLoader(web::FileSystem& files, web::FontLoader& system)
        : files_(files), system_(system) {}
    std::string fallbackFont() override { return system_.fallbackFont(); }
    std::string fallbackFontForCharacters(const std::string& characters, int weight,
                                          bool italic) override {
        return system_.fallbackFontForCharacters(characters, weight, italic);
    }
    web::BufferPtr load(const std::string& family, int weight, bool italic) override {
        const std::string path = nj::packagedFontPath(family, weight);
        if (!path.empty()) {
            if (web::BufferPtr bytes = files_.openFile(path)) return bytes;
        }
        return system_.load(family, weight, italic);
    }

  private:
    web::FileSystem& files_;
    web::FontLoader& system_;
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
    if (usePackage && !nj::NJ3Package::instance().mount(options.packageFile)) {
        throw std::runtime_error("cannot mount " + options.packageFile);
    }
    if (!usePackage || !options.root.empty()) {
        const fs::path page = fs::absolute(options.page);
        root = options.root.empty() ? page.parent_path() : fs::absolute(options.root);
        pagePath = fs::relative(page, root).generic_string();
        if (pagePath.empty() || pagePath.rfind("..", 0) == 0) {
            throw UsageError("page: PAGE.html must lie inside --root");
        }
    }
    ToolFileSystem files(root.empty() ? std::string() : root.string() + "/", usePackage);
    // The game's own font loader whenever there is a package to read from.
    nj::SystemFontLoader systemFonts;
    nj::NJ3PackageFontLoader packageFonts(&systemFonts);
    RootFontLoader rootFonts(files, systemFonts);
    web::FontLoader& fonts = usePackage ? static_cast<web::FontLoader&>(packageFonts) : rootFonts;
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
    view->evaluateScript(nj::approachNamesScript());  // as the game does once the page is ready
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
    if (!args.empty() && args[0] == "compare")
        return runPageCompare(Args(args.begin() + 1, args.end()));
    if (args.empty() || args[0] != "render")
        throw UsageError("page: expected 'render PAGE.html OUT.png' or 'compare A.png B.png'");
    return renderPage(parseRenderArgs(args));
}

}  // namespace njtool
