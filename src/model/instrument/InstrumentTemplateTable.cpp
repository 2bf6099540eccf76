#include "model/instrument/InstrumentTemplateTable.h"

#include <algorithm>

#include "model/instrument/CInstrumentDlg.h"

namespace vornel {

namespace {

constexpr int32_t kStaff = CClef::kStaff;
constexpr int32_t kTab = CClef::kTablature;

// Families: 0 Renaissance lute, 1 new tunings, 2 baroque lute, 3 theorbo, 4 guitar, 5 viols,
// 6 plucked, 7 bowed, 8 keyboards, 9 winds, 10 percussions.
constexpr std::array<std::array<InstrumentTemplateRecord, kTemplateSetSize>, kTemplateSetCount> kSets = {{
    {{
        {kTab, "GDAFCGF", 25, "25. Acoustic Guitar (nylon)", "Renaissance lute in G (vieil ton)", 0},
        {kTab, "GDAFCGFEDC", 25, "25. Acoustic Guitar (nylon)", "Ten-course lute in G", 0},
        {kTab, "GDAFCGFEDCBbAGF", 25, "25. Acoustic Guitar (nylon)", "Fourteen-course lute in G", 0},
        {kTab, "FDAFDAG", 25, "25. Acoustic Guitar (nylon)", "Lute in accords nouveaux (d minor)", 1},
        {kTab, "FDAFDAGFEDCBA", 25, "25. Acoustic Guitar (nylon)", "Baroque lute", 2},
        {kTab, "A-1E-1BGDAGFEDCBAGFE", 25, "25. Acoustic Guitar (nylon)", "Theorbo in A", 3},
        {kTab, "EBGD+1A+1", 25, "25. Acoustic Guitar (nylon)", "Baroque guitar", 4},
        {kTab, "EBGDAE", 25, "25. Acoustic Guitar (nylon)", "Guitar", 4},
        {kTab, "DAECGD", 43, "43. Cello", "Bass viol", 5},
        {kTab, "E+1A+1DG", 25, "25. Acoustic Guitar (nylon)", "Mandolin", 6},
        {kStaff, "DAECGD", 43, "43. Cello", "Viol in staff notation", 7},
        {kStaff, "GDAFCGF", 7, "7.  Harpsichord", "Harpsichord", 8},
    }},
    {{
        {kTab, "EBGDAE", 25, "25. Acoustic Guitar (nylon)", "Modern guitar", 4},
        {kStaff, "EBGDAE", 25, "25. Acoustic Guitar (nylon)", "Guitar in staff notation", 4},
        {kTab, "EBGDAE", 26, "26. Acoustic Guitar (steel)", "Steel-string guitar", 4},
        {kTab, "GDAFCGF", 25, "25. Acoustic Guitar (nylon)", "Renaissance lute in G (vieil ton)", 0},
        {kTab, "FDAFDAGFEDCBA", 25, "25. Acoustic Guitar (nylon)", "Baroque lute", 2},
        {kTab, "A-1E-1BGDAGFEDCBAGFE", 25, "25. Acoustic Guitar (nylon)", "Theorbo in A", 3},
        {kTab, "EBGD+1A+1", 25, "25. Acoustic Guitar (nylon)", "Baroque guitar", 4},
        {kTab, "E+1A+1DG", 25, "25. Acoustic Guitar (nylon)", "Mandolin", 6},
        {kTab, "DAECGD", 43, "43. Cello", "Bass viol", 5},
        {kStaff, "E+1A+1DG", 41, "41. Violin", "Violin", 7},
        {kStaff, "GDAFCGF", 1, "1.  Acoustic Grand Piano", "Piano", 8},
        {kStaff, "GDAFCGF", 74, "74. Flute", "Flute", 9},
    }},
}};

}  // namespace

std::span<const InstrumentTemplateRecord, kTemplateSetSize> InstrumentTemplateSet(size_t set) {
  return kSets[std::min(set, kTemplateSetCount - 1)];
}

void CInstrumentDlg::SetFromTemplate(const InstrumentTemplateRecord& record) {
  EnsureStave();
  staves.at(0)->type = record.notationMode;
  tabInstrument.tuning.SetTuning(record.tuning);
  tabInstrument.tuningText = tabInstrument.tuning.GetTuningText();
  midi.patch = static_cast<uint8_t>(std::clamp<int>(record.program, 1, 128) - 1);
  midi.name = std::string(record.programName);
  nameText.text = std::string(record.name);
  family = record.family;
  familyPage = record.family;
  LinkStaves();
}

}  // namespace vornel
