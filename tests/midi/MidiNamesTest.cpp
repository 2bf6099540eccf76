// General MIDI names and the play list.

#include <gtest/gtest.h>

#include <filesystem>

#include "midi/CMidiPlaylist.h"
#include "midi/GeneralMidiNames.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

TEST(GeneralMidiNamesTest, ProgramsAndPercussion) {
  EXPECT_EQ(GMProgramName(0), "1.  Acoustic Grand Piano");
  EXPECT_EQ(GMProgramName(9), "10. Glockenspiel");
  EXPECT_EQ(GMProgramName(24), "25. Acoustic Guitar (nylon)");
  EXPECT_EQ(GMProgramName(99), "100. FX 4 (atmosphere)");
  EXPECT_EQ(GMProgramName(127), "128. Gunshot");
  EXPECT_EQ(GMProgramName(128), "");
  EXPECT_EQ(GMProgramName(-1), "");
  for (size_t i = 0; i < kGMProgramCount; ++i) EXPECT_LT(GMProgramName(static_cast<int>(i)).size(), 30u);

  EXPECT_EQ(GMNameCount(kGMPercussionChannel), 47u);
  EXPECT_EQ(GMName(9, 0), "Bass Drum 2");
  EXPECT_EQ(GMName(9, 1), "Bass Drum 1");
  EXPECT_EQ(GMName(9, 46), "Open Triangle");
  EXPECT_EQ(GMName(9, 47), "");
  EXPECT_EQ(GMName(0, 0), "1.  Acoustic Grand Piano");
}

TEST(MidiPlaylistTest, AddSelectDeleteAll) {
  testing::TempDir dir;
  CMidiPlaylist list;
  EXPECT_EQ(list.AddFile("/music/Pr\xC3\xA9lude \xC3\xA9t\xC3\xA9.mid"), 0);
  EXPECT_EQ(list.Files()[0], "/music/Prelude ete.mid");
  EXPECT_EQ(list.SelectedFile(), nullptr);  // nothing to act on without a selection

  testing::WriteText(dir.File("a.mid"), "x");
  list.AddFile(dir.File("a.mid"));
  list.selected = 1;
  ASSERT_NE(list.SelectedFile(), nullptr);
  EXPECT_EQ(*list.SelectedFile(), dir.File("a.mid"));
  list.DeleteAll();
  EXPECT_TRUE(list.Files().empty());
  EXPECT_EQ(list.selected, -1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("a.mid")));
}

TEST(MidiPlaylistTest, PlayerMustExist) {
  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  EXPECT_FALSE(CMidiPlaylist::CheckPlayer(""));
  EXPECT_FALSE(CMidiPlaylist::CheckPlayer(dir.File("timidity")));
  testing::WriteText(dir.File("timidity"), "#!/bin/sh\n");
  EXPECT_TRUE(CMidiPlaylist::CheckPlayer(dir.File("timidity")));
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[0], "MIDI to WAV player not set.\nPlease set the path to your player in Preferences.");
}

}  // namespace
}  // namespace vornel

#include "midi/MidiInstrumentList.h"
#include "model/CInstrumentDlg.h"

namespace vornel {
namespace {

TEST(MidiInstrumentListTest, NamesAndTheFirstDefinitionOfAProgram) {
  CInstrumentArray base;
  for (const auto& [name, patch] : {std::pair{"Lute", 24}, std::pair{"Theorbo", 24}, std::pair{"Viol", 40}}) {
    auto d = std::make_unique<CInstrumentDlg>();
    d->nameText.text = name;
    d->midi.patch = static_cast<uint8_t>(patch);
    base.push_back(std::move(d));
  }
  EXPECT_EQ(InstrumentNames(base), (std::vector<std::string>{"Lute", "Theorbo", "Viol"}));
  std::string name = "none";
  EXPECT_EQ(FindInstrumentByPatch(base, 24, name), 0);
  EXPECT_EQ(name, "Lute");
  EXPECT_EQ(FindInstrumentByPatch(base, 40, name), 2);
  name = "none";
  EXPECT_EQ(FindInstrumentByPatch(base, 0, name), -1);
  EXPECT_EQ(name, "none");
}

}  // namespace
}  // namespace vornel
