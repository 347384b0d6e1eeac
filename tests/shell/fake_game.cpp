// The recording game: a frame clears to a known colour so tests can see that frames were drawn.
#include "shell/fake_game.h"

#include "main/game.h"

#include <GL/gl.h>

FakeGame& fakeGame() {
    static FakeGame game;
    return game;
}

int Game_Init() {
    ++fakeGame().inits;
    return 1;
}

int Game_Main() {
    ++fakeGame().frames;
    glClearColor(0.0f, 0.5f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (fakeGame().onFrame) {
        fakeGame().onFrame();
    }
    return 1;
}

int Game_Shutdown() {
    ++fakeGame().shutdowns;
    return 1;
}

void Game_CatchAttempt() {
    ++fakeGame().catches;
}
void Game_SwitchPlayer() {
    ++fakeGame().switches;
}
