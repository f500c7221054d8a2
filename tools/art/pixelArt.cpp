#include "pixelArt.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "draw.h"
#include "ops.h"

namespace art {

namespace {

constexpr char kClear = '.';

[[noreturn]] void fail(const std::string& where, const std::string& what) {
    throw cArtError(where + ": " + what);
}

std::vector<std::string> tokens(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string t; in >> t;) {
        if (t[0] == '#') break; // the rest of the line is a remark
        out.push_back(t);
    }
    return out;
}

bool blank(const std::string& line) {
    return std::all_of(line.begin(), line.end(), [](unsigned char c) { return std::isspace(c); });
}

bool remark(const std::string& line) {
    const auto first = line.find_first_not_of(" \t");
    return first != std::string::npos && line[first] == '#';
}

int number(const std::string& text, const std::string& where) {
    std::size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size()) fail(where, "not a whole number: '" + text + "'");
    return value;
}

double percent(const std::string& text, const std::string& where) {
    std::string digits = text;
    if (!digits.empty() && digits.back() == '%') digits.pop_back();
    const int value = number(digits, where);
    if (value < 0 || value > 1000) fail(where, "percentage out of range: '" + text + "'");
    return value / 100.0;
}

// "RRGGBB" (opaque) or "RRGGBBAA" as 0xRRGGBBAA.
std::uint32_t hexColor(const std::string& text, const std::string& where) {
    const bool ok = (text.size() == 6 || text.size() == 8) &&
                    std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c); });
    if (!ok) fail(where, "not a colour (RRGGBB or RRGGBBAA): '" + text + "'");
    const auto value = static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
    return text.size() == 6 ? (value << 8) | 255u : value;
}

void checkName(const std::string& name, const std::string& where) {
    const bool ok = !name.empty() && name.front() != '/' && name.back() != '/' &&
                    name.find("..") == std::string::npos && name.find("//") == std::string::npos &&
                    std::all_of(name.begin(), name.end(), [](unsigned char c) {
                        return std::isalnum(c) || c == '_' || c == '-' || c == '/';
                    });
    if (!ok) fail(where, "bad name '" + name + "' (letters, digits, _ - and / only)");
}

// "A=B" words after "with": palette A is drawn with palette B instead.
std::map<std::string, std::string> swapsFrom(const std::vector<std::string>& words, std::size_t from,
                                             const std::string& where) {
    std::map<std::string, std::string> swaps;
    if (from == words.size()) return swaps;
    if (words[from] != "with" || from + 1 == words.size()) fail(where, "expected 'with A=B ...'");
    for (std::size_t i = from + 1; i < words.size(); ++i) {
        const auto eq = words[i].find('=');
        if (eq == std::string::npos || eq == 0 || eq + 1 == words[i].size()) {
            fail(where, "expected a palette swap A=B, not '" + words[i] + "'");
        }
        swaps[words[i].substr(0, eq)] = words[i].substr(eq + 1);
    }
    return swaps;
}

} // namespace

