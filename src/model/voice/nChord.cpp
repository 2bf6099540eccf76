#include "model/voice/nChord.h"

#include <algorithm>

#include "platform/UserPrompts.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlSink.h"

namespace vornel {

namespace {

// Tuplet selector (rhythm bits 4-7): the tuplet number; selectors 10-15 are not stored.
constexpr uint32_t kTupletNumbers[10] = {2, 3, 5, 7, 6, 9, 11, 13, 15, 17};

// Text and controller value of the dynamics codes of old files.
struct LegacyDynamic {
  const char* text;
  uint32_t value;
};
constexpr LegacyDynamic kLegacyDynamics[9] = {{"", 100},  {"ppp", 50}, {"pp", 60},  {"p", 80},   {"mp", 90},
                                              {"mf", 100}, {"f", 115},  {"ff", 120}, {"fff", 120}};

// Bar-line style names of the "event" element, for readers outside this program.
constexpr const char* kRepeatTypes[7] = {"left", "right", "both", "section-end", "dotted", "bramet", "thick"};

}  // namespace

nChord::nChord(const nChord& other)
    : Persistent(other),
      position(other.position),
      delta(other.delta),
      number(other.number),
      time(other.time),
      status(other.status),
      rhythm(other.rhythm),
      dy(other.dy),
      beamIndex(0),
      al(other.al),
      name(other.name),
      metaEvents(other.metaEvents),
      notes(other.notes) {}

nChord& nChord::operator=(const nChord& other) {
  if (this != &other) {
    nChord copy(other);
    position = copy.position;
    beamIndex = 0;
    status = copy.status;
    rhythm = copy.rhythm;
    delta = copy.delta;
    dy = copy.dy;
    al = copy.al;
    number = copy.number;
    time = copy.time;
    name = std::move(copy.name);
    metaEvents = std::move(copy.metaEvents);
    notes = std::move(copy.notes);
  }
  return *this;
}

bool nChord::operator==(const nChord& o) const {
  return status == o.status && rhythm == o.rhythm && dy == o.dy && al == o.al && name == o.name &&
         notes == o.notes && metaEvents == o.metaEvents;
}

uint32_t nChord::TupletNumber(uint16_t rhythmWord) {
  const uint16_t selector = (rhythmWord >> 4) & 0x0F;
  return selector < std::size(kTupletNumbers) ? kTupletNumbers[selector] : kTupletNumbers[0];
}

uint32_t nChord::DurationTicks(uint16_t rhythmWord) {
  const uint32_t base = PlainTicks(rhythmWord);
  const uint32_t n = TupletNumber(rhythmWord);
  if (n == 2) return base;  // no tuplet: what the division below gives, without dividing
  if (n == 6) return 2 * base / 3;
  uint32_t c = 2 * base;
  if (n == 7 || n == 9 || n == 11 || n == 13) c *= 2;
  if (n == 15) c *= 4;
  uint32_t result = c / n;
  // The first chord of a group takes what the division leaves.
  if (n != 2 && n != 3 && (rhythmWord & kTakesRemainder)) result += c % n;
  return result;
}

uint32_t nChord::PlainTicks(uint16_t rhythmWord) {
  const uint32_t base = kBreveTicks >> (rhythmWord & 7);
  return (rhythmWord & 8) ? base + base / 2 : base;
}

uint32_t nChord::SetRhythmFromTicks(uint32_t length) {
  if (length == 0) return 0;
  const uint32_t r = length % kBreveTicks;
  if (r == 0) {
    rhythm = 0;
    return 0;
  }
  uint32_t n = 0;
  while ((r << n) < kBreveTicks) ++n;
  uint16_t code = static_cast<uint16_t>(std::min<uint32_t>(n, 7));
  rhythm = code;
  const uint32_t v = kBreveTicks >> n;
  uint32_t left = length - v;
  if (left == 0) return 0;
  if (left == v / 2) {
    rhythm |= 8;
    return 0;
  }
  if (left == v / 3) {
    // A triplet of the next longer value.
    rhythm = static_cast<uint16_t>((code - 1) | (1 << 4));
    return 0;
  }
  return left;
}

void nChord::MarkForMetaEvent(uint8_t kind) {
  switch (kind) {
    case CMetaEvent::kTimeSignature:
      status = static_cast<uint16_t>((status & ~0x0Cu) | 0x04u);
      break;
    case CMetaEvent::kClef:
      status = static_cast<uint16_t>((status & ~0x0Cu) | 0x08u);
      break;
    case CMetaEvent::kCaption:
    case CMetaEvent::kGraphicOrnament:
    case CMetaEvent::kBarPause:
      status = static_cast<uint16_t>((kind << 4) | 0x0D);
      break;
    default:
      break;
  }
}

int nChord::AddNote(std::unique_ptr<nNotes> note) { return notes.InsertInPitchOrder(std::move(note)); }

void nChord::ToggleGhost() {
  if (ChordMark() == kGhostMark) {
    status &= static_cast<uint16_t>(~0x0F00u);
    notes.DeleteAll();
  } else {
    status = static_cast<uint16_t>((status & ~0x0F00u) | (kGhostMark << 8));
  }
}

bool nChord::AddLegato(int course, uint32_t length, bool flag) {
  // Courses stop at 255: a larger number must not wrap round onto a low course.
  nNotes* note = course >= 1 && course <= 256 ? notes.NoteOnCourse(static_cast<uint8_t>(course - 1)) : nullptr;
  if (note == nullptr && course >= 0 && course < 256) note = notes.NoteOnCourse(static_cast<uint8_t>(course));
  if (note != nullptr) {
    note->slur = (length & 7) | (flag ? 0x710u : 0u);
    return true;
  }
  const uint32_t v = (static_cast<uint32_t>(course) << 4) | static_cast<uint32_t>(course + 2);
  const int32_t offset = flag ? 0 : 2;
  metaEvents.SetMetaEvent(CMetaEvent::kLegato, "", (v << 16) | (v << 8) | length, offset, offset);
  return true;
}

void nChord::SetLyric(std::string_view text) {
  if (IsChord()) metaEvents.SetMetaEvent(CMetaEvent::kLyrics, text, 0, 0, 0);
}

bool nChord::PromptChordName() {
  auto answer = Prompts().PromptText(CMetaEvent::kChordNamePrompt, name);
  if (!answer) return false;
  name = std::move(*answer);
  return true;
}

CMetaEvent* nChord::FindEnding(int32_t value) const {
  for (const auto& e : metaEvents) {
    if (e != nullptr && e->kind == CMetaEvent::kEnding && e->cy == value) return e.get();
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Binary record

void nChord::Store(ArchiveWriter& ar) const {
  ar.WriteU16(status);
  ar.WriteU16(rhythm);
  notes.Store(ar);
  ar.WriteObjectArray(metaEvents.items());
  ar.WriteU16(dy);
  ar.WriteText(name);
  ar.WriteU8(al);
}

void nChord::Load(ArchiveReader& ar) {
  status = ar.ReadU16();
  rhythm = ar.ReadU16();
  notes.Load(ar);
  ar.ReadOwnedObjectArray<CMetaEvent>(metaEvents.items());
  metaEvents.RemoveIf([](const auto& e) { return e == nullptr; });
  if (ar.VersionAbove("6.45")) dy = ar.ReadU16();
  if (ar.VersionAtLeast("7.8")) {
    name = ar.ReadText();
    al = ar.ReadU8();
  }
  ConvertOldFields(ar);
}

void nChord::ConvertOldFields(const ArchiveReader& ar) {
  if (ar.VersionAtMost("8.45")) {
    ConvertLegacyDynamics();
    dy &= 0x0F;
  }
  if (ar.VersionAtMost("9.16")) {
    // Chord names, fermatas, reprises and dynamic marks became meta-events.
    if (!name.empty()) {
      metaEvents.SetMetaEvent(CMetaEvent::kChordName, name, 0, 0, 0);
      name.clear();
    }
    const uint16_t mark = (status >> 4) & 0x0F;
    if (mark == 3) {
      metaEvents.SetMetaEvent(CMetaEvent::kFermata, "", 1, 0, 0);
      status &= 0x0F;
    } else if (mark == 2 && !(IsBarLine() && (status & 0x80))) {
      metaEvents.SetMetaEvent(CMetaEvent::kReprise, "", 1, 0, 0);
      status &= 0x0F;
    }
    if ((al & 0x0F) != 0 && ar.VersionAtMost("9.5")) {
      metaEvents.SetMetaEvent(CMetaEvent::kDynamicChart, "", 0, 0, 0);
      al = 0;
    }
  }
  if (IsChord() && ar.VersionBelow("9.5")) {
    uint16_t recoded = 0;
    switch ((status >> 4) & 0x0F) {
      case 1: recoded = 0x100; break;
      case 2: recoded = 0x200; break;
      case 4: recoded = 0x20; break;
      case 5: recoded = 0x30; break;
      case 7: recoded = 0x80; break;
      case 8: recoded = 0x300; break;
      default: break;
    }
    if (recoded != 0) status = static_cast<uint16_t>((status & 0x0F) | recoded);
  }
  // A dynamic chart draws the chord that carries it.
  if (CMetaEvent* chart = metaEvents.Find(CMetaEvent::kDynamicChart)) chart->referent = this;
  if (ar.VersionBelow("9.7.3.0")) {
    const bool movedFingerings = ar.VersionBelow("8.2");
    for (const auto& note : notes) {
      note->ConvertLegacyOrnaments(movedFingerings);
      note->ConvertLegacyLayout();
    }
    notes.SortDescending();
  }
  if (IsBarLine() && ar.VersionBelow("9.7.2.0") && (status & 0x04)) {
    status = static_cast<uint16_t>((status & 0x7B) | 0x80);
  }
  if (ar.VersionBelow("9.7.5.0") && (status & 0xFFF3) == 0x11 && rhythm == 0) rhythm = kSkipNumber;
}

void nChord::ConvertLegacyDynamics() {
  const uint16_t marks = (dy >> 4) & 0x0F;
  if (marks != 8 && marks != 10 && marks != 14) return;
  const uint16_t code = dy & 0x0F;
  if (code < std::size(kLegacyDynamics)) {
    const LegacyDynamic& d = kLegacyDynamics[code];
    CMetaEvent* existing = nullptr;
    for (const auto& e : metaEvents) {
      if (e->kind == CMetaEvent::kMidiController && e->cx == 1) {
        existing = e.get();
        break;
      }
    }
    if (existing != nullptr) {
      existing->text = d.text;
      existing->value = d.value;
    } else {
      metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kMidiController, d.text, d.value, 1, 0));
    }
  }
}

// ---------------------------------------------------------------------------------------------
// XML

tinyxml2::XMLElement* nChord::WriteBlankXml(tinyxml2::XMLDocument& doc) {
  return BuildXmlElement(doc, [&](XmlSink& out) { WriteBlankXml(out); });
}

void nChord::WriteBlankXml(XmlSink& out, std::optional<int32_t> position) {
  out.Open("event");
  out.Attribute("type", "blank");
  out.Int("status", -1);
  if (position) out.Int("i", *position);
  out.Close();
}

tinyxml2::XMLElement* nChord::WriteXml(tinyxml2::XMLDocument& doc) const {
  return BuildXmlElement(doc, [&](XmlSink& out) { WriteXml(out); });
}

void nChord::WriteXml(XmlSink& out, std::optional<int32_t> position) const {
  out.Open("event");
  out.Attribute("type", IsChord() ? "chord" : IsBarLine() ? "bar" : "special-event");
  out.Int("status", status);
  out.Int("flag", rhythm);
  out.Int("dy", dy);
  out.Real("delta", static_cast<double>(delta));
  if (IsChord()) {
    out.Attribute("name", name);
    out.Int("al", al);
  } else if (IsBarLine()) {
    out.Int("number", static_cast<int32_t>(number));
    if (status & 0x80) {
      out.Attribute("bar-type", "repeat");
      const uint16_t type = (status >> 4) & 7;
      if (type < std::size(kRepeatTypes)) out.Attribute("repeat-type", kRepeatTypes[type]);
    } else {
      switch (status & 0xFFF3) {
        case 0x31: out.Attribute("repeat-type", "double"); break;
        case 0x51: out.Attribute("repeat-type", "nodot"); break;
        case 0x41: out.Attribute("stave-break", "yes"); break;
        case 0x11: out.Attribute("style", "fixed"); break;
        case 0x21: out.Attribute("style", "hidden"); break;
        default: break;
      }
    }
    if (rhythm == kSkipNumber) out.Attribute("skip-number", "yes");
  }
  if (position) out.Int("i", *position);
  if (IsChord()) {
    out.Open("notes");
    const std::vector<const nNotes*> written = notes.InReadOrder();
    out.Int("count", static_cast<int32_t>(written.size()));
    for (const nNotes* note : written) note->WriteXml(out);
    out.Close();
  }
  if (!metaEvents.empty()) metaEvents.WriteXml(out);
  out.Close();
}

const tinyxml2::XMLElement* nChord::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "event");
  *this = nChord();  // what the element does not hold keeps its initial value
  AttributeReader a(element);
  status = static_cast<uint16_t>(a.Unsigned("status"));
  rhythm = static_cast<uint16_t>(a.Unsigned("flag"));
  dy = static_cast<uint16_t>(a.Unsigned("dy"));
  delta = a.TruncatedReal("delta");
  if (IsChord()) {
    name = a.Text("name");
    al = static_cast<uint8_t>(a.Unsigned("al"));
  }
  if (IsBarLine()) number = a.Unsigned("number");
  if (const tinyxml2::XMLElement* notesElement = element->FirstChildElement("notes")) {
    notes.clear();
    const int32_t count = ReadIntAttribute(notesElement, "count");
    const tinyxml2::XMLElement* child = notesElement->FirstChildElement();
    for (int32_t i = 0; i < count && child != nullptr; ++i) {
      auto note = std::make_unique<nNotes>();
      child = note->ReadXml(child);
      notes.push_back(std::move(note));
    }
  }
  if (const tinyxml2::XMLElement* list = element->FirstChildElement("meta-events")) metaEvents.ReadXml(list);
  notes.SortDescending();
  notes.LimitToMaxNotes();
  return element->NextSiblingElement();
}

}  // namespace vornel
