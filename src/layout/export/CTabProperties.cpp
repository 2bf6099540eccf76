#include "layout/export/CTabProperties.h"

namespace vornel {

namespace {

// The option of a list entry; the first entry (and any entry without an option) adds nothing.
template <size_t N>
const char* ListOption(const std::array<const char*, N>& options, int32_t value) {
  return value > 0 && static_cast<size_t>(value) < N ? options[static_cast<size_t>(value)] : "";
}

}  // namespace

std::string CTabProperties::BuildOptionLines() const {
  static constexpr std::array<const char*, 7> kFlagOptions = {"", "\n-B ", "\n-F ", "\n-I ", "\n-T ", "\n-O ", ""};
  static constexpr std::array<const char*, 4> kStaveLineOptions = {"", "\n-4 ", "\n-5 ", "\n-0 "};
  static constexpr std::array<const char*, 4> kStyleOptions = {"", "\n-D ", "\n-N ", "\n-n "};
  static constexpr std::array<const char*, 5> kFontSizeOptions = {"", "\n-R95 ", "\n-R9 ", "\n-R8 ", "\n-R "};

  std::string lines = "\n-P ";
  if (baroqueStyle != 0) lines += "\n-b ";
  if (landscapeOrientation != 0) lines += "\n-e ";
  if (forcePageBreaks != 0) lines += "\n-K\n";
  if (barNumbers != 0) lines += "\n-C ";
  if (printOnLines != 0) lines += "\n-i ";
  lines += ListOption(kFlagOptions, flags);
  lines += ListOption(kStaveLineOptions, staveLines);
  lines += ListOption(kStyleOptions, styles);
  lines += ListOption(kFontSizeOptions, fontSize);
  if (italianTablatureMode != 0) lines += "\n-H ";
  return lines;
}

}  // namespace vornel
