#pragma once
// Small staves for the renderer tests: a definition with one five-line staff, a line built
// from it, events made in one call, and a drawing of the stave into a recording device (and,
// with VORNEL_RENDER_PNG_DIR set, into a PNG to look at).

#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/CBriotabDoc.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChord.h"
#include "platform/draw/CairoDevice.h"
#include "platform/draw/InkCollisions.h"
#include "platform/draw/RecordingDevice.h"
#include "view/draw/DrawContext.h"
#include "view/render/DrawingStaveRenderer.h"

namespace vornel::testing {

// A chord of value `code` (0 breve ... 7) with notes of the MIDI pitches, highest first.
inline std::unique_ptr<nChord> Chord(int code, std::initializer_list<int> pitches, uint8_t beam = 0,
                                     uint16_t rhythmBits = 0) {
  auto chord = std::make_unique<nChord>(nChord::kChord, static_cast<uint16_t>(code | rhythmBits));
  for (const int pitch : pitches) {
    auto note = std::make_unique<nNotes>();
    note->pitch = static_cast<uint8_t>(pitch);
    chord->AddNote(std::move(note));
  }
  chord->beamIndex = beam;
  return chord;
}

inline std::unique_ptr<nChord> Rest(int code, uint8_t beam = 0) { return Chord(code, {}, beam); }

inline std::unique_ptr<nChord> Bar(uint16_t status = 1, uint32_t number = 0) {
  auto bar = std::make_unique<nChord>(status);
  bar->number = number;
  return bar;
}

// The page settings the line fixtures draw with while one of these lives: each device they
// draw on gets them as its drawing context, as the page drawer gives its own.
class FixturePage {
 public:
  explicit FixturePage(const PageDrawSettings& settings) : previous_(std::exchange(Current(), &settings)) {}
  ~FixturePage() { Current() = previous_; }
  FixturePage(const FixturePage&) = delete;
  FixturePage& operator=(const FixturePage&) = delete;
  // The settings in force; null outside every FixturePage.
  static const PageDrawSettings*& Current() {
    static const PageDrawSettings* current = nullptr;
    return current;
  }

 private:
  const PageDrawSettings* previous_;
};

// One instrument line of one definition, drawn through the renderer the tools install.
struct LineFixture {
  CInstrumentDlg definition;
  std::unique_ptr<CInstrument> line;

  CClef& Stave() { return *line->staves.at(0); }

  void DrawOn(DeviceContext& dc, int32_t columnWidth, Rect rect, int32_t indent, int32_t zoom = 100) {
    Stave().currentVoice = line->selectedVoice != 0 ? 1 : 0;
    std::optional<DrawContext> page;
    if (FixturePage::Current() != nullptr) page.emplace(dc, *FixturePage::Current());
    DrawingStaveRenderer renderer;
    renderer.DrawStave(dc, Stave(), zoom, line->Voices(), rect, indent, &definition.key, columnWidth);
  }

  // The ink drawn over other ink when the stave is drawn as DrawLog draws it, with the
  // collision listing's tolerance of 0.3 mm.
  std::vector<InkCollisions::Collision> Collisions(int32_t columnWidth, int32_t width, int32_t zoom) {
    RecordingDevice dc(96, true);
    dc.SetRecording(false);
    InkCollisions ink;
    dc.SetInkObserver(&ink);
    DrawOn(dc, columnWidth, {100, 100, 100 + width, 300}, 60, zoom);
    dc.SetInkObserver(nullptr);
    return ink.Find(0.3 * 96 / 25.4);
  }

  // The recording of the stave drawn at (100, 100) with 60 pixels of header and columns
  // `columnWidth` wide; also a PNG named `name` (`height` pixels high) when
  // VORNEL_RENDER_PNG_DIR is set.
  std::string DrawLog(const std::string& name, int32_t columnWidth, bool printing, int32_t width, int32_t zoom,
                      int32_t height) {
    const Rect rect{100, 100, 100 + width, 300};
    RecordingDevice dc(96, printing);
    DrawOn(dc, columnWidth, rect, 60, zoom);
    if (const char* dir = std::getenv("VORNEL_RENDER_PNG_DIR")) {
      ImageDevice image(width + 200, height, 96, 0xFFFFFF, printing);
      DrawOn(image, columnWidth, rect, 60, zoom);
      image.WritePng(std::string(dir) + "/" + name + ".png");
    }
    return dc.Log();
  }
};

// One instrument line on one staff.
struct StaffLine : LineFixture {
  explicit StaffLine(int32_t clef = CClef::kGClef, int32_t voices = CClef::kUpperVoice) {
    definition.ApplyNotationPreset(2);
    definition.staves.at(0)->clefId = clef;
    definition.staves.at(0)->enabledVoices = voices;
    definition.staves.at(0)->oldStyle = 0;
    line = std::make_unique<CInstrument>(definition);
  }
  nChordArray& Voice(size_t v) { return line->Voice(v); }

