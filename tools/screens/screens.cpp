#include "screens.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "draw.h"

namespace screens {

using art::Image;
using art::rgba;
using art::TextStyle;

namespace {

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;

struct Rect {
    int x, y, w, h;
    bool has(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
};
// Where the game draws the two boards; holes in them show the background.
constexpr Rect kLumoraBoard{32, 32, 256, 416};
constexpr Rect kVexmoorBoard{352, 32, 256, 416};

// The two realms' colours.
constexpr std::uint32_t kFrost = rgba(0xE8, 0xF4, 0xFF);
constexpr std::uint32_t kIce = rgba(0x86, 0xC8, 0xFF);
constexpr std::uint32_t kAmberLight = rgba(0xFF, 0xEC, 0xA0);
constexpr std::uint32_t kAmber = rgba(0xE8, 0x94, 0x2C);
constexpr std::uint32_t kInk = rgba(0x08, 0x0A, 0x14);

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

// ---- text -------------------------------------------------------------------

TextStyle style(int scale, std::uint32_t top, std::uint32_t bottom, int outline = 0, int shadow = 0) {
    TextStyle s;
    s.scale = scale;
    s.top = top;
    s.bottom = bottom;
    s.outline = kInk;
    s.outlineWidth = outline;
    s.shadow = rgba(0, 0, 0, 150);
    s.shadowX = shadow;
    s.shadowY = shadow;
    return s;
}

void centred(const art::cFont& font, Image& image, int cx, int y, std::string_view text, const TextStyle& s) {
    font.draw(image, cx - font.width(text, s.scale) / 2, y, text, s);
}

// Text whose {braced} parts stand out in the second style.
int richWidth(const art::cFont& font, std::string_view text, int scale) {
    std::string plain;
    for (char c : text)
        if (c != '{' && c != '}') plain += c;
    return font.width(plain, scale);
}

void rich(const art::cFont& font, Image& image, int x, int y, std::string_view text, const TextStyle& normal,
          const TextStyle& strong) {
    const int gap = normal.scale; // the paper column between two glyphs
    bool bold = false;
    std::string run;
    auto flush = [&]() {
        if (run.empty()) return;
        font.draw(image, x, y, run, bold ? strong : normal);
        x += font.width(run, normal.scale) + gap;
        run.clear();
    };
    for (char c : text) {
        if (c == '{' || c == '}') {
            flush();
            bold = c == '{';
        } else {
            run += c;
        }
    }
    flush();
}

// Letters set apart by `extra` pixels more than usual.
int spacedWidth(const art::cFont& font, std::string_view text, int scale, int extra) {
    const std::u32string chars = art::decodeUtf8(text);
    return font.width(text, scale) + extra * (static_cast<int>(chars.size()) - 1);
}

void spaced(const art::cFont& font, Image& image, int x, int y, std::string_view text, const TextStyle& s,
            int extra) {
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t len = 1;
        while (i + len < text.size() && (static_cast<unsigned char>(text[i + len]) & 0xC0) == 0x80) ++len;
        const std::string_view one = text.substr(i, len);
        font.draw(image, x, y, one, s);
        x += font.width(one, s.scale) + s.scale + extra;
        i += len;
    }
}

// ---- keys -------------------------------------------------------------------

struct KeyLook {
    std::uint32_t faceTop, faceBottom, side, rim;
    TextStyle label;
};

// A light keycap for the opaque instructions screen.
KeyLook paperKey() {
    TextStyle label = style(2, rgba(0x1A, 0x20, 0x34), rgba(0x2C, 0x34, 0x50));
    return {rgba(0xF4, 0xF7, 0xFC), rgba(0xC9, 0xD3, 0xE6), rgba(0x7C, 0x89, 0xA8), rgba(0x10, 0x14, 0x22), label};
}

// A dark see-through keycap with a bright label, to lie over a board.
KeyLook glassKey(std::uint32_t tint, std::uint32_t labelTop, std::uint32_t labelBottom, int scale) {
    TextStyle label = style(scale, labelTop, labelBottom, scale >= 3 ? 2 : 1);
    return {art::withAlpha(art::shade(tint, -0.55), 190), art::withAlpha(art::shade(tint, -0.75), 200),
            art::withAlpha(art::shade(tint, -0.85), 225), art::withAlpha(art::shade(tint, 0.35), 240), label};
}

int keyWidth(const art::cFont& font, std::string_view label, int scale) { return font.width(label, scale) + 6 * scale; }

// A keycap of the given size: a rim, a darker side below and the face with its label.
void keycap(const art::cFont& font, Image& image, int x, int y, int w, int h, std::string_view label,
            const KeyLook& look) {
    const int depth = std::max(3, h / 9);
    const double radius = std::min(w, h) / 6.0;
    art::panel(image, x, y, w, h, radius, look.side, look.rim, 1.0);
    const int faceH = h - depth - 1;
    art::fillShape(image, x + 1, y + 1, x + w - 1, y + faceH, art::roundedRect(x + 1, y + 1, w - 2, faceH - 1, radius - 1),
                   [&](int, int py) { return art::mix(look.faceTop, look.faceBottom, double(py - y) / faceH); });
    // The label's capitals (7 of the font's rows) sit in the middle of the face.
    const int capH = 7 * look.label.scale;
    font.draw(image, x + (w - font.width(label, look.label.scale)) / 2, y + 1 + (faceH - 1 - capH) / 2, label,
              look.label);
}

// ---- backgrounds --------------------------------------------------------------

// The chasm below a board: black depths, a little light spilling over the rim,
// slow mist and a few far-off glints. Holes show this.
std::uint32_t chasm(int x, int y, const Rect& board, bool vexmoor) {
    const unsigned seed = vexmoor ? 71u : 17u;
    const int dx = std::min(x - board.x, board.x + board.w - 1 - x);
    const int dy = std::min(y - board.y, board.y + board.h - 1 - y);
    const double d = std::min(dx, dy);
    const double rim = 1.0 / ((1.0 + d / 7.0) * (1.0 + d / 7.0));
    const std::uint32_t deep = vexmoor ? rgba(0x06, 0x07, 0x03) : rgba(0x03, 0x04, 0x0C);
    const std::uint32_t lit = vexmoor ? rgba(0x3A, 0x38, 0x1A) : rgba(0x22, 0x34, 0x62);
    const std::uint32_t fog = vexmoor ? rgba(0x1E, 0x24, 0x10) : rgba(0x12, 0x18, 0x34);
    const double mist = clamp01((art::cloudNoise(x * 0.4, y * 1.5, 40, 4, seed) - 0.42) * 2.0);
    std::uint32_t c = art::mix(deep, fog, mist * 0.55);
    c = art::mix(c, lit, rim * 0.8);
    if (art::hashNoise(x, y, seed + 5) > 0.998) {
        const double glow = 0.15 + 0.3 * art::hashNoise(x, y, seed + 9);
        c = art::mix(c, vexmoor ? rgba(0xD8, 0xA0, 0x40) : rgba(0xA8, 0xC8, 0xFF), glow * (1.0 - rim));
    }
    return c;
}

// The calm stone around the boards, frosted slate on Lumora's side and
// tarnished bronze on Vexmoor's, meeting in the middle of the gap.
std::uint32_t stone(int x, int y) {
    const std::uint32_t slate = rgba(0x2A, 0x34, 0x52);
    const std::uint32_t bronze = rgba(0x3A, 0x32, 0x1E);
    std::uint32_t c = art::mix(slate, bronze, (x - 296) / 48.0);
    const double cloud = art::cloudNoise(x, y, 40, 4, 3);
    c = art::shade(c, (cloud - 0.5) * 0.28);
    c = art::shade(c, (art::hashNoise(x, y, 4) - 0.5) * 0.06);
    // A little lighter towards the top, as if lit from above.
    return art::shade(c, 0.10 * (1.0 - y / double(kScreenH)) - 0.05);
}

// The border where a board is set into the stone: a dark groove with a lit
// lip, so the boards read as windows onto the chasm.
std::uint32_t setting(std::uint32_t c, int x, int y, const Rect& board) {
    const int ox = x < board.x ? board.x - x : (x >= board.x + board.w ? x - (board.x + board.w - 1) : 0);
    const int oy = y < board.y ? board.y - y : (y >= board.y + board.h ? y - (board.y + board.h - 1) : 0);
    const int d = std::max(ox, oy);
    if (d == 0 || d > 5) return c;
    if (d <= 2) return art::mix(c, rgba(0x04, 0x05, 0x0A), 0.75);
    const bool litSide = (x < board.x && ox >= oy) || (y < board.y && oy >= ox);
    if (d == 3) return art::shade(c, litSide ? 0.30 : 0.12);
    return art::shade(c, litSide ? 0.12 : 0.04);
}

void diamond(Image& image, double cx, double cy, double r, std::uint32_t c) {
    art::fillShape(image, int(cx - r) - 1, int(cy - r) - 1, int(cx + r) + 2, int(cy + r) + 2,
                   art::polygon({cx, cy - r, cx + r, cy, cx, cy + r, cx - r, cy}), c);
}

// A realm's name in the bottom margin under its board, between two thin rules.
void realmName(const Sources& src, Image& image, const Rect& board, std::string_view name, std::uint32_t top,
               std::uint32_t bottom, std::uint32_t rule) {
    const int cx = board.x + board.w / 2;
    const int y = board.y + board.h + 9;
    const int half = src.font.width(name, 2) / 2;
    centred(src.font, image, cx, y, name, style(2, top, bottom, 2, 1));
    for (int side : {-1, 1}) {
        const int from = cx + side * (half + 12);
        const int to = side < 0 ? board.x + 8 : board.x + board.w - 8;
        for (int x = std::min(from, to); x <= std::max(from, to); ++x) art::blend(image, x, y + 7, rule);
        diamond(image, from + side * 2, y + 7.5, 3.5, rule);
        diamond(image, to, y + 7.5, 2.5, rule);
    }
}

Image backdrop(const Sources& src, bool menu) {
    Image image(kScreenW, kScreenH);
    for (int y = 0; y < kScreenH; ++y) {
        for (int x = 0; x < kScreenW; ++x) {
            std::uint32_t c;
            if (kLumoraBoard.has(x, y))
                c = chasm(x, y, kLumoraBoard, false);
            else if (kVexmoorBoard.has(x, y))
                c = chasm(x, y, kVexmoorBoard, true);
            else
                c = setting(setting(stone(x, y), x, y, kLumoraBoard), x, y, kVexmoorBoard);
            image.at(x, y) = c;
        }
    }
    realmName(src, image, kLumoraBoard, "Lumora", kFrost, kIce, rgba(0x9C, 0xB8, 0xE8, 110));
    realmName(src, image, kVexmoorBoard, "Vexmoor", kAmberLight, kAmber, rgba(0xD8, 0xA8, 0x58, 110));
    if (menu) {
        // No hero walks the gap on the menu, so it may carry a chain of
        // diamonds from realm to realm.
        for (int y = 44; y <= 436; y += 16) {
            const std::uint32_t c = art::mix(rgba(0xA8, 0xC4, 0xF0, 120), rgba(0xE8, 0xB8, 0x60, 120), (y - 44) / 392.0);
            diamond(image, 320, y, (y - 44) % 64 == 0 ? 4.5 : 2.5, c);
        }
        for (int x = 304; x <= 336; ++x) {
            art::blend(image, x, 15, rgba(0xC8, 0xD0, 0xE0, 90));
            art::blend(image, x, 464, rgba(0xC8, 0xD0, 0xE0, 90));
        }
        diamond(image, 320, 15.5, 4.5, rgba(0xE8, 0xEC, 0xF4, 150));
        diamond(image, 320, 464.5, 4.5, rgba(0xE8, 0xEC, 0xF4, 150));
    }
    return image;
}

// ---- splash -----------------------------------------------------------------

// Tovrin's mark: a round badge with icy peaks before an amber sun over a still
// lake, the studio's two colours; below it the name and "presents".
Image splash(const Sources& src) {
    Image image(kScreenW, kScreenH);
    const double cx = 320, cy = 170, outer = 86, inner = 76;
    for (int y = 0; y < kScreenH; ++y) {
        for (int x = 0; x < kScreenW; ++x) {
            const double dx = x - cx, dy = (y - cy) * 1.15;
            const double d = std::sqrt(dx * dx + dy * dy) / 420.0;
            std::uint32_t c = art::mix(rgba(0x1A, 0x1E, 0x38), rgba(0x04, 0x05, 0x0A), clamp01(d));
            c = art::shade(c, (art::cloudNoise(x, y, 120, 3, 21) - 0.5) * 0.15);
            if (art::hashNoise(x, y, 22) > 0.9975) c = art::mix(c, kFrost, 0.2 + 0.5 * art::hashNoise(x, y, 23));
            image.at(x, y) = c;
        }
    }
    // A soft halo behind the badge.
    for (int y = int(cy - 150); y < int(cy + 150); ++y)
        for (int x = int(cx - 150); x < int(cx + 150); ++x) {
            const double dx = x - cx, dy = y - cy;
            const double t = 1.0 - std::sqrt(dx * dx + dy * dy) / 150.0;
            if (t > 0) art::blend(image, x, y, rgba(0x6A, 0x78, 0xC0), t * t * 0.35);
        }
    const int bx0 = int(cx - outer) - 1, by0 = int(cy - outer) - 1, bx1 = int(cx + outer) + 2, by1 = int(cy + outer) + 2;
    const art::Inside face = art::disc(cx, cy, inner);
    const double horizon = cy + 22;
    auto above = [=](double, double py) { return py < horizon; };
    // Sky, then lake.
    art::fillShape(image, bx0, by0, bx1, by1, face, [&](int, int y) {
        if (y < horizon) return art::mix(rgba(0x10, 0x14, 0x3A), rgba(0x5A, 0x3C, 0x6E), (y - (cy - inner)) / (horizon - (cy - inner)));
        return art::mix(rgba(0x1C, 0x1E, 0x44), rgba(0x06, 0x08, 0x18), (y - horizon) / (cy + inner - horizon));
    });
    for (auto [sx, sy] : {std::pair{cx - 44, cy - 46}, {cx + 30, cy - 56}, {cx + 52, cy - 30}, {cx - 18, cy - 62},
                          {cx - 60, cy - 18}, {cx + 8, cy - 40}})
        art::fillShape(image, bx0, by0, bx1, by1, art::disc(sx, sy, 1.2), rgba(0xF0, 0xF4, 0xFF, 220));
    // The sun rising in the saddle between the peaks, in its own glow.
    const double sunX = cx + 4, sunY = horizon - 6;
    art::fillShape(image, bx0, by0, bx1, by1, art::both(face, above), [&](int x, int y) {
        const double dx = x - sunX, dy = y - sunY;
        const double t = clamp01(1.0 - std::sqrt(dx * dx + dy * dy) / 72.0);
        return rgba(0xFF, 0xA8, 0x50, static_cast<unsigned>(t * t * 190));
    });
    art::fillShape(image, bx0, by0, bx1, by1, art::both(art::both(face, above), art::disc(sunX, sunY, 30)),
                   [&](int, int y) { return art::mix(rgba(0xFF, 0xF0, 0xB0), rgba(0xFF, 0x8C, 0x30), (y - (sunY - 30)) / 30.0); });
    // Two ranges of peaks: the far one dim, the near one icy with snow, its
    // faces right of each ridge in shadow (the light comes from the left).
    art::fillShape(image, bx0, by0, bx1, by1,
                   art::both(face, art::polygon({cx - 80, horizon, cx - 62, cy - 2, cx - 50, cy + 6, cx - 30, cy - 20,
                                                 cx - 12, horizon - 14, cx + 20, horizon - 12, cx + 44, cy - 26,
                                                 cx + 62, cy - 4, cx + 80, horizon})),
                   rgba(0x3C, 0x4C, 0x84));
    const std::vector<double> nearRange{cx - 80, horizon,    cx - 40, cy - 44, cx - 26, cy - 26, cx - 20, cy - 30,
                                        cx - 4,  horizon - 4, cx + 6, horizon, cx + 16, horizon - 2,
                                        cx + 40, cy - 36,    cx + 56, cy - 12, cx + 80, horizon};
    auto snowy = [&](int, int y) {
        return art::mix(rgba(0xC4, 0xDC, 0xF8), rgba(0x5A, 0x78, 0xB4), (y - (cy - 44)) / 66.0);
    };
    auto shadowed = [&](int x, int y) { return art::mix(snowy(x, y), rgba(0x24, 0x2C, 0x5C), 0.45); };
    art::fillShape(image, bx0, by0, bx1, by1, art::both(face, art::polygon(nearRange)), snowy);
    art::fillShape(image, bx0, by0, bx1, by1,
                   art::both(face, art::polygon({cx - 40, cy - 44, cx - 26, cy - 26, cx - 20, cy - 30, cx - 4,
                                                 horizon - 4, cx + 6, horizon, cx - 30, horizon})),
                   shadowed);
    art::fillShape(image, bx0, by0, bx1, by1,
                   art::both(face, art::polygon({cx + 40, cy - 36, cx + 56, cy - 12, cx + 80, horizon, cx + 48, horizon})),
                   shadowed);
    for (const std::vector<double>& cap :
         {std::vector<double>{cx - 40, cy - 44, cx - 30, cy - 30, cx - 36, cy - 32, cx - 42, cy - 26, cx - 46, cy - 34},
          std::vector<double>{cx + 40, cy - 36, cx + 49, cy - 23, cx + 43, cy - 25, cx + 37, cy - 20, cx + 33, cy - 28}})
        art::fillShape(image, bx0, by0, bx1, by1, art::polygon(cap), rgba(0xFA, 0xFC, 0xFF));
    // The range again upside down in the still lake, dimmer.
    std::vector<double> mirrored(nearRange);
    for (std::size_t i = 1; i < mirrored.size(); i += 2) mirrored[i] = 2 * horizon - mirrored[i];
    art::fillShape(image, bx0, by0, bx1, by1, art::both(face, art::polygon(mirrored)), rgba(0x46, 0x5C, 0x96, 55));
    // The sun's path on the lake.
    const int streaks[][2] = {{4, 22}, {9, 16}, {15, 11}, {22, 7}, {30, 4}};
    for (const auto& s : streaks)
        art::fillShape(image, bx0, by0, bx1, by1,
                       art::both(face, art::roundedRect(sunX - s[1], horizon + s[0], 2.0 * s[1], 2.5, 1.2)),
                       rgba(0xFF, 0xC0, 0x60, 200));
    // The gold rim.
    art::fillShape(image, bx0, by0, bx1, by1, art::ring(cx, cy, inner, outer), [&](int, int y) {
        return art::mix(rgba(0xFF, 0xEC, 0xA8), rgba(0x9C, 0x5A, 0x18), (y - (cy - outer)) / (2 * outer));
    });
    art::fillShape(image, bx0, by0, bx1, by1, art::ring(cx, cy, inner - 1, inner + 1.5), rgba(0x2A, 0x18, 0x08, 200));
    art::fillShape(image, bx0, by0, bx1, by1, art::ring(cx, cy, outer - 1.5, outer + 0.5), rgba(0x2A, 0x18, 0x08, 220));

    const std::string_view name = "TOVRIN";
    constexpr int kNameScale = 7, kNameGap = 14;
    TextStyle gold = style(kNameScale, rgba(0xFF, 0xF6, 0xCC), rgba(0xC8, 0x7A, 0x22), 3, 5);
    const int nameW = spacedWidth(src.font, name, kNameScale, kNameGap);
    spaced(src.font, image, 320 - nameW / 2, 288, name, gold, kNameGap);
    const std::string_view presents = "presents";
    const TextStyle soft = style(2, rgba(0xC4, 0xCC, 0xE4), rgba(0x8A, 0x96, 0xB8));
    const int presentsW = spacedWidth(src.font, presents, 2, 4);
    spaced(src.font, image, 320 - presentsW / 2, 368, presents, soft, 4);
    const std::uint32_t rule = rgba(0xB0, 0x98, 0x68, 150);
    for (int side : {-1, 1}) {
        const int from = 320 + side * (presentsW / 2 + 14), to = 320 + side * (nameW / 2);
        for (int x = std::min(from, to); x <= std::max(from, to); ++x) art::blend(image, x, 375, rule);
        diamond(image, to, 375.5, 3.5, rule);
    }
    return image;
}

// ---- instructions -----------------------------------------------------------

void card(Image& image, int x, int y, int w, int h) {
    art::panel(image, x, y, w, h, 8, rgba(0x0C, 0x10, 0x20, 170), rgba(0x6C, 0x7C, 0xA8, 160), 1.5);
}

Image instructions(const Sources& src) {
    const art::cFont& font = src.font;
    Image image(kScreenW, kScreenH);
    for (int y = 0; y < kScreenH; ++y)
        for (int x = 0; x < kScreenW; ++x) {
            // Lumora's cold on the left fading into Vexmoor's murk on the right.
            std::uint32_t c = art::mix(rgba(0x16, 0x1E, 0x3A), rgba(0x26, 0x20, 0x14), clamp01((x - 120) / 400.0));
            c = art::shade(c, -0.45 * y / double(kScreenH));
            c = art::shade(c, (art::cloudNoise(x, y, 80, 3, 31) - 0.5) * 0.16);
            image.at(x, y) = c;
        }

    const TextStyle title = style(4, kFrost, kIce, 2, 3);
    centred(font, image, 320, 14, "How to play", title);

    const TextStyle body = style(2, rgba(0xE8, 0xEC, 0xF6), rgba(0xB4, 0xBE, 0xD6), 0, 1);
    const TextStyle strong = style(2, kAmberLight, rgba(0xF0, 0xB0, 0x48), 0, 1);
    const char* intro[] = {"Two realms, two heroes, one will:", "{both heroes obey every order at once},",
                           "the left hero first. Bring {both heroes}", "onto a goal of their own board to win."};
    int y = 66;
    for (const char* line : intro) {
        rich(font, image, 320 - richWidth(font, line, 2) / 2, y, line, body, strong);
        y += 22;
    }

    // The cells, left column.
    const int top = 166;
    card(image, 24, top, 288, 242);
    const TextStyle head = style(2, kFrost, kIce, 0, 1);
    font.draw(image, 40, top + 10, "The boards", head);
    struct Row {
        const char* icon;
        const char* text;
    };
    const Row cells[] = {{"goal", "{Goal}: stand on it"},
                         {"hole", "{Hole}, edge: deadly"},
                         {"blocker", "{Blocker}: stops you"},
                         {"ice", "{Ice}: slides you on"},
                         {"oil", "{Oil}: slides you on"}};
    y = top + 34;
    for (const Row& row : cells) {
        const Image icon = src.icons.render(std::string("icon-") + row.icon);
        art::drawImage(image, art::scaled(icon, 2), 40, y);
        rich(font, image, 84, y + 9, row.text, body, strong);
        y += 40;
    }

    // The keys, right column.
    card(image, 328, top, 288, 242);
    const KeyLook key = paperKey();
    struct Keys {
        std::vector<const char*> caps;
        const char* text;
    };
    auto keyRows = [&](int yy, const char* heading, const std::vector<Keys>& rows) {
        font.draw(image, 344, yy, heading, head);
        yy += 24;
        for (const Keys& k : rows) {
            int x = 344;
            for (const char* cap : k.caps) {
                const int w = std::max(keyWidth(font, cap, 2), 28);
                keycap(font, image, x, yy, w, 26, cap, key);
                x += w + 4;
            }
            font.draw(image, x + 6, yy + 5, k.text, body);
            yy += 30;
        }
        return yy;
    };
    y = keyRows(top + 10, "In play", {{{"\u2190", "\u2192"}, "turn both heroes"},
                                      {{"\u2191"}, "both step forward"},
                                      {{"ESC"}, "back to the menu"}});
    keyRows(y + 4, "In the menu", {{{"\u2190", "\u2192"}, "choose the level"}, {{"SPACE"}, "start it"}, {{"ESC"}, "quit"}});

    const TextStyle prompt = style(3, kAmberLight, kAmber, 2, 2);
    centred(font, image, 320, 432, "Press SPACE to continue", prompt);
    return image;
}

// ---- menu pictures ------------------------------------------------------------

Image arrowKey(const Sources& src, bool right) {
    Image image(64, 64);
    const std::uint32_t tint = right ? kAmber : kIce;
    const KeyLook look = right ? glassKey(tint, kAmberLight, kAmber, 4) : glassKey(tint, kFrost, kIce, 4);
    keycap(src.font, image, 4, 4, 56, 56, right ? "\u2192" : "\u2190", look);
    return image;
}

// A see-through band that fades out at both ends, to lift text off the boards.
void band(Image& image, int x, int y, int w, int h, std::uint32_t c, int fade) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const double edge = std::min({i + 0.5, w - i - 0.5}) / fade;
            const double vertical = std::min({j + 0.5, h - j - 0.5}) / 4.0;
            art::blend(image, x + i, y + j, c, clamp01(edge) * clamp01(vertical));
        }
}

