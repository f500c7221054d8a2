// Renders the real game screens headless and saves them as PNG pictures:
// the menu at level 1 and a level in play. Run it where data/ is (build/).
//   lv-screenshot OUTDIR
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cGame.h"
#include "image.h"

namespace {

void press(cGame& game, SDLKey key) {
    SDL_GetKeyState(nullptr)[key] = 1;
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
    game.runPass();
    SDL_GetKeyState(nullptr)[key] = 0;
}

void save(const std::string& path) {
    SDL_Surface* screen = SDL_GetVideoSurface();
    art::Image image(screen->w, screen->h);
    SDL_LockSurface(screen);
    for (int y = 0; y < screen->h; ++y) {
        const auto* row = static_cast<const Uint16*>(screen->pixels) + y * screen->pitch / 2;
        for (int x = 0; x < screen->w; ++x) {
            Uint8 r = 0, g = 0, b = 0;
            SDL_GetRGB(row[x], screen->format, &r, &g, &b);
            image.at(x, y) = art::rgba(r, g, b);
        }
    }
    SDL_UnlockSurface(screen);
    art::writePng(path, image);
    std::printf("wrote %s\n", path.c_str());
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lv-screenshot OUTDIR   (run where data/ is)\n");
        return 2;
    }
    const std::string out = argv[1];
    // No window and no sound card needed: SDL's dummy drivers.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    cGame game;
    if (!game.init()) return 1;
    // The splash stays until five seconds after start.
    while (SDL_GetTicks() <= 5000) SDL_Delay(50);
    game.runPass();              // splash ends
    press(game, SDLK_SPACE);     // instructions to menu
    game.runPass();
    save(out + "/menu.png");
    press(game, SDLK_RIGHT);     // level 3, ice and oil
    press(game, SDLK_RIGHT);
    press(game, SDLK_SPACE);     // play it, a few orders in
    for (SDLKey key : {SDLK_UP, SDLK_UP, SDLK_UP, SDLK_RIGHT, SDLK_UP}) press(game, key);
    game.runPass();
    save(out + "/play.png");
    game.end();
    return 0;
}
