#include <algorithm>
#include <cmath>

#include "art.h"

namespace art {

namespace {

constexpr int kSub = 8;             // samples per pixel side
constexpr double kSkip = 0.7072;    // half a pixel diagonal, rounded up
constexpr double kPi = 3.14159265358979323846;

double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
double len(double x, double y) { return std::sqrt(x * x + y * y); }

double boxDistance(double px, double py, double cx, double cy, double hx, double hy) {
    double qx = std::fabs(px - cx) - hx;
    double qy = std::fabs(py - cy) - hy;
    return len(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0);
}

double segmentDistance(double px, double py, Vec a, Vec b) {
    double ex = b.x - a.x, ey = b.y - a.y;
    double wx = px - a.x, wy = py - a.y;
    double ee = ex * ex + ey * ey;
    double t = ee > 0 ? clamp01((wx * ex + wy * ey) / ee) : 0.0;
    return len(wx - ex * t, wy - ey * t);
}

Rgba lerpStops(const Stops& stops, double t) {
    if (stops.empty()) return {};
    if (t <= stops.front().first) return stops.front().second;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].first) {
            double span = stops[i].first - stops[i - 1].first;
            double u = span > 0 ? (t - stops[i - 1].first) / span : 1.0;
            return mix(stops[i - 1].second, stops[i].second, u);
        }
    }
    return stops.back().second;
}

}  // namespace

Rgba rgb(unsigned hex, double a) {
    return {((hex >> 16) & 0xff) / 255.0, ((hex >> 8) & 0xff) / 255.0, (hex & 0xff) / 255.0, a};
}

