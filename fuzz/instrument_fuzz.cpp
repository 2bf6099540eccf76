// The instrument records on hostile bytes. The first byte picks the record and the reading
// version (or the XML form), the rest is the record. Whatever is read is then used: written
// back, and asked for frets, spellings, ornaments and pedals.

#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <type_traits>

#include "RecordInput.h"
#include "SilentPrompts.h"
#include "model/instrument/CKey.h"
#include "model/text/CNotationFont.h"
#include "model/ornament/COrnamentTable.h"
#include "model/instrument/CPedal.h"
#include "model/instrument/CTabInstrument.h"
#include "model/text/FontStack.h"
#include "platform/UserPrompts.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace {

using namespace vornel;

constexpr const char* kVersions[] = {"9.8.1.0", "9.6.8.0", "9.53.2", "9.53.1", "9.53", "8.46",
                                     "8.45",    "8.05",    "6.35",   "6.3",    "6.2",  ""};
constexpr int kRecordKinds = 8;

void Use(CTabInstrument& instrument) {
  std::string text;
  for (int string = -1; string <= 17; ++string) {
    for (int pitch = -2; pitch < 140; pitch += 3) {
      instrument.GetFretText(pitch, string, text);
      instrument.FindStringForPitch(pitch, string);
    }
    instrument.GetPitchForFret(string, string * 3, true);
    instrument.GetDisplayLine(string);
    instrument.GetStringNoteName(string);
  }
  instrument.FindBassString(instrument.flagStyle);
  instrument.GetFlagGlyph(instrument.flagGroup);
  instrument.alfabeto.ProposeLetter();
  instrument.tuning.GetTuningText();
  instrument.tuning.FormatStringWithPitch(instrument.tuning.stringCount - 1);
  instrument.TransposeTuning(instrument.scaleType % 13);
}

void Use(CKey& key) {
  for (int pitch = -13; pitch < 140; pitch += 5) {
    uint16_t name = 0;
    char accidental = 0;
    key.SpellPitch(pitch, name, accidental, (pitch & 1) != 0);
    key.NeedsRespelling(pitch, 0, '#');
  }
  key.GetKeyDescription();
  key.GetKeySignatureText();
}

void Use(COrnamentTable& table) {
  for (uint32_t code = 0; code < 80; code += 7) {
    table.GetOrnament(code, static_cast<int>(code % 3), (code & 1) != 0);
    table.GetFlagValue(code);
  }
  table.ResetGroup(1);
}

void Use(CPedalArray& pedals) {
  for (int string = -1; string < 34; ++string) pedals.FindPedalForString(string);
}

void Use(nTuning& tuning) { tuning.GetTuningText(); }
void Use(CAlfabeto& chart) { chart.ProposeLetter(); }
void Use(FontStack& fonts) { fonts.CopyFrom(FontStack(fonts)); }
void Use(CNotationFont& font) { font.GetDescription(); }

template <typename Record>
void ReadBinary(std::span<const uint8_t> data, const char* version) {
  ArchiveReader reader(data, version);
  Record record;
  try {
    record.Load(reader);
  } catch (const ArchiveError&) {
    return;  // refusing is the expected outcome for most inputs
  }
  Use(record);
  ArchiveWriter writer;
  record.Store(writer);
}

void WriteBack(tinyxml2::XMLDocument& out, const FontStack& record) {
  out.InsertEndChild(record.WriteXml(out, record.target));
}
template <typename Record>
void WriteBack(tinyxml2::XMLDocument& out, const Record& record) {
  out.InsertEndChild(record.WriteXml(out));
}

template <typename Record>
void ReadXml(const tinyxml2::XMLElement* element) {
  Record record;
  // A font stack reads into the fonts it holds.
  if constexpr (std::is_same_v<Record, FontStack>) {
    for (int i = 0; i < 4; ++i) record.push_back(std::make_unique<dfLogFont>());
  }
  try {
    record.ReadXml(element);
  } catch (const XmlTagMismatch&) {
    return;
  }
  Use(record);
  tinyxml2::XMLDocument out;
  WriteBack(out, record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vornel::fuzzing::SilentPrompts prompts;
  static const ScopedPrompts installed(prompts);
  const auto input = vornel::fuzzing::SplitRecordInput(data, size, kRecordKinds, kVersions);
  if (!input) return 0;

  if (input->version == nullptr) {
    // The XML forms: the same records from an element tree.
    tinyxml2::XMLDocument doc;
    const tinyxml2::XMLElement* root = vornel::fuzzing::ParseRoot(doc, input->rest);
    if (root == nullptr) return 0;
    switch (input->kind) {
      case 0: ReadXml<CTabInstrument>(root); break;
      case 1: ReadXml<nTuning>(root); break;
      case 2: ReadXml<CKey>(root); break;
      case 3: ReadXml<COrnamentTable>(root); break;
      case 4: ReadXml<CAlfabeto>(root); break;
      case 5: ReadXml<FontStack>(root); break;
      default: ReadXml<CNotationFont>(root); break;
    }
    return 0;
  }

  const std::span<const uint8_t> rest = input->rest;
  const char* version = input->version;
  switch (input->kind) {
    case 0: ReadBinary<CTabInstrument>(rest, version); break;
    case 1: ReadBinary<nTuning>(rest, version); break;
    case 2: ReadBinary<CKey>(rest, version); break;
    case 3: ReadBinary<COrnamentTable>(rest, version); break;
    case 4: ReadBinary<CAlfabeto>(rest, version); break;
    case 5: ReadBinary<FontStack>(rest, version); break;
    case 6: ReadBinary<CNotationFont>(rest, version); break;
    default: ReadBinary<CPedalArray>(rest, version); break;
  }
  return 0;
}
