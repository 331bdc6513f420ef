#pragma once
// A test that could hang arms a deadline: past it the test program is stopped, so the hang
// fails within seconds instead of holding the suite until its timeout.

#include <unistd.h>

namespace nj::test {

class Deadline {
  public:
    explicit Deadline(unsigned seconds) { ::alarm(seconds); }
    ~Deadline() { ::alarm(0); }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;
};

}  // namespace nj::test
