// Open-file table: opening, sharing, detaching to a temporary and closing scene files.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "scene3ds/chunkdata3ds_local.h"
#include "scene3ds/errlist3ds.h"
#include "scene3ds/filetable3ds_local.h"
#include "scene3ds/stream3ds_local.h"

using namespace stream3ds;

namespace {

// The open-file table (created zeroed on first use) and its high-water count.
file3ds** fileTable = nullptr;
uint8_t fileCount = 0;

bool ensureTable() {
    // An array of file pointers, so the element size is that of a pointer.
    if (!fileTable)
        fileTable = static_cast<file3ds**>(
            std::calloc(MaxOpenFiles3ds, sizeof *fileTable)); // NOLINT(bugprone-sizeof-expression)
    return fileTable != nullptr;
}

file3ds* findOpen(const char* name) {
    for (int i = 0; fileTable && i < fileCount; ++i) {
        file3ds* f = fileTable[i];
        if (f && f->filename && std::strcmp(f->filename, name) == 0)
            return f;
    }
    return nullptr;
}

void registerFile(file3ds* file) {
    if (!ensureTable()) {
        PushErrList3ds(ERR_NO_MEM);
        return;
    }
    int slot = 0;
    while (slot < fileCount && fileTable[slot])
        ++slot;
    if (slot >= MaxOpenFiles3ds) {
        PushErrList3ds(ERR_TOO_MANY_FILES);
        return;
    }
    fileTable[slot] = file;
    file->index = static_cast<uint8_t>(slot);
    if (slot == fileCount)
        ++fileCount;
}

void unregisterFile(file3ds* file) {
    if (fileTable && file->index < fileCount && fileTable[file->index] == file)
        fileTable[file->index] = nullptr;
    file->index = NoFileIndex3ds;
    if (currentFile() == file)
        makeCurrent(nullptr);
}

void installBuffer(file3ds* file) {
    if (StreamBufferSize3ds < 1)
        return;
    if (!file->buffer) {
        file->buffer = static_cast<uint8_t*>(std::malloc(StreamBufferSize3ds));
        file->buffersize = file->buffer ? StreamBufferSize3ds : 0;
    }
    if (file->buffer)
        setvbuf(file->stream, reinterpret_cast<char*>(file->buffer), _IOFBF,
                static_cast<size_t>(file->buffersize));
}

void freeRecord(file3ds* file) {
    std::free(file->filename);
    std::free(file->buffer);
    std::free(file);
}

// Directory part of a name: everything up to and including the last '\\', '/' or ':'.
std::string directoryOf(const char* name) {
    const char* cut = nullptr;
    for (const char* p = name; *p; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':')
            cut = p + 1;
    }
    return cut ? std::string(name, cut) : std::string();
}

// Moves a file open for reading aside to a fresh temporary name in its own directory, so that
// its name can be opened for writing while the old content stays readable.
bool detachToTemporary(file3ds* file) {
    if (currentFile() == file)
        makeCurrent(nullptr);
    off_t at = ftello(file->stream);
    std::fclose(file->stream);
    file->stream = nullptr;
    // mkstemp reserves a unique name beside the file; rename then replaces that placeholder.
    std::string tmpl = directoryOf(file->filename) + "3dsXXXXXX";
    std::string buf = tmpl;
    int fd = mkstemp(&buf[0]);
    bool ok = fd >= 0;
    if (ok)
        close(fd);
    if (ok && std::rename(file->filename, buf.c_str()) != 0) {
        std::remove(buf.c_str());
        ok = false;
    }
    if (!ok) {
        PushErrList3ds(ERR_OPENING_FILE);
        file->stream = std::fopen(file->filename, "rb");
        if (file->stream) {
            installBuffer(file);
            fseeko(file->stream, at < 0 ? 0 : at, SEEK_SET);
        }
        return false;
    }
    file->istemporary = 1;
    char* newName = StrDup3ds(buf.c_str());
    if (newName) {
        std::free(file->filename);
        file->filename = newName;
    }
    file->stream = std::fopen(buf.c_str(), "rb");
    if (!file->stream) {
        PushErrList3ds(ERR_OPENING_FILE);
        return false;
    }
    installBuffer(file);
    fseeko(file->stream, at < 0 ? 0 : at, SEEK_SET);
    return true;
}

