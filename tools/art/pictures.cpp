// The radio's two pictures: the About portrait and the station logo.
#include "art.h"

namespace art {

Canvas aboutPicture() {
    Canvas c(73, 80);
    c.clear(rgb(0x000000));
    // Soft halo behind the head.
    c.fill(rect(0, 0, 73, 80),
           radial({36.5, 36}, 40, {{0, rgb(0x0d4450)}, {0.55, rgb(0x061a20)}, {1, rgb(0x000000)}}));

    // Light comes from the upper left; a cyan back light rims the right side.
    Paint rim = linear({30, 0}, {52, 0}, {{0, rgb(0x9ff8ff, 0)}, {1, rgb(0x9ff8ff, 1)}});
    Shape frame = rect(0, 0, 73, 80);

    // Shoulders and chest.
    Shape shoulders = intersect(unite(ellipse(36.5, 93, 39, 31), ellipse(36.5, 73, 27, 14)), frame);
    c.fill(subtract(grow(shoulders, 1.2), shoulders), rim);
    c.fill(shoulders, linear({4, 64}, {70, 80}, {{0, rgb(0x1f96a8)}, {0.55, rgb(0x0c5260)}, {1, rgb(0x04262e)}}));
    // Neck, with the jaw's shadow across its top.
    Shape neck = roundRect(29.5, 42, 43.5, 68, 6);
    c.fill(neck, linear({29.5, 0}, {43.5, 0}, {{0, rgb(0x46bccb)}, {1, rgb(0x10606e)}}));
    c.fill(intersect(neck, ellipse(36.5, 46, 12, 7)), rgb(0x052e38, 0.85));
    // Open collar.
    c.fill(polygon({{26.5, 62}, {36.5, 76}, {46.5, 62}, {42, 60.5}, {36.5, 68.5}, {31, 60.5}}), rgb(0x03222a));
    c.fill(polyline({{27, 62.5}, {36.5, 75.5}, {46, 62.5}}, 1.0), rgb(0x3fb4c4, 0.8));

    // Ears, then the head.
    c.fill(ellipse(22.6, 32.5, 2.9, 4.8), rgb(0x4cc0d0));
    c.fill(ellipse(50.4, 32.5, 2.9, 4.8), rgb(0x17707e));
    // Cranium and a narrower jaw.
    Shape head = unite(ellipse(36.5, 29, 14, 16), ellipse(36.5, 37, 11.5, 12.5));
    c.fill(subtract(grow(head, 1.1), head), rim);
    c.fill(head, radial({31, 27}, 21, {{0, rgb(0xa8f4fa)}, {0.5, rgb(0x52c6d4)}, {1, rgb(0x115a68)}}));

    // Hair: a cap down to the temples, with a fringe swept to the right.
    Shape skull = ellipse(36.5, 26.5, 15.6, 15.2);
    Shape cap = subtract(skull, ellipse(37, 36.5, 13.2, 16.2));
    Shape fringe = rotate(ellipse(33, 19.5, 11, 3.8), {33, 19.5}, -14);
    Shape hair = intersect(unite(cap, fringe), skull);
    c.fill(subtract(grow(hair, 1.0), unite(hair, head)), rim);
    c.fill(hair, linear({24, 12}, {50, 32}, {{0, rgb(0x2f9fb0)}, {0.5, rgb(0x0f5664)}, {1, rgb(0x03222a)}}));
    c.fill(arcBand(36.5, 26.5, 13.5, 1.0, 105, 150), rgb(0x8ae8f2, 0.55));  // sheen

    // Brows, eyes, nose, mouth.
    Rgba feature = rgb(0x05323c);
    for (double ex : {30.8, 42.2}) {
        c.fill(capsule({ex - 3.0, 27.6}, {ex + 2.6, 27.1}, 1.3), rgb(0x0a4250));
        c.fill(ellipse(ex, 31.4, 2.6, 1.3), rgb(0x8fdde6));
        c.fill(circle(ex + 0.2, 31.4, 1.3), feature);
        c.fill(circle(ex - 0.3, 30.9, 0.45), rgb(0xe8feff));
    }
    c.fill(polygon({{37.4, 32}, {39.6, 38.2}, {36.4, 38.8}, {38.2, 37.4}}), rgb(0x0d5866, 0.8));
    c.fill(ellipse(36.0, 38.6, 1.6, 0.7), rgb(0x0b4856, 0.6));
    c.fill(capsule({33.2, 42.4}, {39.8, 42.4}, 1.2), rgb(0x0a4250));
    c.fill(capsule({34.4, 44.2}, {38.6, 44.2}, 0.9), rgb(0xbdf6fb, 0.45));
    return c;
}

Canvas stationPicture() {
    Canvas c(120, 80);
    c.clear(rgb(0x000000));
    // The dark band with thin cyan edges.
    c.fill(rect(0, 10, 120, 70), linear({0, 10}, {0, 70}, {{0, rgb(0x12283a)}, {0.5, rgb(0x0a1824)}, {1, rgb(0x050d14)}}));
    c.fill(rect(0, 10, 120, 11), rgb(0x39d8f0));
    c.fill(rect(0, 69, 120, 70), rgb(0x1a7f90));

    // Emblem: mast with waves on both sides, in a faint glow.
    c.fill(rect(0, 11, 120, 69), radial({60, 27}, 26, {{0, rgb(0x1fb8d8, 0.22)}, {1, rgb(0x1fb8d8, 0)}}));
    Rgba wave = rgb(0x4fe6ff);
    Vec tip = {60, 21};
    for (int i = 0; i < 3; ++i) {
        double r = 5.5 + i * 4.5;
        Rgba col = withAlpha(wave, 1.0 - i * 0.22);
        c.fill(arcBand(tip.x, tip.y, r, 1.8, -38, 38), col);
        c.fill(arcBand(tip.x, tip.y, r, 1.8, 142, 218), col);
    }
    c.fill(polygon({{60, 22}, {55, 39}, {57.6, 39}, {60, 30}, {62.4, 39}, {65, 39}}), rgb(0xdff8ff));
    c.fill(bar({56.5, 34}, {63.5, 34}, 1.2), rgb(0xdff8ff));
    c.fill(circle(tip.x, tip.y, 2.6), rgb(0xff6a3c));
    c.fill(circle(tip.x - 0.7, tip.y - 0.7, 0.9), rgb(0xffd0b8));

    // ORVANDEL.
    const std::string name = "ORVANDEL";
    double lw = 10.5, gap = 2.0, h = 13, t = 2.2;
    double total = name.size() * lw + (name.size() - 1) * gap;
    double x = (120 - total) / 2, y = 43;
    std::vector<Shape> letters;
    for (char ch : name) {
        letters.push_back(strokeLetter(ch, x, y, lw, h, t));
        x += lw + gap;
    }
    Shape word = unite(letters);
    c.fill(translate(word, 0.8, 0.8), rgb(0x000000, 0.7));
    c.fill(word, linear({0, y}, {0, y + h}, {{0, rgb(0xffffff)}, {1, rgb(0x8ae8f6)}}));

    // WEB RADIO in small capitals.
    const std::string sub = "WEB RADIO";
    int sw = textWidth(sub, true, 2);
    c.fill(text(sub, (120 - sw) / 2, 60, 1.0, true, 2), rgb(0x4fd0e6));
    return c;
}

}  // namespace art