  // At zoom 200 and 96 dpi the staff's spacing is 10 pixels and its lines 1 pixel thick.
  std::string Draw(const std::string& name, int32_t columnWidth = 40, bool printing = true, int32_t width = 600,
                   int32_t zoom = 200) {
    return DrawLog(name, columnWidth, printing, width, zoom, 260);
  }
};

// A staff filled by a function, under its name.
struct NamedStave {
  const char* name;
  std::function<void(nChordArray&)> fill;
};

// The staves drawn one after another, each under a "# name" line, as one log (columns 40
// wide); the ink each draws over other ink is handed to `check` with its name.
inline std::string DrawNamedStaves(
    const std::vector<NamedStave>& staves,
    const std::function<void(const std::string&, const InkCollisions::Collision&)>& check) {
  std::string log;
  for (const NamedStave& s : staves) {
    StaffLine staff;
    s.fill(staff.Voice(0));
    log += std::string("# ") + s.name + "\n" + staff.Draw(s.name, 40);
    StaffLine measured;
    s.fill(measured.Voice(0));
    for (const InkCollisions::Collision& c : measured.Collisions(40, 600, 200)) check(s.name, c);
  }
  return log;
}

// A new document of one (active) section with the given title.
inline std::unique_ptr<CBriotabDoc> OneSectionDocument(std::string_view title) {
  auto doc = std::make_unique<CBriotabDoc>();
  doc->sections.push_back(std::make_unique<CSystemArray>());
  doc->sections.activeSection = 0;
  doc->sections.at(0)->Title().text = std::string(title);
  return doc;
}

// A document of one section: a staff in both voices over two systems (and eight empty ones),
// with beams, dots, accidentals, ledger lines, rests and bar lines.
inline std::unique_ptr<CBriotabDoc> TwoVoiceStaffDocument() {
  auto doc = OneSectionDocument("Two voices");
  CSystemArray& section = *doc->sections.at(0);
  CInstrumentDlg& guitar = *section.Definition(0);
  guitar.nameText.text = "Guitar";
  guitar.ApplyNotationPreset(1);  // G8 clef, both voices
  guitar.staves.at(0)->enabledVoices = CClef::kBothVoicesMerged;
  guitar.staves.at(0)->oldStyle = 0;
  section.key.alterations = 1;  // G major, handed to the definitions when read
  section.key.bemol = 0;
  guitar.key = section.key;
  // Ten systems, of which the first two hold music, fill more than one page.
  while (section.systems.size() < 10) section.NewSystem(CSystemArray::kAppend);
  for (size_t s = 0; s < section.systems.size(); ++s) section.System(s)->RebuildLines({&guitar});

  // The voices stand in one column per time: the lower voice has blank entries where only
  // the upper one moves.
  const auto fill = [](nChordArray& upper, nChordArray& lower, int t) {
    // Bar 1: eighths and sixteenths, a quarter and eighths over a half, a quarter and eighths.
    for (const auto& [code, pitch] : {std::pair{4, 67}, {4, 66}, {5, 64}, {5, 62}, {4, 61}, {3, 59}, {4, 69}, {4, 71}}) {
      upper.push_back(Chord(code, {pitch + t}));
    }
    lower.push_back(Chord(2, {47 + t, 43 + t}));
    for (int k = 0; k < 4; ++k) lower.push_back(nullptr);
    lower.push_back(Chord(3, {50 + t}));
    lower.push_back(Chord(4, {52 + t}));
    lower.push_back(Chord(4, {54 + t}));
    upper.push_back(Bar());
    lower.push_back(Bar());
    // Bar 2: a chord, a rest inside the beat, ledger lines above, accidentals.
    upper.push_back(Chord(3, {72 + t, 67 + t}));
    upper.push_back(Rest(4));
    for (const int pitch : {74, 76, 73, 71, 65}) upper.push_back(Chord(4, {pitch + t}));
    lower.push_back(Chord(3, {43 + t}));
    lower.push_back(Chord(3, {45 + t}));
    lower.push_back(nullptr);
    lower.push_back(Chord(2, {47 + t, 40 + t}));
    for (int k = 0; k < 3; ++k) lower.push_back(nullptr);
    upper.push_back(Bar(0x81 | 0x30));
    lower.push_back(Bar(0x81 | 0x30));
  };
  fill(section.System(0)->Line(0)->firstVoice, section.System(0)->Line(0)->secondVoice, 0);
  fill(section.System(1)->Line(0)->firstVoice, section.System(1)->Line(0)->secondVoice, -2);
  return doc;
}

}  // namespace vornel::testing