Rgba mix(Rgba a, Rgba b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Rgba withAlpha(Rgba c, double a) {
    c.a = a;
    return c;
}

// ---- shapes ---------------------------------------------------------------

Shape circle(double cx, double cy, double r) {
    return {[=](double x, double y) { return len(x - cx, y - cy) - r; }};
}

Shape ellipse(double cx, double cy, double rx, double ry) {
    double m = std::min(rx, ry);
    return {[=](double x, double y) { return (len((x - cx) / rx, (y - cy) / ry) - 1.0) * m; }};
}

Shape rect(double x0, double y0, double x1, double y1) {
    double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
    return {[=](double x, double y) { return boxDistance(x, y, cx, cy, hx, hy); }};
}

Shape roundRect(double x0, double y0, double x1, double y1, double r) {
    return roundRect4(x0, y0, x1, y1, r, r, r, r);
}

Shape roundRect4(double x0, double y0, double x1, double y1, double tl, double tr, double br,
                 double bl) {
    double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
    return {[=](double x, double y) {
        double r = x > cx ? (y > cy ? br : tr) : (y > cy ? bl : tl);
        double qx = std::fabs(x - cx) - hx + r;
        double qy = std::fabs(y - cy) - hy + r;
        return len(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
    }};
}

Shape polygon(std::vector<Vec> v) {
    return {[v = std::move(v)](double x, double y) {
        size_t n = v.size();
        double d = (x - v[0].x) * (x - v[0].x) + (y - v[0].y) * (y - v[0].y);
        double s = 1.0;
        for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
            double ex = v[j].x - v[i].x, ey = v[j].y - v[i].y;
            double wx = x - v[i].x, wy = y - v[i].y;
            double ee = ex * ex + ey * ey;
            double t = ee > 0 ? clamp01((wx * ex + wy * ey) / ee) : 0.0;
            double bx = wx - ex * t, by = wy - ey * t;
            d = std::min(d, bx * bx + by * by);
            bool c1 = y >= v[i].y, c2 = y < v[j].y, c3 = ex * wy > ey * wx;
            if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
        }
        return s * std::sqrt(d);
    }};
}

Shape capsule(Vec a, Vec b, double width) {
    return {[=](double x, double y) { return segmentDistance(x, y, a, b) - width / 2; }};
}

Shape bar(Vec a, Vec b, double width) {
    double dx = b.x - a.x, dy = b.y - a.y, l = len(dx, dy);
    double ux = dx / l, uy = dy / l;
    double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
    return {[=](double x, double y) {
        double rx = x - mx, ry = y - my;
        double u = rx * ux + ry * uy, v = -rx * uy + ry * ux;
        return boxDistance(u, v, 0, 0, l / 2, width / 2);
    }};
}

Shape polyline(const std::vector<Vec>& pts, double width) {
    std::vector<Shape> parts;
    for (size_t i = 1; i < pts.size(); ++i) parts.push_back(capsule(pts[i - 1], pts[i], width));
    return unite(parts);
}

Shape arcBand(double cx, double cy, double r, double width, double a0, double a1) {
    double span = a1 - a0;
    auto endSeg = [=](double a) {
        double rad = a * kPi / 180.0;
        double ux = std::cos(rad), uy = -std::sin(rad);
        return std::pair<Vec, Vec>{{cx + ux * (r - width / 2), cy + uy * (r - width / 2)},
                                   {cx + ux * (r + width / 2), cy + uy * (r + width / 2)}};
    };
    auto e0 = endSeg(a0), e1 = endSeg(a1);
    return {[=](double x, double y) {
        double ends = std::min(segmentDistance(x, y, e0.first, e0.second),
                               segmentDistance(x, y, e1.first, e1.second));
        double ang = std::atan2(-(y - cy), x - cx) * 180.0 / kPi;
        double rel = std::fmod(ang - a0 + 720.0, 360.0);
        if (rel > span) return ends;
        double radial = std::fabs(len(x - cx, y - cy) - r) - width / 2;
        return radial > 0 ? radial : std::max(radial, -ends);
    }};
}

Shape bitmap(const std::vector<std::string>& rows, double x0, double y0, double cell) {
    struct Box {
        double cx, cy;
    };
    std::vector<Box> boxes;
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            if (rows[r][c] == '#' || rows[r][c] == 'X')
                boxes.push_back({x0 + (c + 0.5) * cell, y0 + (r + 0.5) * cell});
    double h = cell / 2;
    return {[boxes, h](double x, double y) {
        double d = 1e9;
        for (const Box& b : boxes) d = std::min(d, boxDistance(x, y, b.cx, b.cy, h, h));
        return d;
    }};
}

Shape unite(const Shape& a, const Shape& b) {
    return {[=](double x, double y) { return std::min(a(x, y), b(x, y)); }};
}

Shape unite(const std::vector<Shape>& all) {
    return {[=](double x, double y) {
        double d = 1e9;
        for (const Shape& s : all) d = std::min(d, s(x, y));
        return d;
    }};
}

Shape intersect(const Shape& a, const Shape& b) {
    return {[=](double x, double y) { return std::max(a(x, y), b(x, y)); }};
}

Shape subtract(const Shape& a, const Shape& b) {
    return {[=](double x, double y) { return std::max(a(x, y), -b(x, y)); }};
}

Shape grow(const Shape& s, double by) {
    return {[=](double x, double y) { return s(x, y) - by; }};
}

Shape outline(const Shape& s, double width) {
    return {[=](double x, double y) { return std::fabs(s(x, y)) - width / 2; }};
}

Shape rotate(const Shape& s, Vec c, double degrees) {
    double rad = degrees * kPi / 180.0, co = std::cos(rad), si = std::sin(rad);
    return {[=](double x, double y) {
        double dx = x - c.x, dy = y - c.y;
        return s(c.x + dx * co + dy * si, c.y - dx * si + dy * co);
    }};
}

Shape translate(const Shape& s, double dx, double dy) {
    return {[=](double x, double y) { return s(x - dx, y - dy); }};
}

// ---- paints ---------------------------------------------------------------

Paint solid(Rgba c) {
    return [c](double, double) { return c; };
}

Paint linear(Vec p0, Vec p1, Stops stops) {
    double dx = p1.x - p0.x, dy = p1.y - p0.y, dd = dx * dx + dy * dy;
    return [=](double x, double y) {
        return lerpStops(stops, ((x - p0.x) * dx + (y - p0.y) * dy) / dd);
    };
}

Paint radial(Vec c, double r, Stops stops) { return radialEllipse(c, r, r, std::move(stops)); }

Paint radialEllipse(Vec c, double rx, double ry, Stops stops) {
    return [=](double x, double y) { return lerpStops(stops, len((x - c.x) / rx, (y - c.y) / ry)); };
}

// ---- canvas ---------------------------------------------------------------

Canvas::Canvas(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w) * h) {}

