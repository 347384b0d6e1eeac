// SGI image decoding: 512-byte big-endian header, channel-planar scanlines, bottom row first.
#include "font/sgiimage.h"

#include "font/bytereader_local.h"

namespace {

constexpr uint16_t kMagic = 474;
constexpr size_t kHeaderSize = 512;

struct Header {
    int storage, bpc, width, height, channels;
};

// One channel row of `width` samples (high byte kept for 16-bit samples).
bool readVerbatimRow(const uint8_t* data, size_t size, size_t offset, const Header& h,
                     uint8_t* row) {
    size_t need = size_t(h.width) * h.bpc;
    if (offset > size || need > size - offset)
        return false;
    for (int x = 0; x < h.width; ++x)
        row[x] = data[offset + size_t(x) * h.bpc];
    return true;
}

bool readRleRow(const uint8_t* data, size_t size, size_t offset, size_t length, const Header& h,
                uint8_t* row) {
    if (offset > size || length > size - offset)
        return false;
    fontfile::ByteReader in(data + offset, length);
    auto sample = [&]() -> uint32_t { return h.bpc == 2 ? in.u16be() : in.u8(); };
    int x = 0;
    for (;;) {
        uint32_t code = sample();
        if (!in.ok())
            return false;
        int count = int(code & 0x7f);
        if (count == 0)
            break;
        if (count > h.width - x)
            return false;
        if (code & 0x80) {
            for (int i = 0; i < count; ++i)
                row[x++] = uint8_t(h.bpc == 2 ? sample() >> 8 : sample());
        } else {
            uint32_t v = sample();
            for (int i = 0; i < count; ++i)
                row[x++] = uint8_t(h.bpc == 2 ? v >> 8 : v);
        }
        if (!in.ok())
            return false;
    }
    return x == h.width;
}

void expandToRgba(const std::vector<uint8_t>& planes, const Header& h, SgiImage& image) {
    size_t pixels = size_t(h.width) * h.height;
    image.rgba.assign(pixels * 4, 0);
    for (size_t p = 0; p < pixels; ++p) {
        uint8_t c[4];
        for (int k = 0; k < h.channels; ++k)
            c[k] = planes[size_t(k) * pixels + p];
        uint8_t* out = &image.rgba[p * 4];
        switch (h.channels) {
        case 1:
            out[0] = out[1] = out[2] = c[0];
            out[3] = 255;
            break;
        case 2:
            out[0] = out[1] = out[2] = c[0];
            out[3] = c[1];
            break;
        case 3:
            out[0] = c[0], out[1] = c[1], out[2] = c[2];
            out[3] = 255;
            break;
        default:
            out[0] = c[0], out[1] = c[1], out[2] = c[2], out[3] = c[3];
            break;
        }
    }
}

} // namespace

bool sgiDecode(const uint8_t* data, size_t size, SgiImage& image) {
    image = SgiImage();
    fontfile::ByteReader in(data, size);
    if (in.u16be() != kMagic)
        return false;
    Header h;
    h.storage = in.u8();
    h.bpc = in.u8();
    int dimension = in.u16be();
    h.width = in.u16be();
    h.height = in.u16be();
    h.channels = in.u16be();
    if (!in.ok() || size < kHeaderSize)
        return false;
    if (h.storage > 1 || (h.bpc != 1 && h.bpc != 2) || dimension < 1 || dimension > 3)
        return false;
    if (dimension < 3)
        h.channels = 1;
    if (dimension < 2)
        h.height = 1;
    if (h.width < 1 || h.height < 1 || h.channels < 1 || h.channels > 4 || h.width > SGI_MAX_SIDE ||
        h.height > SGI_MAX_SIDE)
        return false;

    size_t rowCount = size_t(h.height) * h.channels;
    std::vector<uint8_t> planes(rowCount * h.width);
    if (h.storage == 0) {
        size_t rowBytes = size_t(h.width) * h.bpc;
        for (size_t r = 0; r < rowCount; ++r)
            if (!readVerbatimRow(data, size, kHeaderSize + r * rowBytes, h, &planes[r * h.width]))
                return false;
    } else {
        fontfile::ByteReader tables(data + kHeaderSize, size - kHeaderSize);
        std::vector<uint32_t> starts(rowCount), lengths(rowCount);
        for (auto& s : starts)
            s = tables.u32be();
        for (auto& l : lengths)
            l = tables.u32be();
        if (!tables.ok())
            return false;
        for (size_t r = 0; r < rowCount; ++r)
            if (!readRleRow(data, size, starts[r], lengths[r], h, &planes[r * h.width]))
                return false;
    }
    image.width = h.width;
    image.height = h.height;
    image.channels = h.channels;
    expandToRgba(planes, h, image);
    return true;
}
