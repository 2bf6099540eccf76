#pragma once
// The day printed on generated pages ("Monday, March 02, 2026"), from a clock tests can set.

#include <ctime>
#include <functional>
#include <string>

namespace vornel {

using PrintClock = std::function<std::time_t()>;

// Today as "%A, %B %d, %Y", in the local time of the clock in force.
std::string PrintDateText();

// Makes `clock` the clock of printed dates for its lifetime.
class ScopedPrintClock {
 public:
  explicit ScopedPrintClock(PrintClock clock);
  ~ScopedPrintClock();
  ScopedPrintClock(const ScopedPrintClock&) = delete;
  ScopedPrintClock& operator=(const ScopedPrintClock&) = delete;

 private:
  PrintClock previous_;
};

}  // namespace vornel