Image logo(const Sources& src) {
    const art::cFont& font = src.font;
    Image image(448, 64);
    band(image, 0, 6, 448, 52, rgba(0x06, 0x08, 0x12, 170), 40);
    const TextStyle lumora = style(4, kFrost, kIce, 2, 2);
    const TextStyle vexmoor = style(4, kAmberLight, kAmber, 2, 2);
    const TextStyle joiner = style(2, rgba(0xE8, 0xE8, 0xF4), rgba(0xB0, 0xB4, 0xC8), 2, 1);
    const int gap = 14;
    const int w = font.width("Lumora", 4) + gap + font.width("And", 2) + gap + font.width("Vexmoor", 4);
    int x = (448 - w) / 2;
    const int y = 32 - 7 * 4 / 2 - 2; // capitals centred in the band
    font.draw(image, x, y, "Lumora", lumora);
    x += font.width("Lumora", 4) + gap;
    font.draw(image, x, y + 7 * 4 - 7 * 2, "And", joiner);
    x += font.width("And", 2) + gap;
    font.draw(image, x, y, "Vexmoor", vexmoor);
    return image;
}

// The translucent bars of the menu that lie over the boards, and their white text.
void menuBar(Image& image, int x, int width) {
    art::panel(image, x, 4, width, 40, 12, rgba(0x06, 0x08, 0x12, 150), rgba(0xC8, 0xD0, 0xE8, 150), 1.5);
}

