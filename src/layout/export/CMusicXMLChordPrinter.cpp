#include "layout/export/CMusicXMLChordPrinter.h"

#include <array>
#include <cstring>
#include <string_view>

#include "model/CClef.h"
#include "model/CKey.h"
#include "model/nChord.h"
#include "model/nNotes.h"
#include "platform/text/FormatText.h"
#include "platform/text/NumberText.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel::musicxml_export {

namespace {

bool Named(const tinyxml2::XMLElement& element, const char* name) { return std::strcmp(element.Name(), name) == 0; }

bool HasAttribute(const tinyxml2::XMLElement& element, const char* name) { return element.Attribute(name) != nullptr; }

// The clef table: sign and line of each row. A staff of notation takes the row after its clef
// id (G8, G, F, C), a tablature the row of its id.
struct ClefRow {
  const char* sign;
  int line;
};
constexpr std::array<ClefRow, 5> kClefRows = {{{"TAB", 5}, {"G", 2}, {"G", 2}, {"F", 4}, {"C", 3}}};
constexpr size_t kTabRow = 0;
constexpr size_t kTrebleRow = 2;

// The bar style of a repeat type, for the bar line that ends a measure.
const char* RightBarStyle(std::string_view repeat) {
  if (repeat == "left" || repeat == "both" || repeat == "section-end") return "light-heavy";
  if (repeat == "bramet" || repeat == "dotted") return "dotted";
  if (repeat == "double") return "light-light";
  if (repeat == "thick" || repeat == "nodot") return "heavy";
  return "regular";
}

// The alteration of a spelled name's accidental code (bits 8-11): flats in the low two bits,
// sharps above them; a code with both counts the sharp bits as flats.
int Alteration(int code) {
  const int high = code >> 2;
  const int low = code & 3;
  if (high != 0) return low != 0 ? -high : high;
  return low == 1 ? -1 : low == 2 ? -2 : 0;
}

}  // namespace

CMusicXMLChordPrinter::CMusicXMLChordPrinter(std::string& out) : MusicXmlPrinterBase(out, 1) {}

void CMusicXMLChordPrinter::BeginStaff(const tinyxml2::XMLElement* sectionSettings,
                                       const tinyxml2::XMLElement* definition, int instrument, int staff) {
  sectionSettings_ = sectionSettings;
  definition_ = definition;
  instrument_ = instrument;
  staff_ = staff;
  firstStaff_ = instrument == 0 && staff == 0;
  system_ = 1;
  metaEvents_ = nullptr;
  duration_ = 0;
  dotted_ = false;
  notesWritten_ = 0;
  measureOpen_ = false;
  nextNumber_.reset();
  lastNumber_ = 0;
  implicitCount_ = 0;
  newSystemPending_ = false;
  forwardRepeatPending_ = false;
  WriteMeasureStart();
}

void CMusicXMLChordPrinter::EndStaff() {
  CloseMeasure();
  CloseElement();  // "part"
}

void CMusicXMLChordPrinter::WriteMeasureStart() {
  OpenElement("part");
  PushAttribute("id", FormatText("P%d-%d", instrument_ + 1, staff_).c_str());
  OpenElement("measure");
  PushAttribute("number", "0");
  measureOpen_ = true;

  if (firstStaff_) {
    OpenElement("print");
    OpenElement("system-layout");
    WriteIntElement("top-system-distance", 300);
    CloseElement();
    CloseElement();
  }

  OpenElement("attributes");
  WriteIntElement("divisions", kDivisions);
  const tinyxml2::XMLElement* key = ChildNamed(sectionSettings_, "key");
  OpenElement("key");
  // The signature's count of sharps or flats is "alterations"; "bemol" tells which.
  const char sign = ReadBoolAttribute(key, "bemol") ? '-' : '+';
  WriteTextElement("fifths", FormatText("%c%d", sign, ReadIntAttribute(key, "alterations")));
  WriteTextElement("mode", ReadBoolAttribute(key, "melodic-minor") ? "minor" : "major");
  CloseElement();
  const tinyxml2::XMLElement* signature = ChildNamed(sectionSettings_, "signature");
  OpenElement("time");
  WriteIntElement("beats", ReadIntAttribute(signature, "numerator"));
  WriteIntElement("beat-type", ReadIntAttribute(signature, "denominator"));
  CloseElement();
  WriteClef(definition_, staff_);
  CloseElement();  // "attributes"

  if (firstStaff_) {
    const tinyxml2::XMLElement* tempo = ChildNamed(sectionSettings_, "tempo");
    OpenElement("direction");
    PushAttribute("placement", "above");
    OpenElement("direction-type");
    OpenElement("words");
    PushAttribute("font-weight", "bold");
    PushAttribute("relative-x", "-40");
    PushText(ReadTextAttribute(tempo, "movement-name").c_str());
    CloseElement();
    CloseElement();
    OpenElement("sound");
    // The tempo word keeps the beat unit and flags above its beats per minute.
    PushAttribute("tempo", ReadIntAttribute(tempo, "tempo") & 0xFFF);
    PushAttribute("dynamics", 71);
    CloseElement();
    CloseElement();  // "direction"
  }
}

