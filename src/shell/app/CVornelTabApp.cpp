#include "shell/app/CVornelTabApp.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <exception>
#include <filesystem>
#include <system_error>

#include "document/DocumentEnvironment.h"
#include "platform/UserPrompts.h"
#include "platform/io/DataPaths.h"
#include "platform/io/FileIO.h"
#include "platform/io/TemporaryFiles.h"
#include "shell/files/PathHelpers.h"
#include "shell/app/Profile.h"
#include "shell/app/XdgFolders.h"
#include "view/draw/GraphicUtil.h"

namespace vornel {

namespace fs = std::filesystem;

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

// The instrument base of the data folder: a file, unlike the other profile paths.
constexpr std::string_view kInstrumentBaseFile = "Templates/DefaultInstruments.btix";

// The folder keys of the profile with their subfolders of the data folder, in reading order.
struct FolderKey {
  std::string_view key;
  std::string_view subfolder;
};
constexpr std::array<FolderKey, 6> kFolderKeys = {{{"XMLPath", "XML"},
                                                    {"TemplatesPath", "Templates"},
                                                    {"Backgrounds", "Backgrounds"},
                                                    {"Images", "Images"},
                                                    {"Collections", "Collections"},
                                                    {"MIDI", "MIDI"}}};

std::string TemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return WithTrailingSeparator(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp");
}

// A new empty file "<folder><prefix>XXXXXX"; empty when it cannot be made.
// The file carries this process's number and is noted in the journal, so that a run killed
// before its clean-up leaves nothing a later start does not remove.
std::string MakeTemporaryFile(const std::string& folder, std::string_view prefix) {
  std::string pattern = TemporaryPatternBeside(folder + std::string(prefix));
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return {};
  ::close(fd);
  NoteTemporaryFile(pattern);
  return pattern;
}

void RemoveTemporaryFiles(std::array<std::string, 2>& files) {
  for (std::string& file : files) {
    if (file.empty()) continue;
    ::unlink(file.c_str());
    ForgetTemporaryFile(file);
    file.clear();
  }
}

// Copies the files of `from` into `to`, leaving files that are there already.
void CopyMissingFiles(const std::string& from, const std::string& to) {
  std::error_code ec;
  for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fileError;
    if (!it->is_regular_file(fileError)) continue;
    fs::copy_file(it->path(), fs::path(to) / it->path().filename(), fs::copy_options::skip_existing, fileError);
  }
}

}  // namespace

std::vector<std::pair<std::string, std::string>> DescribeFolders(const ProfileStore& profile) {
  std::string data = profile.GetText(kSessionProfile, "ApplicationDataPath");
  if (!FileExists(data)) data = XdgDocumentsFolder() + std::string(CVornelTabApp::kDataFolderName) + "/";
  data = WithTrailingSeparator(data);
  std::vector<std::pair<std::string, std::string>> folders = {
      {"config", ProfileFolder()},
      {"autosave", AutoSaveFolder()},
      {"documents", XdgDocumentsFolder()},
      {"shipped data", WithTrailingSeparator(ShippedDataDirectory())},
      {"data", data},
      {"options file", ProfileFolder() + std::string(CSessionOptionsDlg::kOptionsFileName)},
      {"instrument base",
       profile.GetText(kSessionProfile, "InstrumentDatabasePath", data + std::string(kInstrumentBaseFile))},
  };
  for (const FolderKey& folder : kFolderKeys) {
    folders.emplace_back(folder.key, WithTrailingSeparator(profile.GetText(kSessionProfile, folder.key,
                                                                           data + std::string(folder.subfolder))));
  }
  return folders;
}

CVornelTabApp::CVornelTabApp(ProfileStore& profile) : profile_(profile) {}

CVornelTabApp::~CVornelTabApp() { RemoveTemporaryFiles(tempFiles); }

void CVornelTabApp::InitFolders() {
  programFolder = WithTrailingSeparator(ProgramDirectory());
  if (shippedDataFolder.empty()) shippedDataFolder = WithTrailingSeparator(ShippedDataDirectory());
  bool resolved = false;
  try {
    resolved = ResolveDataFolder();
  } catch (const std::exception&) {
    resolved = false;
  }
  if (!resolved) dataFolder = programFolder;
}

bool CVornelTabApp::ResolveDataFolder() {
  dataFolder = profile_.GetText(kSessionProfile, "ApplicationDataPath");
  if (FileExists(dataFolder)) {
    dataFolder = WithTrailingSeparator(dataFolder);
    return true;
  }
  const std::string candidate = XdgDocumentsFolder() + std::string(kDataFolderName) + "/";
  if (FolderExists(candidate)) {
    dataFolder = candidate;
    profile_.WriteText(kSessionProfile, "ApplicationDataPath", dataFolder);
    return true;
  }
  return FirstRunSetup(candidate);
}

