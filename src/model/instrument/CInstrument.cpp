#include "model/instrument/CInstrument.h"

#include <algorithm>

#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/DrawnColumns.h"
#include "model/events/CMetaEvent.h"
#include "model/OwnedArrayRecords.h"
#include "model/Scaling.h"
#include "model/score/StaveRenderer.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/draw/DeviceContext.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlSink.h"

namespace vornel {

namespace {

// Sums and products of laid-out lengths stay within 32 bits whatever a renderer reports.
int32_t AddLengths(int64_t a, int64_t b) { return ScaleTruncated(a + b, 1, 1); }
int32_t MultiplyLength(int64_t a, int64_t b) { return ScaleTruncated(a, b, 1); }

}  // namespace

CInstrument::CInstrument() {
  voices_.push_back(&firstVoice);
  voices_.push_back(&secondVoice);
}

CInstrument::CInstrument(CInstrumentDlg& d) : CInstrument() {
  definition = &d;
  for (const auto& definitionStave : d.staves.items()) {
    if (definitionStave == nullptr) continue;
    definitionStave->definition = &d;
    definitionStave->tabInstrument = &d.tabInstrument;
    staves.push_back(std::make_unique<CClef>(*definitionStave));
    lineRect.bottom = AddLengths(lineRect.bottom, definitionStave->Height());
  }
  selectedVoice = d.voiceSelector;
}

CInstrument::~CInstrument() { DeleteAllChords(); }

void CInstrument::DeleteAllChords() { voices_.DeleteAllChords(); }

int32_t CInstrument::GetHeight() const { return AddLengths(lineRect.bottom, -static_cast<int64_t>(lineRect.top)); }

void CInstrument::AttachDefinition(CInstrumentDlg& d) {
  definition = &d;
  for (const auto& definitionStave : d.staves.items()) {
    if (definitionStave == nullptr) continue;
    CClef* stave = staves.push_back(std::make_unique<CClef>(*definitionStave));
    stave->definition = &d;
    stave->tabInstrument = &d.tabInstrument;
    stave->clefRaise = d.clefLine;
  }
}

// ---------------------------------------------------------------------------------------------
// Hit testing and layout

int CInstrument::HitTestStave(int32_t x, int32_t y) {
  const Point point{x, y};
  for (size_t i = staves.size(); i-- > 0;) {
    const CClef* stave = staves.at(i);
    if (stave == nullptr) continue;
    const int32_t top = AddLengths(stave->area.top, -static_cast<int64_t>(stave->lineSpacing));
    const Rect widened{AddLengths(stave->area.left, -static_cast<int64_t>(stave->leftMargin)), top, stave->area.right,
                       AddLengths(top, MultiplyLength(6, stave->lineSpacing))};
    if (widened.Contains(point)) {
      activeStave = static_cast<int32_t>(i);
      break;
    }
  }
  if (activeStave < 0 || static_cast<size_t>(activeStave) >= staves.size()) return 1;
  CClef* stave = GetCurrentStave();
  if (stave == nullptr) return 1;
  // A stave that was never laid out has no columns to divide by.
  if (stave->columnWidth > 0) {
    int64_t column = DrawnColumnAt(*stave, selectedVoice != 0 ? 1 : 0, GetSelectedVoice(), x);
    if (column < 0) column = (static_cast<int64_t>(x) - stave->area.left) / stave->columnWidth;
    if (column >= 0 && column < stave->columnCount) stave->cursorColumn = static_cast<int32_t>(column);
  }
  const int64_t spacing = std::max(stave->lineSpacing, 1);
  const int64_t step = stave->tablatureLayout ? spacing : std::max<int64_t>(spacing / 2, 1);
  const int64_t row = (static_cast<int64_t>(y) - stave->area.top) / step;
  if (row >= 0 && row < stave->rowCount) stave->cursorRow = static_cast<int32_t>(row);
  return 1;
}

bool CInstrument::MoveCursorToNextNote() {
  if (activeStave < 0 || static_cast<size_t>(activeStave) >= staves.size()) return false;
  CClef* stave = GetCurrentStave();
  if (stave == nullptr) return false;
  const nChordArray& voice = GetSelectedVoice();
  while (true) {
    if (stave->cursorColumn < 0 || static_cast<size_t>(stave->cursorColumn) >= voice.size()) return false;
    if (stave->MoveCursor(7, 0) == 0) return false;
    const size_t column = static_cast<size_t>(stave->cursorColumn);
    const nChord* e = column < voice.size() ? voice.at(column) : nullptr;
    if (e != nullptr && e->IsChord() && !e->notes.empty()) return true;
  }
}

int CInstrument::LayoutAndDraw(DeviceContext& dc, Rect& rect, int32_t code, int32_t codeHigh, int32_t nameWidthIn,
                               int32_t columnWidthIn, uint32_t flags) {
  StaveRenderer& renderer = StaveRenderers();
  nameWidth = nameWidthIn;
  columnWidth = columnWidthIn;
  lineRect = rect;
  const bool fullSize = (flags & kFullSize) != 0;
  const std::optional<int32_t> applicationZoom = renderer.ApplicationZoom(dc);
  const int32_t zoom = applicationZoom && !dc.IsPrinting() && !fullSize ? *applicationZoom : 100;
  const bool highlight = renderer.HighlightingOn() && !dc.IsPrinting() && !fullSize;
  const CKey* key = definition != nullptr ? &definition->key : nullptr;

  const int32_t count = static_cast<int32_t>(staves.size());
  int32_t labelWidth = 0;
  CClef* last = nullptr;
  for (int32_t i = 0; i < count; ++i) {
    CClef* stave = staves.at(static_cast<size_t>(i));
    if (stave == nullptr) continue;
    stave->highlighted = highlight;
    stave->positionCode = (code & ~0xFF) | (((count - 1) * 16 + i) & 0xFF);
    stave->positionCodeHigh = codeHigh;
    stave->columnCount = columnCount;
    stave->currentVoice = selectedVoice != 0 ? 1 : 0;
    renderer.DrawStave(dc, *stave, zoom, voices_, rect, nameWidth, key, columnWidth);
    if ((flags & kDrawTuning) != 0 && stave->IsTablature() && definition != nullptr) {
      const int32_t tabHeight = MultiplyLength(stave->lineSpacing, std::max(stave->lines - 1, 0));
      labelWidth = renderer.DrawTuningLabels(dc, definition->tabInstrument, AddLengths(rect.left, -int64_t{nameWidth}),
                                             AddLengths(stave->area.top, tabHeight / 2));
    }
    rect.top = AddLengths(rect.top, stave->Height());
    last = stave;
  }
  const int32_t bottom = last != nullptr ? AddLengths(last->area.top, last->Height()) : rect.top;
  rect.bottom = bottom;
  lineRect.bottom = bottom;
  const int32_t lastLine =
      last != nullptr ? AddLengths(last->area.top, MultiplyLength(std::max(last->lines - 1, 0), last->lineSpacing))
                      : lineRect.top;

  // Where what the name keeps clear of starts: the staves' lines, or the brace joining them.
  int64_t joinLeft = AddLengths(lineRect.left, -int64_t{nameWidth});
  if (count > 1) {
    Size millimetre{100, 100};
    dc.HimetricToDevice(millimetre);
    int32_t gap = AddLengths(millimetre.cx, labelWidth);
    if ((flags & kDrawTuning) != 0) gap = MultiplyLength(gap, 2);
    // At the start of the staves' lines, left of the room for their clefs and signatures.
    const int32_t joinX = AddLengths(lineRect.left, -(int64_t{gap} + nameWidth));
    renderer.DrawStaveJoin(dc, joinX, lineRect.top, lastLine, millimetre.cx * 3 / 2);
    // The brace reaches twice its width left of the line.
    joinLeft = std::min<int64_t>(joinLeft, int64_t{joinX} - int64_t{millimetre.cx} * 3);
  }
  if ((flags & kDrawName) != 0 && definition != nullptr) {
    // The name ends left of the staves' lines, clear of what joins them, centred on them.
    Size gap{kNameGapHundredths, kNameGapHundredths};
    dc.HimetricToDevice(gap);
    const int32_t x = static_cast<int32_t>(
        std::clamp<int64_t>(std::min<int64_t>(AddLengths(lineRect.left, -(int64_t{nameWidth} + gap.cx)),
                                               joinLeft - gap.cx / 4),
                            INT32_MIN, INT32_MAX));
    const int32_t y = static_cast<int32_t>((int64_t{lineRect.top} + lastLine) / 2);
    if ((flags & kShortName) != 0 && !definition->shortName.empty()) {
      CTrackText shortened = definition->nameText;
      shortened.text = definition->shortName;
      renderer.DrawName(dc, shortened, zoom, x, y);
    } else {
      CTrackText& name = definition->nameText;
      if (name.x == 0 && name.y == 0) {
        name.x = x;
        name.y = y;
      }
      renderer.DrawName(dc, name, zoom, x, y);
    }
  }
  return 1;
}

// ---------------------------------------------------------------------------------------------
// Stored forms

void CInstrument::Store(ArchiveWriter& ar) const {
  ar.WriteObjectArray(staves.items());
  ar.WriteI32(activeStave);
  firstVoice.Store(ar);
  secondVoice.Store(ar);
}

void CInstrument::Load(ArchiveReader& ar) {
  LoadArrayOfParts(ar, staves, kMaxStaves);
  activeStave = ar.ReadI32();
  firstVoice.Load(ar);
  if (ar.VersionAbove("6.1")) secondVoice.Load(ar);
}

tinyxml2::XMLElement* CInstrument::WriteXml(tinyxml2::XMLDocument& doc) const {
  return BuildXmlElement(doc, [&](XmlSink& out) { WriteXml(out); });
}

void CInstrument::WriteXml(XmlSink& out) const {
  out.Open("instrument");
  out.Int("active", activeStave);
  firstVoice.WriteXml(out);
  secondVoice.WriteXml(out);
  out.Close();
}

const tinyxml2::XMLElement* CInstrument::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "instrument");
  activeStave = ReadIntAttribute(element, "active");
  const tinyxml2::XMLElement* next = firstVoice.ReadXml(element->FirstChildElement());
  secondVoice.ReadXml(next);
  lastEnteredNote = nullptr;
  return element->NextSiblingElement();
}

nChord* CInstrument::InsertInitialTimeSignature(int32_t numerator, int32_t denominator) {
  constexpr uint16_t kSignatureEvent = 18;  // a special event of subtype 1
  uint32_t value = 1;
  if (definition != nullptr) {
    value |= static_cast<uint32_t>(definition->tabInstrument.signatureSize - 50) << 16;
    if (definition->shortSignatures != 0) value |= 4;
  }
  auto event = std::make_unique<nChord>(kSignatureEvent);
  event->metaEvents.push_back(
      std::make_unique<CMetaEvent>(CMetaEvent::kTimeSignature, "true", value, numerator & 0xFF, denominator & 0xFF));
  return firstVoice.insert(0, std::move(event));
}

}  // namespace vornel