TextStyle barText(int scale, int outline) {
    return style(scale, rgba(0xFF, 0xFF, 0xFF), rgba(0xC8, 0xD0, 0xE4), outline, 0);
}

Image selectLevel(const Sources& src) {
    const art::cFont& font = src.font;
    Image image(384, 48);
    menuBar(image, 20, 344);
    const TextStyle text = barText(3, 2);
    const TextStyle left = style(3, kFrost, kIce, 2, 0);
    const TextStyle right = style(3, kAmberLight, kAmber, 2, 0);
    const int y = 24 - 7 * 3 / 2;
    centred(font, image, 192, y, "Select a level", text);
    font.draw(image, 34, y, "\u2190", left);
    font.draw(image, 384 - 34 - font.width("\u2192", 3), y, "\u2192", right);
    return image;
}

Image startButton(const Sources& src) {
    const art::cFont& font = src.font;
    Image image(322, 48);
    menuBar(image, 1, 320);
    const TextStyle text = barText(2, 1);
    const KeyLook key = glassKey(rgba(0xE8, 0xC0, 0x70), kAmberLight, rgba(0xF0, 0xB0, 0x48), 2);
    const int spaceW = keyWidth(font, "SPACE", 2), escW = keyWidth(font, "ESC", 2);
    const int total = spaceW + 6 + font.width("to start", 2) + 24 + escW + 6 + font.width("to quit", 2);
    int x = 161 - total / 2;
    keycap(font, image, x, 10, spaceW, 28, "SPACE", key);
    x += spaceW + 6;
    font.draw(image, x, 17, "to start", text);
    x += font.width("to start", 2) + 10;
    font.draw(image, x, 17, "\u00b7", text);
    x += 14;
    keycap(font, image, x, 10, escW, 28, "ESC", key);
    x += escW + 6;
    font.draw(image, x, 17, "to quit", text);
    return image;
}

} // namespace