void cArtBook::read(const std::string& text, const std::string& origin) {
    std::vector<std::string> lines;
    {
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
            lines.push_back(line);
        }
    }
    cPalette* palette = nullptr;
    cRecipe* recipe = nullptr;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string where = origin + ":" + std::to_string(i + 1);
        if (blank(lines[i]) || remark(lines[i])) continue;
        const std::vector<std::string> w = tokens(lines[i]);
        const std::string& key = w[0];

        if (key == "palette") {
            if (w.size() != 2 && !(w.size() == 4 && w[2] == "from")) fail(where, "expected 'palette NAME [from BASE]'");
            checkName(w[1], where);
            if (mPalettes.count(w[1]) != 0) fail(where, "palette '" + w[1] + "' is declared twice");
            palette = &mPalettes[w[1]];
            palette->base = w.size() == 4 ? w[3] : "";
            palette->where = where;
            recipe = nullptr;
            continue;
        }
        if (key == "picture" || key == "part") {
            if (w.size() < 3) fail(where, "expected '" + key + " NAME WxH' or '" + key + " NAME from OTHER'");
            checkName(w[1], where);
            if (mRecipes.count(w[1]) != 0) fail(where, "picture '" + w[1] + "' is declared twice");
            cRecipe r;
            r.output = key == "picture";
            r.where = where;
            if (w[2] == "from") {
                if (w.size() < 4) fail(where, "expected '" + key + " NAME from OTHER'");
                swapsFrom(w, 4, where);
                r.steps.push_back({"from", std::vector<std::string>(w.begin() + 3, w.end()), {}, where});
            } else {
                const auto x = w[2].find('x');
                if (w.size() != 3 || x == std::string::npos) fail(where, "expected a size WxH, not '" + w[2] + "'");
                r.width = number(w[2].substr(0, x), where);
                r.height = number(w[2].substr(x + 1), where);
                if (r.width <= 0 || r.height <= 0 || r.width > 4096 || r.height > 4096) fail(where, "bad size");
            }
            recipe = &(mRecipes[w[1]] = r);
            palette = nullptr;
            continue;
        }
        if (palette != nullptr) {
            // A colour: one character, then RRGGBB or RRGGBBAA, then any note.
            if (key.size() != 1 || w.size() < 2) fail(where, "expected a colour 'C RRGGBB[AA]', got '" + key + "'");
            if (key[0] == kClear) fail(where, "'.' is always transparent");
            if (palette->colors.count(key[0]) != 0) fail(where, "colour '" + key + "' is given twice");
            palette->colors[key[0]] = hexColor(w[1], where);
            continue;
        }
        if (recipe == nullptr) fail(where, "expected 'palette', 'picture' or 'part', got '" + key + "'");

        cStep step{key, std::vector<std::string>(w.begin() + 1, w.end()), {}, where};
        const std::size_t n = step.args.size();
        auto need = [&](bool ok, const char* form) {
            if (!ok) fail(where, std::string("expected '") + form + "'");
        };
        if (key == "use") {
            need(n == 1, "use PALETTE");
        } else if (key == "grid") {
            need(n == 0 || n == 2, "grid [X Y]");
            for (const std::string& a : step.args) number(a, where);
            // The rows run to the next blank line.
            std::size_t width = 0;
            while (i + 1 < lines.size() && !blank(lines[i + 1])) {
                ++i;
                if (remark(lines[i])) continue;
                const std::string rowWhere = origin + ":" + std::to_string(i + 1);
                const std::string& row = lines[i];
                if (row.find_first_of(" \t") != std::string::npos) fail(rowWhere, "a grid row holds no spaces");
                if (width == 0) width = row.size();
                if (row.size() != width) {
                    fail(rowWhere, "row is " + std::to_string(row.size()) + " wide, the grid " + std::to_string(width));
                }
                step.rows.push_back(row);
            }
            if (step.rows.empty()) fail(where, "a grid needs rows right below it");
        } else if (key == "stamp" || key == "under") {
            need(n == 1 || n == 3 || (n >= 2 && step.args[1] == "with") || (n >= 4 && step.args[3] == "with"),
                 "stamp|under NAME [X Y] [with A=B ...]");
            const bool placed = n >= 3 && step.args[1] != "with";
            if (placed) {
                number(step.args[1], where);
                number(step.args[2], where);
            }
            swapsFrom(step.args, placed ? 3 : 1, where);
        } else if (key == "mirror") {
            need(n == 0, "mirror");
        } else if (key == "move") {
            need(n == 2, "move DX DY");
            number(step.args[0], where);
            number(step.args[1], where);
        } else if (key == "tint") {
            need(n == 2, "tint RRGGBB PERCENT");
            hexColor(step.args[0], where);
            if (percent(step.args[1], where) > 1.0) fail(where, "a tint goes up to 100%");
        } else if (key == "fade") {
            need(n == 1, "fade PERCENT");
            if (percent(step.args[0], where) > 1.0) fail(where, "a fade goes up to 100%");
        } else if (key == "scale") {
            need(n == 3, "scale PERCENT X Y");
            percent(step.args[0], where);
            number(step.args[1], where);
            number(step.args[2], where);
        } else if (key == "outline") {
            need(n == 1, "outline RRGGBB[AA]");
            hexColor(step.args[0], where);
        } else {
            fail(where, "unknown step '" + key + "'");
        }
        recipe->steps.push_back(step);
    }
}

void cArtBook::readDirectory(const std::string& directory) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        if (entry.is_regular_file() && entry.path().extension() == ".art") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) throw cArtError(file.string() + ": cannot read");
        std::ostringstream text;
        text << in.rdbuf();
        read(text.str(), file.filename().string());
    }
}

std::vector<std::string> cArtBook::pictures() const {
    std::vector<std::string> names;
    for (const auto& [name, recipe] : mRecipes) {
        if (recipe.output) names.push_back(name);
    }
    return names;
}

