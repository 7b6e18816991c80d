// Letters: a pixel font for the small icons and geometric stroke capitals
// for the station's logotype.
#include <algorithm>
#include <stdexcept>

#include "art.h"

namespace art {

namespace {

using Glyphs = std::map<char, std::vector<std::string>>;

// 7 rows high; M and W are 5 wide, most others 4.
const Glyphs& regular() {
    static const Glyphs g = {
        {' ', {"..", "..", "..", "..", "..", "..", ".."}},
        {'A', {".##.", "#..#", "#..#", "####", "#..#", "#..#", "#..#"}},
        {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
        {'P', {"###.", "#..#", "#..#", "###.", "#...", "#...", "#..."}},
        {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
        {'3', {"###.", "...#", "...#", ".##.", "...#", "...#", "###."}},
        {'?', {".##.", "#..#", "...#", "..#.", ".#..", "....", ".#.."}},
    };
    return g;
}

// 5 rows high, mostly 3 wide.
const Glyphs& small() {
    static const Glyphs g = {
        {' ', {"..", "..", "..", "..", ".."}},
        {'A', {".#.", "#.#", "###", "#.#", "#.#"}},
        {'B', {"##.", "#.#", "##.", "#.#", "##."}},
        {'D', {"##.", "#.#", "#.#", "#.#", "##."}},
        {'E', {"###", "#..", "##.", "#..", "###"}},
        {'I', {"#", "#", "#", "#", "#"}},
        {'O', {".#.", "#.#", "#.#", "#.#", ".#."}},
        {'R', {"##.", "#.#", "##.", "#.#", "#.#"}},
        {'W', {"#...#", "#...#", "#.#.#", "#.#.#", ".#.#."}},
    };
    return g;
}

}  // namespace

const std::vector<std::string>& glyph(char c, bool isSmall) {
    const Glyphs& g = isSmall ? small() : regular();
    auto it = g.find(c);
    if (it == g.end()) throw std::runtime_error(std::string("no glyph for ") + c);
    return it->second;
}

int textWidth(const std::string& s, bool isSmall, int spacing) {
    int w = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        w += static_cast<int>(glyph(s[i], isSmall)[0].size());
        if (i + 1 < s.size()) w += spacing;
    }
    return w;
}

Shape text(const std::string& s, double x, double y, double cell, bool isSmall, int spacing) {
    std::vector<Shape> parts;
    double cx = x;
    for (char c : s) {
        const auto& g = glyph(c, isSmall);
        parts.push_back(bitmap(g, cx, y, cell));
        cx += (static_cast<double>(g[0].size()) + spacing) * cell;
    }
    return unite(parts);
}

Shape strokeLetter(char c, double x, double y, double w, double h, double t) {
    Shape box = rect(x, y, x + w, y + h);
    Shape stemL = rect(x, y, x + t, y + h);
    Shape stemR = rect(x + w - t, y, x + w, y + h);
    auto hbar = [&](double top, double right) { return rect(x, top, right, top + t); };
    double half = t / 2;
    switch (c) {
        case 'O': {
            double r = std::min(w, h) / 2 - half;
            return outline(roundRect(x + half, y + half, x + w - half, y + h - half, r), t);
        }
        case 'D': {
            double r = std::min(w * 0.75, h / 2) - half;
            return outline(roundRect4(x + half, y + half, x + w - half, y + h - half, 0, r, r, 0), t);
        }
        case 'R': {
            double mid = y + h * 0.56;
            double r = std::min(w * 0.6, (mid - y) / 2) - half;
            Shape bowl = outline(roundRect4(x + half, y + half, x + w - half, mid - half, 0, r, r, 0), t);
            Shape leg = bar({x + w * 0.42, mid - half}, {x + w - half, y + h + t}, t * 1.1);
            return unite({stemL, bowl, intersect(leg, box)});
        }
        case 'V': {
            Shape a = bar({x + half, y - t}, {x + w / 2, y + h}, t * 1.1);
            Shape b = bar({x + w - half, y - t}, {x + w / 2, y + h}, t * 1.1);
            return intersect(unite(a, b), box);
        }
        case 'A': {
            Shape a = bar({x + w / 2, y}, {x + half, y + h + t}, t * 1.1);
            Shape b = bar({x + w / 2, y}, {x + w - half, y + h + t}, t * 1.1);
            Shape cross = rect(x, y + h * 0.62, x + w, y + h * 0.62 + t * 0.9);
            Shape inner = polygon({{x + w / 2, y}, {x, y + h}, {x + w, y + h}});
            return intersect(unite({a, b, intersect(cross, inner)}), box);
        }
        case 'N': {
            Shape diag = bar({x + half, y - t * 0.2}, {x + w - half, y + h + t * 0.2}, t * 1.15);
            return unite({stemL, stemR, intersect(diag, box)});
        }
        case 'E':
            return unite({stemL, hbar(y, x + w), hbar(y + (h - t) / 2, x + w * 0.85),
                          hbar(y + h - t, x + w)});
        case 'L':
            return unite(stemL, hbar(y + h - t, x + w));
        default:
            throw std::runtime_error(std::string("no stroke letter for ") + c);
    }
}

}  // namespace art
