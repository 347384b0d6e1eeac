// The pad session's steps and the effect each must have on the game.
#include "support/padscript.h"

#include "cball/cball.h"
#include "main/hoopwind.h"
#include "main/startvalues.h"
#include "main/world.h"
#include "main/worlddigest.h"
#include "platform/demo/demo.h"
#include "player/player.h"
#include "shared/globals.h"
#include "team/team.h"

#include <cmath>

namespace padscript {

namespace {

// clang-format off
enum Effect { NOTHING, STORMWICK, EMBERHOLD, STILL, FLEW, CLIMBED, TURNED, LIGHTS_ONCE, SWITCHED,
              PELLUM_HELD, GAME_OVER, NEW_GAME, QUITS };
// clang-format on
using namespace pad;

const struct Step {
    int frames;
    Device device;
    int button; // -1: none
    Axis axis[2];
    float value[2];
    Effect effect;
} kSteps[] = {
    {1, NONE, -1, {}, {}, NOTHING},
    {3, CONTROLLER, -1, {}, {}, NOTHING},
    {3, CONTROLLER, BUTTON_B, {}, {}, STORMWICK},
    {2, CONTROLLER, -1, {}, {}, NOTHING},
    {8, CONTROLLER, -1, {AXIS_LEFT_Y, AXIS_RIGHT_TRIGGER}, {-0.24f, 0.11f}, STILL},
    {8, CONTROLLER, -1, {AXIS_RIGHT_X, AXIS_LEFT_X}, {0.24f, 0.2f}, STILL},
    {10, CONTROLLER, -1, {AXIS_LEFT_Y}, {-1.0f}, FLEW},
    {10, CONTROLLER, -1, {AXIS_RIGHT_TRIGGER}, {0.3f}, CLIMBED},
    {10, CONTROLLER, -1, {AXIS_RIGHT_X}, {0.5f}, TURNED},
    {10, CONTROLLER, -1, {AXIS_RIGHT_X}, {-1.0f}, TURNED},
    {20, CONTROLLER, BUTTON_DPAD_UP, {}, {}, LIGHTS_ONCE},
    {2, CONTROLLER, BUTTON_A, {}, {}, PELLUM_HELD},
    {3, CONTROLLER, BUTTON_B, {}, {}, SWITCHED},
    {2, PLAIN, -1, {}, {}, NOTHING},
    {10, PLAIN, -1, {AXIS_LEFT_Y}, {-1.0f}, FLEW},
    {10, PLAIN, -1, {AXIS_RIGHT_X}, {0.5f}, TURNED},
    {5, PLAIN, -1, {AXIS_LEFT_TRIGGER, AXIS_RIGHT_TRIGGER}, {1.0f, 1.0f}, STILL}, // axes 5 and 6
    {2, PLAIN, BUTTON_A, {}, {}, GAME_OVER},
    {3, CONTROLLER, BUTTON_START, {}, {}, NEW_GAME},
    {3, CONTROLLER, BUTTON_X, {}, {}, EMBERHOLD},
    {5, CONTROLLER, -1, {AXIS_LEFT_Y, AXIS_RIGHT_TRIGGER}, {-1.0f, 1.0f}, FLEW},
    {5, NONE, -1, {}, {}, STILL},
    {3000, CONTROLLER, BUTTON_BACK, {}, {}, QUITS},
};
constexpr int STEP_COUNT = sizeof kSteps / sizeof kSteps[0];

struct Look {
    Player* p;
    float x, y, z, yrot;
    bool lights;
};

Look look() {
    Team* side = gameState == STATE_PLAYING ? worldTeam(view) : nullptr;
    Player* p = side ? side->activePlayer() : nullptr;
    return p ? Look{p, p->xpos, p->ypos, p->zpos, p->yrot, USE_LIGHTS}
             : Look{nullptr, 0, 0, 0, 0, USE_LIGHTS};
}

bool holds(const Step& s, const Look& a, const Look& b) {
    const float flown = std::hypot(b.x - a.x, b.z - a.z), n = static_cast<float>(s.frames);
    switch (s.effect) {
    case STORMWICK:
    case EMBERHOLD:
        return b.p && view == (s.effect == STORMWICK) && b.p == team[view]->getChaser();
    case STILL:
        return b.p == a.p && flown + std::fabs(b.y - a.y) + std::fabs(b.yrot - a.yrot) < 1e-3f;
    case FLEW:
        return flown > 0.9f * WALK_SPEED * n;
    case CLIMBED:
        return b.y - a.y > 0.99f * RISE_SPEED * n && flown < 1e-3f;
    case TURNED: // full stick: 3.6 degrees a frame
        return std::fabs(b.yrot - a.yrot + s.value[0] * 3.6f * n) < 0.05f;
    case LIGHTS_ONCE:
        return b.lights != a.lights;
    case SWITCHED:
        return b.p == team[view]->player[1] && a.p != b.p;
    case PELLUM_HELD:
        return pellum->caught && pellum->holding == view;
    case GAME_OVER:
        return gameState == STATE_GAME_OVER && team[view]->flicketCaught();
    case NEW_GAME:
        return gameState == STATE_TEAM_SELECT;
    default:
        return s.effect == NOTHING;
    }
}

struct Run {
    Apply apply = nullptr;
    Result result;
    int step = 0, stepFrame = 0;
    State pads = {};
    Look before = {};
} run_;

// Each frame of a catching step puts the player under the ball (it moves on in the drawing).
void nudge() {
    const Effect e = kSteps[run_.step].effect;
    if (e == PELLUM_HELD || e == GAME_OVER) {
        Player* p = team[view]->activePlayer();
        (e == PELLUM_HELD ? pellum : flicket)->getPos(p->xpos, p->ypos, p->zpos);
        p->ypos -= 3.0f;
    }
}

void startStep() {
    const Step& s = kSteps[run_.step];
    run_.pads = State{};
    if (s.button >= 0)
        run_.pads.button[s.button] = true;
    for (int i = 0; i < 2; ++i)
        run_.pads.axis[s.axis[i]] += s.value[i];
    nudge();
    run_.before = look();
}

void afterFrame(int frame) {
    Run& r = run_;
    r.result.digests.push_back(worldDigest());
    if (r.step == STEP_COUNT)
        return;
    const Step& s = kSteps[r.step];
    if (gameState == STATE_PLAYING && s.effect != GAME_OVER)
        flicket->setPos(0.0f, 300.0f, 0.0f); // no computer Seeker ends the game early
    if (s.effect == QUITS && (r.result.backFrames = ++r.stepFrame) == s.frames) {
        r.result.failures.push_back("Back held, no quit");
        r.step = STEP_COUNT;
        PostQuitMessage(0);
    } else if (s.effect != QUITS && ++r.stepFrame == s.frames) {
        if (!holds(s, r.before, look()))
            r.result.failures.push_back("step " + std::to_string(r.step) + ", frame " +
                                        std::to_string(frame));
        ++r.step;
        r.stepFrame = 0;
        startStep();
    } else {
        nudge();
    }
    if (r.apply && r.step < STEP_COUNT)
        r.apply(frame + 1, kSteps[r.step].device, r.pads);
}

} // namespace

Result run(Apply apply) {
    run_ = Run();
    run_.apply = apply;
    ResetGameGlobals();
    demo::setFrameHook(afterFrame);
    startStep(); // plugs nothing in: there is no window yet
    WinMain(false);
    demo::setFrameHook(nullptr);
    return run_.result;
}

} // namespace padscript