std::uint32_t cArtBook::color(const std::string& name, char c, const std::string& where) const {
    if (c == kClear) return 0;
    std::string current = name;
    for (int depth = 0; depth < 32; ++depth) {
        const auto palette = mPalettes.find(current);
        if (palette == mPalettes.end()) fail(where, "no palette '" + current + "'");
        const auto found = palette->second.colors.find(c);
        if (found != palette->second.colors.end()) return found->second;
        if (palette->second.base.empty()) fail(where, std::string("palette '") + name + "' has no colour '" + c + "'");
        current = palette->second.base;
    }
    fail(where, "palette '" + name + "' is based on itself");
}

Image cArtBook::render(const std::string& name) const {
    std::vector<std::string> stack;
    return render(name, {}, stack, "render");
}

Image cArtBook::render(const std::string& name, const Swaps& swaps, std::vector<std::string>& stack,
                       const std::string& where) const {
    const auto found = mRecipes.find(name);
    if (found == mRecipes.end()) fail(where, "no picture '" + name + "'");
    if (std::find(stack.begin(), stack.end(), name) != stack.end()) fail(where, "'" + name + "' is drawn from itself");
    stack.push_back(name);
    const cRecipe& recipe = found->second;

    auto palette = [&](std::string p) {
        for (const auto& swap : swaps) {
            const auto s = swap.find(p);
            if (s != swap.end()) p = s->second;
        }
        return p;
    };
    // A picture drawn from another sees this picture's swaps after its own.
    auto other = [&](const std::vector<std::string>& args, std::size_t withAt, const std::string& at) {
        Swaps inner{swapsFrom(args, std::min(withAt, args.size()), at)};
        inner.insert(inner.end(), swaps.begin(), swaps.end());
        return render(args[0], inner, stack, at);
    };

    Image canvas(recipe.width, recipe.height);
    std::string current;
    for (const cStep& step : recipe.steps) {
        const auto& a = step.args;
        if (step.op == "from") {
            canvas = other(a, 1, step.where);
        } else if (step.op == "use") {
            current = a[0];
        } else if (step.op == "grid") {
            if (current.empty()) fail(step.where, "a grid needs 'use PALETTE' first");
            const std::string used = palette(current);
            const int x0 = a.empty() ? 0 : number(a[0], step.where);
            const int y0 = a.empty() ? 0 : number(a[1], step.where);
            const int w = static_cast<int>(step.rows[0].size());
            const int h = static_cast<int>(step.rows.size());
            if (x0 < 0 || y0 < 0 || x0 + w > canvas.width || y0 + h > canvas.height) {
                fail(step.where, "the grid (" + std::to_string(w) + "x" + std::to_string(h) + " at " +
                                     std::to_string(x0) + "," + std::to_string(y0) + ") does not fit in " +
                                     std::to_string(canvas.width) + "x" + std::to_string(canvas.height));
            }
            Image layer(w, h);
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) layer.at(x, y) = color(used, step.rows[y][x], step.where);
            }
            drawImage(canvas, layer, x0, y0);
        } else if (step.op == "stamp" || step.op == "under") {
            const bool placed = a.size() >= 3 && a[1] != "with";
            const Image part = other(a, placed ? 3 : 1, step.where);
            const int x = placed ? number(a[1], step.where) : 0;
            const int y = placed ? number(a[2], step.where) : 0;
            if (step.op == "stamp") {
                drawImage(canvas, part, x, y);
            } else {
                // Behind what is drawn so far.
                Image below(canvas.width, canvas.height);
                drawImage(below, part, x, y);
                drawImage(below, canvas, 0, 0);
                canvas = below;
            }
        } else if (step.op == "mirror") {
            canvas = mirrored(canvas);
        } else if (step.op == "move") {
            canvas = shifted(canvas, number(a[0], step.where), number(a[1], step.where));
        } else if (step.op == "tint") {
            canvas = tinted(canvas, hexColor(a[0], step.where) >> 8, percent(a[1], step.where));
        } else if (step.op == "fade") {
            canvas = faded(canvas, percent(a[0], step.where));
        } else if (step.op == "scale") {
            canvas = scaledAbout(canvas, percent(a[0], step.where), number(a[1], step.where),
                                 number(a[2], step.where));
        } else if (step.op == "outline") {
            canvas = outlined(canvas, hexColor(a[0], step.where));
        }
    }
    stack.pop_back();
    return canvas;
}

} // namespace art
