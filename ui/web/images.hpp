#pragma once
// Page images: PNG files read through the host's file system and decoded once
// per address.

#include <cairo.h>

#include <map>
#include <string>

namespace web {

class FileSystem;

class ImageCache {
  public:
    explicit ImageCache(FileSystem* fileSystem) : fileSystem_(fileSystem) {}
    ~ImageCache();
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // The decoded image for a resolved "file:///" address; null when the file
    // is missing or is not a PNG. Both outcomes are remembered.
    cairo_surface_t* get(const std::string& url);

  private:
    FileSystem* fileSystem_;
    std::map<std::string, cairo_surface_t*> images_;
};

}  // namespace web
