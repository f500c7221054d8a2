#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "cGame.h"
#include "gameProbe.h"

// Plays a real game without a window: holds keys in SDL's keyboard state,
// queues their key-downs, and runs the main loop's passes one at a time.
class Player {
public:
    explicit Player(cGame& game) : mProbe(game) {}

    GameProbe& probe() { return mProbe; }

    // Holds exactly `keys` and queues one key-down; nothing else is held.
    void hold(std::initializer_list<SDLKey> keys);
    void releaseAll();
    // One pass with `key` alone held and its key-down queued, then let go.
    void press(SDLKey key);
    void pass() { mProbe.pass(); }
    void passes(int count);
    // Passes until the splash has given way to the instructions (SDL's clock
    // must pass five seconds).
    void waitOutSplash();

private:
    GameProbe mProbe;
};

// The orders that win or lose a level, found by the level tool's search over
// the game's own rules (every order to both heroes, the left one first).
namespace plan {

enum class Aim { win, lose };

// The keys of a shortest order sequence from the level's start that reaches
// the aim: both heroes on their goals, or the first fall. Empty when there is
// none, or when a map is short or has no hero. The search itself is silent.
std::vector<SDLKey> find(const std::string& leftMap, const std::string& rightMap, Aim aim);

} // namespace plan
