#include "model/instrument/CInstrumentDlg.h"

#include <algorithm>

#include "model/instrument/CInstrument.h"
#include "model/OwnedArrayRecords.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

constexpr int32_t kBoldWeight = 700;
constexpr int32_t kNotationPointSize = 80;

constexpr std::array<std::string_view, 4> kTabStyleNames = {"French tablature", "Italian tablature",
                                                             "Spanish/Modern tablature", "Mixed French tablature"};
constexpr std::array<std::string_view, 4> kClefNames = {"G8 clef", "G clef", "F clef", "C clef"};

int32_t Flip(int32_t& value) {
  value = value == 0 ? 1 : 0;
  return value;
}

}  // namespace

CInstrumentDlg::CInstrumentDlg() {
  nameText.font.logFont.lfWeight = kBoldWeight;
  notationFont.SetFace(CNotationFont::kDefaultFace);
  notationFont.pointSize.cx = kNotationPointSize;
  ListGatheredVoices();
}

CInstrumentDlg::CInstrumentDlg(const CInstrumentDlg& other) : Persistent(other), editContext(other.editContext) {
  ListGatheredVoices();
  CopyFrom(other);
}

CInstrumentDlg::~CInstrumentDlg() = default;

void CInstrumentDlg::ListGatheredVoices() {
  gatheredList = CVoicesArray();
  gatheredList.push_back(&gathered[0]);
  gatheredList.push_back(&gathered[1]);
}

std::string_view CInstrumentDlg::FamilyName(uint32_t index) { return kFamilyNames[index < kFamilyCount ? index : 0]; }

std::string_view CInstrumentDlg::GetFamilyName() {
  if (family >= kFamilyCount) family = 0;
  return FamilyName(family);
}

// ---------------------------------------------------------------------------------------------
// Staves

void CInstrumentDlg::EnsureStave() {
  if (staves.empty()) staves.push_back(std::make_unique<CClef>(this));
  stavesCreated_ = true;
  LinkStaves();
}

CClef* CInstrumentDlg::AddStave() {
  if (staves.size() >= CInstrument::kMaxStaves) return nullptr;
  CClef* stave = staves.push_back(std::make_unique<CClef>(this));
  stave->tabInstrument = &tabInstrument;
  stavesCreated_ = true;
  return stave;
}

void CInstrumentDlg::DeleteStaves() {
  staves.clear();
  currentStave = 0;
  stavesCreated_ = true;
}

void CInstrumentDlg::CopyStavesFrom(const CInstrumentDlg& other) {
  if (&other == this) return;
  OwnedArray<CClef> copies;
  for (const auto& stave : other.staves.items()) {
    copies.push_back(stave != nullptr ? std::make_unique<CClef>(*stave) : std::make_unique<CClef>(this));
  }
  staves = std::move(copies);
  if (currentStave >= staves.size()) currentStave = 0;
  stavesCreated_ = other.stavesCreated_ || !staves.empty();
  LinkStaves();
}

void CInstrumentDlg::ForgetRecordedClefs() {
  for (const auto& stave : staves.items()) {
    if (stave != nullptr) stave->recordedClef = -1;
  }
}

void CInstrumentDlg::LinkStaves() {
  for (auto& stave : staves.items()) {
    if (stave == nullptr) stave = std::make_unique<CClef>(this);
    stave->definition = this;
    stave->tabInstrument = &tabInstrument;
    stave->clefRaise = clefLine;
  }
}

void CInstrumentDlg::StoreStaveSettings() {
  CClef* stave = GetCurrentStave();
  stave->clefId = clefPage;
  stave->spaceBelow = static_cast<uint32_t>(spacingBelowPage);
  stave->type = notationModePage;
  stave->squareNotes = notesStyle;
  stave->oldStyle = clefStylePage;
  stave->clefRaise = clefLine;
  stave->enabledVoices = voicesShownPage;
  stave->stemDirection = stemDirectionPage;
  stave->hideMetaEvents = hideMetaEventsPage;
}

