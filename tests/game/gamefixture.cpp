// The in-process game fixture: window, data folder, captured texts, frames and clicks.
#include "game/gamefixture.h"

#include "main/game.h"
#include "main/gameview.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "shared/globals.h"
#include "team/team.h"

#include "font/glprint.h"

#include <GL/gl.h>

#include <cstdlib>
#include <unistd.h>

namespace gametest {

namespace {

std::vector<std::string>& store() {
    static std::vector<std::string> s;
    return s;
}

std::vector<Printed>& placed() {
    static std::vector<Printed> s;
    return s;
}

void capture(const char* text) {
    store().emplace_back(text ? text : "");
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    placed().push_back(Printed{store().back(), m[12], m[13], m[14]});
}

} // namespace

std::string dataDir() {
    const char* env = std::getenv("HW_DATA_DIR");
    if (env && *env) {
        return env;
    }
    return HW_DATA_DIR_DEFAULT;
}

const std::vector<std::string>& texts() {
    return store();
}

void clearTexts() {
    store().clear();
    placed().clear();
}

const Printed* where(const std::string& text) {
    for (const Printed& p : placed()) {
        if (p.text == text) {
            return &p;
        }
    }
    return nullptr;
}

bool printed(const std::string& text) {
    for (const std::string& t : store()) {
        if (t == text) {
            return true;
        }
    }
    return false;
}

std::string printedStartingWith(const std::string& prefix) {
    for (const std::string& t : store()) {
        if (t.compare(0, prefix.size(), prefix) == 0) {
            return t;
        }
    }
    return "";
}

void restoreStartValues() {
    view = 0;
    PLAYER_TEAM_ID = 0;
    USE_LIGHTS = false;
    dispPos = false;
    resetView();
    distBehindPlayer = 33.3f;
    xoffset = 0.0f;
    yoffset = -2.34f;
    zoffset = -45.0f;
}

Player* human() {
    return team[view]->activePlayer();
}

void GameTest::SetUp() {
    headless::reset();
    headless::setCursor(WIDTH_CENTER, HEIGHT_CENTER); // a resting mouse turns nothing
    // No sound card in the test machine; music tests choose the disk driver themselves.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    char cwd[4096];
    previousDir_ = getcwd(cwd, sizeof cwd) ? cwd : ".";
    ASSERT_EQ(chdir(dataDir().c_str()), 0) << "data folder " << dataDir();
    ASSERT_TRUE(CreateGLWindow(WINDOW_CLASS_NAME, SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, false));
    windowMade_ = true;
    restoreStartValues();
    clearTexts();
    glPrintSetObserver(&capture);
}

void GameTest::TearDown() {
    glPrintSetObserver(nullptr);
    if (gameBuilt_) {
        Game_Shutdown();
    }
    if (windowMade_) {
        KillGLWindow();
    }
    headless::reset();
    if (!previousDir_.empty()) {
        EXPECT_EQ(chdir(previousDir_.c_str()), 0);
    }
}

void GameTest::startGame(uint32_t ticks) {
    headless::setTickCount(ticks);
    Game_Init();
    gameBuilt_ = true;
}

void GameTest::frame() {
    clearTexts();
    Game_Main();
    SwapBuffers(hdc);
}

void GameTest::frames(int count) {
    for (int i = 0; i < count; ++i) {
        frame();
    }
}

void GameTest::tap(int key) {
    headless::setKey(key, true);
    frame();
    headless::setKey(key, false);
}

void GameTest::chooseTeam(int key) {
    tap(key);
}

void GameTest::leftClick() {
    WndProc(hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(WIDTH_CENTER, HEIGHT_CENTER));
}

void GameTest::rightClick() {
    WndProc(hwnd, WM_RBUTTONDOWN, 0, MAKELPARAM(WIDTH_CENTER, HEIGHT_CENTER));
}

bool GameTest::quitPosted() {
    MSG msg = {0, 0, 0};
    bool quit = false;
    while (PeekMessage(&msg)) {
        quit = quit || msg.message == WM_QUIT;
    }
    return quit;
}

} // namespace gametest
