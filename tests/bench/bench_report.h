#pragma once
// The benchmarks' common output: one line per case with our figure, its
// floor, their ratio and the target, in aligned columns. A figure below zero
// is one the case does not have and prints as "-".
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <windows.h>

namespace bench {

struct Figure {
    double value = -1;
    const char* unit = "ms";
};

inline Figure Ms(double value) { return {value, "ms"}; }
inline Figure Mb(double value) { return {value, "MB"}; }
inline Figure None() { return {}; }

inline void PrintHeader() {
    std::printf("%-54s %12s %12s %9s   %s\n", "case (median of 5 runs unless said)", "ours", "floor", "ratio",
                "target");
    std::fflush(stdout);
}

inline void PrintLine(const char* name, Figure ours, Figure floor, const char* target = "") {
    char oursText[32] = "-", floorText[32] = "-", ratioText[32] = "-";
    if (ours.value >= 0) std::snprintf(oursText, sizeof oursText, "%.1f %s", ours.value, ours.unit);
    if (floor.value >= 0) std::snprintf(floorText, sizeof floorText, "%.1f %s", floor.value, floor.unit);
    if (ours.value >= 0 && floor.value > 0) {
        double ratio = ours.value / floor.value;
        std::snprintf(ratioText, sizeof ratioText, ratio >= 0.1 ? "%.2fx" : "%.5fx", ratio);
    }
    std::printf("%-54s %12s %12s %9s   %s\n", name, oursText, floorText, ratioText, target);
    std::fflush(stdout);
}

inline double NowMs() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> times) {
    if (times.empty()) return -1;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// One timed piece of work; `prepare` runs untimed before each run.
struct Timed {
    std::function<void()> prepare;
    std::function<void()> work;
};

// Median time of each, in milliseconds, over `runs` rounds in which each
// runs once in turn: a slow moment of the machine weighs on ours and on its
// floors alike.
inline std::vector<double> Medians(int runs, const std::vector<Timed>& cases) {
    std::vector<std::vector<double>> times(cases.size());
    for (int run = 0; run < runs; ++run)
        for (size_t i = 0; i < cases.size(); ++i) {
            if (cases[i].prepare) cases[i].prepare();
            double start = NowMs();
            cases[i].work();
            times[i].push_back(NowMs() - start);
        }
    std::vector<double> medians;
    for (const auto& t : times) medians.push_back(Median(t));
    return medians;
}

}  // namespace bench
