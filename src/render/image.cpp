// LoadBMP and LoadDIBImage: bitmap files read whole and decoded to RGB records, failures shown
// in "Error" message boxes.
#include "render/image.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "render/bmpformat_local.h"

namespace {

void ShowError(const char* text) {
    MessageBox(text, "Error", MB_OK);
}

// Reads a whole stream into a malloc'd block; false on a read error or lack of memory.
bool ReadAll(FILE* file, uint8_t** bytes, size_t* size, bool* outOfMemory) {
    size_t capacity = 1 << 16;
    size_t used = 0;
    uint8_t* block = static_cast<uint8_t*>(std::malloc(capacity));
    if (!block) {
        *outOfMemory = true;
        return false;
    }
    for (;;) {
        if (used == capacity) {
            uint8_t* bigger = static_cast<uint8_t*>(std::realloc(block, capacity * 2));
            if (!bigger) {
                std::free(block);
                *outOfMemory = true;
                return false;
            }
            block = bigger;
            capacity *= 2;
        }
        size_t got = std::fread(block + used, 1, capacity - used, file);
        used += got;
        if (got == 0) {
            if (std::ferror(file)) {
                std::free(block);
                return false;
            }
            break;
        }
    }
    *bytes = block;
    *size = used;
    return true;
}

} // namespace

ImageRec* DecodeDIBImage(const uint8_t* bytes, size_t size) {
    BmpInfo info;
    BmpStatus status = ParseBmpHeader(bytes, size, &info);
    unsigned char* pixels = nullptr;
    if (status == BMP_OK) {
        size_t count = static_cast<size_t>(info.width) * info.rows * 3;
        pixels = static_cast<unsigned char*>(std::calloc(count, 1));
        if (!pixels)
            status = BMP_OUT_OF_MEMORY;
    }
    if (status == BMP_OK) {
        bool rle = info.compression == BMP_RLE8 || info.compression == BMP_RLE4;
        status = rle ? DecodeBmpRle(bytes, info, pixels) : DecodeBmpPixels(bytes, info, pixels);
    }
    ImageRec* image = nullptr;
    if (status == BMP_OK) {
        image = static_cast<ImageRec*>(std::malloc(sizeof(ImageRec)));
        if (!image)
            status = BMP_OUT_OF_MEMORY;
    }
    if (status != BMP_OK) {
        std::free(pixels);
        switch (status) {
        case BMP_UNKNOWN_FORMAT:
            ShowError("Unknown DIB file format.");
            break;
        case BMP_CONVERSION_ERROR:
            ShowError("Image file conversion error.");
            break;
        default:
            ShowError("Out of memory.");
            break;
        }
        return nullptr;
    }
    image->width = info.width;
    image->height = static_cast<int32_t>(info.rows);
    image->data = pixels;
    return image;
}

ImageRec* LoadDIBImage(const char* filename) {
    char text[512];
    FILE* file = filename ? std::fopen(filename, "rb") : nullptr;
    uint8_t* bytes = nullptr;
    size_t size = 0;
    bool outOfMemory = false;
    bool read = file && ReadAll(file, &bytes, &size, &outOfMemory);
    if (file)
        std::fclose(file);
    if (!read) {
        if (outOfMemory) {
            ShowError("Out of memory.");
        } else {
            std::snprintf(text, sizeof text, "Failed to open DIB file %s.\n",
                          filename ? filename : "");
            ShowError(text);
        }
        return nullptr;
    }
    ImageRec* image = DecodeDIBImage(bytes, size);
    std::free(bytes);
    return image;
}

ImageRec* LoadBMP(const char* filename) {
    if (!filename)
        return nullptr;
    FILE* file = std::fopen(filename, "r");
    if (!file)
        return nullptr;
    // A name that opens but cannot be read (a folder) counts as missing, so it stays silent too.
    bool unreadable = std::fgetc(file) == EOF && std::ferror(file);
    std::fclose(file);
    if (unreadable)
        return nullptr;
    return LoadDIBImage(filename);
}

void FreeImageRec(ImageRec* image) {
    if (!image)
        return;
    std::free(image->data);
    std::free(image);
}
