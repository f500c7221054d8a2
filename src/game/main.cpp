#include "cGame.h"

// The program's entry, reached from the platform's own start-up code.
// A failed start (no SDL, no window) has been reported by then and ends with status 1.
int SDL_main(int /*argc*/, char* /*argv*/[]) {
    cGame game;
    if (!game.init()) return 1;
    game.run();
    game.end();
    return 0;
}