void Canvas::clear(Rgba c) {
    for (Rgba& p : px_) p = {c.r * c.a, c.g * c.a, c.b * c.a, c.a};
}

void Canvas::paint(const Shape& s, const std::function<bool(double, double, Rgba&)>& sample) {
    const double n = kSub * kSub;
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            if (s(x + 0.5, y + 0.5) > kSkip) continue;
            double r = 0, g = 0, b = 0, a = 0;
            for (int j = 0; j < kSub; ++j) {
                for (int i = 0; i < kSub; ++i) {
                    Rgba c;
                    if (!sample(x + (i + 0.5) / kSub, y + (j + 0.5) / kSub, c)) continue;
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            if (a <= 0) continue;
            Rgba& d = px_[static_cast<size_t>(y) * w_ + x];
            double sa = a / n, keep = 1.0 - sa;
            d = {r / n + d.r * keep, g / n + d.g * keep, b / n + d.b * keep, sa + d.a * keep};
        }
    }
}

void Canvas::fill(const Shape& s, const Paint& p) {
    paint(s, [&](double x, double y, Rgba& c) {
        if (s(x, y) > 0) return false;
        c = p(x, y);
        return true;
    });
}

void Canvas::fillOutlined(const Shape& s, const Paint& inner, Rgba border, double bw) {
    paint(s, [&](double x, double y, Rgba& c) {
        double d = s(x, y);
        if (d > 0) return false;
        c = d > -bw ? border : inner(x, y);
        return true;
    });
}

void Canvas::dot(int x, int y, Rgba c) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    Rgba& d = px_[static_cast<size_t>(y) * w_ + x];
    double keep = 1.0 - c.a;
    d = {c.r * c.a + d.r * keep, c.g * c.a + d.g * keep, c.b * c.a + d.b * keep,
         c.a + d.a * keep};
}

void Canvas::draw(const Canvas& src, int dx, int dy) {
    for (int y = 0; y < src.h_; ++y) {
        for (int x = 0; x < src.w_; ++x) {
            int tx = x + dx, ty = y + dy;
            if (tx < 0 || ty < 0 || tx >= w_ || ty >= h_) continue;
            const Rgba& s = src.px_[static_cast<size_t>(y) * src.w_ + x];
            Rgba& d = px_[static_cast<size_t>(ty) * w_ + tx];
            double keep = 1.0 - s.a;
            d = {s.r + d.r * keep, s.g + d.g * keep, s.b + d.b * keep, s.a + d.a * keep};
        }
    }
}

Rgba Canvas::at(int x, int y) const {
    const Rgba& p = px_[static_cast<size_t>(y) * w_ + x];
    if (p.a <= 0) return {};
    return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

std::vector<uint8_t> Canvas::rgba8() const {
    auto q = [](double v) { return static_cast<uint8_t>(std::lround(clamp01(v) * 255.0)); };
    std::vector<uint8_t> out;
    out.reserve(px_.size() * 4);
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            Rgba c = at(x, y);
            uint8_t a = q(c.a);
            if (a == 0) {
                out.insert(out.end(), {0, 0, 0, 0});
            } else {
                out.insert(out.end(), {q(c.r), q(c.g), q(c.b), a});
            }
        }
    }
    return out;
}

Canvas Canvas::scaled(int f) const {
    Canvas out(w_ * f, h_ * f);
    for (int y = 0; y < out.h_; ++y)
        for (int x = 0; x < out.w_; ++x)
            out.px_[static_cast<size_t>(y) * out.w_ + x] = px_[static_cast<size_t>(y / f) * w_ + x / f];
    return out;
}

}  // namespace art
