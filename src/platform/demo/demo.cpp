// Demo recording and playback between the game and a platform implementation.
#include "platform/demo/demo.h"

#include "platform/demo/demo_file.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace demo {

namespace {

enum Mode { OFF, RECORD, PLAY };

struct State {
    Mode mode = OFF;
    bool unpaced = false;
    std::string path; // the demo being written or played, for the messages
    FILE* out = nullptr;
    bool writeFailed = false;
    uint32_t written = 0; // checksum of the bytes written so far
    std::vector<unsigned char> buffer;
    std::vector<Record> records;
    size_t next = 0;
    bool stopped = false;   // the end was reached or a close was asked for
    bool outOfStep = false; // the game asked for another record than the demo holds
    size_t outOfStepAt = 0;
    int frames = 0;
    std::chrono::steady_clock::time_point started;
    uint32_t lastTick = 0;
    POINT lastCursor = {320, 240};
    void (*hook)(int) = nullptr;
};

State& state() {
    static State s;
    return s;
}

void flushBuffer() {
    State& s = state();
    if (s.out && !s.buffer.empty()) {
        s.written = checksum(s.buffer.data(), s.buffer.size(), s.written);
        if (std::fwrite(s.buffer.data(), 1, s.buffer.size(), s.out) != s.buffer.size()) {
            s.writeFailed = true;
        }
        s.buffer.clear();
    }
}

void write(const Record& r) {
    State& s = state();
    encode(r, s.buffer);
    if (s.buffer.size() >= 65536) {
        flushBuffer();
    }
}

// The next recorded answer when it is of the wanted type; null (and the replay stops) otherwise.
const Record* take(RecordType type, uint32_t key = 0) {
    State& s = state();
    if (s.stopped || s.next >= s.records.size()) {
        s.stopped = true;
        return nullptr;
    }
    const Record& r = s.records[s.next];
    if (r.type == REC_END) {
        s.stopped = true; // the session ends here, as recorded
        return nullptr;
    }
    if (r.type != type || (type == REC_KEY && r.a != key)) {
        s.outOfStep = true;
        s.outOfStepAt = s.next;
        s.stopped = true;
        return nullptr;
    }
    ++s.next;
    return &r;
}

} // namespace

bool startRecording(const char* path, std::string& error) {
    reset();
    State& s = state();
    s.out = std::fopen(path, "wb");
    if (!s.out) {
        error = std::string(path) + ": cannot write the demo";
        return false;
    }
    encodeHeader(s.buffer);
    s.path = path;
    s.mode = RECORD;
    s.started = std::chrono::steady_clock::now();
    return true;
}

bool startPlayback(const char* path, bool unpaced, std::string& error) {
    reset();
    State& s = state();
    if (!load(path, s.records, error)) {
        s.records.clear();
        return false;
    }
    s.path = path;
    s.mode = PLAY;
    s.unpaced = unpaced;
    s.started = std::chrono::steady_clock::now();
    return true;
}

bool finish(std::string& error) {
    State& s = state();
    bool ok = true;
    if (s.mode == RECORD) {
        // The checksum runs on from the bytes already flushed through those still buffered.
        encodeEnd(static_cast<uint32_t>(s.frames), s.written, s.buffer);
        flushBuffer();
        if (std::fclose(s.out) != 0 || s.writeFailed) {
            error = s.path + ": the demo could not be written completely";
            ok = false;
        }
        s.out = nullptr;
    } else if (s.mode == PLAY && s.outOfStep) {
        char line[160];
        std::snprintf(line, sizeof line,
                      ": the demo does not fit this game at record %zu (made by another build?)",
                      s.outOfStepAt);
        error = s.path + line;
        ok = false;
    }
    s.mode = OFF;
    return ok;
}

bool recording() {
    return state().mode == RECORD;
}

bool playing() {
    return state().mode == PLAY;
}

bool unpaced() {
    return state().mode == PLAY && state().unpaced;
}

int frames() {
    return state().frames;
}

double seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - state().started)
        .count();
}

void setFrameHook(void (*hook)(int frame)) {
    state().hook = hook;
}

uint32_t tick(uint32_t live) {
    State& s = state();
    if (s.mode == RECORD) {
        write(Record{REC_TICK, live, 0, 0, 0});
    } else if (s.mode == PLAY) {
        const Record* r = take(REC_TICK);
        return r ? r->a : s.lastTick;
    }
    return live;
}

short key(int virtualKey, short live) {
    State& s = state();
    if (s.mode == RECORD) {
        write(Record{REC_KEY, static_cast<uint32_t>(virtualKey) & 0xFFFF,
                     static_cast<uint16_t>(live), 0, 0});
    } else if (s.mode == PLAY) {
        const Record* r = take(REC_KEY, static_cast<uint32_t>(virtualKey) & 0xFFFF);
        return r ? static_cast<short>(static_cast<uint16_t>(r->b)) : 0;
    }
    return live;
}

bool cursor(POINT* point, bool liveResult) {
    State& s = state();
    if (s.mode == RECORD) {
        write(Record{REC_CURSOR, liveResult ? 1u : 0u, 0, point ? point->x : 0,
                     point ? point->y : 0});
    } else if (s.mode == PLAY) {
        const Record* r = take(REC_CURSOR);
        if (r) {
            s.lastCursor = POINT{static_cast<long>(r->x), static_cast<long>(r->y)};
        }
        if (point) {
            *point = s.lastCursor; // after the end: no movement
        }
        return r ? r->a != 0 : point != nullptr;
    }
    return liveResult;
}

bool peek(MSG* msg, bool liveTaken) {
    State& s = state();
    if (s.mode == RECORD) {
        write(Record{REC_PEEK, liveTaken ? 1u : 0u, liveTaken && msg ? msg->message : 0,
                     liveTaken && msg ? static_cast<int64_t>(msg->wParam) : 0,
                     liveTaken && msg ? static_cast<int64_t>(msg->lParam) : 0});
    } else if (s.mode == PLAY) {
        const Record* r = take(REC_PEEK);
        if (!r) {
            if (msg) {
                *msg = MSG{WM_QUIT, 0, 0}; // the replay is over
            }
            return msg != nullptr;
        }
        if (r->a && msg) {
            *msg = MSG{r->b, static_cast<WPARAM>(r->x), static_cast<LPARAM>(r->y)};
        }
        return r->a != 0;
    }
    return liveTaken;
}

void frameDone() {
    State& s = state();
    if (s.mode == RECORD) {
        write(Record{REC_FRAME, 0, 0, 0, 0});
    } else if (s.mode == PLAY) {
        take(REC_FRAME);
    }
    ++s.frames;
    if (s.hook) {
        s.hook(s.frames);
    }
}

void interrupt() {
    state().stopped = true;
}

bool peekMessage(MSG* msg, bool (*livePeek)(MSG*)) {
    if (!playing()) {
        return peek(msg, livePeek(msg));
    }
    // The window still takes its events, but the game gets the recorded ones; only a real
    // request to close (window button, termination signal) is heard.
    MSG live = {0, 0, 0};
    while (livePeek(&live)) {
        if (live.message == WM_CLOSE) {
            interrupt();
        }
    }
    return peek(msg, false);
}

void reset() {
    State& s = state();
    if (s.out) {
        std::fclose(s.out);
    }
    auto hook = s.hook;
    s = State();
    s.hook = hook;
}

} // namespace demo
