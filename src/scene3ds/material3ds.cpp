// Materials: listing the material blocks of a database and copying one into a caller-owned record.
#include "scene3ds/material3ds.h"

#include <cstdlib>
#include <cstring>

#include "scene3ds/chunkdata3ds_local.h"
#include "scene3ds/database3ds_local.h"
#include "scene3ds/errlist3ds.h"

namespace {

bitmap3ds* allMaps(material3ds* m, int i);

const float kByteToColor = 0.003921569f;
const float kPercent = 0.01f;

bool failed() {
    return ftkerr3ds && !ignoreftkerr3ds;
}

// A chunk's record, loading it when needed; null when it has none or loading failed.
template <class T> T* recordOf(chunk3ds* chunk) {
    if (!chunk || !ReadChunkData3ds(chunk))
        return nullptr;
    return static_cast<T*>(chunk->data);
}

fcolor3ds byteColor(const Color24_3ds& c) {
    return {c.r * kByteToColor, c.g * kByteToColor, c.b * kByteToColor};
}

float* percentField(material3ds* m, chunktag3ds tag) {
    switch (tag) {
    case 0xA040:
        return &m->shininess;
    case 0xA041:
        return &m->percentA041;
    case 0xA050:
        return &m->percentA050;
    case 0xA052:
        return &m->percentA052;
    case 0xA053:
        return &m->percentA053;
    case 0xA084:
        return &m->percentA084;
    default:
        return nullptr;
    }
}

uint8_t* flagField(material3ds* m, chunktag3ds tag) {
    switch (tag) {
    case 0xA250:
        return &m->flagA250;
    case 0xA240:
        return &m->flagA240;
    case 0xA081:
        return &m->flagA081;
    case 0xA080:
        return &m->flagA080;
    case 0xA083:
        return &m->flagA083;
    case 0xA08E:
        return &m->flagA08E;
    case 0xA088:
        return &m->flagA088;
    case 0xA08C:
        return &m->flagA08C;
    default:
        return nullptr;
    }
}

bitmap3ds* mapField(material3ds* m, chunktag3ds tag) {
    switch (tag) {
    case 0xA200:
        return &m->texmap;
    case 0xA33E:
        return &m->mapA33E;
    case 0xA33A:
        return &m->mapA33A;
    case 0xA340:
        return &m->mapA340;
    case 0xA210:
        return &m->mapA210;
    case 0xA342:
        return &m->mapA342;
    case 0xA230:
        return &m->mapA230;
    case 0xA344:
        return &m->mapA344;
    case 0xA204:
        return &m->mapA204;
    case 0xA348:
        return &m->mapA348;
    case 0xA33C:
        return &m->mapA33C;
    case 0xA346:
        return &m->mapA346;
    case 0xA33D:
        return &m->mapA33D;
    case 0xA34A:
        return &m->mapA34A;
    case 0xA220:
        return &m->mapA220;
    case 0xA34C:
        return &m->mapA34C;
    default:
        return nullptr;
    }
}

bitmap3ds* procField(material3ds* m, chunktag3ds tag) {
    switch (tag) {
    case 0xA320:
        return &m->texmap;
    case 0xA321:
        return &m->mapA33A;
    case 0xA322:
        return &m->mapA210;
    case 0xA324:
        return &m->mapA230;
    case 0xA325:
        return &m->mapA204;
    case 0xA326:
        return &m->mapA33C;
    case 0xA328:
        return &m->mapA33D;
    case 0xA32A:
        return &m->mapA33E;
    case 0xA32C:
        return &m->mapA340;
    case 0xA32E:
        return &m->mapA342;
    case 0xA330:
        return &m->mapA344;
    case 0xA332:
        return &m->mapA348;
    case 0xA334:
        return &m->mapA346;
    case 0xA336:
        return &m->mapA34A;
    case 0xA338:
        return &m->mapA34C;
    default:
        return nullptr;
    }
}

void applyTiling(bitmap3ds* map, uint16_t bits) {
    if (!(bits & 0x0001))
        map->tiling = Tile;
    else
        map->tiling = (bits & 0x0010) ? Decal : Both;
    map->ignorealpha = (bits & 0x0100) ? 1 : 0;
    map->filter = (bits & 0x0020) ? SummedArea : Pyramidal;
    map->mirror = (bits & 0x0002) ? 1 : 0;
    map->negative = (bits & 0x0008) ? 1 : 0;
    if (bits & 0x0080)
        map->tint = (bits & 0x0040) ? AlphaTint : RGBLumaTint;
    else if (bits & 0x0200)
        map->tint = RGBTint;
    else if (bits & 0x0040)
        map->tint = Alpha;
    else
        map->tint = RGB;
}

// Percentage of a container: its first integer percentage, else its first float one, else 0.
float percentOf(chunk3ds* container) {
    chunk3ds* found = nullptr;
    FindChunkInTree3ds(container, PERCENT_INT, &found);
    if (auto* v = recordOf<Int16Value3ds>(found))
        return v->value * kPercent;
    FindChunkInTree3ds(container, PERCENT_FLOAT, &found);
    if (auto* v = recordOf<FloatValue3ds>(found))
        return v->value;
    return 0.0f;
}

// Colour of a container: its byte colour, replaced by its alternate byte colour when present;
// false (ERR_UNFOUND_CHUNK reported) without a byte colour.
bool colorOf(chunk3ds* container, fcolor3ds* out) {
    chunk3ds* found = nullptr;
    FindChunkInTree3ds(container, COLOR_BYTE, &found);
    auto* c = recordOf<Color24_3ds>(found);
    if (!c) {
        PushErrList3ds(ERR_UNFOUND_CHUNK);
        return false;
    }
    *out = byteColor(*c);
    FindChunkInTree3ds(container, COLOR_BYTE_ALT, &found);
    if (auto* alt = recordOf<Color24_3ds>(found))
        *out = byteColor(*alt);
    return true;
}

void fillMap(chunk3ds* container, bitmap3ds* map) {
    for (chunk3ds* c = container->children; c; c = c->sibling) {
        switch (c->tag) {
        case MAP_FILE_NAME:
            if (auto* s = recordOf<StringData3ds>(c))
                CopyName3ds(map->name, sizeof map->name, s->name);
            break;
        case PERCENT_INT:
            if (auto* v = recordOf<Int16Value3ds>(c))
                map->percent = v->value * kPercent;
            break;
        case PERCENT_FLOAT:
            if (auto* v = recordOf<FloatValue3ds>(c))
                map->percent = v->value;
            break;
        case MAP_TILING:
            if (auto* v = recordOf<UInt16Value3ds>(c))
                applyTiling(map, v->value);
            break;
        case 0xA353:
        case 0xA354:
        case 0xA356:
        case 0xA358:
        case 0xA35A:
        case 0xA35C: {
            auto* v = recordOf<FloatValue3ds>(c);
            if (!v)
                break;
            float* fields[] = {&map->blur,    &map->uscale,  &map->vscale,
                               &map->uoffset, &map->voffset, &map->rotation};
            static const chunktag3ds tags[] = {0xA353, 0xA354, 0xA356, 0xA358, 0xA35A, 0xA35C};
            for (int i = 0; i < 6; ++i) {
                if (tags[i] == c->tag)
                    *fields[i] = v->value;
            }
            break;
        }
        case 0xA360:
        case 0xA362:
        case 0xA364:
        case 0xA366:
        case 0xA368: {
            auto* v = recordOf<Color24_3ds>(c);
            if (!v)
                break;
            fcolor3ds* tints[] = {&map->tint1, &map->tint2, &map->tint3, &map->tint4, &map->tint5};
            *tints[(c->tag - 0xA360) / 2] = byteColor(*v);
            break;
        }
        default:
            break;
        }
    }
}

// Applies one copied child of a material block; false when the extraction must stop.
bool applyChild(chunk3ds* c, material3ds* m) {
    chunktag3ds tag = c->tag;
    if ((tag & 0xFF00) == 0x8000)
        return true;
    if (!ReadChunkData3ds(c))
        return ignoreftkerr3ds != 0;
    if (tag == MATERIAL_NAME) {
        if (auto* s = recordOf<StringData3ds>(c))
            CopyName3ds(m->name, sizeof m->name, s->name);
        return true;
    }
    if (tag == MATERIAL_AMBIENT || tag == MATERIAL_DIFFUSE || tag == MATERIAL_SPECULAR) {
        fcolor3ds* field = tag == MATERIAL_AMBIENT   ? &m->ambient
                           : tag == MATERIAL_DIFFUSE ? &m->diffuse
                                                     : &m->specular;
        return colorOf(c, field) || ignoreftkerr3ds;
    }
    if (float* field = percentField(m, tag)) {
        *field = percentOf(c);
        return true;
    }
    if (tag == 0xA042)
        return true;
    if (uint8_t* flag = flagField(m, tag)) {
        *flag = 1;
        return true;
    }
    switch (tag) {
    case 0xA085:
        m->shading = Wire;
        return true;
    case 0xA08A:
        m->percentA050 = -m->percentA050;
        return true;
    case 0xA100:
        if (auto* v = recordOf<UInt16Value3ds>(c))
            m->shading = static_cast<shadetype3ds>(v->value);
        return true;
    case 0xA087:
        if (auto* v = recordOf<FloatValue3ds>(c))
            m->valueA087 = v->value;
        return true;
    case 0xA310:
        if (auto* r = recordOf<Reflect3ds>(c)) {
            m->hasreflect = 1;
            m->reflectflag9 = (r->flags & 0x0009) == 0x0009;
            m->reflectflag17 = (r->flags & 0x0011) == 0x0011;
            m->reflectvalue1 = r->value1;
            m->reflectvalue2 = r->value2;
        }
        return true;
    default:
        break;
    }
    if (bitmap3ds* map = mapField(m, tag)) {
        fillMap(c, map);
        if (tag == 0xA230) {
            chunk3ds* bump = nullptr;
            FindChunkInTree3ds(c, 0xA252, &bump);
            if (auto* v = recordOf<Int16Value3ds>(bump))
                map->percent = v->value * kPercent;
        }
        return true;
    }
    if (bitmap3ds* map = procField(m, tag)) {
        if (auto* raw = recordOf<RawData3ds>(c)) {
            std::free(map->procdata);
            map->procsize = raw->size;
            map->procdata = raw->data;
            raw->data = nullptr;
        }
        return true;
    }
    PushErrList3ds(ERR_INVALID_CHUNK);
    return ignoreftkerr3ds != 0;
}

// Shared start of the fetches: checks and list refresh; false when the fetch must stop.
bool prepareFetch(database3ds* db, bool nameOk, material3ds** mat) {
    if (!db || !nameOk || !mat) {
        PushErrList3ds(ERR_INVALID_ARG);
        return false;
    }
    if (!db->root) {
        PushErrList3ds(ERR_INVALID_DATABASE);
        return false;
    }
    chunktag3ds t = db->root->tag;
    if (t != MATERIAL_FILE && t != MESH_FILE && t != PROJECT_FILE) {
        PushErrList3ds(ERR_WRONG_DATABASE);
        if (!ignoreftkerr3ds)
            return false;
    }
    RefreshMaterialList3ds(db);
    return !failed() && db->materials;
}

} // namespace

