// Application icons, drawn in a 64-unit design space and scaled to each size.
#include <algorithm>
#include <cmath>

#include "art.h"

namespace art {

namespace {

struct Grid {
    double k;   // pixels per design unit
    double lw;  // outline width in pixels
    explicit Grid(int size) : k(size / 64.0), lw(size >= 48 ? (size >= 64 ? 2.0 : 1.5) : 1.0) {}
    // Design unit to pixel edge, snapped so straight edges stay crisp.
    double operator()(double u) const { return std::round(u * k); }
    double f(double u) const { return u * k; }  // unsnapped, for curves
};

}  // namespace

void drawRadioIcon(Canvas& c, int size) {
    Grid g(size);
    Rgba dark = rgb(0x0b2a3c);
    // Geometry in pixels: large sizes come from the 64-unit design, the two
    // small ones are placed by hand so that every edge lands on the grid.
    struct Radio {
        Vec antennaFoot, antennaTip;
        double antennaW, ballR;
        double bx0, by0, bx1, by1, br;    // body
        Vec speaker;
        double speakerR;
        double dx0, dy0, dx1, dy1;        // tuning window
        double needleX, needleW;
        Vec knob;
        double knobR;
        int waves;
    };
    Radio r;
    if (size == 16) {
        r = {{9.5, 6.5}, {13.5, 2.5}, 1.0, 1.5, 0, 5, 16, 15, 1.5, {5, 10}, 3.2,
             9, 7, 15, 11, 11, 1, {12, 12.5}, 1.3, 0};
    } else if (size == 24) {
        r = {{14.5, 9.5}, {20.5, 3.5}, 1.3, 2.0, 1, 8, 23, 22, 2.5, {7, 15}, 4.6,
             13, 10, 21, 14, 17, 1, {17, 18.5}, 1.9, 0};
    } else {
        double sw = std::max(1.0, g.f(3));
        r = {{g.f(44), g.f(26)}, {g.f(56), g.f(6)}, sw, g.f(4.2),
             g(2), g(24), g(62), g(60), g.f(7),
             {g.f(20), g.f(42)}, g.f(12.5),
             g(36), g(31), g(56), g(42), g(46), std::max(1.0, g(1.6)),
             {g.f(46), g.f(51)}, g.f(5), 2};
    }
    // Antenna first, it goes behind the body.
    c.fill(capsule(r.antennaFoot, r.antennaTip, r.antennaW), rgb(0x54636f));
    c.fill(circle(r.antennaTip.x, r.antennaTip.y, r.ballR), rgb(0xf0461e));
    c.fill(circle(r.antennaTip.x - r.ballR * 0.35, r.antennaTip.y - r.ballR * 0.35, r.ballR * 0.4),
           rgb(0xffb49c));
    for (int i = 0; i < r.waves; ++i) {
        c.fill(arcBand(r.antennaTip.x, r.antennaTip.y, g.f(10 + i * 7.5), std::max(1.0, g.f(3)), -95, 5),
               withAlpha(rgb(0x16bfe6), 1.0 - 0.3 * i));
    }
    // Body.
    Shape body = roundRect(r.bx0, r.by0, r.bx1, r.by1, r.br);
    c.fillOutlined(body, linear({0, r.by0}, {0, r.by1}, {{0, rgb(0x45c2de)}, {1, rgb(0x0e5f86)}}), dark, g.lw);
    // Speaker grille: dark disc with light rings.
    Vec sp = r.speaker;
    c.fillOutlined(circle(sp.x, sp.y, r.speakerR), rgb(0x12303f), dark, g.lw);
    if (size >= 32) {
        for (int i = 1; i <= 2; ++i)
            c.fill(outline(circle(sp.x, sp.y, r.speakerR * i / 3.0), g.lw * 0.9), rgb(0x4f8eaa));
    } else {
        c.fill(outline(circle(sp.x, sp.y, r.speakerR * 0.5), 0.9), rgb(0x5a9cba));
    }
    if (size == 16) {
        // No room for a round knob: two square buttons under the window.
        c.fill(rect(10, 12, 12, 14), rgb(0xe8eef2));
        c.fill(rect(13, 12, 15, 14), rgb(0xe8eef2));
    }
    // Tuning window with its needle, and a knob.
    Shape dial = roundRect(r.dx0, r.dy0, r.dx1, r.dy1, size >= 32 ? g.f(2) : 0);
    c.fillOutlined(dial, linear({0, r.dy0}, {0, r.dy1}, {{0, rgb(0xf6ffe4)}, {1, rgb(0xc4e69a)}}), dark, g.lw);
    c.fill(rect(r.needleX, r.dy0 + g.lw, r.needleX + r.needleW, r.dy1 - g.lw), rgb(0xe02810));
    if (size == 16) return;
    c.fillOutlined(circle(r.knob.x, r.knob.y, r.knobR),
                   radial({r.knob.x - r.knobR * 0.3, r.knob.y - r.knobR * 0.3}, r.knobR * 1.3,
                          {{0, rgb(0xffffff)}, {1, rgb(0x9aa8b2)}}),
                   dark, size >= 32 ? g.lw : 0.8);
}

void drawTunerolleIcon(Canvas& c, int size) {
    Grid g(size);
    Rgba grey = rgb(0x4a5666);
    // List sheet.
    Shape sheet = polygon({{g(6), g(2)}, {g(40), g(2)}, {g(52), g(14)}, {g(52), g(62)}, {g(6), g(62)}});
    c.fillOutlined(sheet, linear({0, 0}, {0, g.f(64)}, {{0, rgb(0xffffff)}, {1, rgb(0xe4ecf4)}}), grey, g.lw);
    c.fillOutlined(polygon({{g(38), g(2)}, {g(52), g(16)}, {g(38), g(16)}}), rgb(0xd6dee8), grey, g.lw);
    double step = size >= 32 ? 8 : 10;
    for (double y = 12; y < 58; y += step) {
        double x1 = y < 20 ? 32 : 46;
        c.fill(rect(g(12), g(y), g(12) + std::max(1.0, g(4)), g(y) + std::max(1.0, g(2.5))), rgb(0x3a6ea8));
        c.fill(rect(g(19), g(y), g(x1), g(y) + std::max(1.0, g(2.5))), rgb(0x9aaabe));
    }
    // Beamed pair of notes over the lower right of the sheet. Small sizes get
    // their own pixel-placed geometry with a flat beam, so stems stay one
    // crisp column and the heads stay round.
    struct Note {
        Vec h1, h2;      // head centres
        double rx, ry;   // head radii
        double s1, s2;   // stems' left edges
        double sw;       // stem width
        double top1, top2, beam;  // stem tops, beam thickness
    };
    Note n;
    if (size == 16) {
        n = {{6.5, 13.3}, {12.5, 12.8}, 2.4, 1.75, 8, 14, 1, 4, 4, 2};
    } else if (size == 24) {
        n = {{10.3, 19.8}, {19.3, 19.3}, 3.4, 2.5, 12, 21, 2, 6, 6, 3};
    } else {
        double k = size / 64.0;
        double sw = std::round(4 * k);
        n = {{g.f(28), g.f(54)}, {g.f(51), g.f(50)}, g.f(8.6), g.f(6.4),
             g(34.6) - sw / 2, g(57.6) - sw / 2, sw, g.f(23), g.f(19), g.f(8)};
    }
    Shape notes = unite({
        rotate(ellipse(n.h1.x, n.h1.y, n.rx, n.ry), n.h1, -22),
        rotate(ellipse(n.h2.x, n.h2.y, n.rx, n.ry), n.h2, -22),
        rect(n.s1, n.top1, n.s1 + n.sw, n.h1.y),
        rect(n.s2, n.top2, n.s2 + n.sw, n.h2.y),
        polygon({{n.s1, n.top1}, {n.s2 + n.sw, n.top2}, {n.s2 + n.sw, n.top2 + n.beam},
                 {n.s1, n.top1 + n.beam}}),
    });
    Paint fillNote = size >= 32 ? linear({0, n.top2}, {0, n.h1.y + n.ry},
                                         {{0, rgb(0xb060f4)}, {1, rgb(0x5a1496)}})
                                : linear({0, n.top2}, {0, n.h1.y + n.ry},
                                         {{0, rgb(0x8a34d8)}, {1, rgb(0x4c0c86)}});
    // A white margin inside the sheet keeps the note apart from the list lines.
    c.fill(intersect(grow(notes, size >= 32 ? g.lw + 1 : 1.0), sheet), rgb(0xffffff));
    if (size >= 32)
        c.fillOutlined(notes, fillNote, rgb(0x3c0a64), g.lw);
    else
        c.fill(notes, fillNote);
}

}  // namespace art
