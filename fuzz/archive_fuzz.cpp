// The binary archive reader on hostile bytes: the first byte picks the reading version, the
// rest is read as note arrays until the data ends or the archive refuses it.

#include <cstddef>
#include <cstdint>
#include <span>

#include "model/nNoteArray.h"
#include "platform/archive/ArchiveReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const kVersions[] = {"9.8.1.0", "9.8.0.0", "9.7.3.0", "7.9", "6.1", "9.16"};
  if (size == 0) return 0;
  const char* version = kVersions[data[0] % std::size(kVersions)];
  vornel::ArchiveReader reader(std::span(data + 1, size - 1), version);
  try {
    while (!reader.AtEnd()) {
      vornel::nNoteArray notes;
      notes.Load(reader);
      (void)reader.ReadText();
    }
  } catch (const vornel::ArchiveError&) {
    // Refusing is the expected outcome for most inputs.
  }
  return 0;
}
