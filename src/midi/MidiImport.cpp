#include "midi/MidiImport.h"

#include <algorithm>
#include <filesystem>

#include "midi/GeneralMidiNames.h"
#include "midi/MidiTime.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSystemArray.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

constexpr std::string_view kNothingImported = "No data was imported";
constexpr uint16_t kTimeSignatureEvent = 0x12;  // special event of subtype 1

bool HasNoteOn(const strMidiBuffer& b) {
  return std::any_of(b.begin(), b.end(), [](const strMidiNote& r) { return r.IsNoteOn(); });
}

// What becomes one instrument line.
struct ImportUnit {
  strMidiBuffer notes;
  std::string name;
  int32_t program = -1;
  int32_t choice = -1;
  std::vector<uint16_t> coursePitches;
};

}  // namespace

bool AllTracksChooser::Choose(CIMidiDoc& doc, MidiImportOptions&) {
  for (const auto& t : doc.tracks) {
    t->mark = t->HasNotes() ? TrackInfo::kImport : TrackInfo::kSkip;
    t->choice = -1;
  }
  return true;
}

void ConvertMidiTrackToVoice(const strMidiBuffer& records, const std::vector<MidiMetaRecord>& metas,
                             const std::vector<uint16_t>& coursePitches, CInstrumentDlg& definition) {
  if (coursePitches.size() > 2) {
    // The course pitches this program writes into its files; refused when one is not a key.
    const std::vector<int> pitches(coursePitches.begin(), coursePitches.end());
    definition.tabInstrument.SetTuningFromPitches(static_cast<int>(pitches.size()), pitches.data());
  }
  nChordArray& voice = definition.gathered[0];
  voice = nChordArray();
  const CTabInstrument& tab = definition.tabInstrument;
  uint32_t gap = 0;
  int32_t lastLength = 0;  // the longest note of the last chord
  for (const strMidiNote& r : records) {
    gap += r.time;
    if (gap > 0) lastLength = 0;
    int pitch = 0;
    uint8_t course = nNotes::kNoCourse;
    if (r.IsNoteOn()) {
      pitch = r.key;
      const int found = tab.FindStringForPitch(pitch - kCoursePitchOffset, -1);
      if (found >= 0) course = static_cast<uint8_t>(found);
      lastLength = std::max(lastLength, r.duration);
    }
    if (!voice.AppendTimedNote(gap, pitch, course, definition.key, "")) break;
    gap = 0;
  }
  if (voice.empty()) return;
  // The last chord lasts as long as its longest note (a quarter when none says).
  voice.back()->SetRhythmFromTicks(lastLength > 0 ? static_cast<uint32_t>(lastLength) : kMidiTicksPerQuarter);
  voice.RespellAndRestring(0, voice.size(), definition.key, tab);

  // Later signatures go in front of the chord that starts at or after them.
  voice.UpdateTickPositions(4, 4);
  std::vector<std::pair<size_t, const MidiMetaRecord*>> places;
  size_t i = 0;
  for (const MidiMetaRecord& m : metas) {
    if (m.type != MidiMetaRecord::kTimeSignature) continue;
    while (i < voice.size() && (voice.at(i) == nullptr || !voice.at(i)->IsChord() || voice.at(i)->delta < m.time)) ++i;
    if (i >= voice.size()) break;
    places.emplace_back(i, &m);
  }
  for (auto it = places.rbegin(); it != places.rend(); ++it) {
    auto event = std::make_unique<nChord>(kTimeSignatureEvent);
    event->metaEvents.push_back(
        std::make_unique<CMetaEvent>(CMetaEvent::kTimeSignature, "true", 1, it->second->a, it->second->b));
    voice.insert(it->first, std::move(event));
  }
}

