// Records files: any text reads without crashing, never past the cap of operations, and what is
// accepted is written back and read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "data/records_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    nj::RecordBook book;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!nj::parseRecordsText(text, book)) {
        if (!book.operations().empty()) std::abort();
        return 0;
    }
    if (book.operations().size() > nj::kMaxRecordedOperations) std::abort();
    const std::string written = nj::formatRecordsText(book);
    nj::RecordBook back;
    if (!nj::parseRecordsText(written, back) || nj::formatRecordsText(back) != written)
        std::abort();
    return 0;
}
