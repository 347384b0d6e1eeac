// The in-process game session, the text capture and the disposable data folder.
#include "support/gamesession.h"

#include "font/glprint.h"
#include "main/game.h"
#include "main/gameview.h"
#include "main/hoopwind.h"
#include "main/startvalues.h"
#include "main/world.h"
#include "platform/headless.h"
#include "scene3ds/errlist3ds.h"
#include "team/team.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace hwtest {

namespace fs = std::filesystem;

namespace {

std::vector<Printed>& captured() {
    static std::vector<Printed> texts;
    return texts;
}

void capture(const char* text) {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    captured().push_back(Printed{text ? text : "", m[12], m[13], m[14]});
}

} // namespace

std::string dataDir() {
    const char* env = std::getenv("HW_DATA_DIR");
    if (env && *env) {
        return env;
    }
#ifdef HW_DATA_DIR_DEFAULT
    return HW_DATA_DIR_DEFAULT;
#else
    return "data";
#endif
}

std::vector<std::string> dataFiles(const std::string& dir) {
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec)) {
            files.push_back(fs::relative(it->path(), dir, ec).generic_string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

DataCopy::DataCopy(const std::string& from) {
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec) {
        return;
    }
    std::string pattern = (base / "hoopwind-data.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return;
    }
    fs::copy(from, pattern, fs::copy_options::recursive, ec);
    if (ec) {
        fs::remove_all(pattern, ec);
        return;
    }
    dir_ = pattern;
}

DataCopy::~DataCopy() {
    if (!dir_.empty()) {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
}

GameSession::GameSession(const std::string& dir) {
    headless::reset();
    headless::setCursor(WIDTH_CENTER, HEIGHT_CENTER); // a resting mouse turns nothing
    setenv("SDL_AUDIODRIVER", "dummy", 0);            // no sound card on a test machine
    // The scene library's failure flag is sticky; one test's missing file must not empty the
    // next test's models.
    ClearErrList3ds();
    ResetGameGlobals();
    captured().clear();
    char cwd[4096];
    previousDir_ = getcwd(cwd, sizeof cwd) ? cwd : ".";
    if (chdir(dir.c_str()) != 0) {
        return;
    }
    windowMade_ = CreateGLWindow(WINDOW_CLASS_NAME, SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, false);
    glPrintSetObserver(&capture);
}

GameSession::~GameSession() {
    glPrintSetObserver(nullptr);
    shutdown();
    ResetGameGlobals();
    if (windowMade_) {
        KillGLWindow();
    }
    headless::reset();
    ClearErrList3ds();
    if (chdir(previousDir_.c_str()) != 0) {
        // Nothing sound to do: the next test enters its own folder.
    }
}

void GameSession::start(uint32_t ticks) {
    headless::setTickCount(ticks);
    Game_Init();
    built_ = true;
}

void GameSession::shutdown() {
    if (built_) {
        Game_Shutdown();
        built_ = false;
    }
}

void GameSession::frame() {
    captured().clear();
    Game_Main();
    SwapBuffers(hdc);
    if (afterFrame) {
        afterFrame();
    }
}

void GameSession::frames(int count) {
    for (int i = 0; i < count; ++i) {
        frame();
    }
}

void GameSession::tap(int key) {
    headless::setKey(key, true);
    frame();
    headless::setKey(key, false);
}

void GameSession::leftClick() {
    WndProc(hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(WIDTH_CENTER, HEIGHT_CENTER));
}

void GameSession::rightClick() {
    WndProc(hwnd, WM_RBUTTONDOWN, 0, MAKELPARAM(WIDTH_CENTER, HEIGHT_CENTER));
}

bool GameSession::quitPosted() {
    MSG msg = {0, 0, 0};
    bool quit = false;
    while (PeekMessage(&msg)) {
        quit = quit || msg.message == WM_QUIT;
    }
    return quit;
}

const std::vector<Printed>& GameSession::printed() const {
    return captured();
}

bool GameSession::printed(const std::string& text) const {
    return where(text) != nullptr;
}

std::string GameSession::printedStartingWith(const std::string& prefix) const {
    for (const Printed& p : captured()) {
        if (p.text.compare(0, prefix.size(), prefix) == 0) {
            return p.text;
        }
    }
    return "";
}

const Printed* GameSession::where(const std::string& text) const {
    for (const Printed& p : captured()) {
        if (p.text == text) {
            return &p;
        }
    }
    return nullptr;
}

void logicFrame() {
    ApplyPlayKeys();
    ApplyMouseLook();
    hoopwind->checkCollisions();
    hoopwind->stepAllObjects();
}

Player* human() {
    Team* side = worldTeam(view);
    return side != nullptr ? side->activePlayer() : nullptr;
}

bool worldPositionsFinite() {
    if (hoopwind == nullptr) {
        return true;
    }
    for (GameObject* o = hoopwind->head; o != nullptr; o = o->next) {
        if (!std::isfinite(o->xpos) || !std::isfinite(o->ypos) || !std::isfinite(o->zpos)) {
            return false;
        }
    }
    return true;
}

} // namespace hwtest
