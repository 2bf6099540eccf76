#include "model/instrument/CClef.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "model/instrument/CInstrumentDlg.h"
#include "model/Scaling.h"
#include "platform/draw/MulDiv.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

// Space below is a 4-bit value in which 15 stands for 1.
uint32_t NormalSpaceBelow(uint32_t value) {
  value &= 0x0F;
  return value == 15 ? 1 : value;
}

// Staff lines as read: no staff has more than a few dozen, and the drawing multiplies them.
int32_t SaneLineCount(int32_t value) { return std::clamp(value, 0, 64); }

}  // namespace

CVoiceGroup::Segment CVoiceGroup::GetFirstToLastSegment() const {
  if (empty()) throw std::out_of_range("a voice group without note groups has no segment");
  const CNoteGroup* first = front();
  const CNoteGroup* last = back();
  Segment s;
  if (first != nullptr) s.from = {first->x, first->y};
  if (last != nullptr) s.to = {last->x, last->y};
  s.dx = s.to.x - s.from.x;
  s.dy = s.to.y - s.from.y;
  return s;
}

CNoteGroup& CVoiceGroup::AddNoteHead(bool counts, uint8_t rhythm, std::string_view fingering, int32_t x, int32_t y,
                                     int32_t column) {
  CNoteGroup* group = nullptr;
  for (const auto& item : items()) {
    if (item != nullptr && item->x == x) {
      group = item.get();
      break;
    }
  }
  if (group == nullptr) {
    auto made = std::make_unique<CNoteGroup>();
    made->x = x;
    made->y = y;
    made->top = y;
    made->bottom = y;
    made->column = column;
    made->rhythm = rhythm;
    group = push_back(std::move(made));
  } else if (group->noteCount == 0) {
    group->top = y;
    group->bottom = y;
  } else {
    group->top = std::min(group->top, y);
    group->bottom = std::max(group->bottom, y);
  }
  if (counts && group->noteCount < 255) ++group->noteCount;
  if (!fingering.empty()) group->text.append(fingering);
  return *group;
}

CNoteGroup& CVoiceGroup::AddRest(uint8_t rhythm, int32_t x, int32_t column) {
  auto made = std::make_unique<CNoteGroup>();
  made->x = x;
  made->column = column;
  made->rhythm = rhythm;
  return *push_back(std::move(made));
}

void CVoiceGroup::ResetBeamLevel() {
  beamLevel = stemsDown ? 0 : 0xFFFF;
  for (const auto& g : items()) {
    if (g == nullptr || !g->HasNotes()) continue;
    beamLevel = stemsDown ? std::max(beamLevel, g->bottom) : std::min(beamLevel, g->top);
  }
}

int CVoiceGroup::GetMinValue() {
  minValue = 255;
  for (const auto& g : items()) {
    if (g != nullptr) minValue = std::min(minValue, g->ValueCode());
  }
  return minValue;
}

int CVoiceGroup::GetMaxValue() {
  maxValue = 0;
  for (const auto& g : items()) {
    if (g != nullptr) maxValue = std::max(maxValue, g->ValueCode());
  }
  return maxValue;
}

int CVoiceGroup::GetFirstNoted() {
  firstNoted = static_cast<int>(size());
  for (size_t i = 0; i < size(); ++i) {
    if (at(i) != nullptr && at(i)->HasNotes()) {
      firstNoted = static_cast<int>(i);
      break;
    }
  }
  return firstNoted;
}

void CVoiceGroup::ComputeThickness() {
  const double t = std::lround(spacing / (tabMode == 0 ? 2.65 : 3.5));
  thickness = static_cast<int32_t>(stemsDown ? -t : t);
}

void CVoiceGroup::ComputeStep() {
  const double t = thickness;
  const int32_t p = static_cast<int32_t>(std::lround(t + t * (tabMode == 0 ? 4.0 : 10.0) / 6.0));
  beamStep = stemsDown ? p - 1 : p + 1;
}

void CVoiceGroup::Reset() {
  clear();
  count = 0;
  firstNoted = 0;
  tupletNumber = 2;
  slope = 0.0f;
  addedBeams = 0;
}

CClef::CClef() { SetDefaults(); }

CClef::CClef(CInstrumentDlg* owner) : CClef() { definition = owner; }

