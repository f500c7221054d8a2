#include "player.h"

#include <algorithm>
#include <fstream>
#include <queue>
#include <set>

#include "soundCue.h"
#include "solver.h"

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

// The orders of a shortest way to the first fall, searched over the heroes'
// positions, facings and goal flags.
std::vector<level::eOrder> firstFall(level::cPuzzle& puzzle) {
    using Key = std::vector<int>;
    auto keyOf = [](const std::vector<cHero>& heroes) {
        Key key;
        for (const cHero& h : heroes) key.insert(key.end(), {h.getX(), h.getY(), h.getDir(), h.won()});
        return key;
    };
    struct Step {
        std::vector<cHero> heroes;
        std::vector<level::eOrder> orders;
    };
    std::set<Key> seen;
    std::queue<Step> open;
    open.push({puzzle.start(), {}});
    seen.insert(keyOf(open.front().heroes));
    while (!open.empty()) {
        const Step step = open.front();
        open.pop();
        for (level::eOrder order : {level::eOrder::Up, level::eOrder::Right, level::eOrder::Left}) {
            Step next = step;
            next.orders.push_back(order);
            if (!puzzle.give(next.heroes, order)) return next.orders;
            if (seen.insert(keyOf(next.heroes)).second) open.push(next);
        }
    }
    return {};
}

bool readBoard(const std::string& path, level::Board& board) {
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(board.data()), static_cast<std::streamsize>(board.size()));
    if (in.gcount() != static_cast<std::streamsize>(board.size())) return false;
    return std::any_of(board.begin(), board.end(), [](unsigned char b) { return tile::isHeroStart(b); });
}

} // namespace

std::vector<SDLKey> find(const std::string& leftMap, const std::string& rightMap, Aim aim) {
    level::Board left{};
    level::Board right{};
    if (!readBoard(leftMap, left) || !readBoard(rightMap, right)) return {};
    const soundCue::Sink previous = soundCue::setSink(nullptr);
    level::cPuzzle puzzle({left, right});
    std::vector<level::eOrder> orders;
    if (aim == Aim::win) {
        orders = puzzle.solve().mOrders;
    } else {
        orders = firstFall(puzzle);
    }
    soundCue::setSink(previous);
    std::vector<SDLKey> keys;
    for (level::eOrder order : orders) {
        keys.push_back(order == level::eOrder::Up ? SDLK_UP : order == level::eOrder::Right ? SDLK_RIGHT : SDLK_LEFT);
    }
    return keys;
}

} // namespace plan
