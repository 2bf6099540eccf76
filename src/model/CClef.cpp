#include "model/CClef.h"

#include <stdexcept>

#include "model/CInstrumentDlg.h"
#include "model/Scaling.h"
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

CClef::CClef() { SetDefaults(); }

CClef::CClef(CInstrumentDlg* owner) : CClef() { definition = owner; }

CClef::CClef(const CClef& definitionStave) : Persistent(definitionStave) {
  SetDefaults();
  CopySettingsFrom(definitionStave);
  drawingOffsets = {0, 0};
  drawingFlag = 0;
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
  rendererValues = {50, 10, 30, 20, 100, 28, 2};
  rendererScales = {0.0f, 0.0f};
  ClearDrawingState();
}

void CClef::ClearDrawingState() {
  area = {};
  staffHeight = 0;
  leftMargin = 0;
  lineSpacing = 0;
  columnWidth = 0;
  columnCount = 0;
  rowCount = 0;
  tablatureLayout = false;
  drawingOffsets = {0, 0};
  drawingFlag = 0;
  chordPositions.clear();
  for (CVoiceGroup& group : voiceGroups) group.clear();
  barValue = 0;
  groupingFlags = 0;
  stepOffset = 0;
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
  rendererValues = s.rendererValues;
  rendererScales = s.rendererScales;
  definition = s.definition;
  tabInstrument = s.tabInstrument;
  chordPositions.clear();
  area = {};
}

int32_t CClef::Height() const { return ScaleTruncated(static_cast<int64_t>(area.bottom) - area.top, 1, 1); }

void CClef::ResetNoteGroups(int32_t bar) {
  barValue = bar;
  for (CVoiceGroup& group : voiceGroups) group.clear();
  groupingFlags = 0;
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
  lines = newLines;
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
  lines = ReadIntAttribute(element, "lines");
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
