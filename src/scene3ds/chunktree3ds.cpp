// Chunk tree operations: creating, searching, copying and freeing.
#include "scene3ds/chunktree3ds_local.h"

#include <cstdlib>

#include "scene3ds/chunkdata3ds_local.h"
#include "scene3ds/errlist3ds.h"

chunk3ds* NewChunk3ds() {
    auto* chunk = static_cast<chunk3ds*>(std::calloc(1, sizeof(chunk3ds)));
    if (!chunk) {
        PushErrList3ds(ERR_NO_MEM);
        return nullptr;
    }
    chunk->readindex = NoFileIndex3ds;
    chunk->writeindex = NoFileIndex3ds;
    return chunk;
}

void FindChunkInTree3ds(chunk3ds* chunk, chunktag3ds tag, chunk3ds** found) {
    if (!found)
        return;
    *found = nullptr;
    if (!chunk)
        return;
    if (chunk->tag == tag) {
        *found = chunk;
        return;
    }
    // Depth is bounded by the reader's nesting limit, so recursing over children is safe.
    for (chunk3ds* child = chunk->children; child; child = child->sibling) {
        FindChunkInTree3ds(child, tag, found);
        if (*found)
            return;
    }
}

void FindChunkInSiblings3ds(chunk3ds* chunk, chunktag3ds tag, chunk3ds** found) {
    if (!found)
        return;
    *found = nullptr;
    for (; chunk; chunk = chunk->sibling) {
        if (chunk->tag == tag) {
            *found = chunk;
            return;
        }
    }
}

void CopyChunkTree3ds(chunk3ds* source, chunk3ds** copy) {
    if (!copy)
        return;
    *copy = nullptr;
    if (!source) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    chunk3ds* out = NewChunk3ds();
    if (!out)
        return;
    out->tag = source->tag;
    out->size = source->size;
    out->position = source->position;
    out->readindex = source->readindex;
    out->writeindex = source->writeindex;
    if (source->data) {
        if (source->readindex != NoFileIndex3ds) {
            // The source can reload its data from the file, so the record simply moves.
            out->data = source->data;
            source->data = nullptr;
        } else {
            out->data = CopyChunkData3ds(source->tag, source->data);
            if (!out->data) {
                FreeChunkTree3ds(&out);
                return;
            }
        }
    }
    chunk3ds** tail = &out->children;
    for (chunk3ds* child = source->children; child; child = child->sibling) {
        chunk3ds* childCopy = nullptr;
        CopyChunkTree3ds(child, &childCopy);
        if (!childCopy) {
            FreeChunkTree3ds(&out);
            return;
        }
        *tail = childCopy;
        tail = &childCopy->sibling;
    }
    *copy = out;
}

void FreeChunkTree3ds(chunk3ds** chunk) {
    if (!chunk)
        return;
    // Siblings are walked in a loop (a level may hold very many); children recurse, which the
    // reader's nesting limit keeps shallow.
    chunk3ds* c = *chunk;
    while (c) {
        chunk3ds* next = c->sibling;
        FreeChunkData3ds(c->tag, c->data);
        FreeChunkTree3ds(&c->children);
        std::free(c);
        c = next;
    }
    *chunk = nullptr;
}
