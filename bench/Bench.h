// Side-by-side timing: each benchmark runs two ways of doing the same work in one
// process, alternating rounds, and prints both medians and their ratio.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

inline double Seconds() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
}

struct Stats {
  double median = 0, min = 0;
};

// Median and minimum of a set of per-call times.
inline Stats Of(std::vector<double> t) {
  if (t.empty()) return {};
  std::sort(t.begin(), t.end());
  return {t[t.size() / 2], t.front()};
}

// Runs a and b for `rounds` alternating rounds of `iterations` calls each and prints the
// median time per call of each and the ratio a/b.
inline void Compare(const char* what, const char* nameA, const std::function<void()>& a, const char* nameB,
                    const std::function<void()>& b, int iterations, int rounds = 7) {
  std::vector<double> ta, tb;
  for (int r = 0; r < rounds; ++r) {
    double t0 = Seconds();
    for (int i = 0; i < iterations; ++i) a();
    double t1 = Seconds();
    for (int i = 0; i < iterations; ++i) b();
    double t2 = Seconds();
    ta.push_back((t1 - t0) / iterations);
    tb.push_back((t2 - t1) / iterations);
  }
  std::sort(ta.begin(), ta.end());
  std::sort(tb.begin(), tb.end());
  double ma = ta[ta.size() / 2], mb = tb[tb.size() / 2];
  std::printf("%-34s %-26s %9.2f us   %-26s %9.2f us   ratio %6.2f\n", what, nameA, ma * 1e6, nameB, mb * 1e6,
              mb > 0 ? ma / mb : 0.0);
  std::fflush(stdout);
}

} // namespace bench
