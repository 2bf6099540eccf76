// The score tree on hostile bytes: section lists, sections, systems, instrument lines and
// instrument definitions, from their records (at several reading versions) and from XML. The
// first byte picks the form; the rest is the input. Whatever is read is then used as the
// editor uses it: recalculated, reflowed, measured, hit-tested and written back.

#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "RecordInput.h"
#include "SilentPrompts.h"
#include "model/score/CSectionArray.h"
#include "platform/UserPrompts.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace {

using namespace vornel;

constexpr const char* kVersions[] = {"9.8.1.0", "9.7.5.0", "9.7.3.0", "9.6.5.9", "9.22", "9.16", "8.4",
                                     "7.9",     "7.2",     "6.58",    "6.5",     "6.1",  ""};
constexpr int kForms = 4;

void Use(CSystemArray& section) {
  section.RecalculateSection(true);
  section.GatherAllVoices(0);
  section.ClearGatheredVoices();
  std::vector<int32_t> starts;
  section.GetSystemStartBars(starts);
  for (const auto& system : section.systems.items()) {
    system->MeasureLines(nullptr, 0, 0, 2000, 3000);
    system->HitTestLine(100, 40);
  }
  if (section.systems.size() > 1) section.MergeSystemIntoPrevious(1);
  section.ReflowAllInstruments();
  section.ReflowSystems(true, 20);
  section.ReflowSystems(false, 20);
  if (!section.systems.empty() && !section.definitions.empty()) {
    try {
      section.TransposeActiveInstrument(3);
      section.RecalculateFingerings();
      section.GetPlaybackStartTick();
    } catch (const std::out_of_range&) {
      // A command on an index that is not there is refused; the editor reports it.
    }
  }
  tinyxml2::XMLDocument out;
  out.InsertEndChild(section.WriteXml(out));
  out.InsertEndChild(section.WriteMetadataXml(out));
  ArchiveWriter writer;
  section.Store(writer);
}

void Use(CSectionArray& list) {
  for (const auto& section : list.items()) Use(*section);
  tinyxml2::XMLDocument out;
  out.InsertEndChild(list.WriteXml(out));
}

void Use(CStaveArray& system) {
  system.MeasureLines(nullptr, 0, 0, 2000, 3000);
  system.HitTestLine(50, 50);
  tinyxml2::XMLDocument out;
  out.InsertEndChild(system.WriteXml(out, 0));
  ArchiveWriter writer;
  system.Store(writer);
}

void Use(CInstrumentDlg& definition) {
  definition.GetFamilyName();
  definition.GetNotationName();
  definition.GetFlagStyleName();
  definition.EnsureStave();
  definition.LoadStaveSettings();
  tinyxml2::XMLDocument out;
  out.InsertEndChild(definition.WriteXml(out));
  ArchiveWriter writer;
  definition.Store(writer);
}

template <typename Record>
void ReadBinary(std::span<const uint8_t> data, const char* version) {
  ArchiveReader reader(data, version);
  Record record;
  try {
    record.Load(reader);
  } catch (const ArchiveError&) {
    return;  // refusing is the expected outcome for most inputs
  } catch (const std::out_of_range&) {
    return;  // lines that do not match the instruments
  }
  Use(record);
}

template <typename Record>
void ReadXml(const tinyxml2::XMLElement* element) {
  Record record;
  try {
    record.ReadXml(element);
  } catch (const XmlTagMismatch&) {
    return;
  } catch (const std::out_of_range&) {
    return;
  }
  Use(record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzzing::SilentPrompts prompts;
  static const ScopedPrompts installed(prompts);
  const auto input = fuzzing::SplitRecordInput(data, size, kForms, kVersions);
  if (!input) return 0;
  if (input->version == nullptr) {
    tinyxml2::XMLDocument doc;
    const tinyxml2::XMLElement* root = fuzzing::ParseRoot(doc, input->rest);
    if (root == nullptr) return 0;
    switch (input->kind) {
      case 0: ReadXml<CSectionArray>(root); break;
      case 1: ReadXml<CSystemArray>(root); break;
      case 2: ReadXml<CStaveArray>(root); break;
      default: ReadXml<CInstrumentDlg>(root); break;
    }
    return 0;
  }
  switch (input->kind) {
    case 0: ReadBinary<CSectionArray>(input->rest, input->version); break;
    case 1: ReadBinary<CSystemArray>(input->rest, input->version); break;
    case 2: ReadBinary<CStaveArray>(input->rest, input->version); break;
    default: ReadBinary<CInstrumentDlg>(input->rest, input->version); break;
  }
  return 0;
}
