#include "layout/export/CMusicXMLChordPrinter.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string_view>
#include <utility>

#include "model/instrument/CClef.h"
#include "model/instrument/CKey.h"
#include "model/events/CMetaEvent.h"
#include "model/voice/RhythmValues.h"
#include "model/voice/nChord.h"
#include "model/voice/nNotes.h"
#include "platform/text/FormatText.h"
#include "platform/text/NumberText.h"
#include "model/FloorDivision.h"
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

// The letters of the steps from C.
constexpr std::string_view kStepLetters = "CDEFGAB";

// MusicXML's note types, from the breve down, as the value codes count them.
constexpr std::array<const char*, 12> kTypes = {"breve", "whole", "half", "quarter", "eighth", "16th",
                                                "32nd",  "64th",  "128th", "256th",  "512th", "1024th"};

// How a tuplet of the model is drawn: `actual` values of the type `shift` codes shorter than
// the chord's value in the time of `normal` of them.
struct TupletShape {
  uint32_t actual;
  size_t shift;
  int normal;
};
constexpr std::array<TupletShape, 9> kTupletShapes = {
    {{3, 0, 2}, {5, 1, 4}, {6, 0, 4}, {7, 0, 4}, {9, 1, 8}, {11, 1, 8}, {13, 1, 8}, {15, 0, 8}, {17, 3, 16}}};

const TupletShape* ShapeOf(uint16_t rhythm) {
  const uint32_t n = nChord::TupletNumber(rhythm);
  for (const TupletShape& shape : kTupletShapes) {
    if (shape.actual == n) return &shape;
  }
  return nullptr;
}


}  // namespace

bool CMusicXMLChordPrinter::IsHeldNote(const tinyxml2::XMLElement& note) {
  return IsHeldSlur(ReadUnsignedAttribute(&note, "slur"));
}

CMusicXMLChordPrinter::CMusicXMLChordPrinter(std::string& out) : MusicXmlPrinterBase(out, 1) {}

void CMusicXMLChordPrinter::BeginStaff(const tinyxml2::XMLElement* sectionSettings,
                                       const tinyxml2::XMLElement* definition, int instrument, int staff,
                                       const Opening& opening) {
  sectionSettings_ = sectionSettings;
  definition_ = definition;
  instrument_ = instrument;
  staff_ = staff;
  firstStaff_ = instrument == 0 && staff == 0;
  system_ = 1;
  metaEvents_ = nullptr;
  tieStarts_.clear();
  chord_ = nullptr;
  rhythm_ = 0;
  duration_ = 0;
  notesWritten_ = 0;
  ticks_ = TickLength{};
  const tinyxml2::XMLElement* signature = ChildNamed(sectionSettings, "signature");
  time_ = opening.time.value_or(Time{ReadIntAttribute(signature, "numerator"), ReadIntAttribute(signature, "denominator")});
  pendingTime_.reset();
  transpose_ = ReadIntAttribute(ChildNamed(definition, "key"), "transpose");
  // The steps of the usual interval from written to sounding pitch, as the import reads one
  // without its steps.
  transposeSteps_ = -CKey::DiatonicSteps(-transpose_);
  pendingEnding_.reset();
  openEnding_.reset();
  endingEventsLeft_ = 0;
  endingOpenEnd_ = false;
  measureOpen_ = false;
  nextNumber_.reset();
  lastNumber_ = opening.firstNumber;
  implicitCount_ = 0;
  newSystemPending_ = false;
  forwardRepeatPending_ = false;
  WriteMeasureStart();
}

void CMusicXMLChordPrinter::EndStaff() {
  // An ending still open stops with the part.
  if (measureOpen_) StopEnding(nullptr, nullptr);
  CloseMeasure();
  CloseElement();  // "part"
}

