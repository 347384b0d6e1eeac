// The pad session's steps and the game effect each must have.
#include "support/padscript.h"

#include "cball/cball.h"
#include "main/game.h"
#include "main/hoopwind.h"
#include "main/startvalues.h"
#include "main/world.h"
#include "main/worlddigest.h"
#include "platform/demo/demo.h"
#include "player/player.h"
#include "shared/globals.h"
#include "team/team.h"

#include <cmath>
#include <cstdio>

namespace padscript {

namespace {

enum Effect {
    NOTHING,
    STORMWICK,
    EMBERHOLD,
    STILL,
    FLEW,
    CLIMBED,
    TURNED,
    LIGHTS_ONCE,
    SWITCHED,
    PELLUM_HELD,
    GAME_OVER,
    NEW_GAME,
    QUITS
};
enum Nudge { NO_NUDGE, TO_PELLUM, TO_FLICKET };
constexpr int NO_BUTTON = -1;

struct Step {
    int frames;
    Device device;
    int button;
    pad::Axis axis[2];
    float value[2];
    Nudge nudge; // before the step
    Effect effect;
} const kSteps[] = {
    {1, NONE, NO_BUTTON, {}, {}, NO_NUDGE, NOTHING},
    {3, CONTROLLER, NO_BUTTON, {}, {}, NO_NUDGE, NOTHING},
    {3, CONTROLLER, pad::BUTTON_B, {}, {}, NO_NUDGE, STORMWICK},
    {2, CONTROLLER, NO_BUTTON, {}, {}, NO_NUDGE, NOTHING},
    {8,
     CONTROLLER,
     NO_BUTTON,
     {pad::AXIS_LEFT_Y, pad::AXIS_RIGHT_TRIGGER},
     {-0.24f, 0.11f},
     NO_NUDGE,
     STILL},
    {8,
     CONTROLLER,
     NO_BUTTON,
     {pad::AXIS_RIGHT_X, pad::AXIS_LEFT_X},
     {0.24f, 0.2f},
     NO_NUDGE,
     STILL},
    {10, CONTROLLER, NO_BUTTON, {pad::AXIS_LEFT_Y}, {-1.0f}, NO_NUDGE, FLEW},
    {10, CONTROLLER, NO_BUTTON, {pad::AXIS_RIGHT_TRIGGER}, {1.0f}, NO_NUDGE, CLIMBED},
    {10, CONTROLLER, NO_BUTTON, {pad::AXIS_RIGHT_X}, {0.5f}, NO_NUDGE, TURNED},
    {10, CONTROLLER, NO_BUTTON, {pad::AXIS_RIGHT_X}, {-1.0f}, NO_NUDGE, TURNED},
    {20, CONTROLLER, pad::BUTTON_DPAD_UP, {}, {}, NO_NUDGE, LIGHTS_ONCE},
    {3, CONTROLLER, pad::BUTTON_A, {}, {}, TO_PELLUM, PELLUM_HELD},
    {3, CONTROLLER, pad::BUTTON_B, {}, {}, NO_NUDGE, SWITCHED},
    {2, PLAIN, NO_BUTTON, {}, {}, NO_NUDGE, NOTHING},
    {10, PLAIN, NO_BUTTON, {pad::AXIS_LEFT_Y}, {-1.0f}, NO_NUDGE, FLEW},
    {10, PLAIN, NO_BUTTON, {pad::AXIS_RIGHT_X}, {0.5f}, NO_NUDGE, TURNED},
    {3, PLAIN, pad::BUTTON_A, {}, {}, TO_FLICKET, GAME_OVER},
    {3, CONTROLLER, pad::BUTTON_START, {}, {}, NO_NUDGE, NEW_GAME},
    {3, CONTROLLER, pad::BUTTON_X, {}, {}, NO_NUDGE, EMBERHOLD},
    {5,
     CONTROLLER,
     NO_BUTTON,
     {pad::AXIS_LEFT_Y, pad::AXIS_RIGHT_TRIGGER},
     {-1.0f, 1.0f},
     NO_NUDGE,
     FLEW},
    {5, NONE, NO_BUTTON, {}, {}, NO_NUDGE, STILL},
    {3000, CONTROLLER, pad::BUTTON_BACK, {}, {}, NO_NUDGE, QUITS},
};
constexpr int STEP_COUNT = sizeof kSteps / sizeof kSteps[0];

struct Look {
    float x = 0, y = 0, z = 0, yrot = 0;
    const Player* human = nullptr;
    bool lights = false;
};

Look look() {
    Look l;
    l.lights = USE_LIGHTS;
    Team* side = gameState == STATE_PLAYING ? worldTeam(view) : nullptr;
    if (Player* p = side ? side->activePlayer() : nullptr) {
        l = Look{p->xpos, p->ypos, p->zpos, p->yrot, p, USE_LIGHTS};
    }
    return l;
}

bool holds(const Step& s, const Look& a, const Look& b) {
    const float flown = std::hypot(b.x - a.x, b.z - a.z);
    const float turn = -s.value[0] * pad::STEER_PIXELS * 0.12f * static_cast<float>(s.frames);
    switch (s.effect) {
    case NOTHING:
        return true;
    case STORMWICK:
    case EMBERHOLD:
        return gameState == STATE_PLAYING && view == (s.effect == STORMWICK ? 1 : 0) &&
               b.human == team[view]->getChaser();
    case STILL:
        return b.human == a.human &&
               flown + std::fabs(b.y - a.y) + std::fabs(b.yrot - a.yrot) < 1e-3f;
    case FLEW:
        return flown > 0.9f * WALK_SPEED * static_cast<float>(s.frames);
    case CLIMBED:
        return b.y - a.y > 0.99f * RISE_SPEED * static_cast<float>(s.frames) && flown < 1e-3f;
    case TURNED:
        return std::fabs(b.yrot - a.yrot - turn) < 0.05f;
    case LIGHTS_ONCE:
        return b.lights != a.lights;
    case SWITCHED:
        return b.human != a.human && b.human == team[view]->player[1];
    case PELLUM_HELD:
        return pellum->caught && pellum->holding == view;
    case GAME_OVER:
        return gameState == STATE_GAME_OVER && team[view]->flicketCaught();
    case NEW_GAME:
        return gameState == STATE_TEAM_SELECT;
    case QUITS:
        return false; // the game should have ended during this step
    }
    return false;
}

struct Run {
    Apply apply = nullptr;
    Result result;
    int step = 0;
    int stepFrame = 0; // frames of the step run so far
    pad::State pads = {};
    Look before;
} run_;

// The followed player is put just under the ball before every frame of a catching step: the
// catch comes between two frames, after the ball has moved on in the drawing.
void nudge(Nudge to) {
    if (to != NO_NUDGE) {
        Player* p = team[view]->activePlayer();
        (to == TO_PELLUM ? pellum : flicket)->getPos(p->xpos, p->ypos, p->zpos);
        p->ypos -= 3.0f;
    }
}

void startStep() {
    const Step& s = kSteps[run_.step];
    nudge(s.nudge);
    run_.pads = pad::State{};
    if (s.button != NO_BUTTON) {
        run_.pads.button[s.button] = true;
    }
    for (int i = 0; i < 2; ++i) {
        run_.pads.axis[s.axis[i]] += s.value[i];
    }
    run_.before = look();
}

void afterFrame(int frame) {
    run_.result.digests.push_back(worldDigest());
    if (run_.step >= STEP_COUNT) {
        return;
    }
    const Step& s = kSteps[run_.step];
    if (gameState == STATE_PLAYING && s.nudge != TO_FLICKET) {
        flicket->setPos(0.0f, 300.0f, 0.0f); // no computer Seeker ends the game before its time
    }
    if (s.effect == QUITS) {
        run_.result.backFrames = ++run_.stepFrame;
        if (run_.stepFrame == s.frames) {
            run_.result.failures.push_back("Back held " + std::to_string(s.frames) + " frames");
            run_.result.backFrames = 0;
            run_.step = STEP_COUNT;
            PostQuitMessage(0);
        }
    } else if (++run_.stepFrame == s.frames) {
        const Look now = look();
        if (!holds(s, run_.before, now)) {
            char line[160];
            std::snprintf(line, sizeof line,
                          "step %d (frame %d): moved %.2f %.2f %.2f, turned %.2f, state %d",
                          run_.step, frame, now.x - run_.before.x, now.y - run_.before.y,
                          now.z - run_.before.z, now.yrot - run_.before.yrot, gameState);
            run_.result.failures.push_back(line);
        }
        ++run_.step;
        run_.stepFrame = 0;
        startStep();
    } else {
        nudge(s.nudge);
    }
    if (run_.apply && run_.step < STEP_COUNT) {
        run_.apply(frame + 1, kSteps[run_.step].device, run_.pads);
    }
}

} // namespace

Result run(Apply apply) {
    run_ = Run();
    run_.apply = apply;
    ResetGameGlobals();
    demo::setFrameHook(afterFrame);
    startStep(); // the first step waits for a frame: there is no window to plug pads into yet
    WinMain(false);
    demo::setFrameHook(nullptr);
    return run_.result;
}

} // namespace padscript