CClef::CClef(const CClef& definitionStave) : Persistent(definitionStave) {
  SetDefaults();
  CopySettingsFrom(definitionStave);
}

bool CClef::operator==(const CClef& o) const {
  return type == o.type && clefId == o.clefId && lines == o.lines && spaceBelow == o.spaceBelow &&
         enabledVoices == o.enabledVoices && maxMoves == o.maxMoves && oldStyle == o.oldStyle &&
         squareNotes == o.squareNotes && stemDirection == o.stemDirection && hideMetaEvents == o.hideMetaEvents &&
         hideFlags == o.hideFlags && linkedFlags == o.linkedFlags;
}

void CClef::SetDefaults() {
  type = -1;
  clefId = kG8Clef;
  lines = 5;
  spaceBelow = 1;
  enabledVoices = kUpperVoice;
  maxMoves = {};
  oldStyle = 1;
  squareNotes = 0;
  stemDirection = 0;
  hideMetaEvents = 0;
  hideFlags = 0;
  linkedFlags = 1;
  clefRaise = 0;
  transposition = 0;
  ClearDrawingState();
}

void CClef::ClearDrawingState() {
  area = {};
  leftMargin = 0;
  lineSpacing = 0;
  columnWidth = 0;
  columnCount = 0;
  rowCount = 0;
  tablatureLayout = false;
  if (drawn_ != nullptr) drawn_->chordPositions.clear();
  ClearVoiceGroups();
  barValue = 0;
  stepOffset = 0;
  lineThickness = 0;
  textBaseline = 0;
  annotationTop = 0;
  annotationUnit = 0;
  headerRect = {};
  highlightStart = 0;
  highlightEnd = 0;
  currentStemsDown = 0;
  tabMode = 0;
}

int CClef::ReferenceStep(int32_t clef) {
  static constexpr int kSteps[] = {21, 28, 16, 22, 25};
  return clef >= 0 && clef < 5 ? kSteps[clef] : 0;
}

int CClef::GetPositionPitch() const {
  const int step = (ReferenceStep(clefId) - stepOffset + 9) & 0xFF;
  return definition != nullptr ? definition->key.StepToPitch(step) : CKey().StepToPitch(step);
}

int CClef::GetStemDividingPitch() const {
  const int position = GetPositionPitch() & 0xFF;
  if (clefId >= kG8Clef && clefId <= kFClef) return position + 6;
  if (clefId == kCClef) return position + 7;
  return position;
}

void CClef::CopySettingsFrom(const CClef& s) {
  type = s.type;
  clefId = s.clefId;
  lines = s.lines;
  spaceBelow = s.spaceBelow;
  enabledVoices = s.enabledVoices;
  maxMoves = s.maxMoves;
  oldStyle = s.oldStyle;
  squareNotes = s.squareNotes;
  stemDirection = s.stemDirection;
  hideMetaEvents = s.hideMetaEvents;
  hideFlags = s.hideFlags;
  linkedFlags = s.linkedFlags;
  clefRaise = s.clefRaise;
  transposition = s.transposition;
  definition = s.definition;
  tabInstrument = s.tabInstrument;
  if (drawn_ != nullptr) drawn_->chordPositions.clear();
  area = {};
}

int32_t CClef::Height() const { return ScaleTruncated(static_cast<int64_t>(area.bottom) - area.top, 1, 1); }

int CClef::KeySignatureShift(int32_t clef) {
  static constexpr int kShifts[] = {0, 0, -2, -1, 3};
  return clef >= 0 && clef < 5 ? kShifts[clef] : 0;
}

int32_t CClef::DrawnLineCount() const {
  if (!IsTablature()) return 5;
  return std::clamp(tabInstrument != nullptr ? tabInstrument->tuning.lines : lines, 0, 16);
}

int32_t CClef::CursorLineCount() const { return IsTablature() ? std::max(DrawnLineCount(), 1) : 17; }

Size CClef::GetStaffSize(int32_t dpiY) const {
  const int64_t below = std::min<uint32_t>(spaceBelow, 15);
  const int64_t height = int64_t{DrawnLineCount()} * lineSpacing +
                         below * MulDiv(MulDiv(40, dpiY, 254), zoom, 100);
  return {ScaleTruncated(int64_t{area.right} - area.left, 1, 1), ScaleTruncated(height, 1, 1)};
}