uint32_t GetMaterialCount3ds(database3ds* db) {
    if (!db) {
        PushErrList3ds(ERR_INVALID_ARG);
        return 0;
    }
    RefreshMaterialList3ds(db);
    return db->materials ? db->materials->count : 0;
}

void GetMaterialNameList3ds(database3ds* db, namelist3ds** list) {
    if (!db || !list) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    uint32_t count = GetMaterialCount3ds(db);
    InitNameList3ds(list, count);
    if (!*list || !(*list)->names || !db->materials)
        return;
    for (uint32_t i = 0; i < count && i < (*list)->capacity; ++i) {
        (*list)->names[i].name = StrDup3ds(db->materials->entries[i].name);
        if (!(*list)->names[i].name) {
            PushErrList3ds(ERR_NO_MEM);
            return;
        }
    }
}

void GetMaterialByName3ds(database3ds* db, const char* name, material3ds** mat) {
    if (!prepareFetch(db, name != nullptr, mat))
        return;
    for (uint32_t i = 0; i < db->materials->count; ++i) {
        if (std::strcmp(db->materials->entries[i].name, name) == 0) {
            ExtractMaterial3ds(db->materials->entries[i].chunk, mat);
            return;
        }
    }
}

void GetMaterialByIndex3ds(database3ds* db, uint32_t index, material3ds** mat) {
    if (!prepareFetch(db, true, mat))
        return;
    if (index < db->materials->count)
        ExtractMaterial3ds(db->materials->entries[index].chunk, mat);
}