void CMusicXMLChordPrinter::WriteClef(const tinyxml2::XMLElement* definition, int staff) {
  // Every staff of an instrument is a part of its own: one staff, its clef number 1.
  WriteIntElement("staves", 1);
  const tinyxml2::XMLElement* clefs = ChildNamed(definition, "clefs");
  const tinyxml2::XMLElement* before = clefs != nullptr ? clefs->PreviousSiblingElement() : nullptr;
  const int offset = ReadIntAttribute(before, "clef-line");
  const tinyxml2::XMLElement* clef = ChildAt(clefs, staff);
  const int id = ReadIntAttribute(clef, "clef-id");
  const int type = ReadIntAttribute(clef, "type");
  const bool notation = type == 0;

  const long long row = notation ? static_cast<long long>(id) + 1 : id;
  const ClefRow& entry = row >= 0 && row < static_cast<long long>(kClefRows.size())
                             ? kClefRows[static_cast<size_t>(row)]
                             : kClefRows[notation ? kTrebleRow : kTabRow];
  OpenElement("clef");
  PushAttribute("number", 1);
  WriteTextElement("sign", entry.sign);
  WriteIntElement("line", entry.line + offset);
  if (notation && id == CClef::kG8Clef) WriteIntElement("clef-octave-change", -1);
  CloseElement();

  const int transpose = ReadIntAttribute(ChildNamed(definition, "key"), "transpose-pitch");
  if (notation && transpose != 0) {
    OpenElement("transpose");
    WriteIntElement("chromatic", transpose);
    CloseElement();
  }
}

bool CMusicXMLChordPrinter::VisitEnter(const tinyxml2::XMLElement& element, const tinyxml2::XMLAttribute*) {
  if (Named(element, "meta-events")) return false;
  if (Named(element, "staff")) {
    // A later system starts with a "print" in the first measure that gets something.
    if (system_ > 1) newSystemPending_ = true;
    return true;
  }
  if (Named(element, "event")) {
    metaEvents_ = ChildNamed(&element, "meta-events");
    const std::string_view type = element.Attribute("type") != nullptr ? element.Attribute("type") : "";
    if (type == "bar") {
      WriteBar(element);
    } else if (type == "chord") {
      WriteChord(element);
    }
    // Special events, blank entries and other kinds write nothing.
    return true;
  }
  if (Named(element, "note")) WriteNote(element);
  return true;
}

bool CMusicXMLChordPrinter::VisitExit(const tinyxml2::XMLElement& element) {
  // A system's music ends the measure it is in.
  if (Named(element, "staff")) CloseMeasure();
  return true;
}

void CMusicXMLChordPrinter::WriteChord(const tinyxml2::XMLElement& event) {
  const uint16_t rhythm = static_cast<uint16_t>(ReadUnsignedAttribute(&event, "flag"));
  duration_ = static_cast<int>(nChord::DurationTicks(rhythm) / 2);
  dotted_ = (rhythm & 8) != 0;
  notesWritten_ = 0;
  // A chord without notes is a rest; notes write themselves as the walk reaches them.
  if (ChildNamed(ChildNamed(&event, "notes"), "note") != nullptr) return;
  EnsureMeasureOpen();
  OpenElement("note");
  WriteEmptyElement("rest");
  WriteIntElement("duration", duration_);
  CloseElement();
}