void CClef::SetFrameGeometry(const Rect& rect, int32_t spacing, int32_t thickness, int32_t columnWidthIn,
                             int32_t dpiY, int32_t zoomPercent) {
  zoom = zoomPercent;
  lineSpacing = spacing;
  lineThickness = thickness;
  columnWidth = columnWidthIn;
  tablatureLayout = IsTablature();
  area.left = rect.left;
  area.right = rect.right;
  area.top = ScaleTruncated(int64_t{rect.top} + thickness, 1, 1);
  const int32_t staffHeight = GetStaffSize(dpiY).cy;
  area.bottom = ScaleTruncated(int64_t{area.top} + staffHeight - spacing, 1, 1);
  // A zero column width (a tiny zoom, a missing font) counts as one pixel.
  columnCount = ScaleTruncated((int64_t{rect.right} - rect.left) / std::max(columnWidthIn, 1) + 1, 1, 1);
  rowCount = CursorLineCount();
}

int32_t CClef::StepToY(int step) const {
  const int64_t r = ReferenceStep(clefId);
  const int64_t value = int64_t{area.top} + 8 * int64_t{lineSpacing} -
                        ((int64_t{stepOffset} - r - 1 + step) * lineSpacing) / 2;
  return ScaleTruncated(value, 1, 1);
}

int CClef::GetCursorStep() const { return ReferenceStep(clefId) - cursorRow - stepOffset + 17; }

int CClef::GetCursorStepAt(int32_t clef, int32_t offset) const {
  return ReferenceStep(clef) - cursorRow - offset + 17;
}

CClef::StepRange CClef::GetStepRange() const {
  StepRange range;
  range.low = ReferenceStep(clefId) - stepOffset;
  range.high = range.low + CursorLineCount() + 12;
  return range;
}

Point CClef::GetCursorPoint() const {
  Point p;
  p.x = ScaleTruncated(int64_t{cursorColumn} * columnWidth + area.left, 1, 1);
  const int64_t unit = IsTablature() ? lineSpacing : lineSpacing / 2;
  p.y = ScaleTruncated(int64_t{cursorRow} * unit + area.top, 1, 1);
  if (IsTablature()) {
    p.x -= 4;
    p.y += lineSpacing / 4;
  }
  return p;
}

int CClef::MoveCursor(int code, int lowestLine) {
  switch (code) {
    case 0:
    case 7:
      if (cursorColumn + 1 > columnCount) return 0;
      ++cursorColumn;
      return 1;
    case 3:
      cursorColumn = columnCount;
      return 1;
    case 4:
      cursorColumn = 0;
      return 1;
    case 5:
      if (cursorColumn - 1 < 0) return 0;
      --cursorColumn;
      return 1;
    case 6:
      if (cursorRow - 1 < lowestLine) return 0;
      --cursorRow;
      return 1;
    case 8:
      if (cursorRow + 1 >= CursorLineCount()) return 0;
      ++cursorRow;
      return 1;
    default:
      return 0;
  }
}

void CClef::ResetNoteGroups(int32_t bar) {
  barValue = bar;
  ClearVoiceGroups();
}

CClef::DrawnPlaces& CClef::Drawn() {
  if (drawn_ == nullptr) drawn_ = std::make_unique<DrawnPlaces>();
  return *drawn_;
}

const CClef::DrawnPlaces& CClef::LastDrawn() const {
  static const DrawnPlaces kNeverDrawn;
  return drawn_ != nullptr ? *drawn_ : kNeverDrawn;
}

void CClef::ClearVoiceGroups() {
  if (drawn_ == nullptr) return;
  for (CVoiceGroup& group : drawn_->voiceGroups) group.clear();
}

void CClef::Store(ArchiveWriter& ar) const {
  uint32_t flags = 0;
  if (squareNotes != 0) flags |= kSquareNotesBit;
  if (oldStyle != 0) flags |= kOldStyleBit;
  if (stemDirection != 0) flags |= kStemDirectionBit;
  if (hideMetaEvents != 0) flags |= kHideMetaEventsBit;
  ar.WriteI32(type);
  ar.WriteI32(lines);
  ar.WriteI32(maxMoves.cx);
  ar.WriteI32(maxMoves.cy);
  ar.WriteU32(spaceBelow == 15 ? 1 : spaceBelow);
  ar.WriteI32(clefId);
  ar.WriteI32(hideFlags);
  ar.WriteI32(linkedFlags);
  ar.WriteU32(flags);
  ar.WriteI32(0);
  ar.WriteI32(enabledVoices);
}

