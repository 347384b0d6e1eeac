// Databases: building the chunk tree from a file, detaching it, releasing it, and name lists.
#include <cstdlib>
#include <cstring>

#include "scene3ds/chunkdata3ds_local.h"
#include "scene3ds/chunktree3ds_local.h"
#include "scene3ds/database3ds_local.h"
#include "scene3ds/errlist3ds.h"
#include "scene3ds/keyframer3ds_local.h"
#include "scene3ds/prefix3ds_local.h"
#include "scene3ds/stream3ds_local.h"

using namespace stream3ds;

namespace {

// Real files nest about eight levels deep; the bound keeps hostile nesting from exhausting the
// stack here and in every recursive tree operation.
constexpr int MaxNesting3ds = 64;

void walkError(uint32_t code) {
    PushErrList3ds(code);
    PushErrList3ds(ERR_READING_DATABASE);
}

// Reads the next header inside [.., end) into a new chunk; null on failure (reported). A size
// below 6 or a chunk running past its parent's end is refused: the walk could not make progress
// or would read another chunk's bytes.
chunk3ds* readHeader(uint64_t end) {
    uint64_t at = tell();
    setLimit(end);
    uint16_t tag;
    uint32_t size;
    if (!readU16(tag) || !readU32(size)) {
        walkError(ERR_READING_FILE);
        return nullptr;
    }
    if (size < 6 || at + size > end) {
        walkError(ERR_INVALID_CHUNK);
        return nullptr;
    }
    chunk3ds* chunk = NewChunk3ds();
    if (!chunk) {
        PushErrList3ds(ERR_READING_DATABASE);
        return nullptr;
    }
    chunk->tag = tag;
    chunk->size = size;
    chunk->position = static_cast<uint32_t>(at);
    chunk->readindex = currentSlot();
    return chunk;
}

bool readChildren(chunk3ds* parent, int depth);

// Children of an extension-data chunk: only extension tags nest; anything else ends the block.
bool readExtension(chunk3ds* parent, int depth) {
    uint64_t end = uint64_t(parent->position) + parent->size;
    if (!seek(uint64_t(parent->position) + 6)) {
        walkError(ERR_READING_FILE);
        return false;
    }
    chunk3ds** tail = &parent->children;
    while (tell() < end) {
        if (depth >= MaxNesting3ds) {
            walkError(ERR_INVALID_CHUNK);
            return false;
        }
        uint64_t at = tell();
        setLimit(end);
        uint16_t tag;
        uint32_t size;
        // Too few bytes left for a header cannot start an extension chunk: like a foreign tag,
        // they end the block (without reading past it).
        if (end - at < 6) {
            seek(end);
            break;
        }
        if (!readU16(tag) || !readU32(size)) {
            walkError(ERR_READING_FILE);
            return false;
        }
        if (tag < 0x8002 || tag > 0x800F) {
            seek(end);
            break;
        }
        if (size < 6) {
            walkError(ERR_INVALID_CHUNK);
            return false;
        }
        if (at + size > end)
            continue; // discarded; reading goes on just after its header
        chunk3ds* child = NewChunk3ds();
        if (!child) {
            PushErrList3ds(ERR_READING_DATABASE);
            return false;
        }
        child->tag = tag;
        child->size = size;
        child->position = static_cast<uint32_t>(at);
        child->readindex = currentSlot();
        *tail = child;
        tail = &child->sibling;
        if (!readExtension(child, depth + 1) && !ignoreftkerr3ds)
            return false;
        if (!seek(at + size)) {
            walkError(ERR_READING_FILE);
            return false;
        }
    }
    return true;
}

bool readChildren(chunk3ds* parent, int depth) {
    uint64_t end = uint64_t(parent->position) + parent->size;
    if (!seek(uint64_t(parent->position) + 6)) {
        walkError(ERR_READING_FILE);
        return false;
    }
    setLimit(end);
    if (!SkipPrefix3ds(parent->tag)) {
        walkError(ERR_READING_FILE);
        return false;
    }
    chunk3ds** tail = &parent->children;
    while (*tail)
        tail = &(*tail)->sibling;
    bool ok = true;
    while (tell() < end) {
        if (depth >= MaxNesting3ds) {
            walkError(ERR_INVALID_CHUNK);
            return false;
        }
        chunk3ds* child = readHeader(end);
        if (!child)
            return false; // no way to find the next header: stop even when ignoring errors
        *tail = child;
        tail = &child->sibling;
        bool childOk = true;
        if (child->tag == EXTENSION_DATA)
            childOk = readExtension(child, depth + 1);
        else if (PrefixRule3ds(child->tag).kind != PrefixLeaf)
            childOk = readChildren(child, depth + 1);
        if (!childOk) {
            ok = false;
            if (!ignoreftkerr3ds)
                return false;
        }
        if (!seek(uint64_t(child->position) + child->size)) {
            walkError(ERR_READING_FILE);
            return false;
        }
    }
    return ok;
}

// Loads every chunk's data and cuts it from its file. A chunk that fails to load is reported and
// cut too, and the walk goes on even without ignoring errors: a chunk left attached would read,
// after the file is closed, whatever file takes its slot next.
bool disconnect(chunk3ds* chunk) {
    bool ok = true;
    for (; chunk; chunk = chunk->sibling) {
        if (!ReadChunkData3ds(chunk))
            ok = false;
        chunk->readindex = NoFileIndex3ds;
        chunk->writeindex = NoFileIndex3ds;
        if (!disconnect(chunk->children))
            ok = false;
    }
    return ok;
}

void freeChunkList(chunklist3ds** list) {
    if (!*list)
        return;
    for (uint32_t i = 0; (*list)->entries && i < (*list)->count; ++i)
        std::free((*list)->entries[i].name);
    std::free((*list)->entries);
    std::free(*list);
    *list = nullptr;
}

chunklist3ds* newChunkList(uint32_t count) {
    auto* list = static_cast<chunklist3ds*>(std::calloc(1, sizeof(chunklist3ds)));
    if (!list)
        return nullptr;
    if (count) {
        list->entries =
            static_cast<chunklistentry3ds*>(std::calloc(count, sizeof(chunklistentry3ds)));
        if (!list->entries) {
            std::free(list);
            return nullptr;
        }
    }
    list->count = count;
    return list;
}

// Fills a list with the chunks of one tag among the siblings starting at first, naming each by
// the string found by nameOf; false when a name could not be loaded (reported).
template <class NameOf>
bool fillList(chunklist3ds** out, chunk3ds* first, chunktag3ds tag, NameOf nameOf) {
    uint32_t count = 0;
    for (chunk3ds* c = first; c; c = c->sibling)
        count += c->tag == tag;
    *out = newChunkList(count);
    if (!*out) {
        PushErrList3ds(ERR_NO_MEM);
        return false;
    }
    uint32_t i = 0;
    for (chunk3ds* c = first; c && i < count; c = c->sibling) {
        if (c->tag != tag)
            continue;
        chunk3ds* named = nameOf(c);
        const char* name = "";
        if (named) {
            if (!ReadChunkData3ds(named) && !ignoreftkerr3ds) {
                (*out)->count = i;
                return false;
            }
            auto* rec = static_cast<StringData3ds*>(named->data);
            if (rec && rec->name)
                name = rec->name;
        }
        (*out)->entries[i].name = StrDup3ds(name);
        (*out)->entries[i].chunk = c;
        if (!(*out)->entries[i].name) {
            PushErrList3ds(ERR_NO_MEM);
            (*out)->count = i;
            return false;
        }
        ++i;
    }
    return true;
}

} // namespace

