// Tiny vector painter used to draw the programs' pictures and icons.
// Shapes are signed distance functions (negative inside), painted with
// 8x8 supersampling; colours are straight-alpha RGBA in 0..1.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace art {

struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;
};

// 0xRRGGBB with an optional opacity.
Rgba rgb(unsigned hex, double a = 1.0);
Rgba mix(Rgba a, Rgba b, double t);
Rgba withAlpha(Rgba c, double a);

struct Vec {
    double x = 0, y = 0;
};

// A shape is its signed distance: < 0 inside, > 0 outside. All the builders
// below keep the function 1-Lipschitz, which lets the painter skip pixels
// whose centre is farther than half a diagonal from the edge.
struct Shape {
    std::function<double(double, double)> d;
    double operator()(double x, double y) const { return d(x, y); }
};

Shape circle(double cx, double cy, double r);
Shape ellipse(double cx, double cy, double rx, double ry);
Shape rect(double x0, double y0, double x1, double y1);
Shape roundRect(double x0, double y0, double x1, double y1, double r);
// Radii per corner: top-left, top-right, bottom-right, bottom-left.
Shape roundRect4(double x0, double y0, double x1, double y1, double tl, double tr, double br,
                 double bl);
Shape polygon(std::vector<Vec> pts);
Shape capsule(Vec a, Vec b, double width);  // thick line, round caps
Shape bar(Vec a, Vec b, double width);      // thick line, flat (butt) caps
Shape polyline(const std::vector<Vec>& pts, double width);  // round joins and caps
// Band of the given width around a circle of radius r, limited to the
// angles a0..a1 (degrees, 0 = +x, counter-clockwise as seen on screen, i.e. y up).
Shape arcBand(double cx, double cy, double r, double width, double a0, double a1);
// Cells of a bitmap ('#' or 'X' set) with their top-left at (x0, y0).
Shape bitmap(const std::vector<std::string>& rows, double x0, double y0, double cell = 1.0);

Shape unite(const Shape& a, const Shape& b);
Shape unite(const std::vector<Shape>& all);
Shape intersect(const Shape& a, const Shape& b);
Shape subtract(const Shape& a, const Shape& b);
Shape grow(const Shape& s, double by);        // negative shrinks
Shape outline(const Shape& s, double width);  // band centred on the edge
Shape rotate(const Shape& s, Vec c, double degrees);  // clockwise on screen
Shape translate(const Shape& s, double dx, double dy);

using Paint = std::function<Rgba(double, double)>;
using Stops = std::vector<std::pair<double, Rgba>>;
Paint solid(Rgba c);
Paint linear(Vec p0, Vec p1, Stops stops);
Paint radial(Vec c, double r, Stops stops);
Paint radialEllipse(Vec c, double rx, double ry, Stops stops);

class Canvas {
public:
    Canvas(int w, int h);
    int width() const { return w_; }
    int height() const { return h_; }

    void clear(Rgba c);
    void fill(const Shape& s, const Paint& p);
    void fill(const Shape& s, Rgba c) { fill(s, solid(c)); }
    // Fill with an inner band of `bw` pixels painted with `border`.
    void fillOutlined(const Shape& s, const Paint& inner, Rgba border, double bw = 1.0);
    void fillOutlined(const Shape& s, Rgba inner, Rgba border, double bw = 1.0) {
        fillOutlined(s, solid(inner), border, bw);
    }
    // Composite one exact pixel.
    void dot(int x, int y, Rgba c);
    // Paint another canvas over this one at an integer offset.
    void draw(const Canvas& src, int dx, int dy);

    Rgba at(int x, int y) const;  // straight alpha
    // Straight-alpha 8-bit RGBA, rows top-down.
    std::vector<uint8_t> rgba8() const;
    // Nearest-neighbour enlargement.
    Canvas scaled(int factor) const;

private:
    void paint(const Shape& s, const std::function<bool(double, double, Rgba&)>& sample);
    int w_, h_;
    std::vector<Rgba> px_;  // premultiplied
};

// Built-in pixel font (capitals, digits, '?' and a few signs). Glyph rows use '#'.
const std::vector<std::string>& glyph(char c, bool small = false);
int textWidth(const std::string& s, bool small = false, int spacing = 1);
Shape text(const std::string& s, double x, double y, double cell = 1.0, bool small = false,
           int spacing = 1);

// Geometric stroke capitals for logotypes: letter box w x h, stroke t.
Shape strokeLetter(char c, double x, double y, double w, double h, double t);

// Files.
std::vector<uint8_t> encodePngRgb(const Canvas& c, Rgba background);
struct IcoImage {
    int size;
    std::vector<uint8_t> rgba;  // straight alpha, rows top-down
};
std::vector<uint8_t> encodeIco(const std::vector<IcoImage>& images);
IcoImage icoImage(const Canvas& c);

// Drawings.
struct CatalogueIcon {
    std::string file;               // name under playlist/icons/
    std::vector<int> sizes;         // images in file order
    std::function<void(Canvas&, int size)> draw;
};
std::vector<CatalogueIcon> catalogueIcons();
void drawRadioIcon(Canvas& c, int size);
void drawTunerolleIcon(Canvas& c, int size);
Canvas aboutPicture();    // 73 x 80
Canvas stationPicture();  // 120 x 80

}  // namespace art
