// The playlist manager's 16x16 catalogue icons (and the 24x24 eraser).
// Coordinates are pixel edges: rect(1, 1, 15, 15) covers pixels 1..14.
#include "art.h"

namespace art {

namespace {

// Small window with a title bar, as behind the close and about badges.
void smallWindow(Canvas& c) {
    c.fillOutlined(rect(0, 1, 14, 13), rgb(0xffffff), rgb(0x2b4a78));
    c.fill(rect(1, 2, 13, 5), linear({0, 2}, {0, 5}, {{0, rgb(0x6fa8ea)}, {1, rgb(0x2f6fc4)}}));
    c.fill(rect(1, 5, 13, 6), rgb(0x2b4a78, 0.35));
    // Two greyed lines of content.
    c.fill(rect(2, 7, 8, 8), rgb(0xa9b6c6));
    c.fill(rect(2, 9, 6, 10), rgb(0xa9b6c6));
}

// Round 8-pixel badge in the lower right corner, with a light halo that
// keeps it apart from whatever lies below.
void badge(Canvas& c, Rgba light, Rgba dark, Rgba border) {
    c.fill(circle(12, 12, 5), rgb(0xffffff, 0.9));
    c.fillOutlined(circle(12, 12, 4), radial({10.8, 10.5}, 4.5, {{0, light}, {1, dark}}), border);
}

void drawSave(Canvas& c, int) {
    Shape body = polygon({{1, 1}, {13, 1}, {15, 3}, {15, 15}, {1, 15}});
    c.fillOutlined(body, linear({1, 1}, {15, 15}, {{0, rgb(0x5c9cf0)}, {1, rgb(0x1f55b0)}}),
                   rgb(0x12306a));
    // Metal shutter with its slot.
    c.fillOutlined(rect(4, 1, 12, 6), linear({4, 0}, {12, 0}, {{0, rgb(0xf2f4f7)}, {1, rgb(0xb8c0cc)}}),
                   rgb(0x12306a));
    c.fill(rect(9, 2, 11, 5), rgb(0x34465e));
    // Paper label.
    c.fillOutlined(rect(3, 8, 13, 15), rgb(0xffffff), rgb(0x12306a));
    c.fill(rect(4, 10, 12, 11), rgb(0x9fbbe0));
    c.fill(rect(4, 12, 12, 13), rgb(0x9fbbe0));
}

void drawQuit(Canvas& c, int) {
    // Doorway, dark inside, with the grey door swung open against the right jamb.
    c.fillOutlined(rect(4, 0, 16, 16), rgb(0x1e1e1e), rgb(0x3c3c3c));
    Shape leaf = polygon({{8, 2}, {15, 0}, {15, 16}, {8, 14}});
    c.fillOutlined(leaf, linear({8, 0}, {15, 0}, {{0, rgb(0xe4e4e4)}, {1, rgb(0x9c9c9c)}}),
                   rgb(0x484848));
    c.fill(rect(10, 7, 11, 10), rgb(0x383838));  // handle
    // Red arrow going in.
    Shape arrow = polygon({{0, 6}, {4, 6}, {4, 3}, {9, 8}, {4, 13}, {4, 10}, {0, 10}});
    c.fillOutlined(arrow, linear({0, 3}, {0, 13}, {{0, rgb(0xff6a5a)}, {1, rgb(0xc8180c)}}),
                   rgb(0x7a0a04));
}

void drawEraser(Canvas& c, int size) {
    double k = size / 16.0;
    auto P = [&](double x, double y) { return Vec{x * k, y * k}; };
    auto add = [](Vec p, Vec q) { return Vec{p.x + q.x, p.y + q.y}; };
    auto lerp = [](Vec p, Vec q, double t) { return Vec{p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t}; };
    Rgba line = rgb(0x2e1e36);
    // Block lying with its long axis to the upper right, seen slightly from
    // above: top face a-b-c-d, and the faces below a-d (end) and d-c (side).
    Vec a = P(0.6, 10.6), b = P(8.0, 3.2), cc = P(13.6, 3.2), d = P(6.2, 10.6);
    Vec drop = P(0, 3.4);
    Vec ad = add(a, drop), dd = add(d, drop), cd = add(cc, drop);
    // The pink rubber covers the lower-left part, the blue the rest.
    double split = 0.45;
    Vec ab = lerp(a, b, split), dc = lerp(d, cc, split), dcd = add(dc, drop);

    c.fill(grow(polygon({a, b, cc, cd, dd, ad}), 0.8), line);
    c.fill(polygon({a, d, dd, ad}), rgb(0xd9577f));
    c.fill(polygon({d, dc, dcd, dd}), rgb(0xe9789b));
    c.fill(polygon({dc, cc, cd, dcd}), rgb(0x2f63b8));
    c.fill(polygon({a, ab, dc, d}), linear(a, dc, {{0, rgb(0xffc2d4)}, {1, rgb(0xf591b0)}}));
    c.fill(polygon({ab, b, cc, dc}), linear(ab, cc, {{0, rgb(0x7fb0ff)}, {1, rgb(0x4a84e0)}}));
    // Edges between the faces.
    Rgba edge = withAlpha(line, 0.85);
    c.fill(capsule(d, dd, 0.9), edge);
    c.fill(capsule(a, d, 0.9), edge);
    c.fill(capsule(d, cc, 0.9), edge);
    c.fill(capsule(ab, dc, 0.9), withAlpha(line, 0.6));
    c.fill(capsule(dc, dcd, 0.9), withAlpha(line, 0.6));
}

void drawOpen(Canvas& c, int) {
    Rgba brown = rgb(0x8a5a08);
    c.fillOutlined(unite(rect(0, 2, 6, 5), rect(0, 3, 14, 14)), rgb(0xe8b030), brown);
    c.fillOutlined(polygon({{0, 6}, {14, 6}, {14, 14}, {0, 14}}),
                   linear({0, 6}, {0, 14}, {{0, rgb(0xffe48a)}, {1, rgb(0xf2bd3a)}}), brown);
    // Magnifying glass.
    c.fill(capsule({12.3, 12.3}, {14.6, 14.6}, 2.4), rgb(0x2a2a2a));
    c.fill(circle(10.5, 9.5, 4.2), rgb(0xffffff, 0.6));
    c.fillOutlined(circle(10.5, 9.5, 3.5), radial({9.5, 8.5}, 3.5, {{0, rgb(0xffffff)}, {1, rgb(0xa9d4f5)}}),
                   rgb(0x2a2a2a), 1.1);
}

void drawClose(Canvas& c, int) {
    smallWindow(c);
    badge(c, rgb(0xff6b5b), rgb(0xcc1a0e), rgb(0x7a0a04));
    c.fill(rect(10, 11, 14, 13), rgb(0xffffff));
}

void drawHelp(Canvas& c, int) {
    c.fillOutlined(circle(8, 8, 7.5),
                   radial({6, 5}, 9, {{0, rgb(0x8cc4ff)}, {0.55, rgb(0x2f78d8)}, {1, rgb(0x1448a0)}}),
                   rgb(0x0e2f70));
    c.fill(bitmap({".####.", "##..##", "....##", "...##.", "..##..", "..##..", "......", "..##.."}, 5, 4),
           rgb(0xffffff));
}

void drawAbout(Canvas& c, int) {
    smallWindow(c);
    badge(c, rgb(0x6fb0ff), rgb(0x1f5fc4), rgb(0x0e2f70));
    c.fill(rect(11, 9, 13, 10), rgb(0xffffff));
    c.fill(rect(11, 11, 13, 15), rgb(0xffffff));
}

Shape rightArrow() {
    return polygon({{1, 6}, {8, 6}, {8, 1}, {15, 8}, {8, 15}, {8, 10}, {1, 10}});
}

void drawAdd(Canvas& c, int) {
    c.fillOutlined(rightArrow(), linear({0, 1}, {0, 15}, {{0, rgb(0x8ee86a)}, {1, rgb(0x26962a)}}),
                   rgb(0x145a16));
}

void drawRemove(Canvas& c, int) {
    Shape left = {[](double x, double y) { return rightArrow()(16 - x, y); }};
    c.fillOutlined(left, linear({0, 1}, {0, 15}, {{0, rgb(0xff7a6a)}, {1, rgb(0xcc1c10)}}),
                   rgb(0x7a0a04));
}

void drawProperties(Canvas& c, int) {
    Rgba grey = rgb(0x5a6472);
    c.fillOutlined(polygon({{2, 0}, {10, 0}, {13, 3}, {13, 16}, {2, 16}}), rgb(0xffffff), grey);
    c.fillOutlined(polygon({{9, 0}, {13, 4}, {9, 4}}), rgb(0xdfe4ea), grey);
    for (int y : {4, 7, 10, 13}) {
        c.fill(rect(4, y, 5, y + 1), rgb(0x2a3a50));
        c.fill(rect(6, y, y < 7 ? 8 : 11, y + 1), rgb(0x8c9aae));
    }
    c.fill(circle(11.5, 11.5, 5.4), rgb(0xffffff, 0.9));
    c.fillOutlined(circle(11.5, 11.5, 4.5), radial({10.3, 10}, 5, {{0, rgb(0x6fb0ff)}, {1, rgb(0x1f5fc4)}}),
                   rgb(0x0e2f70));
    c.fill(bitmap({"##.", "..#", ".#.", "...", ".#."}, 10, 9), rgb(0xffffff));
}

void drawStatus(Canvas& c, int) {
    c.fill(circle(8, 8, 7.5), radial({6, 5}, 9, {{0, rgb(0x4a5a70)}, {1, rgb(0x18202c)}}));
    c.fillOutlined(circle(8, 8, 5.5), radial({6.5, 6}, 6, {{0, rgb(0xdcebf8)}, {1, rgb(0x98b6d4)}}),
                   rgb(0x0c1018, 0.6));
    Shape tee = unite(rect(5, 5, 11, 7), rect(7, 7, 9, 12));
    c.fill(translate(tee, 1, 1), rgb(0x5d7fa6));
    c.fill(tee, rgb(0xffffff));
}

void drawDelete(Canvas& c, int) {
    Rgba dark = rgb(0x34393f);
    // Body, tapering, shaded like a cylinder.
    c.fillOutlined(polygon({{2.5, 4}, {13.5, 4}, {12.5, 16}, {3.5, 16}}),
                   linear({3, 0}, {13, 0}, {{0, rgb(0xaab0b6)}, {0.35, rgb(0xeef0f2)}, {1, rgb(0x7c838a)}}),
                   dark);
    for (double x : {5.5, 7.5, 9.5}) c.fill(rect(x, 6, x + 1, 14), rgb(0x5a6168));
    // Lid and handle.
    c.fillOutlined(rect(5, 0, 11, 3), rgb(0xc9cdd2), dark);
    c.fillOutlined(rect(1, 2, 15, 5), linear({0, 2}, {0, 5}, {{0, rgb(0xf4f6f8)}, {1, rgb(0x9aa1a8)}}), dark);
}

void glowWithText(Canvas& c, const std::string& s, Rgba glow, Rgba glowEdge, Rgba ink) {
    c.fill(circle(8, 8, 8.2), radial({8, 8}, 8.2, {{0, glow}, {0.5, withAlpha(glow, 0.85)},
                                                  {0.8, glowEdge}, {1, withAlpha(glowEdge, 0)}}));
    int w = textWidth(s);
    c.fill(text(s, (16 - w + 1) / 2, 5), ink);
}

void drawMp3(Canvas& c, int) {
    glowWithText(c, "MP3", rgb(0x7dff6a), rgb(0x2fcf2f, 0.45), rgb(0x083a08));
}

void drawWma(Canvas& c, int) {
    glowWithText(c, "WMA", rgb(0x8af4ff), rgb(0x19bfe0, 0.45), rgb(0x062f3e));
}

}  // namespace

std::vector<CatalogueIcon> catalogueIcons() {
    return {
        {"save.ico", {16}, drawSave},
        {"quit.ico", {16}, drawQuit},
        {"clear.ico", {24, 16}, drawEraser},
        {"open.ico", {16}, drawOpen},
        {"close.ico", {16}, drawClose},
        {"help.ico", {16}, drawHelp},
        {"about.ico", {16}, drawAbout},
        {"add.ico", {16}, drawAdd},
        {"remove.ico", {16}, drawRemove},
        {"properties.ico", {16}, drawProperties},
        {"status.ico", {16}, drawStatus},
        {"delete.ico", {16}, drawDelete},
        {"mp3.ico", {16}, drawMp3},
        {"wma.ico", {16}, drawWma},
    };
}

}  // namespace art