void CMusicXMLChordPrinter::WriteMeasureStart() {
  OpenElement("part");
  PushAttribute("id", FormatText("P%d-%d", instrument_ + 1, staff_).c_str());
  OpenElement("measure");
  PushAttribute("number", lastNumber_);
  // A first measure numbered 0 is a pickup, which the count leaves out.
  if (lastNumber_ == 0) PushAttribute("implicit", "yes");
  measureOpen_ = true;
  measureEmpty_ = true;

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
  const int alterations = ReadIntAttribute(key, "alterations");
  int fifths = ReadBoolAttribute(key, "bemol") ? -alterations : alterations;
  if (transpose_ != 0 && fifths >= -7 && fifths <= 7) {
    // A transposing instrument's key is written, moved as its notes are.
    fifths += CKey::FifthsOfInterval(transpose_, transposeSteps_);
    if (fifths > 7 || fifths < -7) fifths = FloorMod(fifths + 5, 12) - 5;
  }
  WriteTextElement("fifths", FormatText("%c%d", fifths < 0 ? '-' : '+', std::abs(fifths)));
  WriteTextElement("mode", ReadBoolAttribute(key, "melodic-minor") ? "minor" : "major");
  CloseElement();
  WriteTime();
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

  if (transpose_ != 0) {
    // Sounding less written pitch, its octaves apart.
    const int semitones = -transpose_;
    const int octaves = semitones / 12;
    OpenElement("transpose");
    WriteIntElement("diatonic", -transposeSteps_ - 7 * octaves);
    WriteIntElement("chromatic", semitones - 12 * octaves);
    if (octaves != 0) WriteIntElement("octave-change", octaves);
    CloseElement();
    return;
  }
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
    if (openEnding_ || pendingEnding_) --endingEventsLeft_;
    const std::string_view type = element.Attribute("type") != nullptr ? element.Attribute("type") : "";
    if (type == "bar") {
      WriteBar(element);
      TakeTimeSignature();
    } else if (type == "chord") {
      WriteChord(element);
    } else if (type == "special-event") {
      TakeTimeSignature();
    }
    // Special events write nothing else, blank entries and other kinds nothing.
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
  chord_ = &event;
  rhythm_ = static_cast<uint16_t>(ReadUnsignedAttribute(&event, "flag"));
  // Ticks are half divisions. Counted exactly (a value of a tuplet lasts its share of the
  // group, without the rounding the group's playing spreads) from the start of the part, the
  // durations of a measure add up to its length.
  const TickLength value = RhythmLength(rhythm_);
  const int64_t denominator = std::lcm(ticks_.denominator, value.denominator);
  const TickLength end{ticks_.numerator * (denominator / ticks_.denominator) +
                           value.numerator * (denominator / value.denominator),
                       denominator};
  const auto divisions = [](const TickLength& t) { return t.numerator / t.denominator / 2; };
  duration_ = static_cast<int>(divisions(end) - divisions(ticks_));
  const int64_t g = std::gcd(end.numerator, end.denominator);
  ticks_ = {end.numerator / g, end.denominator / g};
  notesWritten_ = 0;
  // A chord without notes is a rest; notes write themselves as the walk reaches them.
  if (ChildNamed(ChildNamed(&event, "notes"), "note") != nullptr) return;
  EnsureMeasureOpen();
  measureEmpty_ = false;
  OpenElement("note");
  WriteEmptyElement("rest");
  WriteIntElement("duration", duration_);
  WriteValue();
  CloseElement();
}

void CMusicXMLChordPrinter::WriteValue() {
  const TupletShape* shape = ShapeOf(rhythm_);
  const size_t code = static_cast<size_t>(rhythm_ & 7) + (shape != nullptr ? shape->shift : 0);
  WriteTextElement("type", kTypes[std::min(code, kTypes.size() - 1)]);
  if ((rhythm_ & 8) != 0) WriteEmptyElement("dot");
  if (shape == nullptr) return;
  OpenElement("time-modification");
  WriteIntElement("actual-notes", static_cast<int>(shape->actual));
  WriteIntElement("normal-notes", shape->normal);
  CloseElement();
}

