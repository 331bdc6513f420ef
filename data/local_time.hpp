#pragma once
// The wall clock, in the forms player files write it: a record's date and a
// backup's name. The rules never read it.

#include <string>

namespace nj {

// Today's local date: "YYYY-MM-DD".
std::string localDateText();
// Now, local, for a file name: "YYYY-MM-DD-HHMMSS".
std::string localStampText();

}  // namespace nj
