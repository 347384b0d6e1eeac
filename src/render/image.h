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
// Accepted: 12- and 40-byte headers, with or without the file header; 1, 4, 8 bits with a colour
// table, 4- and 8-bit run-length compression, 16 and 32 bits (default 5-5-5 / 8-8-8 layouts or
// the file's bit-field masks, each channel scaled to 0..255), 24 bits; rows bottom-up or top-down.
// Defined results for damaged files: palette indices past the table are black, pixels a
// run-length stream skips are black. Refused ("Image file conversion error."): other depths or
// compressions, width <= 0 or height 0, a colour table, masks or pixel data running past the end
// of the file, run-length codes that run past a row, the last row or the data, or that lack the
// end-of-bitmap code. Headers that are cut short or of another size: "Unknown DIB file format.".
// Pictures over MaxImagePixels: "Out of memory.". A file that cannot be read: "Failed to open DIB
// file <name>.\n".
ImageRec* LoadDIBImage(const char* filename);

// Decodes a whole bitmap held in memory (with or without its 14-byte file header), reporting
// failures the way LoadDIBImage does.
ImageRec* DecodeDIBImage(const uint8_t* bytes, size_t size);

// Frees the pixel block, then the record; a null record does nothing.
void FreeImageRec(ImageRec* image);

// Decoded pictures larger than this many pixels are refused ("Out of memory."), so a small
// run-length file cannot ask for an arbitrarily large pixel block.
constexpr uint64_t MaxImagePixels = 1u << 24;
