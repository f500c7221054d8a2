// Process entry on desktops where SDL's start-up layer does not rename main
// (Windows and macOS link SDLmain, which calls SDL_main itself).
#include <SDL.h>

#if !defined(_WIN32) && !defined(__MACOSX__) && !defined(__APPLE__)
int SDL_main(int argc, char* argv[]);

int main(int argc, char* argv[]) { return SDL_main(argc, argv); }
#endif
