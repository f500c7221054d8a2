#include "font.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "draw.h"

namespace art {

std::u32string decodeUtf8(std::string_view utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        int extra = 0;
        char32_t c = 0;
        if (lead < 0x80) {
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            c = lead & 0x07;
        } else {
            throw std::runtime_error("broken UTF-8");
        }
        if (i + extra >= utf8.size()) throw std::runtime_error("broken UTF-8");
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) throw std::runtime_error("broken UTF-8");
            c = (c << 6) | (next & 0x3F);
        }
        out.push_back(c);
        i += 1 + extra;
    }
    return out;
}

cFont cFont::parse(std::string_view source) {
    cFont font;
    std::istringstream in{std::string(source)};
    std::string line;
    int number = 0;
    auto fail = [&number](const std::string& why) {
        throw std::runtime_error("font line " + std::to_string(number) + ": " + why);
    };
    Glyph* open = nullptr; // the glyph whose rows are being read
    char32_t openChar = 0;
    auto close = [&]() {
        if (open == nullptr) return;
        if (font.mHeight == 0) font.mHeight = static_cast<int>(open->rows.size());
        if (static_cast<int>(open->rows.size()) != font.mHeight)
            fail("glyph U+" + std::to_string(unsigned(openChar)) + " has " + std::to_string(open->rows.size()) +
                 " rows, the font " + std::to_string(font.mHeight));
        open = nullptr;
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') {
            close();
            continue;
        }
        if (line[0] == '[') {
            close();
            if (line.size() < 3 || line.back() != ']') fail("expected [c]");
            const std::u32string name = decodeUtf8(std::string_view(line).substr(1, line.size() - 2));
            if (name.size() != 1) fail("a glyph names one character");
            openChar = name[0];
            if (font.mGlyphs.count(openChar) != 0) fail("glyph named twice");
            open = &font.mGlyphs[openChar];
            continue;
        }
        if (open == nullptr) fail("pixels outside a glyph");
        if (line.find_first_not_of("#.") != std::string::npos) fail("a row holds only '#' and '.'");
        if (!open->rows.empty() && static_cast<int>(line.size()) != open->width) fail("rows of unequal width");
        open->width = static_cast<int>(line.size());
        open->rows.push_back(line);
    }
    ++number;
    close();
    if (font.mGlyphs.empty()) fail("no glyphs");
    return font;
}

cFont cFont::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    try {
        return parse(text.str());
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
}

std::string cFont::characters() const {
    std::string out;
    for (const auto& [c, glyph] : mGlyphs) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

const cFont::Glyph& cFont::glyph(char32_t c) const {
    const auto found = mGlyphs.find(c);
    if (found == mGlyphs.end()) throw std::runtime_error("the font has no glyph U+" + std::to_string(unsigned(c)));
    return found->second;
}

int cFont::width(std::string_view utf8, int scale) const {
    int w = 0;
    const std::u32string text = decodeUtf8(utf8);
    for (char32_t c : text) w += glyph(c).width + 1;
    return text.empty() ? 0 : (w - 1) * scale;
}

void cFont::draw(Image& image, int x, int y, std::string_view utf8, const TextStyle& style) const {
    const int s = style.scale;
    const int pad = style.outlineWidth;
    const int w = width(utf8, s) + 2 * pad;
    const int h = mHeight * s + 2 * pad;
    // Ink mask of the scaled text, with room for the outline around it.
    std::vector<char> ink(std::size_t(w) * h, 0);
    int pen = pad;
    for (char32_t c : decodeUtf8(utf8)) {
        const Glyph& g = glyph(c);
        for (int r = 0; r < mHeight; ++r)
            for (int col = 0; col < g.width; ++col)
                if (g.rows[r][col] == '#')
                    for (int dy = 0; dy < s; ++dy)
                        for (int dx = 0; dx < s; ++dx)
                            ink[std::size_t(pad + r * s + dy) * w + pen + col * s + dx] = 1;
        pen += (g.width + 1) * s;
    }
    auto inked = [&](int i, int j) { return i >= 0 && j >= 0 && i < w && j < h && ink[std::size_t(j) * w + i]; };
    // The outline grows the ink by a square: crisp steps that suit pixel letters.
    std::vector<char> body(ink);
    if (pad > 0)
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                for (int dy = -pad; dy <= pad && !body[std::size_t(j) * w + i]; ++dy)
                    for (int dx = -pad; dx <= pad; ++dx)
                        if (inked(i + dx, j + dy)) {
                            body[std::size_t(j) * w + i] = 1;
                            break;
                        }
    const int ox = x - pad, oy = y - pad;
    if (style.shadowX != 0 || style.shadowY != 0)
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                if (body[std::size_t(j) * w + i]) blend(image, ox + i + style.shadowX, oy + j + style.shadowY, style.shadow);
    for (int j = 0; j < h; ++j) {
        const double t = mHeight * s > 1 ? double(j - pad) / (mHeight * s - 1) : 0.0;
        const std::uint32_t fill = mix(style.top, style.bottom, t);
        for (int i = 0; i < w; ++i) {
            if (inked(i, j))
                blend(image, ox + i, oy + j, fill);
            else if (body[std::size_t(j) * w + i])
                blend(image, ox + i, oy + j, style.outline);
        }
    }
}

} // namespace art
