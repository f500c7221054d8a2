#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

struct SDL_Surface;
class cWorld;

enum : std::int8_t {
    MODE_MENU = 0,
    MODE_GAME = 1,
    MODE_SPLASH = 2,
    MODE_INSTRUCTIONS = 3,
};

// The game: two boards played side by side, the main loop with its screens,
// and the pictures that draw them.
class cGame {
public:
    static constexpr int kLevels = 4;

    cGame();
    ~cGame();
    cGame(const cGame&) = delete;
    cGame& operator=(const cGame&) = delete;

    bool init();
    void run();
    void end();
    // One pass of the main loop without its pause: what the current mode does.
    // The loop runs it; tools and tests that drive the game step by step call it too.
    void runPass();

    void nextLevel();
    void previousLevel();
    void reloadLevel();

    void menuFrame();
    void gameFrame();

    SDL_Surface* tex(std::string path);
    void loadTex(std::string path);
    void drawSprite(SDL_Surface* picture, int x, int y);
    void drawTiles(cWorld& world, int xOffset, bool rightSide);
    void drawGame();
    void drawMenu();

private:
    friend struct GameProbe; // the tests' window into a running game

    struct KeyBinding;
    void handleEvents(const KeyBinding* bindings, int count);
    void splashPass();
    void instructionsPass();

    // Actions bound to keys.
    void quit();
    void startLevel();
    void backToMenu();
    void turnHeroesCW();
    void turnHeroesCCW();
    void moveHeroesForward();
    void moveHeroesBack();

    cWorld* mLeftWorld;
    cWorld* mRightWorld;
    std::int8_t mMode = MODE_SPLASH;
    bool mQuit = false;
    SDL_Surface* mScreen = nullptr;
    std::unordered_map<std::string, SDL_Surface*> mTextures;
    std::int32_t mLevel = 1;
};
