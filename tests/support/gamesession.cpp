// The in-process game session and the text capture.
#include "support/gamesession.h"

#include "font/glprint.h"
#include "main/game.h"
#include "main/startvalues.h"
#include "scene3ds/errlist3ds.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace hwtest {

namespace {

std::vector<Printed> captured;

void capture(const char* text) {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    captured.push_back(Printed{text ? text : "", m[12], m[13], m[14]});
}

void resetAll() {
    headless::reset();
    headless::setCursor(WIDTH_CENTER, HEIGHT_CENTER); // a resting mouse turns nothing
    // The scene library's failure flag is sticky: clear it for the next test's models.
    ClearErrList3ds();
    ResetGameGlobals();
}

} // namespace

GameSession::GameSession(const std::string& dir) : inDir_(dir) {
    resetAll();
    setenv("SDL_AUDIODRIVER", "dummy", 0); // no sound card on a test machine
    captured.clear();
    windowMade_ = inDir_.ok() &&
                  CreateGLWindow(WINDOW_CLASS_NAME, SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, false);
    glPrintSetObserver(&capture);
}

GameSession::~GameSession() {
    glPrintSetObserver(nullptr);
    shutdown();
    if (windowMade_)
        KillGLWindow();
    resetAll();
}

bool GameSession::start(uint32_t ticks) {
    headless::setTickCount(ticks);
    Game_Init();
    built_ = true;
    return ok();
}

void GameSession::shutdown() {
    if (std::exchange(built_, false))
        Game_Shutdown();
}

void GameSession::frame() {
    captured.clear();
    Game_Main();
    SwapBuffers(hdc);
    if (afterFrame)
        afterFrame();
}

void GameSession::frames(int count) {
    for (int i = 0; i < count; ++i)
        frame();
}

void GameSession::hold(std::initializer_list<int> keys, int count) {
    for (int key : keys)
        headless::setKey(key, true);
    frames(count);
    for (int key : keys)
        headless::setKey(key, false);
}

bool GameSession::quitPosted() {
    MSG msg = {0, 0, 0};
    bool quit = false;
    while (PeekMessage(&msg))
        quit = quit || msg.message == WM_QUIT;
    return quit;
}

const std::vector<Printed>& GameSession::printed() const {
    return captured;
}

bool GameSession::printed(const std::string& text) const {
    return std::any_of(captured.begin(), captured.end(),
                       [&](const Printed& p) { return p.text == text; });
}

Player* human() {
    Team* side = worldTeam(view);
    return side != nullptr ? side->activePlayer() : nullptr;
}

void standUnder(CBall* ball) {
    Player* p = human();
    ball->getPos(p->xpos, p->ypos, p->zpos);
    p->ypos -= 3.0f;
}

bool worldPositionsFinite() {
    for (GameObject* o = hoopwind ? hoopwind->head : nullptr; o != nullptr; o = o->next)
        if (!std::isfinite(o->xpos) || !std::isfinite(o->ypos) || !std::isfinite(o->zpos))
            return false;
    return true;
}

} // namespace hwtest