void InitDatabase3ds(database3ds** db) {
    if (!db) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    if (!*db) {
        *db = static_cast<database3ds*>(std::calloc(1, sizeof(database3ds)));
        if (!*db) {
            PushErrList3ds(ERR_NO_MEM);
            return;
        }
    }
    (*db)->root = nullptr;
    (*db)->objectsstale = 1;
    (*db)->materialsstale = 1;
    (*db)->nodesstale = 1;
    (*db)->objects = nullptr;
    (*db)->materials = nullptr;
    (*db)->nodes = nullptr;
}

void CreateDatabase3ds(file3ds* file, database3ds* db) {
    if (!file || !db) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    if (file->state != ReadFromFile && file->state != ReadWriteFile)
        return;
    chunk3ds* root = NewChunk3ds();
    if (!root) {
        PushErrList3ds(ERR_CREATING_DATABASE);
        return;
    }
    // A database being rebuilt must not leak its earlier tree.
    FreeChunkTree3ds(&db->root);
    db->root = root;
    db->objectsstale = db->materialsstale = db->nodesstale = 1;
    root->readindex = file->index;
    makeCurrent(file);
    setLimit(UINT64_MAX);
    uint16_t tag = 0;
    uint32_t size = 0;
    if (!seek(0) || !readU16(tag) || !readU32(size)) {
        PushErrList3ds(ERR_READING_FILE);
        PushErrList3ds(ERR_CREATING_DATABASE);
        return;
    }
    root->tag = tag;
    root->size = size;
    if (tag != MESH_FILE && tag != PROJECT_FILE && tag != MATERIAL_FILE)
        return;
    if (size < 6) {
        PushErrList3ds(ERR_INVALID_CHUNK);
        PushErrList3ds(ERR_CREATING_DATABASE);
        return;
    }
    bool ok = readChildren(root, 1);
    setLimit(UINT64_MAX);
    if (!ok) {
        PushErrList3ds(ERR_CREATING_DATABASE);
        if (!ignoreftkerr3ds)
            return;
    }
    if (!AssignParentNames3ds(db))
        PushErrList3ds(ERR_CREATING_DATABASE);
}