bool CVornelTabApp::FirstRunSetup(const std::string& folder) {
  const std::string root = WithTrailingSeparator(folder);
  std::error_code ec;
  fs::create_directories(root, ec);
  for (const std::string_view sub : kSubfolders) fs::create_directories(root + std::string(sub), ec);
  if (!FolderExists(root)) {
    Prompts().ShowMessage("Unable to create the folder " + root + " for your Vornel documents.", MessageKind::kError);
    return false;
  }
  dataFolder = root;
  profile_.WriteText(kSessionProfile, "ApplicationDataPath", dataFolder);
  // The display settings saved below start from the profile's defaults.
  ReadProfileSettings();
  CopyMissingFiles(shippedDataFolder + "Templates", dataFolder + "Templates");

  optionsFilePath = ProfileFolder() + std::string(CSessionOptionsDlg::kOptionsFileName);
  profile_.WriteText(kSessionProfile, "OptionsFilePath", optionsFilePath);
  options.templatesFolder = dataFolder + "Templates/";
  instrumentDatabasePath = dataFolder + std::string(kInstrumentBaseFile);
  xmlFolder = dataFolder + "XML/";
  profile_.WriteText(kSessionProfile, "XMLPath", xmlFolder);
  profile_.WriteText(kSessionProfile, "TemplatesPath", options.templatesFolder);
  profile_.WriteText(kSessionProfile, "InstrumentDatabasePath", instrumentDatabasePath);
  options.ResetDefaultInstrument();
  SaveSessionOptions();
  Prompts().ShowMessage(kWelcomeMessage, MessageKind::kInformation, kWelcomeCaption);
  return true;
}

std::string CVornelTabApp::ResolveDataSubfolder(std::string_view key, std::string_view subfolder) {
  std::string folder = profile_.GetText(kSessionProfile, key, dataFolder + std::string(subfolder));
  if (!FileExists(folder)) {
    Prompts().ShowMessage("WARNING: The directory " + folder +
                              " does not exist!\nThis can affect negatively the performance of the program.\n"
                              "Please consider reinstalling VornelTab.",
                          MessageKind::kWarning);
    folder = dataFolder;
  }
  return WithTrailingSeparator(folder);
}

void CVornelTabApp::ReadProfileSettings() {
  const auto text = [&](std::string_view key, std::string_view fallback) {
    return profile_.GetText(kSessionProfile, key, fallback);
  };
  const auto number = [&](std::string_view key, int32_t fallback) {
    return profile_.GetInt(kSessionProfile, key, fallback);
  };
  allowBitmaps = number("AllowBitmaps", 0);
  tabProgramPath = text("TabDosPath", "./");
  options.screenColor = static_cast<uint32_t>(number("ScreenBkColor", static_cast<int32_t>(Rgb(245, 245, 245))));
  options.pageColor = static_cast<uint32_t>(number("PageBkColor", static_cast<int32_t>(Rgb(255, 255, 255))));
  options.defaultZoom = number("DefaultZoom", 100);
  options.smallFont = text("SmallFont", "Calibri");
  brailleLines = number("BrailleLines", brailleLines);
  brailleColumns = number("BrailleColumns", brailleColumns);
  options.viewTrackers = number("ViewTrackers", 1);
  alfabetoInputMode = number("AlfabetoInputMode", 1521);
  htmlRoot = text("HTMLRootPath", "");
  percussionChannel = std::clamp(number("PercussionChannel", 9), 0, CSessionOptionsDlg::kLastPercussionChannel);
  metronomeKey = std::clamp(number("MetronomePatch", 81), 35, 81);
  autoSaveMinutes = std::clamp(number("AutoSaveTimer", 15), 0, CSessionOptionsDlg::kAutoSaveLimit);
  midiToWavePath = text("TimidityPath", "");
  abcProgramPath = text("AbcProgram", "");
  options.soundFont = text("SoundFont", "");
  options.percussionChannel = percussionChannel;
  options.ClampValues();
}

