#pragma once
// The zoom box's list: twelve percentages, 120% selected when no view says otherwise. The box
// is editable, so a typed percentage is read too.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vornel::bars {

inline constexpr std::array<int, 12> kZoomPercentages = {75, 90, 100, 120, 140, 150, 175, 200, 300, 400, 500, 800};
inline constexpr size_t kDefaultZoomIndex = 3;  // 120%
// A typed percentage is taken between these.
inline constexpr int kSmallestTypedZoom = 10;
inline constexpr int kLargestTypedZoom = 800;

// "75%" ... "800%"
std::string ZoomLine(int percent);
// The line of a percentage the list holds; nothing for others.
std::optional<size_t> ZoomIndexOf(int percent);
// "130%", "130 %" or "130" within the typed range; nothing for other texts.
std::optional<int> ReadZoomText(std::string_view text);

}  // namespace vornel::bars
