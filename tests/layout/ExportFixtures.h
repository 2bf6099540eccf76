#pragma once
// Small documents for the export tests, and golden files under tests/layout/golden/. With the
// environment variable VORNEL_UPDATE_GOLDEN set, a test writes its file there instead of
// comparing.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "document/CDocumentSettings.h"
#include "document/CVornelTabDoc.h"
#include "model/score/CSystemArray.h"
#include "model/ScoreText.h"
#include "support/Bytes.h"
#include "support/GoldenFile.h"

namespace vornel::testing {

inline void ExpectGoldenFile(const std::string& name, const std::string& actual) {
  ExpectGoldenAt("tests/layout/golden/" + name, actual);
}

// A spelled name: letter (A = 0 ... G = 6), octave, accidental code (1 flat, 4 sharp ...).
inline uint16_t SpelledName(int letter, int octave, int accidental = 0) {
  return static_cast<uint16_t>(letter | (octave << 4) | (accidental << 8));
}

inline std::shared_ptr<nChord> Bar(uint16_t status, uint32_t number, uint16_t rhythm = 0) {
  auto bar = std::make_shared<nChord>(status, rhythm);
  bar->number = number;
  return bar;
}

// A document of one section with `systems` empty systems of the default lute.
inline std::unique_ptr<CVornelTabDoc> NewDocument(size_t systems) {
  auto doc = std::make_unique<CVornelTabDoc>();
  doc->OnNewDocument();
  CSystemArray& section = *doc->sections.at(0);
  section.DeleteAllSystems();
  for (size_t i = 0; i < systems; ++i) section.NewSystem(CSystemArray::kAppend);
  return doc;
}

inline nChordArray& VoiceOf(CVornelTabDoc& doc, size_t system, size_t line = 0) {
  return doc.sections.at(0)->System(system)->Line(line)->firstVoice;
}

}  // namespace vornel::testing