// Closes a file; false when the stream failed to close (nothing is reported here).
bool closeFile(file3ds* file) {
    bool closed = true;
    if (file->stream)
        closed = std::fclose(file->stream) == 0;
    file->stream = nullptr;
    if (file->istemporary && file->filename)
        std::remove(file->filename);
    unregisterFile(file);
    freeRecord(file);
    return closed;
}

} // namespace

file3ds* OpenFile3ds(const char* filename, const char* attrib) {
    if (!filename || !attrib) {
        PushErrList3ds(ERR_INVALID_ARG);
        return nullptr;
    }
    file3ds* existing = findOpen(filename);
    auto* file = static_cast<file3ds*>(std::calloc(1, sizeof(file3ds)));
    if (!file) {
        PushErrList3ds(ERR_NO_MEM);
        return nullptr;
    }
    file->state = StateNotKnown;
    file->index = NoFileIndex3ds;
    if (ftkerr3ds) {
        PushErrList3ds(ERR_INIT_FAILED);
        freeRecord(file);
        return nullptr;
    }
    registerFile(file);
    file->filename = StrDup3ds(filename);
    if (!file->filename) {
        PushErrList3ds(ERR_NO_MEM);
        unregisterFile(file);
        freeRecord(file);
        return nullptr;
    }

    size_t modeLen = strnlen(attrib, 31);
    if (modeLen > 30) {
        PushErrList3ds(ERR_STRING_TOO_LONG);
        modeLen = 0;
    }
    for (size_t i = 0; i < modeLen && file->state == StateNotKnown; ++i) {
        if (attrib[i] == 'r')
            file->state = ReadFromFile;
        else if (attrib[i] == 'w')
            file->state = WriteToFile;
    }
    if (file->state == StateNotKnown) {
        PushErrList3ds(ERR_INIT_FAILED);
        // The half-made record must not keep a slot of the table.
        unregisterFile(file);
        freeRecord(file);
        return nullptr;
    }

    if (existing) {
        if (existing->state == file->state) {
            unregisterFile(file);
            freeRecord(file);
            return existing;
        }
        if (existing->state == ReadFromFile || existing->state == ReadWriteFile)
            detachToTemporary(existing);
        else
            CloseFile3ds(existing);
    }

    file->stream = std::fopen(filename, file->state == WriteToFile ? "wb" : "rb");
    if (!file->stream) {
        PushErrList3ds(ERR_OPENING_FILE);
        // A file that failed to open must not hold on to a slot of the table.
        unregisterFile(file);
        freeRecord(file);
        return nullptr;
    }
    installBuffer(file);
    return file;
}

void CloseFile3ds(file3ds* file) {
    if (!file)
        return;
    if (!closeFile(file))
        PushErrList3ds(ERR_CLOSING_FILE);
}

void CloseAllFiles3ds() {
    for (int i = 0; fileTable && i < fileCount; ++i) {
        file3ds* f = fileTable[i];
        if (!f)
            continue;
        if (!closeFile(f)) {
            PushErrList3ds(ERR_CLOSING_FILE);
            if (!ignoreftkerr3ds)
                break;
        }
    }
    std::free(fileTable);
    fileTable = nullptr;
    fileCount = 0;
    makeCurrent(nullptr);
}

file3ds* FileAt3ds(uint8_t slot) {
    if (!fileTable || slot >= fileCount || slot >= MaxOpenFiles3ds)
        return nullptr;
    return fileTable[slot];
}

bool IsValidFileIndex3ds(uint32_t index) {
    return index < NoFileIndex3ds && index < fileCount && fileTable && fileTable[index];
}
