#include "model/instrument/CTabInstrument.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "model/FloorDivision.h"
#include "platform/UserPrompts.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/draw/MulDiv.h"
#include "platform/text/NumberText.h"
#include "platform/text/TextConversion.h"
#include "platform/text/TextEdits.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

constexpr std::string_view kDefaultTuning = "GDAFCGF";
constexpr SizePair kDefaultStaveAdjust = {50, 25};
// Frets beyond this have no tablature text.
constexpr int kMaxFret = 50;
// Semitones of the diatonic frets within an octave.
constexpr std::array<int, 7> kDiatonicSteps = {0, 2, 4, 5, 7, 9, 10};
constexpr std::array<int, 9> kDiatonicFretTable = {0, 2, 4, 5, 7, 9, 10, 12, 14};
// Only the first characters of the flags face are compared: variants of the face keep it.
constexpr size_t kFlagsFacePrefix = 8;


// A positional child that must be there, whatever its name.
const tinyxml2::XMLElement* Present(const tinyxml2::XMLElement* element, std::string_view what) {
  if (element == nullptr) throw XmlTagMismatch("The element <" + std::string(what) + "> is missing.");
  return element;
}

// The switches of the tablature drawing as the XML form groups them, in element order.
struct Switch {
  const char* attribute;
  int32_t CTabInstrument::*field;
};
struct SwitchGroup {
  const char* element;
  std::initializer_list<Switch> switches;
};

constexpr const char* kRestsOnTabAttribute = "rests-on-tab-ligatures";

const std::array<SwitchGroup, 4> kSwitchGroups = {{
    {"style",
     {{"tab-style", &CTabInstrument::tabStyle},
      {"flag-group", &CTabInstrument::flagGroup},
      {"flag-style", &CTabInstrument::flagStyle},
      {"scale-type", &CTabInstrument::scaleType},
      {"show-first-flag", &CTabInstrument::showFirstFlag},
      {"show-all-flags", &CTabInstrument::showAllFlags},
      {"draw-opaque", &CTabInstrument::drawOpaque}}},
    {"ornaments",
     {{"style", &CTabInstrument::ornamentStyle},
      {"colored", &CTabInstrument::colored},
      {"diapason-style", &CTabInstrument::diapasonStyle}}},
    {"positions",
     {{"between-lines", &CTabInstrument::betweenLines},
      {"lower-bourdons", &CTabInstrument::lowerBourdons},
      {"flags-height", &CTabInstrument::flagsHeight},
      {kRestsOnTabAttribute, &CTabInstrument::restsOnTab}}},
    {"options",
     {{"rotate-flags", &CTabInstrument::rotateFlags},
      {"baroque-strumming", &CTabInstrument::baroqueStrumming},
      {"print-tuning", &CTabInstrument::printTuning},
      {"signature-size", &CTabInstrument::signatureSize},
      {"short-signature", &CTabInstrument::shortSignature},
      {"colored-flags", &CTabInstrument::coloredFlags}}},
}};

}  // namespace

CTabInstrument::CTabInstrument() { SetDefaults(); }

void CTabInstrument::SetDefaults() {
  tuning.SetTuning(kDefaultTuning);
  tuningText = tuning.GetTuningText();
  tabFont.staveAdjust = kDefaultStaveAdjust;
  flagsFont.SetFace(kFlagsFace);
}

int CTabInstrument::CoursesInUse() const { return static_cast<int>(tuning.CoursesInUse()); }

