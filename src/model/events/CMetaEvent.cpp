#include "model/events/CMetaEvent.h"

#include <algorithm>

#include "model/events/MetaEventEditor.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/UserPrompts.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/text/TextEdits.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlSink.h"

namespace vornel {

namespace {

struct KindEntry {
  uint8_t kind;
  std::string_view name;
};

constexpr KindEntry kKindNames[] = {
    {0, "Lyrics"},           {1, "Time signature"},     {2, "Alfabeto"},      {3, "Chord chart"},
    {4, "MIDI controller"},  {5, "Caption"},            {6, "Legato"},        {7, "Graphic ornament"},
    {8, "Continuo"},         {9, "Clef"},               {10, "Pedal"},        {11, "Space"},
    {12, "Ending"},          {14, "Tempo"},             {15, "Crescendo"},    {16, "Chord name"},
    {17, "Reprise"},         {18, "Fermata"},           {19, "Dynamic Chart"}, {20, "String number"},
    {21, "Rasgueado"},       {22, "Rolled chord"},      {23, "Footnote"},     {24, "Right static space"},
    {25, "Floating ornament"}, {32, "Hyperlink"},       {33, "Stave bracket"}, {34, "Dynamics"},
    {35, "XML"},             {36, "Bar pause"},         {37, "Repeat"},       {38, "Grace note"},
    {39, "Da Capo"},         {40, "Segno"},             {48, "Marker"},       {49, "End marker"},
    {50, "Coda"},            {65, "Stave break"},
};

// Kinds whose editor is a dialog of the window layer.
bool HasEditorDialog(uint8_t kind) {
  switch (kind) {
    case 0: case 1: case 4: case 5: case 6: case 7: case 8: case 9: case 12: case 14: case 15: case 16:
    case 17: case 21: case 23: case 26: case 32: case 33: case 34: case 36: case 38:
      return true;
    default:
      return false;
  }
}

// Old legato line numbers ran from 0 to 7; they are stored on a scale of 0 to 15 now.
uint32_t ScaleLegatoLine(int32_t n) {
  const int64_t scaled = static_cast<int64_t>(std::max(0, n)) * 16 / 7;
  return static_cast<uint32_t>(std::min<int64_t>(scaled, 15));
}

// Two line feeds in a row stand for one carriage return in the stored text.
std::string LineFeedPairsToReturns(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += '\r';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The stored form of a text: each carriage return as two line feeds, which the reader turns
// back into one (an XML reader would make a bare carriage return a line feed).
std::string ReturnsToLineFeedPairs(std::string_view text) {
  std::string out(text);
  ReplaceAll(out, "\r", "\n\n");
  return out;
}

}  // namespace

CMetaEvent::CMetaEvent(uint8_t kind_, std::string_view text_, uint32_t value_, int32_t cx_, int32_t cy_)
    : kind(kind_), text(text_), value(value_), cx(cx_), cy(cy_) {}

CMetaEvent::CMetaEvent(const CMetaEvent& other) : Persistent(other) { *this = other; }

CMetaEvent& CMetaEvent::operator=(const CMetaEvent& other) {
  if (this == &other) return *this;
  location = EventLocation{};
  location.notationCx = other.location.notationCx;
  location.notationCy = other.location.notationCy;
  location.tablatureCx = other.location.tablatureCx;
  location.tablatureCy = other.location.tablatureCy;
  referent = nullptr;
  kind = other.kind;
  text = other.text;
  value = other.value;
  cx = other.cx;
  cy = other.cy;
  return *this;
}

bool CMetaEvent::operator==(const CMetaEvent& o) const {
  return location == o.location && kind == o.kind && text == o.text && value == o.value && cx == o.cx && cy == o.cy;
}

std::string_view CMetaEvent::KindName(uint8_t kind) {
  for (const KindEntry& entry : kKindNames) {
    if (entry.kind == kind) return entry.name;
  }
  return {};
}

void CMetaEvent::Store(ArchiveWriter& ar) const {
  ar.WriteText(text);
  ar.WriteU8(kind);
  ar.WriteU32(value);
  ar.WriteI32(cx);
  ar.WriteI32(cy);
  // The location gate acts on storing too, so that a record is read back as it was written.
  if (ar.VersionAbove("9.15")) location.Store(ar);
}

void CMetaEvent::Load(ArchiveReader& ar) {
  text = ar.ReadText();
  kind = ar.ReadU8();
  value = ar.ReadU32();
  cx = ar.ReadI32();
  cy = ar.ReadI32();
  if (ar.VersionBelow("8.6")) ConvertFromOldVersion();
  if (kind == kEnding && cy >= 11) {
    // Endings numbered from 11 on were dynamics marks.
    const uint32_t c = static_cast<uint32_t>(cy);
    kind = kDynamics;
    cy = static_cast<int32_t>((((c * 5u + 25u) * 2u) & 0xFFFFu) | ((c - 11u) << 16));
  }
  if (kind == kTimeSignature && value == 0 && cx == 0 && cy == 0) {
    kind = kCaption;
    text.clear();
  }
  if (ar.VersionAbove("9.15")) location.Load(ar);
}

void CMetaEvent::ConvertFromOldVersion() {
  switch (kind) {
    case kLegato: {
      const uint32_t lines = (ScaleLegatoLine(cy) << 4) | ScaleLegatoLine(cx);
      value = (value & 0xFFu) | (lines << 8) | (lines << 16);
      cx = cy = text.empty() ? 0 : 3;
      text.clear();
      break;
    }
    case kEnding:
      value = (static_cast<uint32_t>(cy) + 2u) << 16;
      cx = cy = 0;
      break;
    case kCaption:
      value = (static_cast<uint32_t>(cy) + 7u) << 16;
      cx = cy = 0;
      break;
    default:
      break;
  }
}

tinyxml2::XMLElement* CMetaEvent::WriteXml(tinyxml2::XMLDocument& doc) const {
  return BuildXmlElement(doc, [&](XmlSink& out) { WriteXml(out); });
}

void CMetaEvent::WriteXml(XmlSink& out) const {
  out.Open("meta-event");
  out.Attribute("name", KindName(kind));
  out.Int("type", kind);
  out.Real("value", static_cast<double>(value));
  out.Int("cx", cx);
  out.Int("cy", cy);
  location.WriteXml(out);
  out.Open("text");
  out.Text(ReturnsToLineFeedPairs(text));
  out.Close();
  out.Close();
}

const tinyxml2::XMLElement* CMetaEvent::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "meta-event");
  AttributeReader a(element);
  kind = static_cast<uint8_t>(a.Unsigned("type"));
  value = a.TruncatedReal("value");
  cx = a.Int("cx");
  cy = a.Int("cy");
  const tinyxml2::XMLElement* locationElement = ExpectChildElement(element->FirstChildElement(), "location");
  location.ReadXml(locationElement);
  const tinyxml2::XMLElement* textElement = ExpectChildElement(locationElement->NextSiblingElement(), "text");
  text = LineFeedPairsToReturns(ElementText(textElement));
  return element->NextSiblingElement();
}

