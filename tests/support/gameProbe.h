#pragma once

#include "cGame.h"

// Reads and sets the game's fields from tests (cGame names it a friend).
struct GameProbe {
    cGame& game;
    explicit GameProbe(cGame& g) : game(g) {}

    std::int8_t mode() const { return game.mMode; }
    void setMode(std::int8_t mode) { game.mMode = mode; }
    bool quitting() const { return game.mQuit; }
    int level() const { return game.mLevel; }
    void setLevel(int level) { game.mLevel = level; }
    cWorld* left() const { return game.mLeftWorld; }
    cWorld* right() const { return game.mRightWorld; }
    SDL_Surface* screen() const { return game.mScreen; }
    void setScreen(SDL_Surface* screen) { game.mScreen = screen; }
    std::size_t cachedPictures() const { return game.mTextures.size(); }
    void pass() { game.runPass(); }
};