Sources loadSources(const std::string& dir) {
    Sources sources{art::cFont::load(dir + "/font.txt"), {}};
    sources.icons.read(readFile(dir + "/icons.art"), "icons.art");
    return sources;
}

std::vector<Picture> paintAll(const Sources& sources) {
    std::vector<Picture> all;
    all.push_back({"menu/tovrin.png", 0, 0, splash(sources)});
    all.push_back({"menu/instruct.png", 0, 0, instructions(sources)});
    all.push_back({"tiles/back.png", 0, 0, backdrop(sources, false)});
    all.push_back({"menu/background.png", 0, 0, backdrop(sources, true)});
    all.push_back({"menu/btnLeft.png", 32, 32, arrowKey(sources, false)});
    all.push_back({"menu/logo.png", 96, 32, logo(sources)});
    all.push_back({"menu/selectLevel.png", 128, 128, selectLevel(sources)});
    all.push_back({"menu/btnRight.png", 544, 32, arrowKey(sources, true)});
    all.push_back({"menu/btnStart.png", 159, 384, startButton(sources)});
    return all;
}

Image mockMenu(const std::vector<Picture>& pictures) {
    Image screen(kScreenW, kScreenH);
    for (const Picture& p : pictures) {
        if (p.path == "menu/background.png") art::drawImage(screen, p.image, 0, 0);
    }
    // Plain squares for cells, a checker of two shades per realm, and some holes.
    for (const Rect& board : {kLumoraBoard, kVexmoorBoard}) {
        const bool vexmoor = board.x > 300;
        for (int r = 0; r < 13; ++r)
            for (int c = 0; c < 8; ++c) {
                if ((c * 7 + r * 3) % 11 == 0 || (r > 9 && c < 2)) continue;
                const std::uint32_t base = vexmoor ? rgba(0x7A, 0x66, 0x3C) : rgba(0x9C, 0xB6, 0xD8);
                const std::uint32_t c1 = (r + c) % 2 ? base : art::shade(base, -0.12);
                art::fillRect(screen, board.x + 32 * c + 1, board.y + 32 * r + 1, 30, 30, c1);
            }
    }
    for (const Picture& p : pictures)
        if (p.path.rfind("menu/btn", 0) == 0 || p.path == "menu/logo.png" || p.path == "menu/selectLevel.png")
            art::drawImage(screen, p.image, p.x, p.y);
    return screen;
}

Image fontSpecimen(const art::cFont& font) {
    std::vector<std::string> lines{"The quick brown fox jumps over the lazy dog.",
                                   "Press SPACE to continue \u00b7 \u2190 \u2191 \u2192"};
    const std::string all = font.characters();
    std::string line;
    for (std::size_t i = 0; i < all.size(); ++i) {
        line += all[i];
        const bool whole = i + 1 == all.size() || (static_cast<unsigned char>(all[i + 1]) & 0xC0) != 0x80;
        if (whole && (art::decodeUtf8(line).size() == 24 || i + 1 == all.size())) {
            lines.push_back(line);
            line.clear();
        }
    }
    int w = 0;
    for (const std::string& l : lines) w = std::max(w, font.width(l, 3));
    Image image(w + 24, int(lines.size()) * (font.height() + 3) * 3 + 21, rgba(0x10, 0x14, 0x24));
    int y = 12;
    for (const std::string& l : lines) {
        font.draw(image, 12, y, l, style(3, kFrost, kFrost));
        y += (font.height() + 3) * 3;
    }
    return image;
}

} // namespace screens
