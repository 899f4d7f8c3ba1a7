#pragma once

#include "core/mesh/record_bytes.h"

namespace tagwarden {

// One cell of the map's grid: two 16-bit numbers and four single bytes that the
// editor never shows; they go back to the file as read.
class MeshCell : public RecordBytes<8> {};

}  // namespace tagwarden
