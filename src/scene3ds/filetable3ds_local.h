// Module-internal access to the open-file table: the file a chunk's slot names.
#pragma once

#include <cstdint>

#include "scene3ds/filetable3ds.h"

// The file registered in a slot, or null (255 and unused slots give null).
file3ds* FileAt3ds(uint8_t slot);
