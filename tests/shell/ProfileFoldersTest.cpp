// Folders and the profile at start-up, in a temporary home: the data folder found, adopted or
// made; folders of the profile that are gone; the option file of the config folder; the
// preferences' keys; the jingle and the metronome sounds.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "shell/app/CVornelTabApp.h"
#include "shell/app/Profile.h"
#include "shell/app/XdgFolders.h"
#include "support/ScriptedPrompts.h"
#include "ShellFixtures.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPrompts;
using testing::TemporaryHome;

TEST(XdgFolders, FollowTheEnvironmentAndTheUserDirsFile) {
  TemporaryHome home;
  EXPECT_EQ(XdgConfigHome(), home.Path() + ".config/");
  EXPECT_EQ(XdgDocumentsFolder(), home.Path() + "Documents/");
  EXPECT_EQ(AutoSaveFolder(), home.Path() + ".local/state/vornel/autosave/");
  fs::create_directories(home.Path() + ".config");
  testing::WriteText(home.Path() + ".config/user-dirs.dirs",
                     "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                     "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
  EXPECT_EQ(XdgDocumentsFolder(), home.Path() + "Dokumente/");
  ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  EXPECT_EQ(ProfileFolder(), home.Path() + ".config/vornel/");
  ::setenv("XDG_CONFIG_HOME", (home.Path() + "cfg").c_str(), 1);
  EXPECT_EQ(ProfileFolder(), home.Path() + "cfg/vornel/");
}

TEST(DataFolder, AnExistingVornelFilesFolderIsAdoptedSilently) {
  TemporaryHome home;
  ScriptedPrompts prompts;
  fs::create_directories(home.Path() + "Documents/VornelFiles");
  MemoryProfile profile;
  CVornelTabApp app(profile);
  EXPECT_TRUE(app.ResolveDataFolder());
  EXPECT_EQ(app.dataFolder, home.Path() + "Documents/VornelFiles/");
  EXPECT_EQ(profile.GetText(kSessionProfile, "ApplicationDataPath"), app.dataFolder);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST(DataFolder, AMissingFolderIsMadeOnceWithTheShippedTemplates) {
  TemporaryHome home;
  ScriptedPrompts prompts;
  testing::TempDir shipped;
  fs::create_directories(shipped.File("Templates"));
  testing::WriteText(shipped.File("Templates/Lute.bttx"), "<template/>");
  MemoryProfile profile;
  {
    CVornelTabApp app(profile);
    app.shippedDataFolder = shipped.path() + "/";
    EXPECT_TRUE(app.ResolveDataFolder());
    const std::string data = home.Path() + "Documents/VornelFiles/";
    EXPECT_EQ(app.dataFolder, data);
    for (const std::string_view sub : CVornelTabApp::kSubfolders) {
      EXPECT_TRUE(fs::is_directory(data + std::string(sub))) << sub;
    }
    EXPECT_TRUE(fs::is_regular_file(data + "Templates/Lute.bttx"));
    EXPECT_TRUE(fs::is_regular_file(home.Path() + ".config/vornel/BrioTabProfile.ini"));
    EXPECT_EQ(profile.GetText(kSessionProfile, "OptionsFilePath"), home.Path() + ".config/vornel/BrioTabProfile.ini");
    EXPECT_EQ(profile.GetText(kSessionProfile, "InstrumentDatabasePath"), data + "Templates/DefaultInstruments.btix");
    // The display settings written with the first options are the profile's defaults.
    EXPECT_EQ(profile.GetInt(kSessionProfile, "ScreenBkColor", 0), 0xF5F5F5);
    EXPECT_EQ(profile.GetInt(kSessionProfile, "PageBkColor", 0), 0xFFFFFF);
    EXPECT_EQ(profile.GetInt(kSessionProfile, "DefaultZoom", 0), 100);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{std::string(CVornelTabApp::kWelcomeMessage)});
    EXPECT_EQ(prompts.captions, std::vector<std::string>{"Welcome to Vornel!"});
  }
  // The next start finds everything and says nothing.
  ScriptedPrompts second;
  CVornelTabApp app(profile);
  EXPECT_TRUE(app.ResolveDataFolder());
  EXPECT_TRUE(app.LoadSessionProfile());
  EXPECT_TRUE(second.messages.empty());
  ASSERT_NE(app.options.defaultInstrument, nullptr);
  EXPECT_EQ(app.options.defaultInstrument->staves.size(), 1u);
  app.CleanUp();
}

TEST(DataFolder, AGoneTemplatesFolderWarnsAndFallsBackToTheDataFolder) {
  TemporaryHome home;
  ScriptedPrompts prompts;
  MemoryProfile profile;
  const std::string data = home.Path() + "Documents/VornelFiles/";
  for (const std::string_view sub : CVornelTabApp::kSubfolders) fs::create_directories(data + std::string(sub));
  profile.WriteText(kSessionProfile, "TemplatesPath", home.Path() + "gone");
  CVornelTabApp app(profile);
  app.InitFolders();
  EXPECT_FALSE(app.LoadSessionProfile());  // no option file yet
  EXPECT_EQ(prompts.messages,
            std::vector<std::string>{"WARNING: The directory " + home.Path() +
                                     "gone does not exist!\nThis can affect negatively the performance of the "
                                     "program.\nPlease consider reinstalling VornelTab."});
  EXPECT_EQ(app.options.templatesFolder, data);
  EXPECT_EQ(app.xmlFolder, data + "XML/");
  EXPECT_EQ(app.instrumentDatabasePath, data + "Templates/DefaultInstruments.btix");
  ASSERT_NE(app.options.defaultInstrument, nullptr);
  EXPECT_EQ(app.options.defaultInstrument->staves.size(), 1u);
  app.CleanUp();
}

TEST(DataFolder, TheOptionFileLivesInTheConfigFolder) {
  TemporaryHome home;
  ScriptedPrompts prompts;
  MemoryProfile profile;
  fs::create_directories(home.Path() + "Documents/VornelFiles");
  CVornelTabApp app(profile);
  app.ResolveDataFolder();
  app.options.ResetDefaultInstrument();
  app.options.maximumUndo = 40;
  ASSERT_TRUE(app.SaveSessionOptions());
  CVornelTabApp next(profile);
  next.ResolveDataFolder();
  EXPECT_TRUE(next.LoadSessionProfile());
  EXPECT_EQ(next.maximumUndo, 40);
  EXPECT_EQ(next.optionsFilePath, home.Path() + ".config/vornel/BrioTabProfile.ini");
  next.CleanUp();
}

TEST(ProfileSettings, AutosaveMinutesAndValuesOutOfRange) {
  TemporaryHome home;
  ScriptedPrompts prompts;
  MemoryProfile profile;
  fs::create_directories(home.Path() + "Documents/VornelFiles");
  profile.WriteInt(kSessionProfile, "PercussionChannel", 64);
  profile.WriteInt(kSessionProfile, "DefaultZoom", 1000);
  CVornelTabApp app(profile);
  app.ResolveDataFolder();
  app.LoadSessionProfile();
  EXPECT_EQ(app.autoSaveMinutes, 15);
  app.SetAutoSaveMinutes(app.autoSaveMinutes);
  EXPECT_EQ(app.autoSaveIntervalMs, 900000u);
  app.SetAutoSaveMinutes(0);
  EXPECT_EQ(app.autoSaveIntervalMs, 0u);  // off, never a timer of 0 ms
  EXPECT_EQ(app.percussionChannel, 15);
  EXPECT_EQ(app.options.defaultZoom, 150);
  app.CleanUp();
}

class AcceptingEditor : public PreferencesEditor {
 public:
  explicit AcceptingEditor(bool ok) : ok_(ok) {}
  bool Edit(CSessionOptionsDlg& options) override {
    shownRoot = options.htmlRoot;
    options.htmlRoot = "http://example.org/tabs";
    options.autoSaveMinutes = 5;
    return ok_;
  }
  std::string shownRoot;

 private:
  bool ok_;
};

TEST(Preferences, OkWritesTheKeysInOrderWithoutTheWebScheme) {
  TemporaryHome home;
  ScriptedPrompts prompts;
  MemoryProfile profile;
  fs::create_directories(home.Path() + "Documents/VornelFiles");
  CVornelTabApp app(profile);
  app.InitFolders();
  app.LoadSessionProfile();
  uint32_t changedTo = 1;
  app.onAutoSaveIntervalChanged = [&](uint32_t ms) { changedTo = ms; };

  AcceptingEditor cancel(false);
  profile.writes.clear();
  EXPECT_FALSE(app.ShowPreferences(cancel));
  EXPECT_EQ(cancel.shownRoot, "http://");  // an empty root shows the scheme
  EXPECT_TRUE(profile.writes.empty());

  AcceptingEditor ok(true);
  EXPECT_TRUE(app.ShowPreferences(ok));
  std::vector<std::string> keys;
  for (const std::string& write : profile.writes) keys.push_back(write.substr(0, write.find('=')));
  ASSERT_GE(keys.size(), 9u);
  EXPECT_EQ(std::vector<std::string>(keys.begin(), keys.begin() + 9),
            (std::vector<std::string>{"SessionProfile/XMLPath", "SessionProfile/TemplatesPath",
                                      "SessionProfile/TabDosPath", "SessionProfile/OptionsFilePath",
                                      "SessionProfile/ApplicationDataPath", "SessionProfile/TimidityPath",
                                      "SessionProfile/HTMLRootPath", "SessionProfile/AutoSaveTimer",
                                      "SessionProfile/PlayJingle"}));
  EXPECT_EQ(profile.GetText(kSessionProfile, "HTMLRootPath"), "example.org/tabs");
  EXPECT_EQ(app.htmlRoot, "example.org/tabs");
  EXPECT_EQ(changedTo, 300000u);
  EXPECT_EQ(app.autoSaveMinutes, 15);  // the profile's minutes count from the next start
  app.CleanUp();
}

TEST(Jingle, WithoutPlayJingleNothingIsLoaded) {
  TemporaryHome home;
  ScriptedPrompts prompts;
  testing::RecordingSounds sounds;
  MemoryProfile profile;
  CVornelTabApp app(profile);
  app.PlayJingle();
  EXPECT_FALSE(app.waveResourcesLoaded);
  EXPECT_TRUE(sounds.log.empty());
  app.MetronomeTick();
  EXPECT_TRUE(sounds.log.empty());
}

TEST(Jingle, LoadsBothClicksPlaysTheJingleAndTicksInTurn) {
  TemporaryHome home;
  ScriptedPrompts prompts;
  testing::RecordingSounds sounds;
  MemoryProfile profile;
  profile.WriteInt(kSessionProfile, "PlayJingle", 1);
  CVornelTabApp app(profile);
  app.dataFolder = home.Path();
  testing::WriteText(home.Path() + "jingle.wav", "RIFF");
  profile.writes.clear();
  app.PlayJingle();
  EXPECT_TRUE(app.waveResourcesLoaded);
  EXPECT_EQ(profile.writes, (std::vector<std::string>{"SessionProfile/PlayJingle=0", "SessionProfile/PlayJingle=1"}));
  app.MetronomeTick();
  app.MetronomeTick();
  app.MetronomeTick();
  EXPECT_EQ(sounds.log, (std::vector<std::string>{"open 1110", "open 1104", "file " + home.Path() + "jingle.wav",
                                                  "play 1110", "play 1104", "play 1110"}));
  EXPECT_TRUE(prompts.messages.empty());
}

TEST(Jingle, ClicksThatDoNotLoadDisableTheMetronome) {
  TemporaryHome home;
  ScriptedPrompts prompts;
  testing::RecordingSounds sounds(false);
  MemoryProfile profile;
  profile.WriteInt(kSessionProfile, "PlayJingle", 1);
  CVornelTabApp app(profile);
  app.PlayJingle();
  EXPECT_FALSE(app.waveResourcesLoaded);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{std::string(CVornelTabApp::kWaveFailedMessage)});
}

