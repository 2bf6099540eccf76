#pragma once
// Small tablature staves for the renderer tests: a ten-course lute in G (six courses on the
// lines, four bourdons), chords given as course and fret, a tablature line drawn into a
// recording device (and, with VORNEL_RENDER_PNG_DIR set, a PNG), and a document of French
// lute tablature under a staff that the command-line tests typeset.

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "StaffFixtures.h"
#include "document/CBriotabDoc.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChord.h"
#include "platform/draw/CairoDevice.h"
#include "platform/draw/RecordingDevice.h"
#include "view/render/DrawingStaveRenderer.h"

namespace vornel::testing {

// G4 D4 A3 F3 C3 G2 on the lines, F2 E♭2 D2 C2 below them.
inline constexpr const char* kTenCourseLute = "GDAFCGFEbDC";

struct CourseFret {
  int course;
  int fret;
};

// The MIDI pitch of a fret on a course of the instrument.
inline int PitchOf(const CTabInstrument& tab, CourseFret n) {
  return tab.tuning.courses[static_cast<size_t>(n.course)].pitch + 23 + n.fret;
}

// A chord of value `code` with one note per (course, fret).
inline std::unique_ptr<nChord> TabChord(const CTabInstrument& tab, int code, std::initializer_list<CourseFret> notes,
                                        uint16_t rhythmBits = 0) {
  auto chord = std::make_unique<nChord>(nChord::kChord, static_cast<uint16_t>(code | rhythmBits));
  for (const CourseFret n : notes) {
    auto note = std::make_unique<nNotes>();
    note->pitch = static_cast<uint8_t>(PitchOf(tab, n));
    note->string = static_cast<uint8_t>(n.course);
    chord->AddNote(std::move(note));
  }
  return chord;
}

// The French lute settings every tablature test starts from: letters of the lute face on
// their lines, 3 mm apart, flags 7 mm high in the English style, one flag per change of
// rhythm.
inline void SetFrenchLute(CTabInstrument& tab) {
  tab.tuning.SetTuning(kTenCourseLute);
  tab.tuning.lines = 6;
  tab.tabStyle = CTabInstrument::kFrench;
  tab.tabFont.logFont.lfFaceName = "VN_Quintelle";
  tab.tabFont.pointSize.cx = 120;
  tab.tabFont.color = 0;
  tab.tabFont.staveAdjust = {30, 35};
  // Letters a fifteenth of a spacing above their lines, bourdons a quarter spacing lower.
  tab.flagsHeight = 0x5630;
  tab.flagStyle = 0;
  tab.flagGroup = 0;
  tab.showFirstFlag = 1;
  tab.showAllFlags = 0;
}

// One instrument line on one tablature stave.
struct TabLine : LineFixture {
  TabLine() {
    definition.ApplyNotationPreset(0);
    SetFrenchLute(definition.tabInstrument);
    Rebuild();
  }
  CTabInstrument& Tab() { return definition.tabInstrument; }
  // The line again from the definition, after its settings changed.
  void Rebuild() {
    definition.LinkStaves();
    line = std::make_unique<CInstrument>(definition);
  }
  nChordArray& Voice(size_t v = 0) { return line->Voice(v); }
  nChord* Add(std::unique_ptr<nChord> chord) {
    nChord* added = chord.get();
    Voice().push_back(std::move(chord));
    return added;
  }
  nChord* Add(int code, std::initializer_list<CourseFret> notes, uint16_t rhythmBits = 0) {
    return Add(TabChord(Tab(), code, notes, rhythmBits));
  }

  // At zoom 100 and 96 dpi the lines are 11 pixels apart and the top line lies at 101.
  std::string Draw(const std::string& name, int32_t columnWidth = 40, bool printing = true, int32_t width = 600,
                   int32_t zoom = 100) {
    return DrawLog(name, columnWidth, printing, width, zoom, 300);
  }
};

// A document of one section: French lute tablature of ten courses under a staff with a G8
// clef, over two systems, with bourdons, flags, ornaments, fingering dots, slurs, lyrics, an
// ending, a tempo mark and a picture above the first system (its file, `picturePath`, need
// not exist).
std::unique_ptr<CBriotabDoc> FrenchLuteDocument(const std::string& picturePath);

}  // namespace vornel::testing
