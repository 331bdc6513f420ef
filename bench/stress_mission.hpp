#pragma once
// The stress mission both the simulation and the scene benchmarks run: far
// busier than any shipped operation (64 patrolling guards, 16 cameras, 32
// lasers, half of them sliding, 40 pillars, every other one tall enough to
// carry a lamp, 30 pieces of furniture of every type).

#include <sstream>
#include <string>

namespace nj::bench {

inline const char* const kFurnitureTypes[] = {
    "roulette", "blackjack", "plush_booth", "stanchions",   "desk",
    "bookcase", "server",    "cryopod",     "archive_rack", "crate"};

inline std::string stressMissionJson() {
    std::ostringstream j;
    j << R"({"name":"STRESS","theme":"casino","player":{"x":480,"y":270},)"
      << R"("serviceSpawn":{"x":480,"y":270},"walls":[)";
    for (int i = 0; i < 40; ++i) {  // an 8 x 5 grid of pillars, every other one tall
        j << (i ? "," : "") << R"({"x":)" << 40 + (i % 8) * 115 << R"(,"y":)" << 40 + (i / 8) * 105
          << R"(,"w":14,"h":)" << (i % 2 ? 95 : 14) << "}";
    }
    j << R"(],"furniture":[)";
    for (int i = 0; i < 30; ++i) {
        j << (i ? "," : "") << R"({"type":")" << kFurnitureTypes[i % 10] << R"(","x":)"
          << 95 + (i % 10) * 85 << R"(,"y":)" << 90 + (i / 10) * 160 << R"(,"w":60,"h":36,"cover":)"
          << (i % 3 ? "true" : "false") << "}";
    }
    j << R"(],"lasers":[)";
    for (int i = 0; i < 32; ++i) {
        j << (i ? "," : "") << R"({"x":)" << 20 + i * 29 << R"(,"y":20,"w":3,"h":40,"axis":"y",)"
          << R"("min":20,"max":480,"speed":)" << (i % 2 ? 60 : 0) << "}";
    }
    j << R"(],"cameras":[)";
    for (int i = 0; i < 16; ++i) {
        j << (i ? "," : "") << R"({"x":)" << 30 + i * 60 << R"(,"y":)" << (i % 2 ? 30 : 510)
          << R"(,"angle":)" << (i % 2 ? 1.57 : -1.57) << R"(,"range":160})";
    }
    j << R"(],"guards":[)";
    for (int i = 0; i < 64; ++i) {
        const int x = 60 + (i % 16) * 56, y = 70 + (i / 16) * 120;
        j << (i ? "," : "") << R"({"x":)" << x << R"(,"y":)" << y << R"(,"speed":55,"patrol":[)"
          << R"({"x":)" << x << R"(,"y":)" << y << R"(},{"x":)" << x + 40 << R"(,"y":)" << y
          << R"(},{"x":)" << x + 40 << R"(,"y":)" << y + 50 << R"(},{"x":)" << x << R"(,"y":)"
          << y + 50 << "}]}";
    }
    j << "]}";
    return j.str();
}

}  // namespace nj::bench
