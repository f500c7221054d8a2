#include "player.h"

#include <map>
#include <queue>
#include <tuple>

#include "cWorld.h"
#include "soundCue.h"

void Player::hold(std::initializer_list<SDLKey> keys) {
    releaseAll();
    Uint8* held = SDL_GetKeyState(nullptr);
    for (SDLKey key : keys) held[key] = 1;
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = keys.size() > 0 ? *keys.begin() : SDLK_a;
    SDL_PushEvent(&event);
}

void Player::releaseAll() {
    int count = 0;
    Uint8* held = SDL_GetKeyState(&count);
    std::fill(held, held + count, 0);
}

void Player::press(SDLKey key) {
    hold({key});
    pass();
    releaseAll();
}

void Player::passes(int count) {
    for (int i = 0; i < count; ++i) pass();
}

void Player::waitOutSplash() {
    while (mProbe.mode() == MODE_SPLASH) {
        pass();
        SDL_Delay(20);
    }
}

namespace plan {
namespace {

struct Hero {
    int x, y, dir;
    bool alive, won;
    auto key() const { return std::make_tuple(x, y, dir, alive, won); }
};

Hero of(const cHero* h) { return {h->getX(), h->getY(), h->getDir(), h->alive(), h->won()}; }

cHero rebuild(const Hero& h, bool rightSide) {
    cHero hero(static_cast<signed char>(h.dir), static_cast<signed char>(h.x), static_cast<signed char>(h.y),
               rightSide);
    if (h.won) hero.win();
    if (!h.alive) hero.die();
    return hero;
}

} // namespace

std::vector<SDLKey> find(const std::string& leftMap, const std::string& rightMap, Aim aim) {
    const soundCue::Sink previous = soundCue::setSink(nullptr);
    cWorld left(false);
    cWorld right(true);
    left.loadMap(leftMap);
    right.loadMap(rightMap);
    std::vector<SDLKey> keys;
    if (left.getHero() == nullptr || right.getHero() == nullptr) {
        soundCue::setSink(previous);
        return keys;
    }

    using State = std::pair<Hero, Hero>;
    using Key = decltype(std::tuple_cat(Hero{}.key(), Hero{}.key()));
    std::map<Key, std::pair<Key, SDLKey>> cameFrom;
    std::queue<State> open;
    const State start{of(left.getHero()), of(right.getHero())};
    auto keyOf = [](const State& s) { return std::tuple_cat(s.first.key(), s.second.key()); };
    cameFrom[keyOf(start)] = {keyOf(start), SDLK_UNKNOWN};
    open.push(start);
    while (!open.empty()) {
        const State s = open.front();
        open.pop();
        const bool lost = !s.first.alive || !s.second.alive;
        const bool done = aim == Aim::win ? s.first.won && s.second.won : lost;
        if (done) {
            for (Key k = keyOf(s); cameFrom[k].second != SDLK_UNKNOWN; k = cameFrom[k].first) {
                keys.insert(keys.begin(), cameFrom[k].second);
            }
            break;
        }
        if (lost) continue; // a level ends with its first death
        for (SDLKey order : {SDLK_UP, SDLK_RIGHT, SDLK_LEFT}) {
            left.placeHero(rebuild(s.first, false));
            right.placeHero(rebuild(s.second, true));
            for (cWorld* world : {&left, &right}) {
                if (order == SDLK_UP) world->moveHeroForward();
                if (order == SDLK_RIGHT) world->getHero()->rotCW();
                if (order == SDLK_LEFT) world->getHero()->rotCCW();
            }
            const State next{of(left.getHero()), of(right.getHero())};
            if (cameFrom.emplace(keyOf(next), std::make_pair(keyOf(s), order)).second) open.push(next);
        }
    }
    soundCue::setSink(previous);
    return keys;
}

} // namespace plan
