#include "view/render/pages/PrintDate.h"

#include <utility>

namespace vornel {

namespace {

PrintClock& Clock() {
  // A test hook, not drawing state: empty in the editor (the system clock), set only for the
  // lifetime of a `ScopedPrintClock` so that printed dates are reproducible.
  static PrintClock clock;
  return clock;
}

}  // namespace

std::string PrintDateText() {
  const std::time_t now = Clock() ? Clock()() : std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return {};
  char text[128];
  const size_t length = std::strftime(text, sizeof text, "%A, %B %d, %Y", &local);
  return std::string(text, length);
}

ScopedPrintClock::ScopedPrintClock(PrintClock clock) : previous_(std::move(Clock())) { Clock() = std::move(clock); }

ScopedPrintClock::~ScopedPrintClock() { Clock() = std::move(previous_); }

}  // namespace vornel
