// Start-up, shutdown and the level number.
#include "cGame.h"

#include <SDL.h>

#include <cstdlib>

#include "cSounds.h"
#include "cWorld.h"
#include "soundCue.h"
#include "sub.h"

namespace {
void playThroughCache(const std::string& path) { cSounds::inst()->play(path); }
} // namespace

// The worlds live as long as the process, so the destructor leaves them be.
cGame::cGame() : mLeftWorld(new cWorld(false)), mRightWorld(new cWorld(true)) {}

cGame::~cGame() = default;

bool cGame::init() {
    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO) < 0) {
        error(SDL_GetError());
        return false;
    }
    std::atexit(SDL_Quit);
    mScreen = SDL_SetVideoMode(640, 480, 16, SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (mScreen == nullptr) {
        error(SDL_GetError());
        return false;
    }
    SDL_WM_SetCaption("Lumora And Vexmoor", nullptr);
    cSounds::inst()->init();
    // The heroes' steps, falls and goals are heard through the sound cache.
    soundCue::setSink(playThroughCache);
    reloadLevel();
    return true;
}

void cGame::end() { cSounds::inst()->exit(); }

void cGame::nextLevel() {
    if (mLevel < kLevels) ++mLevel;
    reloadLevel();
}

void cGame::previousLevel() {
    if (mLevel > 1) --mLevel;
    reloadLevel();
}

void cGame::reloadLevel() {
    const std::string number = std::to_string(mLevel);
    mLeftWorld->loadMap("data/levels/lumora" + number + ".map");
    mRightWorld->loadMap("data/levels/vexmoor" + number + ".map");
}
