// The benchmarks' clock and summary.
#pragma once

#include <algorithm>
#include <vector>

#include "ui/Win.h"

// Milliseconds from the performance counter.
inline double NowMs() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The middle value of the timings (the higher of the two middle ones for an even count).
inline double Median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms.empty() ? 0.0 : ms[ms.size() / 2];
}
