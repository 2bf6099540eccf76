#include "TabFixtures.h"

#include "model/events/CMetaEvent.h"

namespace vornel::testing {

namespace {

constexpr uint16_t kDot = 0x8;
constexpr uint16_t kAscMordent = 2;  // ornament codes of the kinds
constexpr uint16_t kDescMordent = 66;
constexpr uint16_t kAscAppoggiatura = 1;
constexpr uint16_t kIndexDot = 1;     // low fingering: right-hand index
constexpr uint16_t kMiddleDots = 2;   // right-hand middle finger

nNotes& On(nChord& chord, int course) { return *chord.notes.NoteOnCourse(static_cast<uint8_t>(course)); }

CMetaEvent& AddMeta(nChord& chord, uint8_t kind, std::string_view text, uint32_t value = 0, int32_t cx = 0,
                    int32_t cy = 0) {
  return *chord.metaEvents.push_back(std::make_unique<CMetaEvent>(kind, text, value, cx, cy));
}

// Lyrics a line lower under the tablature, clear of the bourdons.
void AddLyric(nChord& chord, std::string_view text) { AddMeta(chord, CMetaEvent::kLyrics, text, 1u << 16); }

std::unique_ptr<nChord> BarLine(uint16_t status = 1) { return std::make_unique<nChord>(status); }

// The first system: a G minor opening, a fermata-free run of eighths and a cadence.
void FillFirstSystem(const CTabInstrument& tab, nChordArray& voice) {
  auto chord = TabChord(tab, 2, {{5, 0}, {4, 2}, {3, 2}, {2, 1}, {1, 0}, {0, 0}});
  // The tempo stands over the staff above the tablature.
  AddMeta(*chord, CMetaEvent::kTempo, "", 60, 0).location.SetOffset(EventLocation::kTablature, 0, -1500);
  AddLyric(*chord, "Flow");
  voice.push_back(std::move(chord));
  chord = TabChord(tab, 3, {{6, 0}, {0, 3}});
  On(*chord, 0).ornament = kAscMordent;
  voice.push_back(std::move(chord));
  chord = TabChord(tab, 3, {{1, 3}});
  On(*chord, 1).fingering = kIndexDot;
  AddLyric(*chord, "my");
  voice.push_back(std::move(chord));
  voice.push_back(BarLine());

  chord = TabChord(tab, 3, {{8, 0}, {3, 0}, {1, 0}}, kDot);
  AddLyric(*chord, "tears,");
  voice.push_back(std::move(chord));
  chord = TabChord(tab, 4, {{1, 1}});
  On(*chord, 1).fingering = kMiddleDots;
  voice.push_back(std::move(chord));
  chord = TabChord(tab, 4, {{1, 3}});
  On(*chord, 1).slur = 0x101 | 0x40;  // a slur with its number over two chords
  voice.push_back(std::move(chord));
  voice.push_back(TabChord(tab, 4, {{0, 0}}));
  voice.push_back(TabChord(tab, 4, {{0, 2}}));
  chord = TabChord(tab, 4, {{0, 3}});
  On(*chord, 0).ornament = kDescMordent;
  voice.push_back(std::move(chord));
  voice.push_back(TabChord(tab, 4, {{1, 3}}));
  auto bar = BarLine();
  AddMeta(*bar, CMetaEvent::kEnding, "1.", 3u | (0x2u << 8) | (0x4u << 16));
  voice.push_back(std::move(bar));

  chord = TabChord(tab, 2, {{9, 0}, {4, 0}, {2, 0}, {1, 3}});
  AddLyric(*chord, "fall");
  voice.push_back(std::move(chord));
  chord = TabChord(tab, 3, {{7, 0}, {1, 1}});
  On(*chord, 1).ornament = kAscAppoggiatura;

  voice.push_back(std::move(chord));
  voice.push_back(TabChord(tab, 3, {{5, 0}, {3, 0}, {2, 1}, {1, 0}}));
  voice.push_back(BarLine(0x81 | 0x30));
}

// The second system: a rest as a flag, sixteenths, a tied note, the lowest bourdons.
void FillSecondSystem(const CTabInstrument& tab, nChordArray& voice) {
  voice.push_back(TabChord(tab, 3, {}));
  voice.push_back(TabChord(tab, 3, {{6, 0}, {2, 3}, {0, 1}}));
  std::unique_ptr<nChord> chord;
  voice.push_back(TabChord(tab, 5, {{0, 3}}));
  voice.push_back(TabChord(tab, 5, {{0, 1}}));
  voice.push_back(TabChord(tab, 5, {{1, 3}}));
  voice.push_back(TabChord(tab, 5, {{1, 1}}));
  voice.push_back(BarLine());
  voice.push_back(TabChord(tab, 2, {{9, 0}, {3, 2}, {2, 3}, {1, 1}}));
  chord = TabChord(tab, 3, {{2, 3}, {1, 3}});
  On(*chord, 2).slur = 0x800;  // tied from the chord before
  voice.push_back(std::move(chord));
  chord = TabChord(tab, 3, {{8, 0}, {4, 2}, {3, 2}, {2, 1}, {1, 0}}, kDot);
  AddMeta(*chord, CMetaEvent::kFermata, "");
  voice.push_back(std::move(chord));
  voice.push_back(BarLine(0x81 | 0x30));
}

}  // namespace

std::unique_ptr<CBriotabDoc> FrenchLuteDocument(const std::string& picturePath) {
  auto doc = OneSectionDocument("Flow my tears");
  CSystemArray& section = *doc->sections.at(0);
  CInstrumentDlg& lute = *section.Definition(0);
  lute.nameText.text = "Lute";
  lute.ApplyNotationPreset(2);
  CClef& staff = *lute.staves.at(0);
  staff.clefId = CClef::kG8Clef;
  staff.oldStyle = 0;
  staff.spaceBelow = 4;
  staff.hideMetaEvents = 1;  // the tablature shows them
  CClef* tablature = lute.AddStave();
  tablature->type = CClef::kTablature;
  tablature->enabledVoices = CClef::kUpperVoice;
  tablature->spaceBelow = 3;
  SetFrenchLute(lute.tabInstrument);
  lute.LinkStaves();
  section.key.alterations = 2;  // G minor
  section.key.bemol = 1;
  lute.key = section.key;
  for (size_t s = 0; s < section.systems.size(); ++s) section.System(s)->RebuildLines({&lute});
  const CTabInstrument& tab = lute.tabInstrument;
  FillFirstSystem(tab, section.System(0)->Line(0)->firstVoice);
  FillSecondSystem(tab, section.System(1)->Line(0)->firstVoice);
  DIBornament& picture = section.System(0)->EditCaption().captionPicture;
  picture.path = picturePath;
  picture.sizePercent = 100;
  picture.text = "The lutenist";
  return doc;
}

}  // namespace vornel::testing
