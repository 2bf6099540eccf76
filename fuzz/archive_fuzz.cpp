// The binary archive reader on hostile bytes. The first byte picks the reading version and the
// kind of record; the rest is read as such records until the data ends or the archive refuses
// it. Voices that were read are then cut into bars, numbered, aligned and written again.

#include <cstddef>
#include <cstdint>
#include <span>

#include "model/score/CVoicesArray.h"
#include "model/voice/nChordArray.h"
#include "model/voice/nNoteArray.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"

namespace {

using namespace vornel;

void Exercise(nChordArray& voice) {
  voice.UpdateTickPositions(3, 4);
  voice.RebarVoice(4, 4);
  CBarArray bars;
  voice.NumberBars(1, bars);
  voice.FoldSpecialEventsIntoBars();
  voice.CountBarsAndEvents();
  tinyxml2::XMLDocument doc;
  nChordArray again;
  again.ReadXml(voice.WriteXml(doc));
}

template <typename Record>
void ReadRecords(ArchiveReader& reader) {
  while (!reader.AtEnd()) {
    Record record;
    record.Load(reader);
    ArchiveWriter writer(reader.Version());
    record.Store(writer);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const kVersions[] = {"9.8.1.0", "9.8.0.0", "9.7.3.0", "7.9", "6.1",
                                          "9.16",    "8.45",    "9.15",    "9.4", "6.45"};
  constexpr size_t kVersionCount = std::size(kVersions);
  if (size == 0) return 0;
  const char* version = kVersions[data[0] % kVersionCount];
  const int mode = (data[0] / kVersionCount) % 4;
  ArchiveReader reader(std::span(data + 1, size - 1), version);
  std::vector<std::unique_ptr<nChordArray>> voices;
  try {
    switch (mode) {
      case 0:
        while (!reader.AtEnd()) {
          nNoteArray notes;
          notes.Load(reader);
          (void)reader.ReadText();
        }
        break;
      case 1:
        ReadRecords<CMetaEvent>(reader);
        break;
      case 2:
        ReadRecords<nChord>(reader);
        break;
      default:
        while (!reader.AtEnd()) {
          voices.push_back(std::make_unique<nChordArray>());
          voices.back()->Load(reader);
        }
        break;
    }
  } catch (const ArchiveError&) {
    // Refusing is the expected outcome for most inputs.
  }
  CVoicesArray list;
  for (const auto& voice : voices) {
    Exercise(*voice);
    list.push_back(voice.get());
  }
  list.SetTimeSignatureAndRebar(nullptr, 6, 8);
  list.AlignVoices(list.barLength);
  list.MeasureVoices();
  return 0;
}
