#include "layout/export/CMusicXMLPrinter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/events/CMetaEvent.h"
#include "model/instrument/CInstrument.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChord.h"
#include "model/voice/nNotes.h"
#include "platform/text/FormatText.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlSink.h"

namespace vornel::musicxml_export {

namespace {

bool Named(const tinyxml2::XMLElement& element, const char* name) { return std::strcmp(element.Name(), name) == 0; }

// The voice at `index` (0 the first, 1 the second) of line `instrument` in `system`: an empty
// voice for a line never filled, null where the system has no such line or voice.
const nChordArray* VoiceOf(const CStaveArray* system, int instrument, int index) {
  static const nChordArray kEmpty;
  if (system == nullptr || instrument < 0 || static_cast<size_t>(instrument) >= system->lines.size()) return nullptr;
  if (index < 0 || index > 1) return nullptr;
  const CInstrument* line = system->lines.at(static_cast<size_t>(instrument));
  if (line == nullptr) return &kEmpty;
  return index == 0 ? &line->firstVoice : &line->secondVoice;
}

bool HoldsNotes(const nChordArray& voice) {
  for (size_t i = 0; i < voice.size(); ++i) {
    const nChord* event = voice.at(i);
    if (event != nullptr && event->IsChord() && !event->notes.InReadOrder().empty()) return true;
  }
  return false;
}

// The places in the instrument's line of the voices that hold notes in some system.
std::vector<int> VoicesWithNotes(const CSystemArray& section, int instrument) {
  std::vector<int> voices;
  for (const auto& system : section.systems.items()) {
    for (int index = 0; index < 2; ++index) {
      const nChordArray* v = VoiceOf(system.get(), instrument, index);
      if (v != nullptr && std::find(voices.begin(), voices.end(), index) == voices.end() && HoldsNotes(*v)) {
        voices.push_back(index);
      }
    }
  }
  std::sort(voices.begin(), voices.end());
  return voices;
}

}  // namespace

CMusicXMLPrinter::CMusicXMLPrinter(std::string& out, int section, const CSystemArray& sectionModel,
                                   const ExportDate& date)
    : MusicXmlPrinterBase(out, 0), section_(section), sectionModel_(sectionModel), date_(date), out_(out) {
  // The declaration comes first, at the start of the file.
  ClearBuffer(true);
}

bool CMusicXMLPrinter::Visit(const tinyxml2::XMLDeclaration& declaration) {
  PushDeclaration(declaration.Value());
  PushUnknown(kDocumentType);
  OpenElement("score-partwise");
  PushAttribute("version", "2.0");
  return true;
}

bool CMusicXMLPrinter::VisitEnter(const tinyxml2::XMLElement& element, const tinyxml2::XMLAttribute*) {
  if (Named(element, "document-settings")) return WriteHeader(element);
  if (Named(element, "section")) {
    if (ReadIntAttribute(&element, "index") == section_ && !sectionWritten_) WriteSection(element);
    return false;
  }
  return true;
}

bool CMusicXMLPrinter::VisitExit(const tinyxml2::XMLElement&) { return true; }

bool CMusicXMLPrinter::WriteHeader(const tinyxml2::XMLElement& settings) {
  // The metadata texts in the document's order: title, author, source, transcriber,
  // copyright, comments.
  std::array<std::string, 6> texts;
  const tinyxml2::XMLElement* text = ChildAt(ChildAt(&settings, 0), 0);
  text = text != nullptr ? text->FirstChildElement() : nullptr;
  for (std::string& t : texts) {
    t = ElementText(text);
    if (text != nullptr) text = text->NextSiblingElement();
  }
  const auto& [title, author, source, transcriber, copyright, comments] = texts;

  WriteTextElement("movement-title", title);
  OpenElement("identification");
  WriteCreator("composer", author);
  WriteTextElement("rights", copyright);
  OpenElement("encoding");
  WriteTextElement("software", kSoftware);
  WriteTextElement("encoder", transcriber);
  for (const char* attribute : {"new-system", "new-page"}) {
    OpenElement("supports");
    PushAttribute("attribute", attribute);
    PushAttribute("element", "print");
    PushAttribute("type", "yes");
    PushAttribute("value", "yes");
    CloseElement();
  }
  WriteTextElement("encoding-date", date_.Text());
  CloseElement();  // "encoding"
  WriteTextElement("source", source);
  CloseElement();  // "identification"

  // The defaults are fixed: nothing of the document's page settings enters them.
  OpenElement("defaults");
  OpenElement("scaling");
  WriteTextElement("millimeters", "7.2319");
  WriteIntElement("tenths", 40);
  CloseElement();
  OpenElement("page-layout");
  WriteIntElement("page-height", 1545);
  WriteIntElement("page-width", 1194);
  OpenElement("page-margins");
  PushAttribute("type", "both");
  WriteIntElement("left-margin", 140);
  WriteIntElement("right-margin", 70);
  WriteIntElement("top-margin", 70);
  WriteIntElement("bottom-margin", 70);
  CloseElement();
  CloseElement();  // "page-layout"
  OpenElement("system-layout");
  OpenElement("system-margins");
  WriteIntElement("left-margin", 0);
  WriteIntElement("right-margin", 0);
  CloseElement();
  WriteIntElement("system-distance", 127);
  WriteIntElement("top-system-distance", 127);
  CloseElement();
  OpenElement("word-font");
  PushAttribute("font-family", "Times New Roman");
  PushAttribute("font-size", "8.25");
  CloseElement();
  OpenElement("lyric-font");
  PushAttribute("font-family", "Times New Roman");
  PushAttribute("font-size", "10");
  PushAttribute("name", "verse");
  CloseElement();
  CloseElement();  // "defaults"

  const CreditWords words = {comments, "1124", "1393", "12", "right", "center"};
  WriteCredit(&words, 1);
  return false;
}

void CMusicXMLPrinter::WriteCredit(const CreditWords* words, size_t count) {
  // A "credit" needs words; one without any is left out.
  bool any = false;
  for (size_t i = 0; i < count; ++i) any = any || !words[i].text.empty();
  if (!any) return;
  OpenElement("credit");
  PushAttribute("page", "1");
  for (size_t i = 0; i < count; ++i) {
    const CreditWords& w = words[i];
    if (w.text.empty()) continue;
    OpenElement("credit-words");
    PushAttribute("default-x", w.x);
    PushAttribute("default-y", w.y);
    PushAttribute("font-size", w.size);
    PushAttribute("font-weight", "bold");
    PushAttribute("halign", w.halign);
    PushAttribute("justify", w.justify);
    PushAttribute("valign", "top");
    PushText(w.text.c_str());
    CloseElement();
  }
  CloseElement();
}

void CMusicXMLPrinter::WriteCredits(const tinyxml2::XMLElement* firstText) {
  std::array<CreditWords, 3> words = {{{"", "624", "1500", "14", "center", "center"},
                                       {"", "124", "1450", "12", "left", "left"},
                                       {"", "1124", "1450", "12", "right", "center"}}};
  const tinyxml2::XMLElement* text = firstText;
  for (CreditWords& w : words) {
    w.text = ElementText(text);
    if (text != nullptr) text = text->NextSiblingElement();
  }
  WriteCredit(words.data(), words.size());
}

void CMusicXMLPrinter::WriteSection(const tinyxml2::XMLElement& section) {
  WriteCredits(ChildAt(ChildAt(&section, 0), 0));

  const tinyxml2::XMLElement* instruments = ChildNamed(&section, "instruments");
  const int count = ReadIntAttribute(instruments, "count");
  OpenElement("part-list");
  if (count > 1) {
    OpenElement("part-group");
    PushAttribute("number", "1");
    PushAttribute("type", "start");
    WriteTextElement("group-barline", "yes");
    CloseElement();
  }
  const tinyxml2::XMLElement* definition = instruments != nullptr ? instruments->FirstChildElement() : nullptr;
  for (int i = 0; i < count && definition != nullptr; ++i) definition = WriteScorePart(*definition, i);
  if (count > 1) {
    OpenElement("part-group");
    PushAttribute("number", "1");
    PushAttribute("type", "stop");
    CloseElement();
  }
  CloseElement();  // "part-list"

  const tinyxml2::XMLElement* settings = ChildNamed(&section, "section-settings");
  for (int i = 0; i < count; ++i) {
    const tinyxml2::XMLElement* d = ChildAt(instruments, i);
    if (d == nullptr) break;
    const tinyxml2::XMLElement* clefs = ChildNamed(d, "clefs");
    const int staves = ReadIntAttribute(clefs, "count");
    // Staves that show the same music (a tablature and its notation) walk the first voice.
    // Staves of notation as many as the voices with notes (a keyboard part) walk one voice
    // each.
    const std::vector<int> voices = VoicesWithNotes(sectionModel_, i);
    bool ownVoices = staves > 1 && static_cast<int>(voices.size()) == staves;
    for (int j = 0; ownVoices && j < staves; ++j) ownVoices = ReadIntAttribute(ChildAt(clefs, j), "type") == 0;
    for (int j = 0; j < staves; ++j) WritePart(settings, d, i, j, ownVoices ? voices[static_cast<size_t>(j)] : 0);
  }
  CloseElement();  // "score-partwise"
  sectionWritten_ = true;
}

const tinyxml2::XMLElement* CMusicXMLPrinter::WriteScorePart(const tinyxml2::XMLElement& definition, int instrument) {
  const int staves = ReadIntAttribute(ChildNamed(&definition, "clefs"), "count");
  const std::string name = ElementText(definition.FirstChildElement());
  const tinyxml2::XMLElement* midi = ChildNamed(&definition, "midi-controllers");
  const std::string fallback = ReadTextAttribute(midi, "name");
  const int patch = ReadIntAttribute(ChildNamed(midi, "main-channel"), "patch");
  for (int j = 0; j < staves; ++j) {
    const std::string instrumentId = FormatText("P%d-I%d-%d", instrument + 1, j + 1, j);
    OpenElement("score-part");
    PushAttribute("id", FormatText("P%d-%d", instrument + 1, j).c_str());
    OpenElement("part-name");
    PushAttribute("print-object", "no");
    PushText(FormatText("Part %d - %s", j + 1, name.c_str()).c_str());
    CloseElement();
    OpenElement("score-instrument");
    PushAttribute("id", instrumentId.c_str());
    WriteTextElement("instrument-name", name.empty() ? fallback : name);
    CloseElement();
    OpenElement("midi-instrument");
    PushAttribute("id", instrumentId.c_str());
    WriteIntElement("midi-channel", j + 1);
    // MusicXML counts programs from 1; the stored patch from 0.
    WriteIntElement("midi-program", patch + 1);
    CloseElement();
    CloseElement();  // "score-part"
  }
  return definition.NextSiblingElement();
}

void CMusicXMLPrinter::WritePart(const tinyxml2::XMLElement* sectionSettings, const tinyxml2::XMLElement* definition,
                                 int instrument, int staff, int voice) {
  PushComment("Writing staff data");
  // The voice of the instrument in each system, with the system's number from 1.
  std::vector<std::pair<int, const nChordArray*>> walked;
  int number = 0;
  for (const auto& system : sectionModel_.systems.items()) {
    ++number;
    if (const nChordArray* v = VoiceOf(system.get(), instrument, voice)) walked.emplace_back(number, v);
  }
  // A held note's tie starts at the last chord before it that sounds its pitch: for each
  // walked voice, the chords (by their place in it) and pitches that start one.
  std::vector<std::vector<std::pair<size_t, int>>> ties(walked.size());
  std::unordered_map<int, std::pair<size_t, size_t>> lastOfPitch;
  for (size_t w = 0; w < walked.size(); ++w) {
    const nChordArray& v = *walked[w].second;
    for (size_t e = 0; e < v.size(); ++e) {
      const nChord* event = v.at(e);
      if (event == nullptr || !event->IsChord()) continue;
      for (const nNotes* n : event->notes.InReadOrder()) {
        const int pitch = n->pitch;
        const auto last = lastOfPitch.find(pitch);
        if (last != lastOfPitch.end() && CMusicXMLChordPrinter::IsHeldSlur(n->slur)) {
          ties[last->second.first].emplace_back(last->second.second, pitch);
        }
        lastOfPitch[pitch] = {w, e};
      }
    }
  }
  // The part opens with the section's first bar number and the time signature its music
  // starts with, if any.
  CMusicXMLChordPrinter::Opening opening;
  opening.firstNumber = sectionModel_.barOffset;
  if (!walked.empty()) {
    for (size_t e = 0; e < walked.front().second->size(); ++e) {
      const nChord* event = walked.front().second->at(e);
      if (event == nullptr) continue;
      if (event->IsChord()) break;
      if (const CMetaEvent* time = event->metaEvents.Find(CMetaEvent::kTimeSignature); time != nullptr && time->cx > 0 &&
          time->cy > 0) {
        opening.time = CMusicXMLChordPrinter::Time{time->cx, time->cy, (time->value & 1) != 0};
      }
    }
  }
  CMusicXMLChordPrinter staffPrinter(out_);
  staffPrinter.BeginStaff(sectionSettings, definition, instrument, staff, opening);
  // Each voice is built alone, walked, and freed before the next.
  tinyxml2::XMLDocument scratch;
  for (size_t w = 0; w < walked.size(); ++w) {
    tinyxml2::XMLElement* element = BuildXmlElement(scratch, [&](XmlSink& out) { walked[w].second->WriteXml(out); });
    scratch.InsertEndChild(element);
    std::vector<std::pair<size_t, int>>& starts = ties[w];
    std::sort(starts.begin(), starts.end());
    staffPrinter.ForgetTies();
    const tinyxml2::XMLElement* event = element->FirstChildElement();
    size_t place = 0;
    for (const auto& [at, pitch] : starts) {
      for (; event != nullptr && place < at; ++place) event = event->NextSiblingElement();
      if (event != nullptr) staffPrinter.StartTie(*event, pitch);
    }
    staffPrinter.SetSystem(walked[w].first);
    element->Accept(&staffPrinter);
    scratch.Clear();
  }
  staffPrinter.EndStaff();
}

}  // namespace vornel::musicxml_export
