#include "shell/bars/ZoomTable.h"

#include <charconv>

namespace vornel::bars {

std::string ZoomLine(int percent) { return std::to_string(percent) + "%"; }

std::optional<size_t> ZoomIndexOf(int percent) {
  for (size_t i = 0; i < kZoomPercentages.size(); ++i) {
    if (kZoomPercentages[i] == percent) return i;
  }
  return std::nullopt;
}

std::optional<int> ReadZoomText(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '%')) text.remove_suffix(1);
  int percent = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, percent);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  if (percent < kSmallestTypedZoom || percent > kLargestTypedZoom) return std::nullopt;
  return percent;
}

}  // namespace vornel::bars