void CInstrumentDlg::LoadStaveSettings() {
  const CClef* stave = GetCurrentStave();
  clefPage = stave->clefId;
  spacingBelowPage = static_cast<int32_t>(stave->spaceBelow);
  notationModePage = stave->type != CClef::kStaff ? CClef::kTablature : CClef::kStaff;
  notesStyle = stave->squareNotes;
  clefStylePage = stave->oldStyle;
  clefLine = stave->clefRaise;
  voicesShownPage = stave->enabledVoices;
  stemDirectionPage = stave->stemDirection;
  hideMetaEventsPage = stave->hideMetaEvents;
}

void CInstrumentDlg::ApplyNotationPreset(int index) {
  DeleteStaves();
  CClef* first = AddStave();
  first->spaceBelow = 1;
  currentStave = 0;
  presetIndex = index;

  const auto staff = [](CClef* s, int32_t clef, int32_t voices) {
    s->type = CClef::kStaff;
    s->clefId = clef;
    s->enabledVoices = voices;
  };
  const auto tablature = [](CClef* s, int32_t voices) {
    s->type = CClef::kTablature;
    s->enabledVoices = voices;
  };
  switch (index) {
    case 0:
      tablature(first, CClef::kUpperVoice);
      break;
    case 1:
      staff(first, CClef::kG8Clef, CClef::kBothVoices);
      first->stemDirection = 1;
      break;
    case 2:
      staff(first, CClef::kGClef, CClef::kUpperVoice);
      break;
    case 3:
      staff(first, CClef::kFClef, CClef::kLowerVoice);
      break;
    case 4:
      staff(first, CClef::kCClef, CClef::kUpperVoice);
      break;
    case 5: {
      staff(first, CClef::kGClef, CClef::kUpperVoice);
      first->spaceBelow = 3;
      CClef* bass = AddStave();
      staff(bass, CClef::kFClef, CClef::kLowerVoice);
      bass->spaceBelow = 1;
      bass->hideMetaEvents = 1;
      break;
    }
    case 6: {
      tablature(first, CClef::kBothVoices);
      CClef* upper = AddStave();
      staff(upper, CClef::kGClef, CClef::kUpperVoice);
      upper->spaceBelow = 3;
      CClef* lower = AddStave();
      staff(lower, CClef::kCClef, CClef::kLowerVoice);
      lower->spaceBelow = 1;
      break;
    }
    case 7: {
      tablature(first, CClef::kBothVoices);
      CClef* guitar = AddStave();
      staff(guitar, CClef::kG8Clef, CClef::kBothVoicesMerged);
      guitar->spaceBelow = 1;
      break;
    }
    case 8: {
      staff(first, CClef::kG8Clef, CClef::kUpperVoice);
      first->spaceBelow = 3;
      CClef* bass = AddStave();
      staff(bass, CClef::kFClef, CClef::kLowerVoice);
      bass->spaceBelow = 2;
      break;
    }
    case 9:
      staff(first, CClef::kGClef, CClef::kUpperVoice);
      first->transposition = 2;
      break;
    case 10:
      staff(first, CClef::kFClef, CClef::kUpperVoice);
      break;
    default:
      break;
  }
  LinkStaves();
}

// ---------------------------------------------------------------------------------------------
// Copies

