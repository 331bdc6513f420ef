#pragma once
// What a host plugs into the HTML engine: where page files and fonts come
// from, where log lines go, and the clock that drives timers and animation.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace web {

// Bytes handed across the engine boundary; shared so that nothing returned by
// a host refers into the host's own storage.
using Buffer = std::vector<std::uint8_t>;
using BufferPtr = std::shared_ptr<const Buffer>;

BufferPtr makeBuffer(const void* data, std::size_t size);  // copies

// Page files: paths are the text after "file:///" (for example "ui/ui.html").
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    virtual bool fileExists(const std::string& path) = 0;
    virtual std::string mimeType(const std::string& path) = 0;
    virtual std::string charset(const std::string& path) = 0;
    virtual BufferPtr openFile(const std::string& path) = 0;  // null when absent
};

// Fonts: a family name plus weight (100..900) and italic flag to TrueType or
// OpenType bytes. Every face the page draws with is made from these bytes.
// Every page shares the faces made from a loader's answers, so a loader gives
// the same answer to the same question for as long as it lives.
class FontLoader {
  public:
    virtual ~FontLoader();
    virtual std::string fallbackFont() = 0;
    // A family that can draw `characters` (UTF-8) when the chosen one cannot.
    virtual std::string fallbackFontForCharacters(const std::string& characters, int weight,
                                                  bool italic) = 0;
    virtual BufferPtr load(const std::string& family, int weight, bool italic) = 0;
};

enum class LogLevel { Error, Warning, Info, Diagnostic };

class Logger {
  public:
    virtual ~Logger() = default;
    virtual void logMessage(LogLevel level, const std::string& message) = 0;
};

struct Config {
    // Seconds on a monotonic clock; timers and animation frames read it in
    // Renderer::update. Tests put a hand-driven clock here.
    std::function<double()> clock;
    int defaultFontSize = 16;  // CSS px
};

// The process-wide settings every renderer reads. The objects set here are
// not owned and must outlive every renderer.
class Platform {
  public:
    static Platform& instance();

    void setConfig(const Config& config);
    void setFileSystem(FileSystem* fileSystem) { fileSystem_ = fileSystem; }
    void setFontLoader(FontLoader* fontLoader) { fontLoader_ = fontLoader; }
    void setLogger(Logger* logger) { logger_ = logger; }

    const Config& config() const { return config_; }
    FileSystem* fileSystem() const { return fileSystem_; }
    FontLoader* fontLoader() const { return fontLoader_; }
    Logger* logger() const { return logger_; }

    double now() const;  // seconds, from the configured clock
    void log(LogLevel level, const std::string& message) const;  // no logger: dropped

  private:
    Platform();
    Config config_;
    FileSystem* fileSystem_ = nullptr;
    FontLoader* fontLoader_ = nullptr;
    Logger* logger_ = nullptr;
};

}  // namespace web
