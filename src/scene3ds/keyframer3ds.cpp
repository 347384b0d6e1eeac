// The parent-name pass over a keyframer block, run once when a database is built.
#include "scene3ds/keyframer3ds_local.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "scene3ds/chunkdata3ds_local.h"
#include "scene3ds/chunktree3ds_local.h"
#include "scene3ds/errlist3ds.h"

namespace {

const chunktag3ds kNodeTags[] = {0xB004, 0xB002, 0xB003, 0xB005, 0xB006, 0xB007};

bool isNodeTag(chunktag3ds tag) {
    for (chunktag3ds t : kNodeTags) {
        if (t == tag)
            return true;
    }
    return false;
}

struct NodeRecord {
    chunk3ds* chunk;
    int32_t id;
    uint16_t parent;
    std::string name;
    std::string instance;
    bool hasInstance;
};

// Loads a chunk's data for the pass, remembering it so that reloadable data is dropped again.
class Loader {
  public:
    ~Loader() {
        for (chunk3ds* c : loaded_) {
            if (c->readindex != NoFileIndex3ds && IsValidFileIndex3ds(c->readindex)) {
                FreeChunkData3ds(c->tag, c->data);
                c->data = nullptr;
            }
        }
    }
    bool load(chunk3ds* c) {
        if (c->data)
            return true;
        if (!ReadChunkData3ds(c))
            return false;
        if (c->data)
            loaded_.push_back(c);
        return true;
    }

  private:
    std::vector<chunk3ds*> loaded_;
};

bool setParentName(chunk3ds* header, const std::string& fullName, Loader& loader) {
    chunk3ds* existing = nullptr;
    FindChunkInSiblings3ds(header->children, PARENT_NAME, &existing);
    char* copy = StrDup3ds(fullName.c_str());
    if (!copy) {
        PushErrList3ds(ERR_NO_MEM);
        return false;
    }
    if (existing) {
        if (!loader.load(existing)) {
            std::free(copy);
            return false;
        }
        auto* rec = static_cast<StringData3ds*>(existing->data);
        if (!rec) {
            rec = static_cast<StringData3ds*>(std::calloc(1, sizeof(StringData3ds)));
            existing->data = rec;
        }
        if (!rec) {
            std::free(copy);
            PushErrList3ds(ERR_NO_MEM);
            return false;
        }
        std::free(rec->name);
        rec->name = copy;
        // The data now differs from the file, so it must never be reloaded from there (nor
        // dropped by the loader, which frees only what it could read again).
        existing->readindex = NoFileIndex3ds;
        existing->size = static_cast<uint32_t>(6 + fullName.size() + 1);
        return true;
    }
    chunk3ds* chunk = NewChunk3ds();
    auto* rec = static_cast<StringData3ds*>(std::calloc(1, sizeof(StringData3ds)));
    if (!chunk || !rec) {
        std::free(chunk);
        std::free(rec);
        std::free(copy);
        PushErrList3ds(ERR_NO_MEM);
        return false;
    }
    rec->name = copy;
    chunk->tag = PARENT_NAME;
    chunk->size = static_cast<uint32_t>(6 + fullName.size() + 1);
    chunk->data = rec;
    // A new parent name leads the header's children, where files lay it out.
    chunk->sibling = header->children;
    header->children = chunk;
    return true;
}

} // namespace

bool AssignParentNames3ds(database3ds* db) {
    if (!db || !db->root)
        return true;
    chunk3ds* kf = nullptr;
    FindChunkInTree3ds(db->root, KEYFRAMER_BLOCK, &kf);
    if (!kf)
        return true;

    Loader loader;
    std::vector<NodeRecord> nodes;
    bool renumber = false;
    for (chunk3ds* node = kf->children; node; node = node->sibling) {
        if (!isNodeTag(node->tag))
            continue;
        chunk3ds* header = nullptr;
        FindChunkInSiblings3ds(node->children, NODE_HEADER, &header);
        if (!header)
            continue;
        if (!loader.load(header))
            return false;
        auto* hdr = static_cast<NodeHeader3ds*>(header->data);
        NodeRecord rec{node, -1, 0xFFFF, "", "", false};
        if (hdr) {
            rec.parent = static_cast<uint16_t>(hdr->parent);
            rec.name = hdr->name ? hdr->name : "";
        }
        chunk3ds* idChunk = nullptr;
        FindChunkInSiblings3ds(node->children, NODE_ID, &idChunk);
        if (idChunk) {
            if (!loader.load(idChunk))
                return false;
            if (auto* id = static_cast<Int16Value3ds*>(idChunk->data))
                rec.id = id->value;
        }
        if (node->tag == 0xB002) {
            chunk3ds* inst = nullptr;
            FindChunkInSiblings3ds(node->children, INSTANCE_NAME, &inst);
            if (inst) {
                if (!loader.load(inst))
                    return false;
                auto* s = static_cast<StringData3ds*>(inst->data);
                if (s && s->name) {
                    rec.instance = s->name;
                    rec.hasInstance = true;
                }
            }
        }
        renumber = renumber || rec.id == -1;
        nodes.push_back(rec);
    }
    if (renumber) {
        for (size_t i = 0; i < nodes.size(); ++i)
            nodes[i].id = static_cast<int32_t>(i);
    }

    for (chunktag3ds tag : kNodeTags) {
        chunk3ds* node = nullptr;
        FindChunkInTree3ds(kf, tag, &node);
        for (; node; node = node->sibling) {
            if (node->tag != tag)
                continue;
            const NodeRecord* self = nullptr;
            for (const NodeRecord& r : nodes) {
                if (r.chunk == node)
                    self = &r;
            }
            if (!self || self->parent >= 0xFFFF)
                continue;
            const NodeRecord* parent = nullptr;
            for (const NodeRecord& r : nodes) {
                if (r.id == self->parent) {
                    parent = &r;
                    break;
                }
            }
            if (!parent || parent->name.empty())
                continue;
            std::string full = parent->name;
            if (parent->hasInstance)
                full += "." + parent->instance;
            chunk3ds* header = nullptr;
            FindChunkInSiblings3ds(node->children, NODE_HEADER, &header);
            if (header && !setParentName(header, full, loader))
                return false;
        }
    }
    return true;
}
