#include "platform/draw/Ink.h"

#include <algorithm>
#include <array>

namespace vornel {

std::string_view InkSourceName(InkSource source) {
  static constexpr std::array<std::string_view, static_cast<size_t>(InkSource::kCount)> kNames = {
      "other",          "staff line",   "ledger line",  "bar line",      "system line",    "clef",
      "key signature",  "time signature", "note head",  "accidental",    "rest",           "dot",
      "stem",           "beam",         "flag",         "rhythm flag",   "tuplet",        "tablature letter", "bourdon",
      "ornament",       "fingering",    "slur",         "chord effect",  "meta-event text", "meta-event sign",
      "lyric",          "bar number",   "instrument name", "heading",    "system text",    "page text",
      "screen mark"};
  const auto index = static_cast<size_t>(source);
  return index < kNames.size() ? kNames[index] : "other";
}

bool VisiblePart(InkItem& item) {
  if (!item.clipped) return true;
  item.left = std::max(item.left, item.clipLeft);
  item.top = std::max(item.top, item.clipTop);
  item.right = std::min(item.right, item.clipRight);
  item.bottom = std::min(item.bottom, item.clipBottom);
  item.clipped = false;
  return item.right > item.left && item.bottom > item.top;
}

void InkExtent::OnInk(const InkItem& item) {
  if (next_ != nullptr) next_->OnInk(item);
  // What only the screen shows takes no room on the page.
  if (item.source == InkSource::kScreenMark) return;
  left_ = std::min(left_, item.left);
  top_ = std::min(top_, item.top);
  right_ = std::max(right_, item.right);
  bottom_ = std::max(bottom_, item.bottom);
}

}  // namespace vornel
