// Scene database error list: module-wide error codes, their texts, and the two error switches.
#pragma once

#include <cstdint>
#include <cstdio>

enum error3ds : uint32_t {
    NO_FTK_ERRORS = 0,
    ERR_NO_MEM = 1,
    ERR_INVALID_ARG = 2,
    ERR_INVALID_DATA = 3,
    ERR_INVALID_CHUNK = 4,
    ERR_INVALID_DATABASE = 5,
    ERR_WRONG_DATABASE = 6,
    ERR_UNFOUND_CHUNK = 7,
    ERR_WRONG_OBJECT = 8,
    ERR_NO_SUCH_FILE = 9,
    ERR_INIT_FAILED = 10,
    ERR_OPENING_FILE = 11,
    ERR_CLOSING_FILE = 12,
    ERR_READING_FILE = 13,
    ERR_CREATING_DATABASE = 14,
    ERR_READING_DATABASE = 15,
    ERR_WRITING_DATABASE = 16,
    ERR_WRITING_FILE = 17,
    ERR_STRING_TOO_LONG = 18,
    ERR_TOO_MANY_FILES = 19,
    N_ERRORS = 22
};

// One record of the error list; code 0 marks an empty record.
struct errrec3ds {
    uint32_t id;
    const char* desc;
};

// Records 0..18 take errors in order, 19 is the end mark after 18, 20 is the overflow record.
constexpr int ErrListSize3ds = 21;
constexpr int ErrListOverflow3ds = 20;

// 1 while an error has been pushed since the last clear.
extern uint8_t ftkerr3ds;
// Set by the caller: 1 makes operations carry on after reporting a failure.
extern uint8_t ignoreftkerr3ds;

void PushErrList3ds(uint32_t code);
const char* ErrCodeToString3ds(uint32_t code);
void ClearErrList3ds();
void DumpErrList3ds(FILE* out);
// The records themselves, for callers that inspect (or reset) them.
errrec3ds* ReturnErrorList3ds();