void CClef::Load(ArchiveReader& ar) {
  const int32_t newType = ar.ReadI32();
  const int32_t newLines = ar.ReadI32();
  SizePair moves;
  moves.cx = ar.ReadI32();
  moves.cy = ar.ReadI32();
  const uint32_t space = ar.ReadU32();
  const int32_t clef = ar.ReadI32();
  const int32_t newHideFlags = ar.ReadI32();
  const int32_t newLinkedFlags = ar.ReadI32();
  const uint32_t flags = ar.ReadU32();
  ar.ReadI32();  // always 0
  const int32_t voices = ar.ReadI32();

  type = newType;
  lines = SaneLineCount(newLines);
  maxMoves = moves;
  spaceBelow = NormalSpaceBelow(space);
  clefId = clef;
  hideFlags = newHideFlags;
  linkedFlags = newLinkedFlags;
  squareNotes = (flags & kSquareNotesBit) ? 1 : 0;
  oldStyle = (flags & kOldStyleBit) ? 1 : 0;
  stemDirection = (flags & kStemDirectionBit) ? 1 : 0;
  hideMetaEvents = (flags & kHideMetaEventsBit) ? 1 : 0;
  enabledVoices = voices;
}

tinyxml2::XMLElement* CClef::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("clef");
  SetIntAttribute(element, "type", type);
  SetIntAttribute(element, "clef-id", clefId);
  SetIntAttribute(element, "lines", lines);
  SetUnsignedAttribute(element, "space-below", spaceBelow);
  SetIntAttribute(element, "enabled-voices", enabledVoices);

  tinyxml2::XMLElement* moves = doc.NewElement("max-moves");
  SetIntAttribute(moves, "cx", maxMoves.cx);
  SetIntAttribute(moves, "cy", maxMoves.cy);
  element->InsertEndChild(moves);

  tinyxml2::XMLElement* styles = doc.NewElement("styles");
  SetIntAttribute(styles, "old-style", oldStyle);
  SetIntAttribute(styles, "square-notes", squareNotes);
  element->InsertEndChild(styles);

  tinyxml2::XMLElement* options = doc.NewElement("options");
  SetIntAttribute(options, "stem-direction", stemDirection);
  SetIntAttribute(options, "hide-metaevents", hideMetaEvents);
  SetIntAttribute(options, "hide-flags", hideFlags);
  SetIntAttribute(options, "linked-flags", linkedFlags);
  element->InsertEndChild(options);
  return element;
}

const tinyxml2::XMLElement* CClef::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "clef");
  type = ReadIntAttribute(element, "type");
  clefId = ReadIntAttribute(element, "clef-id");
  lines = SaneLineCount(ReadIntAttribute(element, "lines"));
  spaceBelow = NormalSpaceBelow(ReadUnsignedAttribute(element, "space-below"));
  enabledVoices = ReadIntAttribute(element, "enabled-voices");

  if (const tinyxml2::XMLElement* moves = element->FirstChildElement()) {
    maxMoves.cx = ReadIntAttribute(moves, "cx");
    maxMoves.cy = ReadIntAttribute(moves, "cy");
    if (const tinyxml2::XMLElement* styles = moves->NextSiblingElement()) {
      oldStyle = ReadBoolAttribute(styles, "old-style") ? 1 : 0;
      squareNotes = ReadBoolAttribute(styles, "square-notes") ? 1 : 0;
      if (const tinyxml2::XMLElement* options = styles->NextSiblingElement()) {
        stemDirection = ReadBoolAttribute(options, "stem-direction") ? 1 : 0;
        hideMetaEvents = ReadBoolAttribute(options, "hide-metaevents") ? 1 : 0;
        hideFlags = ReadBoolAttribute(options, "hide-flags") ? 1 : 0;
        linkedFlags = ReadBoolAttribute(options, "linked-flags") ? 1 : 0;
      }
    }
  }
  return element->NextSiblingElement();
}

}  // namespace vornel