void CTabInstrument::CopyStyleFrom(const CTabInstrument& o) {
  name = o.name;
  tabStyle = o.tabStyle;
  flagGroup = o.flagGroup;
  flagStyle = o.flagStyle;
  scaleType = o.scaleType;
  showFirstFlag = o.showFirstFlag;
  showAllFlags = o.showAllFlags;
  drawOpaque = o.drawOpaque;
  ornamentStyle = o.ornamentStyle;
  colored = o.colored;
  diapasonStyle = o.diapasonStyle;
  betweenLines = o.betweenLines;
  lowerBourdons = o.lowerBourdons;
  flagsHeight = o.flagsHeight;
  restsOnTab = o.restsOnTab;
  rotateFlags = o.rotateFlags;
  baroqueStrumming = o.baroqueStrumming;
  printTuning = o.printTuning;
  signatureSize = o.signatureSize;
  shortSignature = o.shortSignature;
  coloredFlags = o.coloredFlags;
  microTuning = o.microTuning;
  binaryOnlySetting = o.binaryOnlySetting;
  tabFont = o.tabFont;
  flagsFont = o.flagsFont;
}

void CTabInstrument::CopyFrom(const CTabInstrument& other) {
  if (this == &other) return;
  CopyStyleFrom(other);
  tuning.CopyFrom(other.tuning);
  alfabeto.CopyFrom(other.alfabeto);
  tuningText = tuning.GetTuningText();
}

// ---------------------------------------------------------------------------------------------
// Fret arithmetic

int CTabInstrument::FindStringForPitch(int pitch, int after) const {
  const int count = CoursesInUse();
  int lowest = 127;
  for (int i = 0; i < count; ++i) lowest = std::min(lowest, OpenPitch(i));
  if (pitch < lowest || pitch > OpenPitch(0) + 24) return -1;
  int best = -1;
  int bestFret = 255;
  for (int i = after < 0 ? 0 : std::min(after, count) + 1; i < count; ++i) {
    const int fret = pitch - OpenPitch(i);
    if (fret == 0) return i;
    if (fret > 0 && fret < bestFret) {
      bestFret = fret;
      best = i;
    }
  }
  return best;
}

int CTabInstrument::FindBassString(int c) const {
  // Only courses in use: an empty record has no pitch class.
  for (int i = std::clamp(tuning.lines, 0, CoursesInUse()) - 1; i >= 1; --i) {
    const int s = FloorMod(OpenPitch(i) - 10, 12);
    if (FloorMod(c - s, 12) < 5) return i;
  }
  return 0;
}

int CTabInstrument::GetPitchForFret(int string, int fret, bool halfStep) const {
  if (string < 0 || string >= CoursesInUse()) return 255;
  if (scaleType == 0) return OpenPitch(string) + fret;
  return OpenPitch(string) + 12 * FloorDiv(fret, 7) + kDiatonicSteps[static_cast<size_t>(FloorMod(fret, 7))] +
         (halfStep ? 1 : 0);
}

bool CTabInstrument::FormatDiatonicFret(int semitones, std::string& text) {
  text.clear();
  if (semitones < 0) return false;
  const int octave = semitones / 12;
  const int r = semitones % 12;
  int step = -1;
  for (size_t k = 0; k < kDiatonicFretTable.size(); ++k) {
    if (kDiatonicFretTable[k] <= r) step = static_cast<int>(k);
  }
  if (step < 0) return false;
  text = FormatInt(octave * 7 + step);
  if (std::find(kDiatonicFretTable.begin(), kDiatonicFretTable.end(), r) == kDiatonicFretTable.end()) text += '+';
  return true;
}

bool CTabInstrument::GetFretText(int pitch, int string, std::string& text) const {
  text.clear();
  if (string < 0 || string >= CoursesInUse()) return false;
  const int fret = pitch - OpenPitch(string);
  if (fret < 0 || fret > kMaxFret) return false;

  if (string <= tuning.lines) {
    if (tabStyle == kFrench || tabStyle == kMixedFrench) {
      // Letters from 'a'; 'j' is never used.
      char32_t letter = U'a' + static_cast<char32_t>(fret);
      if (letter >= U'j') ++letter;
      AppendUtf8(text, letter);
    } else if (scaleType == 0) {
      static constexpr std::array<const char*, 3> kSpanishHighFrets = {"x", "x1", "i2"};
      text = (tabStyle == kSpanish && fret >= 10 && fret <= 12) ? kSpanishHighFrets[static_cast<size_t>(fret - 10)]
                                                                : FormatInt(fret);
    } else if (!FormatDiatonicFret(fret, text)) {
      Prompts().ShowMessage("Invalid fret value", MessageKind::kError);
      return false;
    }
    return true;
  }

  // A bourdon below the lines.
  if (tabStyle == kFrench) {
    const int raised = fret >= 9 ? fret + 1 : fret;
    if (string <= 9) {
      AppendUtf8(text, U'a' + static_cast<char32_t>(raised));
    } else {
      text = FormatInt(string - 6);  // the course-number signs 4, 5, 6 ...
    }
  } else {
    text = FormatInt(string + 1);
  }
  return true;
}

