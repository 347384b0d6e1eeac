// Bitmap (.bmp) files decoded into plain 24-bit RGB image records.
#pragma once

#include <cstddef>
#include <cstdint>

// A decoded picture. `data` holds width * height * 3 bytes, R, G, B per pixel, rows tightly packed
// with the bottom row of the picture first, whatever row order the file used; `height` is always
// positive. The record and its pixel block come from malloc: free the block, then the record.
struct ImageRec {
    int32_t width;
    int32_t height;
    unsigned char* data;
};

// Null for a null name or a file that cannot be opened (no message); otherwise LoadDIBImage.
ImageRec* LoadBMP(const char* filename);

// Reads and decodes a bitmap file; failures show an "Error" message box and give null.
ImageRec* LoadDIBImage(const char* filename);

// Decodes a whole bitmap held in memory (with or without its 14-byte file header), reporting
// failures the way LoadDIBImage does.
ImageRec* DecodeDIBImage(const uint8_t* bytes, size_t size);

// Frees the pixel block, then the record; a null record does nothing.
void FreeImageRec(ImageRec* image);

// Decoded pictures larger than this many pixels are refused ("Out of memory."), so a small
// run-length file cannot ask for an arbitrarily large pixel block.
constexpr uint64_t MaxImagePixels = 1u << 24;
