#pragma once
// The large document of the benchmarks: 50 sections of 8 systems with two instruments, about
// 40,000 chords of two notes, a lyric on every sixteenth chord.

#include <cstddef>
#include <memory>
#include <string>

#include "document/CVornelTabDoc.h"

namespace vornel::bench {

inline constexpr size_t kSections = 50;
inline constexpr size_t kSystems = 8;
inline constexpr int kChordsPerLine = 50;  // 50 x 8 x 2 x 50 = 40,000

// A section of `systems` systems whose two lines hold 50 chords each.
inline std::unique_ptr<CSystemArray> Section(size_t index, size_t systems = kSystems) {
  auto section = std::make_unique<CSystemArray>();
  section->Title().text = "Section " + std::to_string(index + 1);
  section->AddInstrument(std::make_unique<CInstrumentDlg>());
  while (section->systems.size() < systems) section->NewSystem(CSystemArray::kAppend);
  for (size_t s = 0; s < systems; ++s) {
    for (size_t line = 0; line < 2; ++line) {
      nChordArray& voice = section->System(s)->Line(line)->firstVoice;
      for (int c = 0; c < kChordsPerLine; ++c) {
        auto chord = std::make_unique<nChord>(nChord::kChord, 3);
        for (int n = 0; n < 2; ++n) {
          auto note = std::make_unique<nNotes>();
          note->pitch = static_cast<uint8_t>(48 + (c * 5 + n * 7) % 30);
          note->string = static_cast<uint8_t>(n + line);
          chord->AddNote(std::move(note));
        }
        if (c % 16 == 0) chord->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kLyrics, "la", 0, 0, 0));
        voice.push_back(std::move(chord));
      }
    }
  }
  section->RecalculateSection(false);
  return section;
}

// A document of one section of about `chords` chords.
inline std::unique_ptr<CVornelTabDoc> OneSectionDocument(size_t chords) {
  auto doc = std::make_unique<CVornelTabDoc>();
  doc->sections.push_back(Section(0, chords / (2 * kChordsPerLine)));
  doc->sections.activeSection = 0;
  doc->sections.Renumber();
  return doc;
}

inline std::unique_ptr<CVornelTabDoc> LargeDocument() {
  auto doc = std::make_unique<CVornelTabDoc>();
  for (size_t i = 0; i < kSections; ++i) doc->sections.push_back(Section(i));
  doc->sections.activeSection = 0;
  doc->sections.Renumber();
  return doc;
}

}  // namespace vornel::bench