int CTabInstrument::GetDisplayLine(int string) const {
  if (tabStyle == kSpanish && string >= 0 && string < tuning.lines) return tuning.lines - 1 - string;
  return string;
}

std::array<int32_t, 2> CTabInstrument::ComputeDeviceSpacing(int32_t dpiX, int32_t dpiY) {
  deviceSpacing = {MulDiv(tabFont.staveAdjust.cx, dpiY, 254), MulDiv(tabFont.staveAdjust.cy, dpiX, 254)};
  return deviceSpacing;
}

uint32_t CTabInstrument::GetFlagGlyph(int v) const {
  const uint32_t value = static_cast<uint32_t>(v);
  if ((tabStyle & 7) == kOwnFlags) return value + 368;
  if ((flagGroup & 3) == 2) return value + 288;
  if (flagStyle < 11) {
    uint32_t glyph = (static_cast<uint32_t>(flagStyle + 11) * 10 + value) & 0xFFFF;
    if (flagStyle == 9 || flagStyle == 10) glyph += 120;
    return glyph;
  }
  return value + 384;
}

void CTabInstrument::SetFlagMode(int mode) {
  int bits = mode & 0xF3;
  if (mode == 4) bits = 0x10;
  if (mode == 5) bits = 0x20;
  if (mode == 6) bits = 0x31;
  flagGroup = (flagGroup & 0x80) | bits;
}

// ---------------------------------------------------------------------------------------------
// Course helpers

std::string CTabInstrument::GetStringNoteName(int string) const {
  if (string < 0 || string >= static_cast<int>(nTuning::kMaxCourses)) return {};
  return GetPitchName(OpenPitch(string) + kCoursePitchOffset);
}

std::string CTabInstrument::GetStringPitchText(int string) const {
  if (string < 0 || string >= static_cast<int>(nTuning::kMaxCourses)) return {};
  return FormatInt(OpenPitch(string) + kCoursePitchOffset);
}

void CTabInstrument::TransposeTuning(int halfSteps) {
  for (int i = 0; i < CoursesInUse(); ++i) tuning.SetCoursePitch(i, OpenPitch(i) + kCoursePitchOffset + halfSteps);
  tuningText = tuning.GetTuningText();
}

bool CTabInstrument::SetTuningFromPitches(int count, const int* midiPitches) {
  for (int i = 2; i < count; ++i) {
    if (midiPitches[i] < 0 || midiPitches[i] >= 128) return false;
  }
  tuning.courses.fill(CourseRecord{});
  const int courses = std::clamp(count - 2, 0, static_cast<int>(nTuning::kMaxCourses));
  for (int k = 0; k < courses; ++k) tuning.SetCoursePitch(k, midiPitches[k + 2]);
  tuning.stringCount = courses;
  tuningText = tuning.GetTuningText();
  return true;
}

void CTabInstrument::ApplyPreset(const TabPreset& preset) {
  name = preset.name;
  tuning.lines = preset.lines;
  tuning.SetTuning(preset.tuningText);
  tuningText = tuning.GetTuningText();
  tabStyle = preset.tabStyle;
  flagStyle = preset.flagStyle;
  flagGroup = preset.flagGroup;
}

