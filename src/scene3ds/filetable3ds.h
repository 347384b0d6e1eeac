// Scene files and the open-file table: opening, sharing a name, closing (filetable3ds.cpp).
#pragma once

#include <cstdint>
#include <cstdio>

enum filestate3ds { StateNotKnown = 0, ReadFromFile = 1, WriteToFile = 2, ReadWriteFile = 3 };

struct file3ds {
    FILE* stream;
    char* filename;
    filestate3ds state;
    uint8_t index; // open-file table slot; 255 = not registered
    uint8_t* buffer;
    int32_t buffersize;
    uint8_t istemporary;
};

constexpr int MaxOpenFiles3ds = 252;
constexpr uint8_t NoFileIndex3ds = 255;
// Size of the module-owned buffer given to every stream.
constexpr int32_t StreamBufferSize3ds = 8192;

file3ds* OpenFile3ds(const char* filename, const char* attrib);
void CloseFile3ds(file3ds* file);
void CloseAllFiles3ds();
bool IsValidFileIndex3ds(uint32_t index);
