// lv-e2e-fall LEFT.map RIGHT.map
// The fewest orders after which a hero of the level has fallen, printed the
// way the level tool prints a solution ("keys: up left ..."). The real-window
// test plays them to lose a level on purpose, whatever the shipped levels look
// like. The search runs the game's own rules on both boards, the left first.
#include <cstdio>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "cWorld.h"
#include "soundCue.h"

namespace {

struct Position {
    cHero left;
    cHero right;
    std::vector<std::string> keys;
};

using Key = std::tuple<int, int, int, bool, int, int, int, bool>;

Key keyOf(const cHero& l, const cHero& r) {
    return {l.getDir(), l.getX(), l.getY(), l.won(), r.getDir(), r.getX(), r.getY(), r.won()};
}

cHero forward(cWorld& world, const cHero& hero) {
    world.placeHero(hero);
    world.moveHeroForward();
    return *world.getHero();
}

std::optional<std::vector<std::string>> shortestFall(cWorld& left, cWorld& right) {
    std::deque<Position> queue{{*left.getHero(), *right.getHero(), {}}};
    std::set<Key> seen{keyOf(queue.front().left, queue.front().right)};
    while (!queue.empty()) {
        const Position at = queue.front();
        queue.pop_front();
        for (const char* key : {"up", "left", "right"}) {
            Position next = at;
            next.keys.push_back(key);
            if (next.keys.back() == "up") {
                next.left = forward(left, at.left);
                next.right = forward(right, at.right);
            } else if (next.keys.back() == "left") {
                next.left.rotCCW();
                next.right.rotCCW();
            } else {
                next.left.rotCW();
                next.right.rotCW();
            }
            if (!next.left.alive() || !next.right.alive()) return next.keys;
            if (next.left.won() && next.right.won()) continue; // a win is no fall
            if (seen.insert(keyOf(next.left, next.right)).second) queue.push_back(next);
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lv-e2e-fall LEFT.map RIGHT.map\n");
        return 2;
    }
    soundCue::setSink(nullptr);
    cWorld left(false);
    cWorld right(true);
    left.loadMap(argv[1]);
    right.loadMap(argv[2]);
    if (left.getHero() == nullptr || right.getHero() == nullptr) {
        std::fprintf(stderr, "lv-e2e-fall: a board has no hero\n");
        return 1;
    }
    const auto keys = shortestFall(left, right);
    if (!keys) {
        std::printf("no fall\n");
        return 1;
    }
    std::printf("orders: %zu\nkeys:", keys->size());
    for (const std::string& key : *keys) std::printf(" %s", key.c_str());
    std::printf("\n");
    return 0;
}
