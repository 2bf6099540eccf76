#include "layout/dialogs/SmallDialogs.h"

#include <algorithm>

#include "model/instrument/PitchNames.h"
#include "platform/ServiceSlots.h"
#include "platform/text/FieldRanges.h"

namespace vornel {

namespace {

long Last(size_t size) { return static_cast<long>(size) - 1; }

}  // namespace

std::string CTempoDlg::Validate() const {
  return CheckFieldRanges({{caption.empty() ? "Value" : caption, value, minimum, maximum}});
}

std::string CTransposeDlg::Validate() const { return CheckFieldRanges({{"Half steps", halfSteps, -12, 12}}); }

std::string COctaveDlg::NoteName() const {
  const int pitch = std::max(limitPitch, 0);
  return std::string(PitchClassName(pitch)) + std::to_string(pitch / 12);
}

std::string COctaveDlg::Validate() const { return CheckFieldRanges({{"Limit pitch", limitPitch, 12, 127}}); }

void CBarRangeDlg::Open() {
  barCount = std::max(barCount, 1);
  end = barCount;
  begin = std::clamp(begin, 1, barCount);
}

void CBarRangeDlg::ReleaseBegin() {
  if (begin >= end) begin = std::max(end - 1, 1);
}

void CBarRangeDlg::ReleaseEnd() {
  if (end <= begin) end = std::min(begin + 1, barCount);
}

std::string CBarRangeDlg::Validate() const {
  return CheckFieldRanges({{"Begin bar", begin, 1, std::max(barCount, 1)}, {"End bar", end, 1, std::max(barCount, 1)}});
}

void COperationDlg::ChooseOperation(size_t index, int operation) {
  Row& row = rows.at(index);
  row.operation = operation;
  switch (operation) {
    case ChordOperation::kNothing:
    case ChordOperation::kMirror: row.minimum = row.maximum = 0; break;
    case ChordOperation::kClone:
    case ChordOperation::kCascade: row.minimum = 0, row.maximum = 12; break;
    case ChordOperation::kRotate:
    case ChordOperation::kShift: row.minimum = -count, row.maximum = count; break;
    case ChordOperation::kRotateFlags: row.minimum = -3, row.maximum = 3; break;
    case ChordOperation::kDotFlags:
    case ChordOperation::kArpeggiateUp:
    case ChordOperation::kArpeggiateDown:
    case ChordOperation::kArpeggiateUpDown: row.minimum = 0, row.maximum = 7; break;
    case ChordOperation::kArpeggiateDownUp: break;  // keeps the range it had
    default: row.minimum = -12, row.maximum = 12; break;
  }
  row.operand = std::clamp(row.operand, row.minimum, row.maximum);
}

std::vector<ChordOperation> COperationDlg::BuildList() const {
  std::vector<ChordOperation> list;
  for (const Row& row : rows) {
    if (row.operation == ChordOperation::kNothing) break;
    if (row.preserve) list.push_back({kPreserve, 1});
    list.push_back({row.operation, row.operand});
  }
  return list;
}

void COperationDlg::StackAndResolve() {
  const std::vector<ChordOperation> stacked = BuildList();
  result.insert(result.end(), stacked.begin(), stacked.end());
  for (Row& row : rows) row = Row{0, 0, false, 0, 0};
}

void COperationDlg::ClearAll() {
  for (Row& row : rows) row = Row{0, 0, false, 0, 0};
}

std::vector<ChordOperation> COperationDlg::Finish() const {
  std::vector<ChordOperation> list = result;
  const std::vector<ChordOperation> rest = BuildList();
  list.insert(list.end(), rest.begin(), rest.end());
  return list;
}

std::string COperationDlg::Validate() const {
  for (const Row& row : rows) {
    std::string message = CheckFieldRanges(
        {{"Operation", row.operation, 0, Last(kOperations.size())}, {"Operand", row.operand, row.minimum, row.maximum}});
    if (!message.empty()) return message;
  }
  return {};
}

std::string CSlurControlDlg::Validate() const {
  return CheckFieldRanges({{"Horizontal intervals:", steps, 1, 8},
                           {"Vertical intervals:", position, 0, 14},
                           {"Type:", type, 0, Last(kTypes.size())}});
}

void CChordEffectDlg::From(int32_t word) {
  type = (word >> 8) & 0xF;
  up = (word & 0x3) == 2;
  division = (word >> 2) & 0x3;
  steps = (word >> 4) & 0x7;
  alignment = (word & 0x1000) != 0 ? 1 : 0;
  visible = (word & 0x2000) == 0;
}

int32_t CChordEffectDlg::Word() const {
  int32_t word = (type << 8) | ((steps & 0x7) << 4) | ((division & 0x3) << 2);
  if (!visible) word |= 0x2000;
  if (alignment == 1) word |= 0x1000;
  word |= up ? 2 : 1;
  return word;
}

std::string CChordEffectDlg::Validate() const {
  return CheckFieldRanges({{"Type", type, 0, Last(kTypes.size())},
                           {"Flag division", division, 0, Last(kDivisions.size())},
                           {"Steps", steps, 0, 7},
                           {"Alignment", alignment, 0, 1}});
}

namespace {

constexpr const char* kServiceName = "small editing dialog";

// A service the editor's window installs, not drawing state: one per process by design.
SmallDialogs g_noSmallDialogs;
ObjectSlot<SmallDialogs> g_smallDialogs(kServiceName, g_noSmallDialogs);

bool Missing() {
  ReportMissingService(kServiceName);
  return false;
}

}  // namespace

bool SmallDialogs::Octave(COctaveDlg&) { return Missing(); }
bool SmallDialogs::BarRange(CBarRangeDlg&) { return Missing(); }

SmallDialogs& SmallEditingDialogs() { return g_smallDialogs.Get(); }
ScopedSmallDialogs::ScopedSmallDialogs(SmallDialogs& dialogs) : previous_(g_smallDialogs.Exchange(&dialogs)) {}
ScopedSmallDialogs::~ScopedSmallDialogs() { g_smallDialogs.Exchange(previous_); }

}  // namespace vornel