void ExtractMaterial3ds(chunk3ds* block, material3ds** mat) {
    if (!block || !mat) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    if (block->tag != MATERIAL_BLOCK) {
        PushErrList3ds(ERR_INVALID_CHUNK);
        if (!ignoreftkerr3ds)
            return;
    }
    // Fetching into a record that already holds a material: its procedure data belongs to it
    // and would leak when the reset forgets the pointers.
    if (*mat) {
        for (int i = 0; i < 16; ++i) {
            std::free(allMaps(*mat, i)->procdata);
            allMaps(*mat, i)->procdata = nullptr;
        }
    }
    InitMaterial3ds(mat);
    if (!*mat)
        return;
    for (chunk3ds* child = block->children; child; child = child->sibling) {
        // Each child is handled on a private copy, so taken-over arrays leave the database intact.
        chunk3ds* copy = nullptr;
        CopyChunkTree3ds(child, &copy);
        if (!copy) {
            if (!ignoreftkerr3ds)
                return;
            continue;
        }
        bool go = applyChild(copy, *mat);
        FreeChunkTree3ds(&copy);
        if (!go)
            return;
    }
}

void InitBitmap3ds(bitmap3ds* map) {
    if (!map) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    map->name[0] = '\0';
    map->percent = 0.0f;
    map->tiling = Tile;
    map->ignorealpha = 0;
    map->filter = Pyramidal;
    map->blur = 0.0f;
    map->mirror = 0;
    map->negative = 0;
    map->uscale = map->vscale = 1.0f;
    map->uoffset = map->voffset = 0.0f;
    map->rotation = 0.0f;
    map->tint = RGB;
    map->tint1 = {0, 0, 0};
    map->tint2 = {1, 1, 1};
    map->tint3 = {1, 0, 0};
    map->tint4 = {0, 1, 0};
    map->tint5 = {0, 0, 1};
    map->procsize = 0;
    map->procdata = nullptr;
}

