// PNG (8-bit RGB) and ICO (32-bit DIB images with AND masks) writers.
#include <zlib.h>

#include <cstdlib>
#include <stdexcept>

#include "art.h"

namespace art {

namespace {

void put32be(std::vector<uint8_t>& v, uint32_t x) {
    v.insert(v.end(), {uint8_t(x >> 24), uint8_t(x >> 16), uint8_t(x >> 8), uint8_t(x)});
}
void put16le(std::vector<uint8_t>& v, uint32_t x) { v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8)}); }
void put32le(std::vector<uint8_t>& v, uint32_t x) {
    v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8), uint8_t(x >> 16), uint8_t(x >> 24)});
}

void chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    put32be(png, static_cast<uint32_t>(data.size()));
    size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, png.data() + start, static_cast<uInt>(png.size() - start));
    put32be(png, static_cast<uint32_t>(crc));
}

int paeth(int a, int b, int c) {
    int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Picks, per row, the filter with the smallest sum of absolute residues.
std::vector<uint8_t> filterRows(const std::vector<uint8_t>& raw, int w, int h, int bpp) {
    size_t stride = static_cast<size_t>(w) * bpp;
    std::vector<uint8_t> out;
    std::vector<uint8_t> zero(stride, 0), cand(stride), best(stride);
    for (int y = 0; y < h; ++y) {
        const uint8_t* cur = raw.data() + y * stride;
        const uint8_t* up = y ? raw.data() + (y - 1) * stride : zero.data();
        long bestScore = -1;
        int bestType = 0;
        for (int type = 0; type < 5; ++type) {
            long score = 0;
            for (size_t i = 0; i < stride; ++i) {
                int a = i >= size_t(bpp) ? cur[i - bpp] : 0;
                int b = up[i];
                int c = i >= size_t(bpp) ? up[i - bpp] : 0;
                int pred = 0;
                switch (type) {
                    case 1: pred = a; break;
                    case 2: pred = b; break;
                    case 3: pred = (a + b) / 2; break;
                    case 4: pred = paeth(a, b, c); break;
                    default: break;
                }
                uint8_t r = static_cast<uint8_t>(cur[i] - pred);
                cand[i] = r;
                score += r < 128 ? r : 256 - r;
            }
            if (bestScore < 0 || score < bestScore) {
                bestScore = score;
                bestType = type;
                best = cand;
            }
        }
        out.push_back(static_cast<uint8_t>(bestType));
        out.insert(out.end(), best.begin(), best.end());
    }
    return out;
}

}  // namespace

std::vector<uint8_t> encodePngRgb(const Canvas& c, Rgba background) {
    int w = c.width(), h = c.height();
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Rgba p = c.at(x, y);
            Rgba o = mix(background, Rgba{p.r, p.g, p.b, 1.0}, p.a);
            auto q = [](double v) {
                v = v < 0 ? 0 : (v > 1 ? 1 : v);
                return static_cast<uint8_t>(v * 255.0 + 0.5);
            };
            raw.insert(raw.end(), {q(o.r), q(o.g), q(o.b)});
        }
    }
    std::vector<uint8_t> filtered = filterRows(raw, w, h, 3);
    uLongf zlen = compressBound(static_cast<uLong>(filtered.size()));
    std::vector<uint8_t> z(zlen);
    if (compress2(z.data(), &zlen, filtered.data(), static_cast<uLong>(filtered.size()), 9) != Z_OK)
        throw std::runtime_error("zlib compress2 failed");
    z.resize(zlen);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<uint8_t> ihdr;
    put32be(ihdr, static_cast<uint32_t>(w));
    put32be(ihdr, static_cast<uint32_t>(h));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit, RGB, deflate, adaptive filters, no interlace
    chunk(png, "IHDR", ihdr);
    chunk(png, "IDAT", z);
    chunk(png, "IEND", {});
    return png;
}

IcoImage icoImage(const Canvas& c) {
    if (c.width() != c.height()) throw std::runtime_error("icon images are square");
    IcoImage img{c.width(), c.rgba8()};
    // Near-invisible fringes would turn into opaque pixels where the mask rules.
    for (size_t i = 0; i < img.rgba.size(); i += 4)
        if (img.rgba[i + 3] < 4) img.rgba[i] = img.rgba[i + 1] = img.rgba[i + 2] = img.rgba[i + 3] = 0;
    return img;
}

std::vector<uint8_t> encodeIco(const std::vector<IcoImage>& images) {
    std::vector<std::vector<uint8_t>> bodies;
    for (const IcoImage& im : images) {
        int s = im.size;
        size_t maskStride = ((static_cast<size_t>(s) + 31) / 32) * 4;
        uint32_t xorBytes = static_cast<uint32_t>(s) * s * 4;
        uint32_t andBytes = static_cast<uint32_t>(maskStride * s);
        std::vector<uint8_t> b;
        put32le(b, 40);                  // biSize
        put32le(b, static_cast<uint32_t>(s));      // biWidth
        put32le(b, static_cast<uint32_t>(2 * s));  // biHeight: colour and mask halves
        put16le(b, 1);                   // biPlanes
        put16le(b, 32);                  // biBitCount
        put32le(b, 0);                   // BI_RGB
        put32le(b, xorBytes + andBytes); // biSizeImage
        put32le(b, 0);
        put32le(b, 0);
        put32le(b, 0);
        put32le(b, 0);
        for (int y = s - 1; y >= 0; --y) {
            for (int x = 0; x < s; ++x) {
                const uint8_t* p = &im.rgba[(static_cast<size_t>(y) * s + x) * 4];
                b.insert(b.end(), {p[2], p[1], p[0], p[3]});
            }
        }
        for (int y = s - 1; y >= 0; --y) {
            std::vector<uint8_t> row(maskStride, 0);
            for (int x = 0; x < s; ++x)
                if (im.rgba[(static_cast<size_t>(y) * s + x) * 4 + 3] == 0)
                    row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            b.insert(b.end(), row.begin(), row.end());
        }
        bodies.push_back(std::move(b));
    }
    std::vector<uint8_t> ico;
    put16le(ico, 0);  // reserved
    put16le(ico, 1);  // type: icon
    put16le(ico, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        uint8_t dim = images[i].size >= 256 ? 0 : static_cast<uint8_t>(images[i].size);
        ico.insert(ico.end(), {dim, dim, 0, 0});  // width, height, colours, reserved
        put16le(ico, 1);                          // planes
        put16le(ico, 32);                         // bits per pixel
        put32le(ico, static_cast<uint32_t>(bodies[i].size()));
        put32le(ico, offset);
        offset += static_cast<uint32_t>(bodies[i].size());
    }
    for (const auto& b : bodies) ico.insert(ico.end(), b.begin(), b.end());
    return ico;
}

}  // namespace art