void CTabInstrument::SetImportDefaults() {
  flagStyle = 2;
  flagGroup = 2;
  tabStyle = kItalian;
  tabFont.SetDefaults();
  tabFont.logFont.lfFaceName = "Vornelfg";
  tabFont.logFont.lfCharSet = 0;
  tabFont.pointSize.cx = 110;
  tabFont.color = 0;
  tabFont.microTuning = 0;
  tabFont.staveAdjust = {60, 30};
  microTuning = 0;
}

// ---------------------------------------------------------------------------------------------
// Archive form

void CTabInstrument::Store(ArchiveWriter& ar) const {
  ar.WriteText(name);
  ar.WriteI32(tuning.lines);
  ar.WriteI32(0);
  ar.WriteI32(tabStyle);
  ar.WriteText(tuningText);
  ar.WriteI32(betweenLines);
  // The opaque switch in bit 0 and the rests-on-tablature switch in bit 4, where loading
  // looks for it.
  ar.WriteU16(static_cast<uint16_t>((drawOpaque & 1) | (restsOnTab != 0 ? 0x10 : 0)));
  ar.WriteI32(showFirstFlag);
  ar.WriteI32(kFormatMarker);
  ar.WriteI32(binaryOnlySetting);
  ar.WriteI32(scaleType);
  tabFont.Store(ar);
  ar.WriteI32(flagGroup);
  ar.WriteI32(flagStyle);
  ar.WriteI32(ornamentStyle);
  ar.WriteI32(showAllFlags);
  tuning.Store(ar);
  alfabeto.Store(ar);
  flagsFont.Store(ar);
  ar.WriteI32(rotateFlags);
  ar.WriteI32(colored);
  ar.WriteI32(baroqueStrumming);
  ar.WriteI32(shortSignature);
  ar.WriteI32(diapasonStyle);
  ar.WriteI32(lowerBourdons);
  ar.WriteI32(printTuning);
  ar.WriteI32(flagsHeight);
  ar.WriteI32(microTuning);
  ar.WriteI32(signatureSize);
}

void CTabInstrument::Load(ArchiveReader& ar) {
  if (restsOnTab != 0) drawOpaque |= 0x10;
  name = ar.ReadText();
  tuning.lines = ar.ReadI32();
  ar.ReadI32();
  tabStyle = ar.ReadI32();
  tuningText = ar.ReadText();
  betweenLines = ar.ReadI32();
  const uint16_t opaqueWord = ar.ReadU16();
  showFirstFlag = ar.ReadI32();
  const int32_t marker = ar.ReadI32();
  binaryOnlySetting = ar.ReadI32();
  scaleType = ar.ReadI32();
  if (marker <= -12 && ar.Version().empty()) ar.SetVersion("6.35");
  tabFont.Load(ar);
  flagGroup = ar.ReadI32();
  flagStyle = ar.ReadI32();
  ornamentStyle = ar.ReadI32();
  if (marker <= -12) {
    showAllFlags = ar.ReadI32();
  } else {
    flagGroup = 0;
  }
  tuning.Load(ar);
  alfabeto.Load(ar);
  if (marker <= -10) flagsFont.Load(ar);
  if (!SameFaceName(flagsFont.face.substr(0, kFlagsFacePrefix), kFlagsFace.substr(0, kFlagsFacePrefix))) {
    flagsFont.SetFace(kFlagsFace);
  }
  if (marker > -11) showFirstFlag = 1;
  if (marker <= -13) rotateFlags = ar.ReadI32();
  if (marker <= -14) colored = ar.ReadI32();
  if (marker <= -15) baroqueStrumming = ar.ReadI32();
  if (marker <= -16) shortSignature = ar.ReadI32();
  if (marker <= -17) {
    drawOpaque = opaqueWord & 1;
    restsOnTab = (opaqueWord >> 4) & 1;
  }
  if (marker <= -18) {
    diapasonStyle = ar.ReadI32();
    lowerBourdons = ar.ReadI32();
  }
  if (marker <= -19) printTuning = ar.ReadI32();
  if (marker <= -20) flagsHeight = ar.ReadI32();
  if (marker <= -21) {
    microTuning = ar.ReadI32();
    tabFont.microTuning = microTuning;
  }
  if (marker <= -22) signatureSize = ar.ReadI32();
  if (marker > -23) flagsHeight = 0x5600 + (lowerBourdons != 0 ? 0x40 : 0) + (flagsHeight != 0 ? 4 : 0);
  if (baroqueStrumming < 0) baroqueStrumming = 0;
  ReplaceAll(tabFont.logFont.lfFaceName, "QX_", "VN_");
  ReplaceAll(tabFont.logFont.lfFaceName, "QX ", "VN_");
  if (tabFont.staveAdjust.cy == 0) tabFont.staveAdjust.cy = 28;
}

