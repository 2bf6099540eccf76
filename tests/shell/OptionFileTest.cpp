// The option file: a file written field by field loads and stores back byte for byte; the
// older formats keep what they do not hold at its default; every cut gives the system's
// message and a default instrument with one stave.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/instrument/CTabInstrument.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "shell/app/CSessionOptionsDlg.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::HexBytes;
using testing::ToHex;

// Format number, version text, the four switches and an empty texture name.
std::string Header(const char* format, const char* versionHex) {
  return std::string(format) + " FF FE FF " + versionHex +
         " 01 00 00 00"  // open last document
         " 00 00 00 00"  // use texture
         " 02 00 00 00"  // MIDI port
         " 00 00 00 00"  // reserved
         " FF FE FF 00"; // texture file
}
constexpr const char* kVersion9810 = "07 39 00 2E 00 38 00 2E 00 31 00 2E 00 30 00";  // "9.8.1.0"

// The title font: "Garamond", height -12, weight 300, proof quality, 12 points.
constexpr const char* kTitleFont =
    " F4 FF FF FF 00 00 00 00 00 00 00 00 00 00 00 00 2C 01 00 00"
    " 00 00 00 00 00 00 02 12"
    " FF FE FF 08 47 00 61 00 72 00 61 00 6D 00 6F 00 6E 00 64 00"
    " 00 00 00 00 00 00 00 00"
    " 00 00 C8 42"
    " 78 00 00 00 00 00 00 00"
    " 64 00 00 00 64 00 00 00"
    " 00 00 00 00"
    " 00 00 00 00";

// The default instrument as the option file holds it: the new-class tag, schema 0, the class
// name "CInstrumentDlg", then the definition's own record, whose objects are numbered after
// the class (1) and the definition (2).
constexpr const char* kInstrumentClass = "FF FF 00 00 0E 00 43 49 6E 73 74 72 75 6D 65 6E 74 44 6C 67";

std::string InstrumentObject(const CInstrumentDlg& definition) {
  ArchiveWriter record;
  record.WriteObject(&definition);
  const std::string hex = ToHex(record.Bytes());
  EXPECT_EQ(hex.substr(0, std::string(kInstrumentClass).size()), kInstrumentClass);
  return " " + hex;
}

// A definition as the program keeps it once read (a new ornament table loses its last rows
// when it is first read), so that storing it again gives the same bytes.
std::unique_ptr<CInstrumentDlg> SampleInstrument() {
  CInstrumentDlg fresh;
  fresh.nameText.text = "Lute in G";
  fresh.AddStave();
  ArchiveWriter w;
  w.WriteObject(&fresh);
  ArchiveReader r(w.Bytes());
  return r.ReadOwnedObject<CInstrumentDlg>();
}

std::vector<uint8_t> FormatEightFile() {
  return HexBytes(Header("08 00 00 00", kVersion9810) + InstrumentObject(*SampleInstrument()) + kTitleFont +
                  " 18 00 00 00");
}

TEST(OptionFile, FormatEightLoadsAndStoresBackByteForByte) {
  testing::ScriptedPrompts prompts;
  const std::vector<uint8_t> file = FormatEightFile();
  CSessionOptionsDlg options;
  options.Load(file);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(options.formatNumber, 8u);
  EXPECT_EQ(options.openLastDocument, 1);
  EXPECT_EQ(options.midiPort, 2u);
  EXPECT_EQ(options.DefaultInstrumentName(), "Lute in G");
  EXPECT_EQ(options.titleFont.logFont.lfFaceName, "Garamond");
  EXPECT_EQ(options.titleFont.logFont.lfHeight, -12);
  EXPECT_EQ(options.maximumUndo, 24u);
  EXPECT_EQ(ToHex(options.StoreBytes()), ToHex(file));
}

TEST(OptionFile, FormatOneHoldsOnlyTheTablatureInstrument) {
  testing::ScriptedPrompts prompts;
  CTabInstrument tab;
  tab.tabStyle = 1;
  ArchiveWriter record;
  tab.Store(record);
  const auto file = HexBytes(Header("01 00 00 00", kVersion9810) + " " + ToHex(record.Bytes()));
  CSessionOptionsDlg options;
  options.maximumUndo = 24;
  options.Load(file);
  EXPECT_TRUE(prompts.messages.empty());
  ASSERT_NE(options.defaultInstrument, nullptr);
  EXPECT_EQ(options.defaultInstrument->tabInstrument.tabStyle, 1);
  EXPECT_EQ(options.defaultInstrument->staves.size(), 1u);
  EXPECT_EQ(options.titleFont, dfLogFont());
  EXPECT_EQ(options.maximumUndo, 24u);
}

TEST(OptionFile, FormatSevenHasNoMaximumUndo) {
  testing::ScriptedPrompts prompts;
  const auto file = HexBytes(Header("07 00 00 00", kVersion9810) + InstrumentObject(*SampleInstrument()) + kTitleFont);
  CSessionOptionsDlg options;
  options.Load(file);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(options.titleFont.logFont.lfFaceName, "Garamond");
  EXPECT_EQ(options.maximumUndo, 24u);
  // Stored again, it is a file of the current format.
  EXPECT_EQ(options.StoreBytes().front(), 8);
}

TEST(OptionFile, EveryCutIsIllegibleAndLeavesOneStave) {
  const std::vector<uint8_t> file = FormatEightFile();
  for (size_t length = 0; length < file.size(); ++length) {
    testing::ScriptedPrompts prompts;
    CSessionOptionsDlg options;
    options.Load(std::span(file.data(), length));
    ASSERT_EQ(prompts.messages, std::vector<std::string>{"Illegible default file"}) << length;
    ASSERT_NE(options.defaultInstrument, nullptr);
    ASSERT_EQ(options.defaultInstrument->staves.size(), 1u) << length;
  }
}

TEST(OptionFile, ValuesOutsideTheDialogsRangesAreClamped) {
  testing::ScriptedPrompts prompts;
  std::vector<uint8_t> file = FormatEightFile();
  file[file.size() - 4] = 0xF4;  // maximum undo 500
  file[file.size() - 3] = 0x01;
  CSessionOptionsDlg options;
  options.defaultZoom = 400;
  options.percussionChannel = 64;
  options.Load(file);
  EXPECT_EQ(options.maximumUndo, 100u);
  EXPECT_EQ(options.defaultZoom, 150);
  EXPECT_EQ(options.percussionChannel, 15);
}

TEST(OptionFile, WriteFailsWithTheMessageAndThePath) {
  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  CSessionOptionsDlg options;
  options.ResetDefaultInstrument();
  const std::string path = dir.File("missing/BrioTabProfile.ini");
  EXPECT_FALSE(options.WriteOptionsFile(path));
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Unable to create options settings file " + path});
  EXPECT_TRUE(options.WriteOptionsFile(dir.File("BrioTabProfile.ini")));
  EXPECT_EQ(testing::ReadText(dir.File("BrioTabProfile.ini")).size(), options.StoreBytes().size());
}

}  // namespace
}  // namespace vornel
