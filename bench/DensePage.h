#pragma once
// The dense page of the score view's benchmarks: two instruments of staff notation in two
// voices, eight systems on one A4 page.

#include <memory>

#include "../tests/view/PageFixtures.h"
#include "document/CBriotabDoc.h"
#include "document/CPageDlg.h"

namespace vornel::bench {

inline std::unique_ptr<CBriotabDoc> DensePage() {
  auto section = testing::NotatedSection("Dense", 8);
  section->stavesPerPage = 8;
  // A second instrument with the music of the first.
  auto second = std::make_unique<CInstrumentDlg>(*section->Definition(0));
  section->AddInstrument(std::move(second));
  for (size_t s = 0; s < section->systems.size(); ++s) {
    CStaveArray& system = *section->System(s);
    if (system.lines.size() < 2) continue;
    CInstrument& from = *system.Line(0);
    CInstrument& to = *system.Line(1);
    for (const nChordArray::Handle& chord : from.firstVoice) {
      to.firstVoice.push_back(chord ? std::make_unique<nChord>(*chord) : nullptr);
    }
    for (const nChordArray::Handle& chord : from.secondVoice) {
      to.secondVoice.push_back(chord ? std::make_unique<nChord>(*chord) : nullptr);
    }
  }
  section->NumberBars(0);
  auto doc = std::make_unique<CBriotabDoc>();
  doc->AppendSection(std::move(section));
  doc->settings.pageSettings.paperFormat = 9;
  doc->settings.pageSettings.systemsPerPage = 8;
  return doc;
}

}  // namespace vornel::bench
