// Local dates for records and backups.
#include "data/local_time.hpp"

#include <cstdio>
#include <ctime>

namespace nj {
namespace {

std::tm localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local) == nullptr) local = std::tm{};
    return local;
}

}  // namespace

std::string localDateText() {
    const std::tm t = localNow();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", (t.tm_year + 1900) % 10000,
                  (t.tm_mon + 1) % 100, t.tm_mday % 100);
    return text;
}

std::string localStampText() {
    const std::tm t = localNow();
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d-%02d%02d%02d", (t.tm_year + 1900) % 10000,
                  (t.tm_mon + 1) % 100, t.tm_mday % 100, t.tm_hour % 100, t.tm_min % 100,
                  t.tm_sec % 100);
    return text;
}

}  // namespace nj