size_t ImportMidiTracks(CIMidiDoc& doc, const MidiImportOptions& options, const CInstrumentArray* base,
                        const CInstrumentDlg& defaultDefinition, CSystemArray& section) {
  const MidiMeter meter = MidiMeter::From(options.numerator, options.denominator);
  section.numerator = static_cast<int32_t>(meter.numerator);
  section.denominator = static_cast<int32_t>(meter.denominator);
  section.tempo = (section.tempo & ~0xFFF) | std::clamp(options.tempo, 1, 0xFFF);
  section.key.SetSignature(options.keyAccidentals, options.keyMinor != 0);

  // Signature changes of every track, in the import's time.
  std::vector<MidiMetaRecord> metas;
  for (const auto& t : doc.tracks) metas.insert(metas.end(), t->metaRecords.begin(), t->metaRecords.end());
  std::stable_sort(metas.begin(), metas.end(), [](const auto& a, const auto& b) { return a.time < b.time; });
  RescaleMidiMetaRecords(metas, doc.division);

  std::vector<ImportUnit> units;
  for (const auto& t : doc.tracks) {
    if (t->mark != TrackInfo::kImport || !t->HasNotes()) continue;
    if (options.mergeTracks && !units.empty()) {
      ImportUnit& u = units.front();
      t->notes.Sort();
      u.notes.Merge(std::move(t->notes));
      continue;
    }
    ImportUnit& u = units.emplace_back();
    u.notes = std::move(t->notes);
    u.notes.Sort();
    u.name = t->name;
    u.program = t->program;
    u.choice = options.mergeTracks ? -1 : t->choice;
    u.coursePitches = t->values;
  }

  size_t added = 0;
  for (ImportUnit& u : units) {
    PrepareImportedMidiNotes(u.notes, doc.division, options.quantizeLevel, meter.barTicks);
    if (!HasNoteOn(u.notes)) continue;
    const bool chosen = base != nullptr && u.choice >= 0 && static_cast<size_t>(u.choice) < base->size();
    auto definition = std::make_unique<CInstrumentDlg>(chosen ? *base->at(static_cast<size_t>(u.choice)) : defaultDefinition);
    if (!u.name.empty()) {
      std::string& text = definition->nameText.text;
      text += (text.empty() ? "" : " ") + u.name;
    }
    if (options.retainPatches && u.program >= 0 && u.program <= 127) {
      definition->midi.patch = static_cast<uint8_t>(u.program);
      definition->midi.name = std::string(GMProgramName(u.program));
    }
    const int32_t transposition = definition->key.transpose;
    definition->key = section.key;
    definition->key.transpose = transposition;
    ConvertMidiTrackToVoice(u.notes, metas, u.coursePitches, *definition);
    section.AddInstrumentWithVoices(std::move(definition));
    ++added;
  }
  return added;
}

std::unique_ptr<CSystemArray> ImportMidiFile(const std::string& path, MidiTrackChooser& chooser,
                                             const CInstrumentArray* base, const CInstrumentDlg& defaultDefinition) {
  bool joined = false;
  return ImportMidiFile(path, chooser, base, defaultDefinition, nullptr, joined);
}

std::unique_ptr<CSystemArray> ImportMidiFile(const std::string& path, MidiTrackChooser& chooser,
                                             const CInstrumentArray* base, const CInstrumentDlg& defaultDefinition,
                                             CSystemArray* current, bool& joined) {
  joined = false;
  CIMidiDoc doc;
  if (!doc.OnOpenDocument(path)) return nullptr;
  const std::string damage = doc.DamageWarning(path);
  if (std::none_of(doc.tracks.begin(), doc.tracks.end(), [](const auto& t) { return t->HasNotes(); })) {
    // Nothing to choose from: the file says why, before any question.
    std::string text = std::string(CIMidiDoc::kNoData) + "\n" + path + ": no track of the file holds a note (" +
                       std::to_string(doc.tracks.size()) + (doc.tracks.size() == 1 ? " track read)" : " tracks read)");
    if (!damage.empty()) text += "\n" + damage;
    Prompts().ShowMessage(text, MessageKind::kWarning, CIMidiDoc::kNoDataCaption);
    return nullptr;
  }
  MidiImportOptions options;
  doc.tracks.GetTimeSignature(options.numerator, options.denominator);
  options.tempo = doc.tracks.GetTempo();
  doc.tracks.GetKeySignature(options.keyAccidentals, options.keyMinor);
  if (!chooser.Choose(doc, options)) return nullptr;
  if (!doc.CheckTracksSelected()) return nullptr;

  if (!options.newSection && current != nullptr) {
    if (ImportMidiTracks(doc, options, base, defaultDefinition, *current) == 0) {
      Prompts().ShowMessage(kNothingImported, MessageKind::kWarning);
      return nullptr;
    }
    if (!damage.empty()) Prompts().ShowMessage(damage, MessageKind::kWarning);
    joined = true;
    return nullptr;
  }
  auto section = std::make_unique<CSystemArray>();
  const std::string fileName = std::filesystem::path(path).filename().string();
  section->Title().text = fileName;
  section->Comments().text = "MIDI FILE: " + fileName;
  if (ImportMidiTracks(doc, options, base, defaultDefinition, *section) == 0) {
    Prompts().ShowMessage(kNothingImported, MessageKind::kWarning);
    return nullptr;
  }
  section->DeleteBlankSystems();
  // Laid out as a reader of its file lays it out, so the section saves as it will read back.
  section->RecalculateSection(false);
  if (!damage.empty()) Prompts().ShowMessage(damage, MessageKind::kWarning);
  return section;
}

}  // namespace vornel
