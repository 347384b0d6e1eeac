// Replays a demo headless and measures, in every frame showing the head-up text, the contrast
// between the text's pixels and those right around them: the WCAG ratio of the text's mean
// luminance to the median luminance of the pixels touching it (the mean of those is printed too;
// it lets a few bright corner pixels of an outline outweigh the rest).
// Usage, from the data folder: hw_hudcontrast DEMO [REACH]
#include "main/hoopwind.h"
#include "platform/demo/demo.h"
#include "platform/headless.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <numeric>
#include <string>
#include <vector>

namespace {

constexpr int W = 640, H = 480;
constexpr int BAND = 64; // the head-up lines sit in the top rows
int reach = 1; // "right around": the pixels touching a text pixel, or within [REACH] of one
constexpr int MIN_TEXT = 200; // fewer text pixels: the frame shows no head-up text

double linear(unsigned char c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double luminance(const unsigned char* p) {
    return 0.2126 * linear(p[0]) + 0.7152 * linear(p[1]) + 0.0722 * linear(p[2]);
}

// The head-up colour (1.0, 0.05, 0.0) as the framebuffer holds it.
bool isText(const unsigned char* p) {
    return p[0] >= 250 && p[1] >= 8 && p[1] <= 18 && p[2] <= 5;
}

std::vector<double> ratios, meanRatios;

double wcag(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

void measure(const std::vector<unsigned char>& rgba) {
    auto at = [&](int x, int yFromTop) { return &rgba[((H - 1 - yFromTop) * W + x) * 4]; };
    double textSum = 0;
    int text = 0;
    std::vector<double> around;
    for (int y = 0; y < BAND; ++y) {
        for (int x = 0; x < W; ++x) {
            const unsigned char* p = at(x, y);
            if (isText(p)) {
                textSum += luminance(p);
                ++text;
                continue;
            }
            bool near = false;
            for (int dy = -reach; dy <= reach && !near; ++dy) {
                for (int dx = -reach; dx <= reach && !near; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    near = nx >= 0 && nx < W && ny >= 0 && ny < BAND && isText(at(nx, ny));
                }
            }
            if (near) {
                around.push_back(luminance(p));
            }
        }
    }
    if (text < MIN_TEXT || around.empty()) {
        return;
    }
    const double mean = std::accumulate(around.begin(), around.end(), 0.0) / around.size();
    std::nth_element(around.begin(), around.begin() + around.size() / 2, around.end());
    ratios.push_back(wcag(textSum / text, around[around.size() / 2]));
    meanRatios.push_back(wcag(textSum / text, mean));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: hw_hudcontrast DEMO [REACH] (from the data folder)\n");
        return 2;
    }
    if (argc == 3) {
        reach = std::max(1, std::atoi(argv[2]));
    }
    std::string error;
    if (!demo::startPlayback(argv[1], true, error)) {
        std::fprintf(stderr, "hw_hudcontrast: %s\n", error.c_str());
        return 1;
    }
    // HW_HUD_DUMP=N: frame N is also written to hud.ppm in the current folder, to look at.
    const char* dump = std::getenv("HW_HUD_DUMP");
    const int dumpFrame = dump ? std::atoi(dump) : -1;
    headless::setSwapHook([dumpFrame](int frame) {
        const std::vector<unsigned char> rgba = headless::readFramebuffer(W, H);
        measure(rgba);
        if (frame == dumpFrame) {
            headless::writePPM("hud.ppm", rgba, W, H);
        }
    });
    WinMain(false);
    demo::finish(error);
    if (ratios.empty()) {
        std::printf("no frame shows the head-up text\n");
        return 1;
    }
    for (auto* r : {&ratios, &meanRatios}) {
        const size_t good = std::count_if(r->begin(), r->end(), [](double v) { return v >= 3.0; });
        std::sort(r->begin(), r->end());
        std::printf("%zu frames with head-up text, against the %s around it: %.1f%% at 3:1 or "
                    "more; lowest %.2f, median %.2f\n",
                    r->size(), r == &ratios ? "median" : "mean", 100.0 * good / r->size(),
                    r->front(), (*r)[r->size() / 2]);
    }
    return 0;
}
