// A document file on hostile bytes, opened the way the editor opens it and then exported. The
// first byte picks the form (binary, XML, bundle); the rest is the file. Every section of a
// document that opens is written as a Standard MIDI File, with and without its metronome,
// and built into the player's stream for every play mode: whatever numbers a file carries,
// the exports must stay within their arithmetic.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ScratchFolder.h"
#include "SilentPrompts.h"
#include "document/DocumentFiles.h"
#include "midi/MidiSection.h"
#include "platform/UserPrompts.h"

namespace {

namespace fs = std::filesystem;
using namespace vornel;

void Export(CVornelTabDoc& doc) {
  for (size_t i = 0; i < doc.sections.size(); ++i) {
    CSystemArray& section = *doc.sections.at(i);
    for (const bool metronome : {false, true}) {
      MidiFile file;
      MidiExportOptions options;
      options.metronome = metronome;
      WriteSectionMidi(section, doc.settings.midiExport, options, file);
    }
    for (const int mode : {1, 2, 3}) {
      MidiPlayOptions play;
      play.mode = mode;
      play.metronome = mode == 3;
      BuildPlayStream(section, play);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const vornel::fuzzing::ScratchFolder scratch("vornel-docexport-fuzz");
  static constexpr std::array<const char*, 3> kForms = {"input.btb", "input.btxml", "input.btz"};
  const fs::path path = scratch.path / kForms[data[0] % kForms.size()];
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  }
  fuzzing::SilentPrompts silent;
  const ScopedPrompts scope(silent);
  OpenedDocument opened = OpenDocumentFile(path.string());
  if (opened.document != nullptr) Export(*opened.document);
  std::error_code error;
  fs::remove(path, error);
  return 0;
}