void CInstrumentDlg::CopyFrom(const CInstrumentDlg& o) {
  if (&o == this) return;
  family = o.family;
  visible = o.visible;
  nameText = o.nameText;
  shortName = o.shortName;
  tabInstrument.CopyFrom(o.tabInstrument);
  midi = o.midi;
  key = o.key;
  notationFont = o.notationFont;
  ornaments = o.ornaments;
  pedals.CopyFrom(o.pedals);
  showBarlines = o.showBarlines;
  hideOrnaments = o.hideOrnaments;
  closeSystems = o.closeSystems;
  slantedBeams = o.slantedBeams;
  longStems = o.longStems;
  notationOptions = o.notationOptions;
  beamMode = o.beamMode;
  tabAcrossLine = o.tabAcrossLine;
  shortSignatures = o.shortSignatures;
  familyPage = o.familyPage;
  clefPage = o.clefPage;
  spacingBelowPage = o.spacingBelowPage;
  notationModePage = o.notationModePage;
  notesStyle = o.notesStyle;
  clefStylePage = o.clefStylePage;
  clefLine = o.clefLine;
  transposePage = o.transposePage;
  voicesShownPage = o.voicesShownPage;
  stemDirectionPage = o.stemDirectionPage;
  hideMetaEventsPage = o.hideMetaEventsPage;
  presetIndex = o.presetIndex;
  voiceSelector = o.voiceSelector;
  workingText = o.workingText;
  CopyStavesFrom(o);
  currentStave = o.currentStave < staves.size() ? o.currentStave : 0;
}

void CInstrumentDlg::ApplySettingsFrom(const CInstrumentDlg& o) {
  if (&o == this) return;
  closeSystems = o.closeSystems;
  longStems = o.longStems;
  shortSignatures = o.shortSignatures;
  familyPage = o.familyPage;
  workingText = o.workingText;
  nameText.text = o.nameText.text;
  nameText.font = o.nameText.font;
  shortName = o.shortName;
  notationFont = o.notationFont;
  notesStyle = o.notesStyle;
  tabInstrument.CopyStyleFrom(o.tabInstrument);
  midi = o.midi;
  key.transpose = o.key.transpose;
  CopyStavesFrom(o);
  ornaments = o.ornaments;
}

// ---------------------------------------------------------------------------------------------
// Names and colours

std::string CInstrumentDlg::GetNotationName() const {
  if (staves.empty() || staves.front() == nullptr) return "Notation";
  const CClef& first = *staves.front();
  if (first.IsTablature()) {
    const int32_t style = tabInstrument.tabStyle;
    return std::string(style >= 0 && style < 4 ? kTabStyleNames[static_cast<size_t>(style)] : "Unknown");
  }
  if (first.clefId >= 0 && first.clefId < 4) return std::string(kClefNames[static_cast<size_t>(first.clefId)]);
  return "Notation";
}

std::string CInstrumentDlg::GetFlagStyleName() const {
  if (staves.empty() || staves.front() == nullptr) return "Unknown";
  const CClef& first = *staves.front();
  if (!first.IsTablature()) return first.oldStyle != 0 ? "Square flags" : "Round flags";
  const int32_t style = tabInstrument.flagStyle;
  const auto& names = CTabInstrument::kFlagStyleNames;
  return std::string(style >= 0 && static_cast<size_t>(style) < names.size() ? names[static_cast<size_t>(style)]
                                                                             : "Unknown");
}

int CInstrumentDlg::ToggleMidiOption(int command) {
  switch (command) {
    case kMuteCommand: return Flip(midi.mute);
    case kMonophonicCommand: return Flip(midi.monophonic);
    case kOrnamentsCommand: return Flip(midi.ornamentsPlayed);
    case kResonateCommand: return Flip(midi.holdPedal);
    case kEchoCommand: return Flip(midi.echoOn);
    case kOctaveCommand: return Flip(midi.octaveDoublingOn);
    case kMergeVoicesCommand: return Flip(midi.mergeVoices);
    default: return 0;
  }
}

uint32_t CInstrumentDlg::GetElementColor(int code) const {
  const COrnamentTable& table = ornaments.table;
  if (code >= 1 && code <= static_cast<int>(table.colors.size())) return table.colors[static_cast<size_t>(code - 1)];
  switch (code) {
    case kTabFontColor: return tabInstrument.tabFont.color;
    case kFlagsFontColor: return tabInstrument.flagsFont.color;
    case kAlfabetoColor: return tabInstrument.alfabeto.letterFont.color;
    case kNotationColor: return notationFont.color;
    default: return 0;
  }
}

