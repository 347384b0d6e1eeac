// Module-internal chunk tree operations: creating, searching, copying and freeing
// (chunktree3ds.cpp).
#pragma once

#include "scene3ds/database3ds.h"
#include "scene3ds/filetable3ds.h"

// A new chunk: tag, size and position 0, no data or links, both indexes 255; null when out of
// memory (reported as ERR_NO_MEM).
chunk3ds* NewChunk3ds();

// Depth-first, pre-order search of the subtree rooted at chunk (the chunk itself first).
void FindChunkInTree3ds(chunk3ds* chunk, chunktag3ds tag, chunk3ds** found);
// The first chunk with the tag among chunk and its following siblings (not their children).
void FindChunkInSiblings3ds(chunk3ds* chunk, chunktag3ds tag, chunk3ds** found);
// Copies a chunk and its whole subtree, not its siblings.
void CopyChunkTree3ds(chunk3ds* source, chunk3ds** copy);
// Frees a chunk, its subtree and all its following siblings, with their data.
void FreeChunkTree3ds(chunk3ds** chunk);
