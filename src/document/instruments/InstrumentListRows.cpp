#include "document/instruments/InstrumentListRows.h"

#include "model/CInstrumentDlg.h"

namespace vornel {

namespace {

constexpr std::array<std::string_view, 3> kOrnamentStyles = {"Baroque", "Renaissance", "Baroque guitar"};
constexpr std::array<std::string_view, 4> kFlagLinks = {"Flags", "Lute style links", "Modern Guitar", "No flags"};

}  // namespace

std::array<std::string, 8> InstrumentListRow(const CInstrumentDlg& definition) {
  const CTabInstrument& tab = definition.tabInstrument;
  const int32_t ornaments = tab.ornamentStyle;
  return {definition.nameText.text,
          tab.tuning.GetTuningText(),
          definition.GetNotationName(),
          tab.tabFont.logFont.lfFaceName,
          definition.midi.name,
          ornaments >= 0 && ornaments < 3 ? std::string(kOrnamentStyles[static_cast<size_t>(ornaments)]) : std::string(),
          definition.GetFlagStyleName(),
          std::string(kFlagLinks[static_cast<size_t>(tab.flagGroup & 3)])};
}

}  // namespace vornel