void CMusicXMLChordPrinter::WriteNote(const tinyxml2::XMLElement& note) {
  EnsureMeasureOpen();
  uint16_t name = static_cast<uint16_t>(ReadIntAttribute(&note, "name"));
  if (name == 0 || (name & 0x0F) > 6) {
    // Without a spelled name, or without a letter from A to G, the note is spelled from its
    // pitch.
    nNotes spelled;
    spelled.pitch = static_cast<uint8_t>(ReadIntAttribute(&note, "pitch"));
    char accidental = 0;
    spelled.SpellInKey(CKey(), false, accidental);
    name = spelled.name;
  }
  OpenElement("note");
  if (notesWritten_++ > 0) WriteEmptyElement("chord");
  OpenElement("pitch");
  WriteTextElement("step", std::string(1, static_cast<char>('A' + (name & 0x0F))));
  const int accidental = (name >> 8) & 0x0F;
  if (accidental != 0) WriteIntElement("alter", Alteration(accidental));
  WriteIntElement("octave", ((name >> 4) & 0x0F) - 1);
  CloseElement();
  WriteIntElement("duration", duration_);
  if (dotted_) WriteEmptyElement("dot");
  if (const tinyxml2::XMLElement* lyric = FindLyric()) {
    OpenElement("lyric");
    PushAttribute("default-y", "-80");
    PushAttribute("number", 1);
    WriteTextElement("syllabic", "single");
    WriteTextElement("text", ElementText(ChildNamed(lyric, "text")));
    CloseElement();
  }
  CloseElement();
}

const tinyxml2::XMLElement* CMusicXMLChordPrinter::FindLyric() const {
  const int count = ReadIntAttribute(metaEvents_, "count");
  const tinyxml2::XMLElement* child = metaEvents_ != nullptr ? metaEvents_->FirstChildElement() : nullptr;
  for (int i = 0; i < count && child != nullptr; ++i, child = child->NextSiblingElement()) {
    if (ReadIntAttribute(child, "type") == 0) return child;
  }
  return nullptr;
}

void CMusicXMLChordPrinter::WriteBar(const tinyxml2::XMLElement& event) {
  if (HasAttribute(event, "stave-break")) {
    if (measureOpen_) {
      OpenElement("print");
      PushAttribute("new-system", "yes");
      CloseElement();
    } else {
      newSystemPending_ = true;
    }
    return;
  }

  const std::string_view repeat = event.Attribute("repeat-type") != nullptr ? event.Attribute("repeat-type") : "";
  const std::string_view style = event.Attribute("style") != nullptr ? event.Attribute("style") : "";
  const bool hidden = style == "hidden";
  const bool backward = repeat == "left" || repeat == "both";
  const bool forward = repeat == "right" || repeat == "both";
  const char* rightStyle = RightBarStyle(repeat);

  // A measure that only waits for content gets this bar line when the line shows something.
  if (!measureOpen_ && !hidden && (backward || std::strcmp(rightStyle, "regular") != 0)) EnsureMeasureOpen();
  if (measureOpen_ && !hidden) WriteBarline("right", rightStyle, backward ? "backward" : nullptr);
  CloseMeasure();

  if (HasAttribute(event, "skip-number")) {
    nextNumber_.reset();
  } else {
    nextNumber_ = ReadIntAttribute(&event, "number");
  }
  forwardRepeatPending_ = forward && !hidden;
}

void CMusicXMLChordPrinter::WriteBarline(const char* location, const char* style, const char* repeat) {
  OpenElement("barline");
  PushAttribute("location", location);
  WriteTextElement("bar-style", style);
  if (repeat != nullptr) {
    OpenElement("repeat");
    PushAttribute("direction", repeat);
    CloseElement();
  }
  CloseElement();
}

void CMusicXMLChordPrinter::EnsureMeasureOpen() {
  if (measureOpen_) return;
  OpenElement("measure");
  if (nextNumber_) {
    lastNumber_ = *nextNumber_;
    implicitCount_ = 0;
    PushAttribute("number", lastNumber_);
  } else {
    PushAttribute("number", FormatText("%dX%d", lastNumber_, ++implicitCount_).c_str());
    PushAttribute("implicit", "yes");
  }
  nextNumber_.reset();
  measureOpen_ = true;
  if (newSystemPending_) {
    OpenElement("print");
    PushAttribute("new-system", "yes");
    CloseElement();
    newSystemPending_ = false;
  }
  if (forwardRepeatPending_) {
    WriteBarline("left", "heavy-light", "forward");
    forwardRepeatPending_ = false;
  }
}

void CMusicXMLChordPrinter::CloseMeasure() {
  if (!measureOpen_) return;
  CloseElement();
  measureOpen_ = false;
}

}  // namespace vornel::musicxml_export
