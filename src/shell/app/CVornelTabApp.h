#pragma once
// The application's state without its windows: the folders of the run, the settings kept in
// the profile, the option store, the recent files, the metronome sounds, and the start-up
// steps that resolve and load them. The window layer's application and main frame drive it;
// tests run every step headless with a memory profile and scripted prompts.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/draw/DeviceBitmap.h"
#include "shell/app/CSessionOptionsDlg.h"
#include "shell/app/RecentFileList.h"
#include "shell/app/SoundPlayers.h"

namespace vornel {

class ProfileStore;

// The dialog that edits the session options; the window layer installs the real one.
class PreferencesEditor {
 public:
  virtual ~PreferencesEditor() = default;
  // Runs the dialog over the options; true when it ended with OK, the edits in `options`.
  virtual bool Edit(CSessionOptionsDlg& options) = 0;
};

// The folders and files the editor would use with this profile, found without making or
// changing anything: (name, path) in a fixed order, for the tools.
std::vector<std::pair<std::string, std::string>> DescribeFolders(const ProfileStore& profile);

class CVornelTabApp {
 public:
  static constexpr std::string_view kApplicationId = "Quellmoor.VornelTab.0.3";
  static constexpr std::string_view kDataFolderName = "VornelFiles";
  static constexpr std::string_view kPreferencesMessage = "Please set your Preferences options from the file menu\n";
  static constexpr std::string_view kPreferencesCaption = "Welcome to Vornel\n ";
  static constexpr std::string_view kWelcomeMessage =
      "Please take a minute to review important options in the Preferences dialog \nunder the File menu after the "
      "program starts";
  static constexpr std::string_view kWelcomeCaption = "Welcome to Vornel!";
  static constexpr std::string_view kWaveFailedMessage =
      "Failed to load WAV resource. The stand alone metronome feature will be disabled";
  // The subfolders of the data folder.
  static constexpr std::array<std::string_view, 6> kSubfolders = {"XML",    "Templates",   "Backgrounds",
                                                                  "Images", "Collections", "MIDI"};

  explicit CVornelTabApp(ProfileStore& profile);
  ~CVornelTabApp();
  CVornelTabApp(const CVornelTabApp&) = delete;
  CVornelTabApp& operator=(const CVornelTabApp&) = delete;

  ProfileStore& Profile() { return profile_; }

  // --- folders and paths (folders end with one '/')
  std::string programFolder;
  std::string shippedDataFolder;  // the files installed with the program (templates, help pages)
  std::string dataFolder;
  std::string optionsFilePath;
  std::string instrumentDatabasePath;  // a file
  std::string backgroundsFolder;
  std::string imagesFolder;
  std::string collectionsFolder;
  std::string midiFolder;
  std::string xmlFolder;
  std::string tabProgramPath = "./";
  std::string midiToWavePath;
  std::string abcProgramPath;  // empty: ".abc" files go to the desktop's program for them
  std::string htmlRoot;
  std::string tempFolder;
  std::array<std::string, 2> tempFiles;  // "btbt" and "btbs" files of this run

  // --- settings of the profile
  int32_t allowBitmaps = 0;
  int32_t brailleLines = 32;
  int32_t brailleColumns = 25;
  int32_t alfabetoInputMode = 1521;
  int32_t percussionChannel = 9;
  int32_t metronomeKey = 81;
  int32_t autoSaveMinutes = 15;
  uint32_t autoSaveIntervalMs = 600000;  // 0: no autosave
  int32_t maximumUndo = 24;
  int32_t look = 214;
  int32_t newDocumentCount = 0;  // numbers the titles of new documents
  // The window tabs' options: tabs on, then their look and behaviour, in the stored order.
  std::array<int32_t, 13> mdiTabSettings = {1, 1, 1, 4, 1, 0, 1, 1, 1, 2, 0, 1, 1};

  CSessionOptionsDlg options;
  RecentFileList recentFiles;
  DeviceBitmap backgroundTexture;
  bool hasBackgroundTexture = false;

  // --- metronome
  bool metronomeOn = false;          // "Metronome On": clicks while a section plays
  bool waveResourcesLoaded = false;  // the two clicks are loaded: the metronome can sound
  bool tickToggle = true;
  std::array<std::unique_ptr<WavePlayer>, 2> wavePlayers;

  // --- start-up
  // The program folder, the shipped data and the data folder (the program folder when no
  // data folder can be found or made).
  void InitFolders();
  // The data folder of the profile, else "VornelFiles" in the documents folder, else a new
  // one made by FirstRunSetup. True when a data folder exists; it is written to the profile.
  bool ResolveDataFolder();
  // A folder of the profile (default: the data folder's subfolder); a folder that does not
  // exist gives a warning and the data folder.
  std::string ResolveDataSubfolder(std::string_view key, std::string_view subfolder);
  // Makes `folder` the data folder: creates it with its subfolders, copies the shipped
  // templates, writes the first profile paths and the default options, and welcomes the
  // user once. False, after a message, when the folder cannot be made.
  bool FirstRunSetup(const std::string& folder);
  // Reads the profile and the option file; false when there is no option file (the options
  // keep their defaults and a default instrument).
  bool LoadSessionProfile();
  // Writes the option file and the display settings; false when the file was not written.
  bool SaveSessionOptions();
  // The jingle of the data folder, and the two metronome clicks, when "PlayJingle" is set.
  void PlayJingle();
  // The settings the documents take: undo depth, data and default folders.
  void ApplyDocumentEnvironment() const;
  // Autosave from the "AutoSaveTimer" minutes; 0 minutes switches it off.
  void SetAutoSaveMinutes(int32_t minutes);

  // --- preferences
  // The options as the dialog opens on them: folders and programs from the application,
  // "PlayJingle" from the profile, the HTML root without its scheme ("http://" when empty).
  void PreparePreferences();
  // The dialog's OK: folders and programs back into the application, the autosave interval,
  // and the profile keys in their order.
  void ApplyPreferences();
  // The whole preferences command: prepare, edit, apply, save, reload the paper texture.
  bool ShowPreferences(PreferencesEditor& editor);
  // Called when the autosave interval changed through the preferences.
  std::function<void(uint32_t intervalMs)> onAutoSaveIntervalChanged;

  // Asks for a ".bmp" file ("Chose a texture") and takes it as the paper texture; true when
  // one was chosen and loaded.
  bool ChooseTextureBitmap();
  // The paper texture tiled under the pages on screen: the loaded bitmap while "Use texture"
  // is on; null otherwise.
  const DeviceBitmap* PaperTexture() const;

  // --- metronome
  // One click: the two sounds in turn; nothing when they are not loaded.
  void MetronomeTick();
  // The "Metronome patch" chooser: the entry (key - 35) to open on in, the chosen entry out.
  std::function<std::optional<int>(int entry)> choosePercussionKey;
  void ChooseMetronomePatch();

  // --- settings
  // Writes the recent files when they changed and the profile's changed keys, so that a run
  // that ends without closing (a crash, a killed process) keeps them. Cheap when nothing
  // changed: called whenever the window goes idle.
  void KeepChangedSettings();

  // --- close
  // Writes what the application keeps at close and removes the temporary files.
  void CleanUp();

 private:
  void ReadProfileSettings();
  void LoadBackgroundTexture();

  ProfileStore& profile_;
  std::vector<std::string> keptRecentFiles_;  // the recent files as the profile holds them
};

}  // namespace vornel