// ---------------------------------------------------------------------------------------------
// Gathered voices

void CInstrumentDlg::ReleaseGatheredVoices() {
  for (nChordArray& voice : gathered) voice = nChordArray();
  staveBreakCounts = {0, 0};
  startIndexes = {0, 0};
}

void CInstrumentDlg::RespellVoicesInKey() {
  for (const nChordArray& voice : gathered) {
    for (const auto& e : voice) {
      if (e != nullptr && e->IsChord()) e->notes.Respell(key);
    }
  }
}

void CInstrumentDlg::RespellAndRestringVoices(size_t start) {
  for (nChordArray& voice : gathered) {
    if (start < voice.size()) voice.RespellAndRestring(start, voice.size() - start, key, tabInstrument);
  }
}

void CInstrumentDlg::SetVoiceStemDirections() {
  for (const auto& stave : staves) {
    if (stave == nullptr) continue;
    size_t voice = 0;
    if (stave->enabledVoices == CClef::kLowerVoice) {
      voice = 1;
    } else if (stave->enabledVoices != CClef::kUpperVoice) {
      continue;
    }
    gathered[voice].SetStemDirections(stave->GetStemDividingPitch(), stave->stemDirection != 0);
  }
}

std::optional<CInstrumentDlg::TickSpan> CInstrumentDlg::MarkedTicks() const {
  const nChordArray& first = gathered[0];
  if (markers[0] < 0 || first.empty()) return std::nullopt;
  const auto begin = static_cast<size_t>(markers[0]);
  const size_t end = std::min(static_cast<size_t>(std::max(markers[1], 0)), first.size() - 1);
  if (begin >= end || first[begin] == nullptr || first[end] == nullptr) return std::nullopt;
  return TickSpan{first[begin]->delta, first[end]->delta};
}

bool CInstrumentDlg::CopyMarkedArea(CInstrumentDlg& buffer) const {
  const auto span = MarkedTicks();
  if (!span || &buffer == this) return false;
  for (size_t v = 0; v < gathered.size(); ++v) {
    buffer.gathered[v] = nChordArray();
    gathered[v].CopyRangeBetweenTicks(buffer.gathered[v], span->first, span->last);
  }
  return true;
}

