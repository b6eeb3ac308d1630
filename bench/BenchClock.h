#pragma once
// The timing programs' clock: QueryPerformanceCounter read as milliseconds.
#include <windows.h>

#include <algorithm>
#include <vector>

class TBenchClock {
 public:
  TBenchClock() {
    QueryPerformanceFrequency(&frequency_);
    Restart();
  }
  void Restart() { QueryPerformanceCounter(&start_); }
  double Milliseconds() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (now.QuadPart - start_.QuadPart) * 1000.0 / frequency_.QuadPart;
  }

 private:
  LARGE_INTEGER frequency_;
  LARGE_INTEGER start_;
};

// The median of a non-empty list (the mean of the middle two for an even count).
inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}