void CreateNewDatabase3ds(database3ds* db, dbtype3ds type) {
    if (!db || type < MeshFile || type > MaterialFile) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    chunk3ds* root = NewChunk3ds();
    if (!root) {
        PushErrList3ds(ERR_CREATING_DATABASE);
        return;
    }
    static const chunktag3ds rootTags[] = {0, MESH_FILE, PROJECT_FILE, MATERIAL_FILE};
    root->tag = rootTags[type];
    root->size = 6;
    FreeChunkTree3ds(&db->root);
    db->root = root;
    db->objectsstale = db->materialsstale = db->nodesstale = 1;
}

void DisconnectDatabase3ds(database3ds* db) {
    if (!db) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    if (!db->root) {
        PushErrList3ds(ERR_INVALID_DATABASE);
        return;
    }
    disconnect(db->root);
}

void ReleaseDatabase3ds(database3ds** db) {
    if (!db || !*db)
        return;
    FreeChunkTree3ds(&(*db)->root);
    freeChunkList(&(*db)->objects);
    freeChunkList(&(*db)->materials);
    freeChunkList(&(*db)->nodes);
    std::free(*db);
    *db = nullptr;
}

dbtype3ds GetDatabaseType3ds(database3ds* db) {
    if (!db || !db->root)
        return Unknown;
    switch (db->root->tag) {
    case MESH_FILE:
        return MeshFile;
    case PROJECT_FILE:
        return ProjectFile;
    case MATERIAL_FILE:
        return MaterialFile;
    default:
        return Unknown;
    }
}

void InitNameList3ds(namelist3ds** list, uint32_t count) {
    if (!list) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    if (!*list) {
        *list = static_cast<namelist3ds*>(std::calloc(1, sizeof(namelist3ds)));
        if (!*list) {
            PushErrList3ds(ERR_NO_MEM);
            return;
        }
    } else {
        // Reusing a list: its old names belong to it and would otherwise leak.
        for (uint32_t i = 0; (*list)->names && i < (*list)->capacity; ++i)
            std::free((*list)->names[i].name);
        std::free((*list)->names);
    }
    namelist3ds* l = *list;
    l->count = count;
    l->capacity = count ? count : 5;
    l->names = static_cast<namelistentry3ds*>(std::calloc(l->capacity, sizeof(namelistentry3ds)));
    if (!l->names) {
        l->count = l->capacity = 0;
        PushErrList3ds(ERR_NO_MEM);
    }
}

void ReleaseNameList3ds(namelist3ds** list) {
    if (!list) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    if (!*list)
        return;
    for (uint32_t i = 0; (*list)->names && i < (*list)->capacity; ++i)
        std::free((*list)->names[i].name);
    std::free((*list)->names);
    std::free(*list);
    *list = nullptr;
}

void RefreshObjectList3ds(database3ds* db) {
    if (!db) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    if (!db->objectsstale)
        return;
    db->objectsstale = 0;
    freeChunkList(&db->objects);
    chunk3ds* editor = nullptr;
    FindChunkInTree3ds(db->root, EDITOR_BLOCK, &editor);
    chunk3ds* first = nullptr;
    // FindChunkInTree3ds searches one subtree; the first object may sit after other children.
    for (chunk3ds* c = editor ? editor->children : nullptr; c && !first; c = c->sibling)
        FindChunkInTree3ds(c, OBJECT_BLOCK, &first);
    fillList(&db->objects, first, OBJECT_BLOCK, [](chunk3ds* c) { return c; });
}

void RefreshMaterialList3ds(database3ds* db) {
    if (!db) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    if (!db->materialsstale)
        return;
    db->materialsstale = 0;
    freeChunkList(&db->materials);
    chunk3ds* parent = nullptr;
    FindChunkInTree3ds(db->root, EDITOR_BLOCK, &parent);
    if (!parent)
        FindChunkInTree3ds(db->root, MATERIAL_FILE, &parent);
    chunk3ds* first = nullptr;
    for (chunk3ds* c = parent ? parent->children : nullptr; c && !first; c = c->sibling)
        FindChunkInTree3ds(c, MATERIAL_BLOCK, &first);
    fillList(&db->materials, first, MATERIAL_BLOCK, [](chunk3ds* block) {
        chunk3ds* name = nullptr;
        FindChunkInTree3ds(block, MATERIAL_NAME, &name);
        return name;
    });
}
