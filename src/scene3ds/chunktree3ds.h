// Module-internal chunk tree helpers beside the public tree operations.
#pragma once

#include "scene3ds/database3ds.h"

// A new chunk: tag, size and position 0, no data or links, both indexes 255; null when out of
// memory (reported as ERR_NO_MEM).
chunk3ds* NewChunk3ds();
// Adds a chunk to a parent's children before the first child with a lower order value.
void InsertChunkOrdered3ds(chunk3ds* parent, chunk3ds* child);
// Order value of a tag for ordered insertion (0 when unlisted).
int ChunkOrder3ds(chunktag3ds tag);