bool CMetaEvent::Edit(int view) {
  switch (kind) {
    case kFermata:
    case kDaCapo:
    case kSegno: {
      // A double click puts the sign back where a reset of the locations puts it.
      CMetaEvent reset;
      reset.kind = kind;
      reset.ResetLocation();
      const EventLocation& r = reset.location;
      if (view == EventLocation::kNotation) {
        location.SetOffset(view, r.notationCx, r.notationCy);
      } else {
        location.SetOffset(view, r.tablatureCx, r.tablatureCy);
      }
      return true;
    }
    case kDynamicChart:
    case kFloatingOrnament:
      return true;
    case kChordName:
      if (auto answer = Prompts().PromptText(kChordNamePrompt, text)) {
        text = std::move(*answer);
        return true;
      }
      return false;
    default:
      return HasEditorDialog(kind) && MetaEventEditors().RunEditor(*this, view);
  }
}

bool CMetaEvent::IsTextKind(uint8_t kind) {
  return kind == kLyrics || kind == kCaption || kind == kContinuo || kind == kChordName || kind == kFootnote;
}

void CMetaEvent::ResetLocation(const CMetaEvent* model) {
  if (model != nullptr) {
    if (model->kind != kind) return;
    location.SetOffset(EventLocation::kNotation, model->location.notationCx, model->location.notationCy);
    location.SetOffset(EventLocation::kTablature, model->location.tablatureCx, model->location.tablatureCy);
    return;
  }
  switch (kind) {
    case kReprise:
    case kFermata:
    case kDaCapo:
    case kSegno:
      location.SetOffset(EventLocation::kTablature, -200, -750);
      location.SetOffset(EventLocation::kNotation, -100, -300);
      break;
    default:
      location = EventLocation{};
      break;
  }
}

}  // namespace vornel