namespace {

bitmap3ds* allMaps(material3ds* m, int i) {
    bitmap3ds* maps[] = {&m->texmap,  &m->mapA33E, &m->mapA33A, &m->mapA340,
                         &m->mapA210, &m->mapA342, &m->mapA230, &m->mapA344,
                         &m->mapA204, &m->mapA348, &m->mapA33C, &m->mapA346,
                         &m->mapA33D, &m->mapA34A, &m->mapA220, &m->mapA34C};
    return i < 16 ? maps[i] : nullptr;
}

} // namespace

void InitMaterial3ds(material3ds** mat) {
    if (!mat) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    if (!*mat) {
        *mat = static_cast<material3ds*>(std::calloc(1, sizeof(material3ds)));
        if (!*mat) {
            PushErrList3ds(ERR_NO_MEM);
            return;
        }
    }
    material3ds* m = *mat;
    m->name[0] = '\0';
    m->ambient = m->diffuse = m->specular = {0, 0, 0};
    m->shininess = m->percentA041 = m->percentA053 = m->percentA050 = 0.0f;
    m->percentA052 = m->percentA084 = 0.0f;
    m->valueA087 = 1.0f;
    m->shading = Phong;
    m->flagA250 = m->flagA240 = m->flagA081 = m->flagA080 = m->flagA083 = 0;
    m->flagA08E = m->flagA088 = m->flagA08C = 0;
    for (int i = 0; i < 16; ++i)
        InitBitmap3ds(allMaps(m, i));
    m->hasreflect = 0;
    m->reflectflag9 = m->reflectflag17 = 0;
    m->reflectvalue1 = 100;
    m->reflectvalue2 = 1;
}

void ReleaseMaterial3ds(material3ds** mat) {
    if (!mat || !*mat)
        return;
    for (int i = 0; i < 16; ++i)
        std::free(allMaps(*mat, i)->procdata);
    std::free(*mat);
    *mat = nullptr;
}