void CMusicXMLChordPrinter::WriteNote(const tinyxml2::XMLElement& note) {
  EnsureMeasureOpen();
  measureEmpty_ = false;
  const int pitch = ReadIntAttribute(&note, "pitch");
  const uint16_t name = static_cast<uint16_t>(ReadIntAttribute(&note, "name"));
  const bool held = IsHeldNote(note);
  const bool holds = tieStarts_.count({chord_, pitch}) != 0;
  OpenElement("note");
  if (notesWritten_++ > 0) WriteEmptyElement("chord");
  WritePitch(pitch, name);
  WriteIntElement("duration", duration_);
  const auto tie = [&](const char* element, const char* type) {
    OpenElement(element);
    PushAttribute("type", type);
    CloseElement();
  };
  if (held) tie("tie", "stop");
  if (holds) tie("tie", "start");
  WriteValue();
  if (held || holds) {
    OpenElement("notations");
    if (held) tie("tied", "stop");
    if (holds) tie("tied", "start");
    CloseElement();
  }
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

void CMusicXMLChordPrinter::WritePitch(int pitch, uint16_t name) {
  // The name's step (letter and octave), moved as a transposing instrument's notes are
  // written; without a name that comes near the pitch, the pitch spelled in C.
  const int written = pitch + transpose_;
  int step = name != 0 && (name & 0x0F) <= 6 ? 7 * ((name >> 4) & 0x0F) + ((name & 0x0F) + 5) % 7 + transposeSteps_ : -1;
  if (step < 0 || std::abs(written - CKey::NaturalPitch(step)) > 2) {
    uint16_t spelled = 0;
    char accidental = 0;
    step = CKey().SpellPitch(written, spelled, accidental);
  }
  OpenElement("pitch");
  WriteTextElement("step", std::string(1, kStepLetters[static_cast<size_t>(FloorMod(step, 7))]));
  if (const int alter = written - CKey::NaturalPitch(step); alter != 0) WriteIntElement("alter", alter);
  WriteIntElement("octave", FloorDiv(step, 7) - 1);
  CloseElement();
}

const tinyxml2::XMLElement* CMusicXMLChordPrinter::FindLyric() const { return FindMark(CMetaEvent::kLyrics); }

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
  const tinyxml2::XMLElement* ending = FindMark(CMetaEvent::kEnding);

  if (measureOpen_ && measureEmpty_ && ticks_.numerator == 0) {
    // A bar line before any music ends no measure: the first measure starts at it.
    forwardRepeatPending_ = forward && !hidden;
    TakeEnding(event);
    if (forwardRepeatPending_ || pendingEnding_) WriteLeftBarline();
    return;
  }
  // The open ending stops here: where its reach ends, at a backward repeat, or before the next
  // ending.
  if (openEnding_ && (endingEventsLeft_ <= 0 || backward || ending != nullptr)) {
    EnsureMeasureOpen();
    StopEnding(hidden ? "none" : rightStyle, backward ? "backward" : nullptr);
  } else {
    // A measure that only waits for content gets this bar line when the line shows something.
    if (!measureOpen_ && !hidden && (backward || std::strcmp(rightStyle, "regular") != 0)) EnsureMeasureOpen();
    if (measureOpen_ && !hidden) WriteBarline("right", rightStyle, backward ? "backward" : nullptr);
  }
  CloseMeasure();

  // The model numbers every bar line but the one a system starts with, which goes on counting.
  const int32_t number = ReadIntAttribute(&event, "number");
  if (HasAttribute(event, "skip-number")) {
    nextNumber_.reset();
  } else {
    nextNumber_ = number > 0 ? number : lastNumber_ + 1;
  }
  forwardRepeatPending_ = forward && !hidden;
  TakeEnding(event);
}

const tinyxml2::XMLElement* CMusicXMLChordPrinter::FindMark(int kind) const {
  const int count = ReadIntAttribute(metaEvents_, "count");
  const tinyxml2::XMLElement* mark = metaEvents_ != nullptr ? metaEvents_->FirstChildElement() : nullptr;
  for (int i = 0; i < count && mark != nullptr; ++i, mark = mark->NextSiblingElement()) {
    if (ReadIntAttribute(mark, "type") == kind) return mark;
  }
  return nullptr;
}

