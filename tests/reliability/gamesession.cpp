// The in-process game session and the disposable data folder used by the endurance and damaged
// data tests and by the game benchmarks.
#include "reliability/gamesession.h"

#include "cball/cball.h"
#include "main/game.h"
#include "main/gameview.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "platform/headless.h"
#include "player/player.h"
#include "shared/globals.h"
#include "static_objects/goal.h"
#include "static_objects/stadium.h"
#include "team/team.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace reliability {

namespace fs = std::filesystem;

std::string generatedDataDir() {
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
    gameState = STATE_TEAM_SELECT;
}

GameSession::GameSession(const std::string& dataDir) {
    headless::reset();
    headless::setCursor(WIDTH_CENTER, HEIGHT_CENTER); // a resting mouse turns nothing
    setenv("SDL_AUDIODRIVER", "dummy", 0);            // no sound card on a test machine
    char cwd[4096];
    previousDir_ = getcwd(cwd, sizeof cwd) ? cwd : ".";
    if (chdir(dataDir.c_str()) != 0) {
        return;
    }
    restoreStartValues();
    windowMade_ = CreateGLWindow(WINDOW_CLASS_NAME, SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, false);
}

GameSession::~GameSession() {
    shutdown();
    if (windowMade_) {
        KillGLWindow();
    }
    headless::reset();
    restoreStartValues();
    if (chdir(previousDir_.c_str()) != 0) {
        // Nothing sound to do: the next test sets its own folder.
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
    Game_Main();
    SwapBuffers(hdc);
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

void stepWorldLogic() {
    ApplyPlayKeys();
    ApplyMouseLook();
    hoopwind->checkCollisions();

    // The in-play view places the world offset at the followed player before drawing.
    if (view != VIEW_STANDARD && worldTeam(view) != nullptr) {
        worldTeam(view)->activePlayer()->getPos(xoffset, yoffset, zoffset);
    }
    for (GameObject* o = hoopwind->head; o != nullptr; o = o->next) {
        if (o == stadium) {
            continue;
        }
        switch (o->typeID) {
        case STATIONARY_PIECE:
            if (static_cast<GoalPost*>(o)->scoredUpon()) {
                pellum->scoreGoal();
            }
            break;
        case PLAYER: {
            Player* p = static_cast<Player*>(o);
            p->update();
            if (p->turning) {
                p->yrot += p->rotRemain;
                p->turning = false;
            }
            break;
        }
        default:
            static_cast<CBall*>(o)->update();
            break;
        }
    }
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

} // namespace reliability
