#pragma once
// What the instrument list control shows of a definition: eight columns, one row per
// definition of the family filter (-1 for all).

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vornel {

class CInstrumentDlg;

struct InstrumentListColumn {
  std::string_view title;
  int width;
  bool right;  // aligned right
};

inline constexpr std::array<InstrumentListColumn, 8> kInstrumentListColumns = {{
    {"Name", 170, false},
    {"Tuning", 150, true},
    {"Tab style", 100, true},
    {"Font", 120, true},
    {"MIDI Patch", 120, true},
    {"Ornaments", 100, true},
    {"Flags", 100, false},
    {"Flag links", 150, false},
}};

// The eight cells of a definition's row.
std::array<std::string, 8> InstrumentListRow(const CInstrumentDlg& definition);

}  // namespace vornel
