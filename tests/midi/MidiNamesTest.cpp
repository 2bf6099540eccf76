// General MIDI names and the play list.

#include <gtest/gtest.h>

#include <filesystem>

#include "midi/CMidiPlaylist.h"
#include "midi/GeneralMidiNames.h"
#include "support/Bytes.h"
#include "support/RecordingLauncher.h"
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

TEST(MidiPlaylistTest, PathsAreKeptSoThatPlayAndDeleteFindTheFile) {
  testing::ScriptedPrompts prompts;
  testing::RecordingLauncher launcher;
  testing::TempDir dir;
  const std::string accented = dir.File("Pr\xC3\xA9lude \xC3\xA9t\xC3\xA9.mid");
  testing::WriteText(accented, "x");
  CMidiPlaylist list;
  EXPECT_EQ(list.AddFile(accented), 0);
  EXPECT_EQ(list.Files()[0], accented);
  EXPECT_EQ(list.AddFile(accented), 0);  // written again: still listed once
  EXPECT_EQ(list.Files().size(), 1u);
  EXPECT_FALSE(list.PlayFile());  // nothing to act on without a selection
  list.selected = 0;
  EXPECT_TRUE(list.PlayFile());
  EXPECT_EQ(launcher.opened, std::vector<std::string>{accented});

  // "Delete all" asks first; "No" keeps everything.
  prompts.QueueAnswer(Answer::kNo);
  EXPECT_TRUE(list.DeleteAll().empty());
  EXPECT_EQ(list.Files().size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(accented));
  prompts.QueueAnswer(Answer::kYes);
  list.AddFile(dir.File("gone.mid"));
  EXPECT_EQ(list.DeleteAll(), std::vector<std::string>{});  // a file already gone is no failure
  EXPECT_TRUE(list.Files().empty());
  EXPECT_EQ(list.selected, -1);
  EXPECT_FALSE(std::filesystem::exists(accented));
  EXPECT_EQ(prompts.questions.size(), 2u);
  EXPECT_EQ(prompts.questions[0], CMidiPlaylist::kDeleteAllQuestion);
}

TEST(MidiPlaylistTest, PlayAllMakesTheBundleThenStartsThePlayer) {
  testing::ScriptedPrompts prompts;
  testing::RecordingLauncher launcher;
  testing::TempDir dir;
  CMidiPlaylist list;
  testing::WriteText(dir.File("a.mid"), "MThd");
  testing::WriteText(dir.File("b.mid"), "MThd");
  list.AddFile(dir.File("a.mid"));
  list.AddFile(dir.File("b.mid"));

  // No player: the message, no bundle asked for.
  EXPECT_FALSE(list.PlayAll("", dir.path()));
  EXPECT_FALSE(list.PlayAll(dir.File("no-player") + " -Ow", dir.path()));
  EXPECT_EQ(prompts.messages, (std::vector<std::string>(2, std::string(CMidiPlaylist::kPlayerNotSet))));

  // With a player: the bundle's name is asked for in the document's folder, then the player
  // starts on it.
  testing::WriteText(dir.File("player"), "#!/bin/sh\n");
  std::filesystem::permissions(dir.File("player"), std::filesystem::perms::owner_all);
  prompts.QueueFile(dir.File("bundle.zip"));
  EXPECT_TRUE(list.PlayAll(dir.File("player") + " -c \"my config.cfg\" -o {out} {in}", dir.path()));
  EXPECT_EQ(prompts.filePrompts.back(), "Create zip file|*.zip||" + dir.path());
  EXPECT_EQ(list.bundlePath, dir.File("bundle.zip"));
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0], (std::vector<std::string>{dir.File("player"), "-c", "my config.cfg", "-o",
                                                        dir.File("bundle.wav"), dir.File("bundle.zip")}));
  ASSERT_TRUE(std::filesystem::exists(dir.File("bundle.zip")));
  // The bundle is made once.
  EXPECT_TRUE(list.PlayAll(dir.File("player"), dir.path()));
  EXPECT_EQ(launcher.started[1], (std::vector<std::string>{dir.File("player"), dir.File("bundle.zip")}));
  EXPECT_EQ(prompts.filePrompts.size(), 1u);
}

TEST(MidiPlaylistTest, HtmlPageNeedsADocument) {
  testing::ScriptedPrompts prompts;
  EXPECT_FALSE(CMidiPlaylist::CreateHtmlPage({}));
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Cannot access document"});
  EXPECT_TRUE(CMidiPlaylist::CreateHtmlPage([] { return true; }));
}

}  // namespace
}  // namespace vornel

#include "midi/MidiInstrumentList.h"
#include "model/instrument/CInstrumentDlg.h"

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