bool CInstrumentDlg::DeleteMarkedArea() {
  const auto span = MarkedTicks();
  if (!span || !gathered[0].DeleteRangeBetweenTicks(span->first, span->last)) return false;
  gathered[1].DeleteRangeBetweenTicks(span->first, span->last);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Stored forms

void CInstrumentDlg::FillNameFromTuning() {
  if (nameText.text.empty() && !tabInstrument.name.empty()) nameText.text = tabInstrument.name;
}

void CInstrumentDlg::Store(ArchiveWriter& ar) const {
  const std::string& version = ar.Version();
  // An empty name takes the tuning's name in both directions: it is written as it will be
  // read, so that a record written again after reading keeps its bytes.
  if (nameText.text.empty() && !tabInstrument.name.empty() && !ar.ExactCopy()) {
    CTrackText named = nameText;
    named.text = tabInstrument.name;
    named.Store(ar);
  } else {
    nameText.Store(ar);
  }
  tabInstrument.Store(ar);
  ar.WriteObjectArray(staves.items());
  midi.Store(ar);
  key.Store(ar);
  if (VersionAbove(version, "8.47")) notationFont.Store(ar);
  if (VersionAtLeast(version, "6.595")) ornaments.Store(ar);
  if (VersionAtLeast(version, "8.00")) pedals.Store(ar);
  ar.WriteU8(family);
  ar.WriteText("");
  for (const int32_t v : {showBarlines, notesStyle, hideOrnaments, notationOptions, clefLine, closeSystems,
                          slantedBeams, longStems}) {
    ar.WriteI32(v);
  }
}

void CInstrumentDlg::Load(ArchiveReader& ar) {
  nameText.Load(ar);
  tabInstrument.Load(ar);
  if (!ar.ExactCopy()) FillNameFromTuning();
  LoadArrayOfParts(ar, staves, CInstrument::kMaxStaves);
  midi.Load(ar);
  key.Load(ar);
  if (ar.VersionAbove("8.47")) notationFont.Load(ar);
  if (ar.VersionAtLeast("6.595")) {
    ornaments.Load(ar);
  } else {
    ornaments.ResetToDefaults();
  }
  if (ar.VersionAtLeast("8.00")) pedals.Load(ar);

  family = ar.ReadU8();
  std::string oldName = ar.ReadText();
  showBarlines = ar.ReadI32();
  notesStyle = ar.ReadI32();
  hideOrnaments = ar.ReadI32();
  notationOptions = ar.ReadI32();
  clefLine = ar.ReadI32();
  if (ar.VersionBelow("6.51")) {
    midi.name = std::move(oldName);
    midi.family = family;
  }
  if (ar.VersionAtLeast("7.4")) closeSystems = ar.ReadI32();
  if (ar.VersionAtLeast("8.4")) slantedBeams = ar.ReadI32();
  if (ar.VersionBelow("6.53")) clefLine = 0;
  if (ar.VersionBelow("7.99") && family > 5) family = static_cast<uint8_t>(family - 2);
  if (ar.VersionAtLeast("9.5")) longStems = ar.ReadI32();
  currentStave = 0;
  stavesCreated_ = !staves.empty();
  LinkStaves();
}

tinyxml2::XMLElement* CInstrumentDlg::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("instrument");
  SetIntAttribute(element, "family", family);
  SetTextAttribute(element, "category", FamilyName(family));
  SetIntAttribute(element, "hidden", visible == 0 ? 1 : 0);
  if (!shortName.empty()) SetTextAttribute(element, "short-name", shortName);
  element->InsertEndChild(nameText.WriteXml(doc));
  element->InsertEndChild(nameText.font.WriteXml(doc, "track-font", kNameFontDescriptor));
  element->InsertEndChild(tabInstrument.WriteXml(doc));
  element->InsertEndChild(midi.WriteXml(doc));
  element->InsertEndChild(key.WriteXml(doc));
  element->InsertEndChild(notationFont.WriteXml(doc));
  element->InsertEndChild(ornaments.WriteXml(doc));

  tinyxml2::XMLElement* options = doc.NewElement("options");
  SetIntAttribute(options, "show-barlines", showBarlines);
  SetIntAttribute(options, "square-notes", notesStyle);
  SetIntAttribute(options, "hidden", hideOrnaments);
  SetIntAttribute(options, "close-systems", closeSystems);
  SetIntAttribute(options, "slanted-beams", slantedBeams);
  SetIntAttribute(options, "long-stems", longStems);
  SetIntAttribute(options, "clef-line", clefLine);
  SetIntAttribute(options, "notation-options", notationOptions);
  if (beamMode != 0) SetIntAttribute(options, "beam-mode", beamMode);
  if (tabAcrossLine != 0) SetIntAttribute(options, "tab-across-line", tabAcrossLine);
  element->InsertEndChild(options);

  tinyxml2::XMLElement* clefs = doc.NewElement("clefs");
  SetIntAttribute(clefs, "count", static_cast<int32_t>(staves.size()));
  for (const auto& stave : staves.items()) {
    if (stave != nullptr) clefs->InsertEndChild(stave->WriteXml(doc));
  }
  element->InsertEndChild(clefs);
  return element;
}