// ---------------------------------------------------------------------------------------------
// XML form

tinyxml2::XMLElement* CTabInstrument::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("tablature-definition");
  SetIntAttribute(element, "version", -24);

  tinyxml2::XMLElement* fonts = doc.NewElement("fonts");
  tinyxml2::XMLElement* letters = tabFont.WriteXml(doc, "track-font", kTablatureFontDescriptor);
  SetIntAttribute(letters, "micro-tuning", microTuning);
  fonts->InsertEndChild(letters);
  fonts->InsertEndChild(flagsFont.WriteXml(doc));
  element->InsertEndChild(fonts);

  tinyxml2::XMLElement* tuningElement = tuning.WriteXml(doc);
  SetIntAttribute(tuningElement, "lines", tuning.lines);
  SetIntAttribute(tuningElement, "virtual-strings",
                  static_cast<int32_t>(static_cast<uint32_t>(CoursesInUse()) - static_cast<uint32_t>(tuning.lines)));
  SetTextAttribute(tuningElement, "tuning-string", tuningText);
  element->InsertEndChild(tuningElement);

  for (const SwitchGroup& group : kSwitchGroups) {
    tinyxml2::XMLElement* child = doc.NewElement(group.element);
    for (const Switch& setting : group.switches) SetIntAttribute(child, setting.attribute, this->*setting.field);
    element->InsertEndChild(child);
  }
  element->InsertEndChild(alfabeto.WriteXml(doc));
  return element;
}

const tinyxml2::XMLElement* CTabInstrument::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "tablature-definition");
  const tinyxml2::XMLElement* fonts = Present(element->FirstChildElement(), "fonts");
  // Written as a "track-font" with its descriptor; our earlier files name the element after it.
  const tinyxml2::XMLElement* flags = tabFont.ReadXml(Present(fonts->FirstChildElement(), "tablature-font"));
  flagsFont.ReadXml(Present(flags, "notation-font"));
  microTuning = tabFont.microTuning;

  const tinyxml2::XMLElement* group = tuning.ReadXml(fonts->NextSiblingElement());
  tuningText = tuning.GetTuningText();

  // The groups are taken by position, whatever their names; only the last must be "options".
  for (const SwitchGroup& switches : kSwitchGroups) {
    const bool last = &switches == &kSwitchGroups.back();
    group = last ? ExpectChildElement(group, switches.element) : Present(group, switches.element);
    for (const Switch& setting : switches.switches) this->*setting.field = ReadIntAttribute(group, setting.attribute);
    // Written under the longer name; files that use the shorter one are read as well.
    if (&switches == &kSwitchGroups[2] && group->Attribute(kRestsOnTabAttribute) == nullptr) {
      restsOnTab = ReadIntAttribute(group, "rests-on-tab");
    }
    if (!last) group = group->NextSiblingElement();
  }
  coloredFlags = coloredFlags != 0 ? 1 : 0;

  alfabeto.ReadXml(group->NextSiblingElement());
  return element->NextSiblingElement();
}

}  // namespace vornel
