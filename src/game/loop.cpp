// The main loop, its start screens and the menu and game frames.
#include <SDL.h>

#include "cGame.h"
#include "cWorld.h"

namespace {
constexpr Uint32 kSplashMilliseconds = 5000;
constexpr Uint32 kPassDelayMilliseconds = 40;
} // namespace

struct cGame::KeyBinding {
    SDLKey key;
    void (cGame::*action)();
};

// The quit flag is read only here, so the pass that sets it still draws and waits.
void cGame::run() {
    while (!mQuit) {
        runPass();
        SDL_Delay(kPassDelayMilliseconds);
    }
}

// The mode is read once a pass; a change takes effect in the next one.
void cGame::runPass() {
    switch (mMode) {
    case MODE_MENU: menuFrame(); break;
    case MODE_GAME: gameFrame(); break;
    case MODE_SPLASH: splashPass(); break;
    case MODE_INSTRUCTIONS: instructionsPass(); break;
    default: break;
    }
}

// On every key-down, each bound key that the keyboard shows held performs its
// action, in table order, whatever key the event itself names. A key pressed
// and released before its event is taken therefore does nothing, and any key
// repeats the action of a held arrow.
void cGame::handleEvents(const KeyBinding* bindings, int count) {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        const Uint8* held = SDL_GetKeyState(nullptr);
        if (event.type == SDL_KEYDOWN) {
            for (int i = 0; i < count; ++i) {
                if (held[bindings[i].key] != 0) (this->*bindings[i].action)();
            }
        } else if (event.type == SDL_QUIT) {
            mQuit = true;
        }
    }
}

// The splash reads no input; whatever arrives waits for the instructions screen.
void cGame::splashPass() {
    drawSprite(tex("data/menu/tovrin.png"), 0, 0);
    SDL_Flip(mScreen);
    if (SDL_GetTicks() > kSplashMilliseconds) mMode = MODE_INSTRUCTIONS;
}

void cGame::instructionsPass() {
    static const KeyBinding kKeys[] = {{SDLK_SPACE, &cGame::backToMenu}};
    handleEvents(kKeys, 1);
    drawSprite(tex("data/menu/instruct.png"), 0, 0);
    SDL_Flip(mScreen);
}

void cGame::menuFrame() {
    static const KeyBinding kKeys[] = {
        {SDLK_ESCAPE, &cGame::quit},
        {SDLK_RIGHT, &cGame::nextLevel},
        {SDLK_LEFT, &cGame::previousLevel},
        {SDLK_SPACE, &cGame::startLevel},
    };
    handleEvents(kKeys, 4);
    drawMenu();
}

namespace {
// A board whose level files never named a hero has none: such a hero is
// neither alive, nor won, nor animating, so its level is lost at once.
bool isAlive(const cWorld* world) { return world->getHero() != nullptr && world->getHero()->alive(); }
bool hasWon(const cWorld* world) { return world->getHero() != nullptr && world->getHero()->won(); }
bool isAnimating(const cWorld* world) {
    return world->getHero() != nullptr && world->getHero()->animating();
}
} // namespace

void cGame::gameFrame() {
    static const KeyBinding kKeys[] = {
        {SDLK_ESCAPE, &cGame::backToMenu}, {SDLK_RIGHT, &cGame::turnHeroesCW},
        {SDLK_LEFT, &cGame::turnHeroesCCW}, {SDLK_UP, &cGame::moveHeroesForward},
        {SDLK_DOWN, &cGame::moveHeroesBack},
    };
    handleEvents(kKeys, 5);

    // The queries run in this order and stop as soon as the outcome is settled.
    const bool inPlay = (isAlive(mRightWorld) && isAlive(mLeftWorld)) || isAnimating(mRightWorld) ||
                        isAnimating(mLeftWorld);
    if (!inPlay) {
        mMode = MODE_MENU; // lost: the boards stay as play left them
    } else if (hasWon(mRightWorld) && hasWon(mLeftWorld) && !isAnimating(mRightWorld) &&
               !isAnimating(mLeftWorld)) {
        if (mLevel == kLevels) mMode = MODE_MENU;
        nextLevel();
    }
    if (mMode == MODE_GAME) drawGame();
}

void cGame::quit() { mQuit = true; }

void cGame::startLevel() {
    reloadLevel();
    mMode = MODE_GAME;
}

void cGame::backToMenu() { mMode = MODE_MENU; }

// Every order goes to the left board first, then to the right one.
void cGame::turnHeroesCW() {
    for (cWorld* world : {mLeftWorld, mRightWorld}) {
        if (cHero* hero = world->getHero()) hero->rotCW();
    }
}

void cGame::turnHeroesCCW() {
    for (cWorld* world : {mLeftWorld, mRightWorld}) {
        if (cHero* hero = world->getHero()) hero->rotCCW();
    }
}

void cGame::moveHeroesForward() {
    mLeftWorld->moveHeroForward();
    mRightWorld->moveHeroForward();
}

void cGame::moveHeroesBack() {
    mLeftWorld->moveHeroBack();
    mRightWorld->moveHeroBack();
}