void CMusicXMLChordPrinter::TakeEnding(const tinyxml2::XMLElement&) {
  const tinyxml2::XMLElement* mark = FindMark(CMetaEvent::kEnding);
  if (mark == nullptr) return;
  // The number is what the text numbers ("1.", "1, 2."); what it shows is the text.
  const std::string text = ElementText(ChildNamed(mark, "text"));
  std::string number;
  for (const char c : text) {
    if ((c >= '0' && c <= '9') || c == ',' || (c == ' ' && !number.empty())) number.push_back(c);
  }
  while (!number.empty() && (number.back() == ',' || number.back() == ' ')) number.pop_back();
  if (number.empty()) number.push_back('1');
  Ending ending{number, text.empty() ? number + "." : text, "start"};
  pendingEnding_ = ending;
  endingEventsLeft_ = static_cast<int>(ReadUnsignedAttribute(mark, "value") & 0xFF);
  endingOpenEnd_ = (ReadIntAttribute(mark, "cx") & 1) != 0;
}

bool CMusicXMLChordPrinter::StopEnding(const char* style, const char* repeat) {
  if (!openEnding_) return false;
  Ending stop = *std::exchange(openEnding_, std::nullopt);
  stop.type = endingOpenEnd_ ? "discontinue" : "stop";
  stop.text.clear();
  WriteBarline("right", style, repeat, &stop);
  return true;
}

void CMusicXMLChordPrinter::WriteLeftBarline() {
  const Ending* start = pendingEnding_ ? &*pendingEnding_ : nullptr;
  WriteBarline("left", forwardRepeatPending_ ? "heavy-light" : nullptr, forwardRepeatPending_ ? "forward" : nullptr,
               start);
  forwardRepeatPending_ = false;
  if (pendingEnding_) openEnding_ = *std::exchange(pendingEnding_, std::nullopt);
}

void CMusicXMLChordPrinter::WriteBarline(const char* location, const char* style, const char* repeat,
                                         const Ending* ending) {
  OpenElement("barline");
  PushAttribute("location", location);
  if (style != nullptr) WriteTextElement("bar-style", style);
  if (ending != nullptr) {
    OpenElement("ending");
    PushAttribute("number", ending->number.c_str());
    PushAttribute("type", ending->type);
    if (!ending->text.empty()) PushText(ending->text.c_str());
    CloseElement();
  }
  if (repeat != nullptr) {
    OpenElement("repeat");
    PushAttribute("direction", repeat);
    CloseElement();
  }
  CloseElement();
}

void CMusicXMLChordPrinter::TakeTimeSignature() {
  const tinyxml2::XMLElement* mark = FindMark(CMetaEvent::kTimeSignature);
  if (mark == nullptr) return;
  // A hidden time signature is a measure's own length, written without print.
  const Time time{ReadIntAttribute(mark, "cx"), ReadIntAttribute(mark, "cy"), (ReadUnsignedAttribute(mark, "value") & 1) != 0};
  if (time.beats <= 0 || time.beatType <= 0) return;
  pendingTime_.reset();
  if (time == time_) return;
  if (measureOpen_ && measureEmpty_) {
    // Nothing stands in the open measure yet: it starts in the new time.
    time_ = time;
    OpenElement("attributes");
    WriteTime();
    CloseElement();
  } else {
    pendingTime_ = time;
  }
}

void CMusicXMLChordPrinter::WriteTime() {
  OpenElement("time");
  if (!time_.shown) PushAttribute("print-object", "no");
  WriteIntElement("beats", time_.beats);
  WriteIntElement("beat-type", time_.beatType);
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
  measureEmpty_ = true;
  if (newSystemPending_) {
    OpenElement("print");
    PushAttribute("new-system", "yes");
    CloseElement();
    newSystemPending_ = false;
  }
  if (pendingTime_) {
    time_ = *std::exchange(pendingTime_, std::nullopt);
    OpenElement("attributes");
    WriteTime();
    CloseElement();
  }
  if (forwardRepeatPending_ || pendingEnding_) WriteLeftBarline();
}

void CMusicXMLChordPrinter::CloseMeasure() {
  if (!measureOpen_) return;
  CloseElement();
  measureOpen_ = false;
}

}  // namespace vornel::musicxml_export