TEST(PaperTexture, AChosenBitmapIsLoaded) {
  ScriptedPrompts prompts;
  testing::TempDir dir;
  MemoryProfile profile;
  CVornelTabApp app(profile);
  app.backgroundsFolder = dir.path() + "/";
  // A 1 x 1 bitmap of 24 bits: file header, information header, one padded row.
  const auto bmp = testing::HexBytes(
      "42 4D 3A 00 00 00 00 00 00 00 36 00 00 00"
      " 28 00 00 00 01 00 00 00 01 00 00 00 01 00 18 00 00 00 00 00 04 00 00 00"
      " 13 0B 00 00 13 0B 00 00 00 00 00 00 00 00 00 00"
      " 30 20 10 00");
  testing::WriteText(dir.File("paper.bmp"), std::string(bmp.begin(), bmp.end()));
  prompts.QueueFile(dir.File("paper.bmp"));
  EXPECT_TRUE(app.ChooseTextureBitmap());
  EXPECT_EQ(app.options.textureFile, dir.File("paper.bmp"));
  EXPECT_EQ(app.backgroundTexture.Width(), 1);
  // The pages show it only while "Use texture" is on.
  EXPECT_EQ(app.PaperTexture(), nullptr);
  app.options.useTexture = 1;
  EXPECT_EQ(app.PaperTexture(), &app.backgroundTexture);
  EXPECT_EQ(prompts.filePrompts.back(), "Chose a texture|*.bmp||" + dir.path() + "/");
  prompts.QueueFile(std::nullopt);
  EXPECT_FALSE(app.ChooseTextureBitmap());
  EXPECT_EQ(app.options.textureFile, dir.File("paper.bmp"));
}

TEST(MetronomePatch, TheChosenEntryPlus35IsKept) {
  ScriptedPrompts prompts;
  MemoryProfile profile;
  CVornelTabApp app(profile);
  int shownEntry = -1;
  app.choosePercussionKey = [&](int entry) {
    shownEntry = entry;
    return std::optional<int>(0);
  };
  app.ChooseMetronomePatch();
  EXPECT_EQ(shownEntry, 81 - 35);
  EXPECT_EQ(app.metronomeKey, 35);
  EXPECT_EQ(profile.GetInt(kSessionProfile, "MetronomePatch", 0), 35);
}

}  // namespace
}  // namespace vornel
