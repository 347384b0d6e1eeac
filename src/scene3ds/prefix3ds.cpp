// The data-prefix rule: how many body bytes of each tag come before its subchunks.
#include "scene3ds/prefix3ds_local.h"

#include "scene3ds/stream3ds_local.h"

prefixrule3ds PrefixRule3ds(chunktag3ds tag) {
    switch (tag) {
    case 0x1200:
    case 0x2100:
    case 0x2D2D:
    case 0x2D3D:
    case 0x3000:
    case 0x3D3D:
    case 0x3DAA:
    case 0x3DFF:
    case 0x4100:
    case 0x4D4D:
    case 0x8000:
    case 0x8001:
    case 0xA010:
    case 0xA020:
    case 0xA030:
    case 0xA040:
    case 0xA041:
    case 0xA042:
    case 0xA050:
    case 0xA052:
    case 0xA053:
    case 0xA084:
    case 0xA200:
    case 0xA204:
    case 0xA210:
    case 0xA220:
    case 0xA230:
    case 0xA33A:
    case 0xA33C:
    case 0xA33D:
    case 0xA33E:
    case 0xA340:
    case 0xA342:
    case 0xA344:
    case 0xA346:
    case 0xA348:
    case 0xA34A:
    case 0xA34C:
    case 0xAFFF:
    case 0xB000:
    case 0xB001:
    case 0xB002:
    case 0xB003:
    case 0xB004:
    case 0xB005:
    case 0xB006:
    case 0xB007:
    case 0xC23D:
        return {PrefixNone, 0, 0};
    case 0x0030:
    case 0x1420:
    case 0x1430:
    case 0xB030:
        return {PrefixFixed, 2, 0};
    case 0x0011:
        return {PrefixFixed, 3, 0};
    case 0x0002:
    case 0x0031:
    case 0x0100:
    case 0x1300:
    case 0x1400:
    case 0x1410:
    case 0x3D3E:
    case 0xB009:
    case 0xB015:
    case 0xD000:
        return {PrefixFixed, 4, 0};
    case 0xB008:
        return {PrefixFixed, 8, 0};
    case 0x4641:
        return {PrefixFixed, 10, 0};
    case 0x0010:
    case 0x1500:
    case 0x4600:
    case 0xA310:
    case 0xB013:
        return {PrefixFixed, 12, 0};
    case 0x7001:
        return {PrefixFixed, 14, 0};
    case 0x2200:
    case 0x2300:
    case 0x2302:
    case 0x3010:
    case 0x3020:
    case 0x3030:
    case 0x3040:
    case 0x3050:
    case 0x3060:
        return {PrefixFixed, 16, 0};
    case 0x4610:
        return {PrefixFixed, 20, 0};
    case 0xB014:
        return {PrefixFixed, 24, 0};
    case 0x3070:
        return {PrefixFixed, 28, 0};
    case 0x4700:
        return {PrefixFixed, 32, 0};
    case 0x4160:
        return {PrefixFixed, 48, 0};
    case 0x3080:
    case 0x4000:
    case 0xB011:
        return {PrefixString, 0, 11};
    case 0xB010:
        return {PrefixStringPlus, 6, 11};
    case 0x1100:
    case 0x4181:
    case 0xA300:
        return {PrefixString, 0, 13};
    case 0xA000:
        return {PrefixString, 0, 17};
    case 0xB00A:
        return {PrefixValueStringValue, 0, 513};
    case 0x4120:
        return {PrefixCountedFaces, 0, 0};
    default:
        return {PrefixLeaf, 0, 0};
    }
}

bool SkipPrefix3ds(chunktag3ds tag) {
    using namespace stream3ds;
    prefixrule3ds rule = PrefixRule3ds(tag);
    switch (rule.kind) {
    case PrefixLeaf:
    case PrefixNone:
        return true;
    case PrefixFixed:
        // A prefix longer than the body means the chunk is damaged; it reads as a short read.
        if (rule.fixed > remaining())
            return false;
        return seek(tell() + rule.fixed);
    case PrefixString:
        return skipString(rule.strlimit);
    case PrefixStringPlus:
        if (!skipString(rule.strlimit) || rule.fixed > remaining())
            return false;
        return seek(tell() + rule.fixed);
    case PrefixValueStringValue: {
        uint16_t value;
        if (!readU16(value) || !skipString(rule.strlimit) || remaining() < 4)
            return false;
        return seek(tell() + 4);
    }
    case PrefixCountedFaces: {
        uint16_t count;
        if (!readU16(count))
            return false;
        uint64_t faces = 8ull * count;
        if (faces > remaining())
            return false;
        return seek(tell() + faces);
    }
    }
    return false;
}
