// Draws the programs' pictures and icons and writes them into the source tree.
//   art <repo root> [--preview <sheet.png>]
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "art.h"

namespace fs = std::filesystem;
using namespace art;

namespace {

void writeFile(const fs::path& p, const std::vector<uint8_t>& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + p.string());
    std::cout << p.string() << " (" << bytes.size() << " bytes)\n";
}

Canvas render(int size, const std::function<void(Canvas&, int)>& draw) {
    Canvas c(size, size);
    draw(c, size);
    return c;
}

// Straight back from the 8-bit form, so the preview shows what the files hold.
Canvas fromIco(const IcoImage& im) {
    Canvas c(im.size, im.size);
    for (int y = 0; y < im.size; ++y)
        for (int x = 0; x < im.size; ++x) {
            const uint8_t* p = &im.rgba[(static_cast<size_t>(y) * im.size + x) * 4];
            if (p[3]) c.dot(x, y, {p[0] / 255.0, p[1] / 255.0, p[2] / 255.0, p[3] / 255.0});
        }
    return c;
}

struct Sheet {
    Canvas c{1200, 3200};
    int x = 16, y = 16, rowH = 0;
    void newRow(int gap = 16) {
        y += rowH + gap;
        x = 16;
        rowH = 0;
    }
    void place(const Canvas& img, int factor, Rgba bg, int pad = 8) {
        Canvas big = img.scaled(factor);
        int w = big.width() + 2 * pad, h = big.height() + 2 * pad;
        if (x + w > c.width() - 16) newRow();
        c.fill(rect(x, y, x + w, y + h), bg);
        c.draw(big, x + pad, y + pad);
        x += w + 8;
        rowH = std::max(rowH, h);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: art <repo root> [--preview <sheet.png>]\n");
        return 2;
    }
    fs::path root = argv[1];
    std::string preview;
    for (int i = 2; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--preview") preview = argv[i + 1];

    try {
        Rgba black = rgb(0x000000);
        Canvas about = aboutPicture();
        Canvas station = stationPicture();
        writeFile(root / "radio/res/about.png", encodePngRgb(about, black));
        writeFile(root / "radio/res/station.png", encodePngRgb(station, black));

        const std::vector<int> appSizes = {64, 48, 32, 24, 16};
        std::vector<IcoImage> radio, tunerolle;
        for (int s : appSizes) {
            radio.push_back(icoImage(render(s, drawRadioIcon)));
            tunerolle.push_back(icoImage(render(s, drawTunerolleIcon)));
        }
        writeFile(root / "radio/res/radio.ico", encodeIco(radio));
        writeFile(root / "playlist/icons/app.ico", encodeIco(tunerolle));

        std::vector<std::vector<IcoImage>> catalogue;
        auto icons = catalogueIcons();
        for (const auto& icon : icons) {
            std::vector<IcoImage> images;
            for (int s : icon.sizes) images.push_back(icoImage(render(s, icon.draw)));
            writeFile(root / "playlist/icons" / icon.file, encodeIco(images));
            catalogue.push_back(std::move(images));
        }

        if (!preview.empty()) {
            Sheet sh;
            sh.c.clear(rgb(0x808080));
            Rgba grey = rgb(0xd4d0c8), white = rgb(0xffffff);
            for (Rgba bg : {grey, white}) {
                for (const auto& images : catalogue) sh.place(fromIco(images.back()), 8, bg);
                sh.newRow();
            }
            for (Rgba bg : {grey, white}) {
                for (const auto& images : catalogue) sh.place(fromIco(images.back()), 1, bg, 4);
                sh.place(fromIco(catalogue[2].front()), 1, bg, 4);
                for (const auto& images : catalogue) sh.place(fromIco(images.back()), 2, bg, 4);
                sh.newRow(8);
            }
            sh.place(fromIco(catalogue[2].front()), 8, grey);
            sh.place(fromIco(catalogue[2].front()), 8, white);
            sh.newRow();
            for (const auto* set : {&radio, &tunerolle}) {
                for (const auto& im : *set) sh.place(fromIco(im), im.size >= 48 ? 4 : 8, grey);
                sh.newRow();
                for (const auto& im : *set) sh.place(fromIco(im), 1, grey, 4);
                for (const auto& im : *set) sh.place(fromIco(im), 1, white, 4);
                sh.newRow();
            }
            sh.place(about, 4, black, 4);
            sh.place(station, 4, black, 4);
            sh.place(about, 1, black, 4);
            sh.place(station, 1, black, 4);
            sh.newRow();
            Canvas out(sh.c.width(), std::min(sh.c.height(), sh.y + 8));
            out.draw(sh.c, 0, 0);
            std::ofstream f(preview, std::ios::binary | std::ios::trunc);
            auto png = encodePngRgb(out, black);
            f.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
            std::cout << preview << " (preview)\n";
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "art: %s\n", e.what());
        return 1;
    }
    return 0;
}