const tinyxml2::XMLElement* CInstrumentDlg::ReadXml(const tinyxml2::XMLElement* element) {
  if (element == nullptr) return nullptr;
  staves.clear();
  currentStave = 0;
  family = static_cast<uint8_t>(ReadIntAttribute(element, "family"));
  visible = ReadBoolAttribute(element, "hidden") ? 0 : 1;
  shortName = ReadTextAttribute(element, "short-name");

  const tinyxml2::XMLElement* child = element->FirstChildElement();
  child = nameText.ReadXml(child);
  child = nameText.font.ReadXml(child);  // "track-font", or "name-font" in our earlier files
  child = tabInstrument.ReadXml(child);
  child = midi.ReadXml(child);
  child = key.ReadXml(child);
  child = notationFont.ReadXml(child);
  child = ornaments.ReadXml(child);
  const tinyxml2::XMLElement* options = ExpectChildElement(child, "options");
  showBarlines = ReadBoolAttribute(options, "show-barlines") ? 1 : 0;
  notesStyle = ReadBoolAttribute(options, "square-notes") ? 1 : 0;
  hideOrnaments = ReadBoolAttribute(options, "hidden") ? 1 : 0;
  closeSystems = ReadBoolAttribute(options, "close-systems") ? 1 : 0;
  slantedBeams = ReadBoolAttribute(options, "slanted-beams") ? 1 : 0;
  longStems = ReadBoolAttribute(options, "long-stems") ? 1 : 0;
  notationOptions = ReadBoolAttribute(options, "notation-options") ? 1 : 0;
  clefLine = ReadIntAttribute(options, "clef-line");
  beamMode = std::clamp(ReadIntAttribute(options, "beam-mode"), 0, 2);
  tabAcrossLine = ReadBoolAttribute(options, "tab-across-line") ? 1 : 0;

  if (const tinyxml2::XMLElement* clefs = options->NextSiblingElement()) {
    const int32_t count =
        std::min(ReadIntAttribute(clefs, "count"), static_cast<int32_t>(CInstrument::kMaxStaves));
    const tinyxml2::XMLElement* clef = clefs->FirstChildElement();
    for (int32_t i = 0; i < count && clef != nullptr; ++i) {
      auto stave = std::make_unique<CClef>(this);
      clef = stave->ReadXml(clef);
      staves.push_back(std::move(stave));
    }
  }
  stavesCreated_ = !staves.empty();
  LinkStaves();
  return element->NextSiblingElement();
}

// ---------------------------------------------------------------------------------------------
// The list of definitions

tinyxml2::XMLElement* CInstrumentArray::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("instruments");
  SetIntAttribute(element, "count", static_cast<int32_t>(size()));
  int32_t index = 0;
  for (const auto& definition : items()) {
    tinyxml2::XMLElement* child = definition != nullptr ? definition->WriteXml(doc) : CInstrumentDlg().WriteXml(doc);
    SetIntAttribute(child, "index", index++);
    element->InsertEndChild(child);
  }
  return element;
}

const tinyxml2::XMLElement* CInstrumentArray::ReadXml(const tinyxml2::XMLElement* element) {
  if (element == nullptr) return nullptr;
  const int32_t count = ReadIntAttribute(element, "count");
  const tinyxml2::XMLElement* child = element->FirstChildElement();
  for (int32_t i = 0; i < count && child != nullptr; ++i) {
    auto definition = std::make_unique<CInstrumentDlg>();
    child = definition->ReadXml(child);
    push_back(std::move(definition));
  }
  LinkAll();
  return element->NextSiblingElement();
}

void CInstrumentArray::LinkAll() {
  for (auto& definition : items()) {
    if (definition == nullptr) definition = std::make_unique<CInstrumentDlg>();
    definition->EnsureStave();
  }
}

size_t CInstrumentArray::GetVisibleCount() const {
  size_t count = 0;
  for (const auto& definition : items()) {
    if (definition != nullptr && definition->visible != 0) ++count;
  }
  return count;
}

}  // namespace vornel