bool CVornelTabApp::LoadSessionProfile() {
  dataFolder = WithTrailingSeparator(dataFolder);
  ReadProfileSettings();
  optionsFilePath = ProfileFolder() + std::string(CSessionOptionsDlg::kOptionsFileName);

  std::array<std::string*, kFolderKeys.size()> folders = {&xmlFolder,    &options.templatesFolder,
                                                          &backgroundsFolder, &imagesFolder,
                                                          &collectionsFolder, &midiFolder};
  for (size_t i = 0; i < kFolderKeys.size(); ++i) {
    *folders[i] = ResolveDataSubfolder(kFolderKeys[i].key, kFolderKeys[i].subfolder);
    // The instrument base names a file, read after the XML folder.
    if (i == 0) {
      instrumentDatabasePath = profile_.GetText(kSessionProfile, "InstrumentDatabasePath",
                                                dataFolder + std::string(kInstrumentBaseFile));
    }
  }

  tempFolder = TemporaryFolder();
  tempFiles = {MakeTemporaryFile(tempFolder, "btbt"), MakeTemporaryFile(tempFolder, "btbs")};

  options.defaultInstrument.reset();
  const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(optionsFilePath, size_t(16) << 20);
  if (!bytes) {
    options.ResetDefaultInstrument();
    return false;
  }
  options.Load(*bytes);
  profile_.WriteText(kSessionProfile, "OptionsFilePath", optionsFilePath);
  LoadBackgroundTexture();
  maximumUndo = static_cast<int32_t>(options.maximumUndo);
  return true;
}

bool CVornelTabApp::SaveSessionOptions() {
  const std::string path =
      profile_.GetText(kSessionProfile, "OptionsFilePath", ProfileFolder() + std::string(CSessionOptionsDlg::kOptionsFileName));
  std::error_code ec;
  fs::create_directories(GetPathFolder(path), ec);
  const bool written = options.WriteOptionsFile(path);
  if (written) profile_.WriteText(kSessionProfile, "OptionsFilePath", path);
  allowBitmaps = options.dialogBitmaps;
  profile_.WriteInt(kSessionProfile, "AllowBitmaps", allowBitmaps);
  profile_.WriteInt(kSessionProfile, "ScreenBkColor", static_cast<int32_t>(options.screenColor));
  profile_.WriteInt(kSessionProfile, "PageBkColor", static_cast<int32_t>(options.pageColor));
  profile_.WriteInt(kSessionProfile, "DefaultZoom", options.defaultZoom);
  profile_.WriteInt(kSessionProfile, "ViewTrackers", options.viewTrackers);
  return written;
}

void CVornelTabApp::LoadBackgroundTexture() {
  backgroundTexture = DeviceBitmap();
  hasBackgroundTexture = !options.textureFile.empty() && LoadBitmapFromFile(options.textureFile, backgroundTexture);
}

bool CVornelTabApp::ChooseTextureBitmap() {
  const std::optional<std::string> path = Prompts().PromptOpenFile("Chose a texture", "*.bmp", backgroundsFolder);
  if (!path || path->empty()) return false;
  options.textureFile = *path;
  LoadBackgroundTexture();
  return hasBackgroundTexture;
}

const DeviceBitmap* CVornelTabApp::PaperTexture() const {
  return options.useTexture != 0 && hasBackgroundTexture && !backgroundTexture.IsEmpty() ? &backgroundTexture : nullptr;
}

void CVornelTabApp::ApplyDocumentEnvironment() const {
  DocumentEnvironment& environment = Environment();
  environment.undoDepth = maximumUndo;
  environment.dataFolder = dataFolder;
  environment.defaultFolder = dataFolder;
  environment.instrumentBasePath = instrumentDatabasePath;
  environment.imageListPrefix = ImageListPrefixOf(htmlRoot);
}

void CVornelTabApp::SetAutoSaveMinutes(int32_t minutes) {
  autoSaveIntervalMs = minutes > 0 ? static_cast<uint32_t>(minutes) * 60000u : 0u;
}

void CVornelTabApp::PlayJingle() {
  waveResourcesLoaded = false;
  if (profile_.GetInt(kSessionProfile, "PlayJingle", 0) == 0) return;
  profile_.WriteInt(kSessionProfile, "PlayJingle", 0);
  for (auto& player : wavePlayers) player = Sounds().CreateWavePlayer();
  waveResourcesLoaded = wavePlayers[0] && wavePlayers[0]->Open(kFirstClickResource) && wavePlayers[1] &&
                        wavePlayers[1]->Open(kSecondClickResource);
  if (!waveResourcesLoaded) Prompts().ShowMessage(kWaveFailedMessage, MessageKind::kWarning);
  const std::string jingle = dataFolder + "jingle.wav";
  if (FileExists(jingle)) Sounds().PlayFileAsync(jingle);
  profile_.WriteInt(kSessionProfile, "PlayJingle", 1);
}

