// Scene database error list: pushing, clearing, printing and the code-to-text table.
#include "scene3ds/errlist3ds.h"

uint8_t ftkerr3ds = 0;
uint8_t ignoreftkerr3ds = 0;

namespace {

errrec3ds errList[ErrListSize3ds];

const char* const kMessages[] = {
    "NO_FTK_ERRORS: No errors are pending",
    "ERR_NO_MEM: Not enough memory to complete operation",
    "ERR_INVALID_ARG: The argument passed to the function is invalid.  Usually caused by a NULL "
    "pointer or an out of range numeric argument.",
    "ERR_INVALID_DATA: The structure passed as an argument to the function has invalid or out of "
    "range data in its fields.",
    "ERR_INVALID_CHUNK: An invalid chunk structure was encountered while reading the database. "
    "Usually caused by a corrupt database or file",
    "ERR_INVALID_DATABASE: The database passed as an argument has not be created yet.",
    "ERR_WRONG_DATABASE: The database passed as an argument is the wrong kind of database for this "
    "function.",
    "ERR_UNFOUND_CHUNK: The database is missing important file chunks needed to fill out the "
    "requested structure.  Usually caused by a corrupt database or file",
    "ERR_WRONG_OBJECT: The name passed to the functions exists, but is not the type of object "
    "asked for.  For example, asking for a mesh object with the GetCameraByName3ds function.",
    "ERR_NO_SUCH_FILE: The filename passed as an argument for reading does not exist",
    "ERR_INIT_FAILED: Failed to initialize structure passed as an argument",
    "ERR_OPENING_FILE: Could not open requested file",
    "ERR_CLOSING_FILE: Could not close requested file",
    "ERR_READING_FILE: Error occured while reading file",
    "ERR_CREATING_DATABASE: Error occured while creating database",
    "ERR_READING_DATABASE: Error occured while reading database",
    "ERR_WRITING_DATABASE: Error occured while writing database",
    "ERR_WRITING_FILE: Error occured while writing file",
    "ERR_STRING_TOO_LONG: String encountered in file, structure, or as an argument was longer "
    "than expected.  Possibly caused by an uninitialed pointer, corrupt file or database",
    "ERR_TOO_MANY_FILES: The toolkit has reached its maximum open file limit of 252 files.",
};

const char* const kOverflowMessage = "N_ERRORS: More errors were reported then could be recorded.";
const char* const kUnknownMessage = "Unknown error code was encountered";

} // namespace

const char* ErrCodeToString3ds(uint32_t code) {
    if (code < sizeof kMessages / sizeof kMessages[0])
        return kMessages[code];
    if (code == N_ERRORS)
        return kOverflowMessage;
    return kUnknownMessage;
}

void PushErrList3ds(uint32_t code) {
    if (code == NO_FTK_ERRORS)
        return;
    ftkerr3ds = 1;
    for (int i = 0; i < ErrListSize3ds - 2; ++i) {
        if (errList[i].id == NO_FTK_ERRORS) {
            errList[i].id = code;
            errList[i].desc = ErrCodeToString3ds(code);
            errList[i + 1].id = NO_FTK_ERRORS;
            return;
        }
    }
    errrec3ds& overflow = errList[ErrListOverflow3ds];
    if (overflow.id == NO_FTK_ERRORS) {
        overflow.id = code;
        overflow.desc = ErrCodeToString3ds(code);
    } else {
        overflow.id = N_ERRORS;
        overflow.desc = ErrCodeToString3ds(N_ERRORS);
    }
}

void ClearErrList3ds() {
    ftkerr3ds = 0;
    // The overflow record survives a clear, so the next overflow reads as N_ERRORS at once.
    for (int i = 0; i < ErrListOverflow3ds; ++i)
        errList[i].id = NO_FTK_ERRORS;
}

void DumpErrList3ds(FILE* out) {
    if (!out)
        return;
    for (int i = ErrListOverflow3ds - 1; i >= 0; --i) {
        if (errList[i].id != NO_FTK_ERRORS)
            std::fprintf(out, "%s\n", errList[i].desc);
    }
}

errrec3ds* ReturnErrorList3ds() {
    return errList;
}
