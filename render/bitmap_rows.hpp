#pragma once
// Packing a page bitmap's rows for upload.

#include <cstddef>
#include <cstdint>

namespace nj {

// Copies height rows of width x 4 bytes from `src`, whose rows start rowBytes
// apart (0 = tightly packed), into `dst` tightly packed. Bytes past width x 4 in
// each source row are padding and are not copied.
void packBitmapRows(uint8_t* dst, const uint8_t* src, int width, int height, size_t rowBytes);

}  // namespace nj