void CVornelTabApp::PreparePreferences() {
  options.instrumentDatabase = instrumentDatabasePath;
  options.dataFolder = dataFolder;
  options.midiToWaveProgram = midiToWavePath;
  options.xmlFolder = xmlFolder;
  options.autoSaveMinutes = autoSaveMinutes;
  options.tabProgram = tabProgramPath;
  options.dialogBitmaps = allowBitmaps;
  options.playJingle = profile_.GetInt(kSessionProfile, "PlayJingle", 0);
  options.percussionChannel = percussionChannel;
  const std::string root = StripHttpScheme(htmlRoot);
  options.htmlRoot = root.empty() ? "http://" : root;
  options.ClampValues();
}

void CVornelTabApp::ApplyPreferences() {
  options.ClampValues();
  instrumentDatabasePath = options.instrumentDatabase;
  dataFolder = options.dataFolder.empty() ? dataFolder : WithTrailingSeparator(options.dataFolder);
  midiToWavePath = options.midiToWaveProgram;
  xmlFolder = options.xmlFolder;
  options.htmlRoot = StripHttpScheme(options.htmlRoot);
  htmlRoot = options.htmlRoot;
  percussionChannel = options.percussionChannel;
  if (options.autoSaveMinutes != autoSaveMinutes) {
    // The minutes of the profile take effect at the next start; the interval at once.
    SetAutoSaveMinutes(options.autoSaveMinutes);
    if (onAutoSaveIntervalChanged) onAutoSaveIntervalChanged(autoSaveIntervalMs);
  }
  profile_.WriteText(kSessionProfile, "XMLPath", xmlFolder);
  profile_.WriteText(kSessionProfile, "TemplatesPath", options.templatesFolder);
  profile_.WriteText(kSessionProfile, "TabDosPath", options.tabProgram);
  profile_.WriteText(kSessionProfile, "OptionsFilePath", optionsFilePath);
  profile_.WriteText(kSessionProfile, "ApplicationDataPath", dataFolder);
  profile_.WriteText(kSessionProfile, "TimidityPath", midiToWavePath);
  profile_.WriteText(kSessionProfile, "HTMLRootPath", htmlRoot);
  profile_.WriteInt(kSessionProfile, "AutoSaveTimer", options.autoSaveMinutes);
  profile_.WriteInt(kSessionProfile, "PlayJingle", options.playJingle);
  profile_.WriteText(kSessionProfile, "SoundFont", options.soundFont);
  profile_.WriteInt(kSessionProfile, "PercussionChannel", percussionChannel);
  tabProgramPath = options.tabProgram;
}

bool CVornelTabApp::ShowPreferences(PreferencesEditor& editor) {
  PreparePreferences();
  if (!editor.Edit(options)) return false;
  ApplyPreferences();
  SaveSessionOptions();
  LoadBackgroundTexture();
  ApplyDocumentEnvironment();
  return true;
}

void CVornelTabApp::MetronomeTick() {
  if (!waveResourcesLoaded) return;
  WavePlayer* player = wavePlayers[tickToggle ? 0 : 1].get();
  if (player != nullptr) player->Play();
  tickToggle = !tickToggle;
}

void CVornelTabApp::ChooseMetronomePatch() {
  std::optional<int> entry;
  if (choosePercussionKey) {
    entry = choosePercussionKey(metronomeKey - 35);
  } else {
    const std::optional<long> key =
        Prompts().PromptNumber("Metronome patch", "General MIDI percussion key (35-81):", 35, 81, metronomeKey);
    if (key) entry = static_cast<int>(*key) - 35;
  }
  if (!entry || *entry < 0 || *entry > 46) return;
  metronomeKey = *entry + 35;
  profile_.WriteInt(kSessionProfile, "MetronomePatch", metronomeKey);
}

void CVornelTabApp::KeepChangedSettings() {
  if (recentFiles.Paths() != keptRecentFiles_) {
    recentFiles.Save(profile_);
    keptRecentFiles_ = recentFiles.Paths();
  }
  profile_.Flush();
}

void CVornelTabApp::CleanUp() {
  try {
    profile_.WriteInt(kSessionProfile, "AlfabetoInputMode", alfabetoInputMode);
    recentFiles.Save(profile_);
    RemoveTemporaryFiles(tempFiles);
    Environment().sectionBuffer.clear();
    profile_.Flush();
  } catch (const std::exception&) {
    Prompts().ShowMessage("Error on clean up", MessageKind::kError);
  }
}

}  // namespace vornel
