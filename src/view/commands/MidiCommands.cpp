#include "view/commands/MidiCommands.h"

#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "document/CBriotabDoc.h"
#include "import/ImportedDocument.h"
#include "import/ImportedSection.h"
#include "midi/CMidiPlaylist.h"
#include "midi/MidiImport.h"
#include "midi/MidiSection.h"
#include "midi/play/MidiOutStream.h"
#include "midi/play/OfflineRender.h"
#include "model/score/CSectionArray.h"
#include "model/score/CSystemArray.h"
#include "model/undo/CUndoSectionArray.h"
#include "platform/UserPrompts.h"
#include "platform/text/AsciiCase.h"
#include "platform/io/ProgramLauncher.h"

namespace vornel::view {

namespace {

std::string DocumentFolder(const CBriotabDoc& doc) {
  const std::string& path = doc.GetPathName();
  return path.empty() ? std::string() : std::filesystem::path(path).parent_path().string();
}

// The view's play mode, kept while its player plays.
struct PlayState {
  int mode = MIDIVoiceStream::kModeAll;
};

void CreateMidiFile(MidiCommandContext& context) {
  CBriotabDoc* doc = context.ActiveDocument();
  if (doc == nullptr) return;
  CSystemArray& section = *doc->GetActiveSection();
  const std::optional<std::string> chosen =
      Prompts().PromptSaveFile("Select a MIDI file name", "*.mid",
                               ProposedMidiFileName(doc->GetTitle(), doc->sections.activeSection), DocumentFolder(*doc));
  if (!chosen) return;
  const std::string path = WithMidiExtension(*chosen);
  if (WriteSectionMidiFile(section, doc->settings.midiExport, MetronomeExportOptions(context), path)) {
    Programs().OpenWithDefault(path);
  }
}

void ExportAllSections(MidiCommandContext& context) {
  CBriotabDoc* doc = context.ActiveDocument();
  if (doc == nullptr) return;
  for (const std::string& path : WriteAllSectionMidiFiles(*doc, MetronomeExportOptions(context))) {
    context.AddToPlayList(path);
  }
}

// After an import: the section laid out as the editor lays out a new section, then shown.
void FinishImportedSection(CBriotabDoc& doc, CSystemArray& section) {
  vornel::FinishImportedSection(section, kMidiImportEventsPerSystem);
  doc.NotifyChanged(kHintRepaintAll);
}

// One file of a folder import as a new section at the end, laid out; a file that does not
// import is skipped (the import said why).
void ImportFolderFile(CBriotabDoc& doc, MidiCommandContext& context, const std::string& file,
                      MidiTrackChooser& chooser) {
  std::unique_ptr<CSystemArray> imported =
      ImportMidiFile(file, chooser, context.InstrumentBase(), context.DefaultInstrument());
  if (imported == nullptr) return;
  CSystemArray* section = doc.AppendSection(std::move(imported));
  section->InsertInitialTimeSignature();
  FinishImportedSection(doc, *section);
  TitleImportedDocument(doc, 1, file);
}

void ImportMidiFolder(MidiCommandContext& context) {
  CBriotabDoc* doc = context.ActiveDocument();
  if (doc == nullptr) return;
  const std::optional<std::string> folder = Prompts().PromptFolder("Import MIDI Folder", DocumentFolder(*doc));
  if (!folder) return;
  const std::vector<std::string> files = ListMidiFiles(*folder);
  if (files.empty()) {
    Prompts().ShowMessage("No files found to import");
    return;
  }
  // Every track of every file, without a question per file.
  AllTracksChooser chooser;
  const size_t taken = std::min(files.size(), kMaxMidiFolderFiles);
  const std::unique_ptr<BatchProgress> progress = Prompts().ProgressWindow();
  bool cancelled = false;
  {
    ProgressRun run(*progress, static_cast<int>(taken), "Import MIDI Folder");
    for (size_t i = 0; i < taken && !cancelled; ++i) {
      const std::string status = "Processing file " + std::to_string(i + 1) + " - " +
                                 std::filesystem::path(files[i]).filename().string();
      // A Cancel stops between files; the sections imported so far stay.
      cancelled = !run.Step(static_cast<int>(i + 1), status);
      if (!cancelled) ImportFolderFile(*doc, context, files[i], chooser);
    }
  }
  doc->UpdateSectionList();
  context.PostFrameCommand(kAfterMidiImport);
  if (!cancelled && files.size() > taken) {
    Prompts().ShowMessage(std::to_string(files.size() - taken) + " of the " + std::to_string(files.size()) +
                              " MIDI files of the folder were not imported: a folder import takes the first " +
                              std::to_string(kMaxMidiFolderFiles) + " files.",
                          MessageKind::kWarning);
  }
}

// "MIDI to WAV": the active section written to a file of its own temporary folder, which the
// player of the preferences turns into a wave file beside it.
void PlayThroughWavePlayer(MidiCommandContext& context) {
  CBriotabDoc* doc = context.ActiveDocument();
  if (doc == nullptr) return;
  const std::string commandLine = context.MidiToWaveCommandLine();
  if (commandLine.empty()) {
    Prompts().ShowMessage(CMidiPlaylist::kPlayerNotSet, MessageKind::kWarning);
    return;
  }
  std::string folder = (std::filesystem::temp_directory_path() / "vornel-wave-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) {
    Prompts().ShowMessage("Cannot create a temporary folder for the MIDI file: " + std::string(std::strerror(errno)),
                          MessageKind::kError);
    return;
  }
  const std::string path = (std::filesystem::path(folder) / "output.mid").string();
  MidiExportOptions options;
  options.metronome = context.MetronomeOn();
  options.metronomeChannel = context.MetronomeChannel();
  options.metronomeKey = context.MetronomeKey();
  if (!WriteSectionMidiFile(*doc->GetActiveSection(), doc->settings.midiExport, options, path)) return;
  const auto command = CMidiPlaylist::MidiToWaveCommand(commandLine, path);
  if (command && Programs().Start(*command, folder, {})) return;
  if (command) Prompts().ShowMessage("The MIDI to WAV player could not be started: " + (*command)[0], MessageKind::kError);
}

void ImportMidi(MidiCommandContext& context) {
  CBriotabDoc* doc = context.ActiveDocument();
  if (doc == nullptr) return;
  const std::optional<std::string> path = Prompts().PromptOpenFile("Import MIDI file", "*.mid", DocumentFolder(*doc));
  if (!path) return;
  // The import shows why it brought nothing ("No data was imported" among the reasons); then
  // nothing changes. The chooser may have the lines join the active section instead of a
  // section of their own: that section is kept as it was for undo.
  CSystemArray* current = doc->sections.empty() ? nullptr : doc->GetActiveSection();
  std::unique_ptr<CSystemArray> before = current != nullptr ? CopySection(*current) : nullptr;
  const size_t linesBefore = current != nullptr ? current->definitions.size() : 0;
  bool joined = false;
  std::unique_ptr<CSystemArray> imported = ImportMidiFile(*path, context.TrackChooser(), context.InstrumentBase(),
                                                          context.DefaultInstrument(), current, joined);
  if (imported == nullptr && !joined) return;
  CSystemArray* section = nullptr;
  if (joined) {
    section = current;
    doc->undoStack.PushFront(std::move(before));
    doc->redoStack.clear();
    for (size_t line = linesBefore; line < section->definitions.size() && !section->systems.empty(); ++line) {
      section->System(0)->Line(line)->InsertInitialTimeSignature(section->numerator, section->denominator);
    }
  } else {
    section = doc->AppendSection(std::move(imported));
    section->InsertInitialTimeSignature();
  }
  FinishImportedSection(*doc, *section);
  TitleImportedDocument(*doc, joined ? 0 : 1, *path);
  doc->UpdateSectionList();
  context.PostFrameCommand(kAfterMidiImport);
}

// Toggles the player: a second play command stops it.
void StartPlayback(MidiCommandContext& context, PlayState& state, int mode) {
  MidiOutStream* player = context.Player();
  CBriotabDoc* doc = context.ActiveDocument();
  if (player == nullptr || doc == nullptr) return;
  if (player->IsPlaying()) {
    player->Stop();
    return;
  }
  CSystemArray& section = *doc->GetActiveSection();
  state.mode = mode;
  const MidiPlayTiming timing = PlayTiming(section);
  player->tempo = timing.tempo;
  player->timeDivision = timing.timeDivision;
  MidiPlayOptions options;
  options.mode = mode;
  options.startTick = static_cast<uint32_t>(std::max<int64_t>(section.GetPlaybackStartTick(), 0));
  options.metronome = context.MetronomeOn();
  options.metronomeChannel = context.MetronomeChannel();
  options.metronomeKey = context.MetronomeKey();
  player->Play(section, options);
}

}  // namespace

MidiExportOptions MetronomeExportOptions(MidiCommandContext& context) {
  MidiExportOptions options;
  options.metronome = context.MetronomeOn();
  options.metronomeChannel = context.MetronomeChannel();
  options.metronomeKey = context.MetronomeKey();
  return options;
}

std::vector<std::string> WriteAllSectionMidiFiles(CBriotabDoc& doc, const MidiExportOptions& options) {
  std::vector<std::string> written;
  const std::string folder = DocumentFolder(doc);
  std::error_code error;
  if (folder.empty() || !std::filesystem::is_directory(folder, error)) {
    // A document never saved has no folder: the system's "not found".
    Prompts().ShowMessage("Set Current Directory failed (" + std::to_string(error ? error.value() : ENOENT) + ")\n",
                          MessageKind::kError);
    return written;
  }
  for (size_t i = 0; i < doc.sections.size(); ++i) {
    CSystemArray& section = *doc.sections.at(i);
    const std::string path =
        (std::filesystem::path(folder) / ProposedMidiFileName(doc.GetTitle(), static_cast<int>(i))).string();
    if (!WriteSectionMidiFile(section, doc.settings.midiExport, options, path)) continue;
    if (section.midiFilePath != path) {
      section.midiFilePath = path;
      doc.SetModifiedFlag(true);
    }
    written.push_back(path);
  }
  return written;
}

std::vector<std::string> ListMidiFiles(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError) && EndsWithNoCase(it->path().filename().string(), ".mid")) {
      files.push_back(it->path().string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string ProposedMidiFileName(std::string_view title, int sectionIndex) {
  std::string name(title);
  for (std::string_view extension : {".btxml", ".btb", ".btz"}) {
    for (size_t at = name.find(extension); at != std::string::npos; at = name.find(extension, at)) {
      name.erase(at, extension.size());
    }
  }
  std::erase_if(name, [](char c) { return c == '"' || c == '\'' || c == '?'; });
  return name + "_" + std::to_string(sectionIndex) + ".mid";
}

std::string WithMidiExtension(std::string path) {
  if (path.size() < 4 || path.compare(path.size() - 4, 4, ".mid") != 0) path += ".mid";
  return path;
}

std::string_view MidiCommandText(int id) {
  switch (id) {
    case kCreateMidiFile: return "Create MIDI file";
    case kImportMidiFile: return "Import MIDI file";
    case kExportAllSectionsMidi: return "Export all sections to MIDI";
    case kImportMidiFolder: return "Import MIDI Folder";
    case kPlaySingleVoice: return "Play single voice\tF11";
    case kPlaySingleInstrument: return "Play single instrument\tF10";
    case kPlayAllInstruments: return "Play all instruments\tCtrl+F10";
    case kPlayInstrumentMenu: return "Play single instrument";
    case kPlayTuttiMenu: return "Play all parts (tutti)";
    default: return {};
  }
}

std::string SectionMidiFileName(std::string label, int number) {
  constexpr size_t kLongestLabel = 48;
  if (label.size() > kLongestLabel) {
    label.resize(kLongestLabel);
    const size_t space = label.rfind(' ');
    if (space != std::string::npos && space > 0) label.resize(space);
  }
  std::string name = label + "_" + std::to_string(number);
  for (char& c : name) {
    if (c == '/' || c == '\r' || c == '\n' || c == '?') c = ' ';
  }
  std::erase_if(name, [](char c) { return c == '"' || c == '\'' || c == '.'; });
  return name;
}

int WriteSectionMidiFiles(CBriotabDoc& doc, const std::string& folder, const std::string& prefix,
                          std::vector<std::string>& names) {
  for (size_t i = 0; i < doc.sections.size(); ++i) {
    CSystemArray& section = *doc.sections.at(i);
    const std::string name = prefix + SectionMidiFileName(doc.sections.GetSectionLabel(i), static_cast<int>(i) + 1) + ".mid";
    names.push_back(name);
    const std::string path = folder.empty() ? name : (std::filesystem::path(folder) / name).string();
    // A file that cannot be written has been said; the next section is written all the same.
    if (WriteSectionMidiFile(section, doc.settings.midiExport, MidiExportOptions{}, path)) section.midiFilePath = name;
  }
  return static_cast<int>(doc.sections.size());
}

void AddMidiCommands(CommandTable& table, MidiCommandContext& context) {
  // Not owned: the caller keeps the context as long as the table.
  AddMidiCommands(table, std::shared_ptr<MidiCommandContext>(std::shared_ptr<void>(), &context));
}

void AddMidiCommands(CommandTable& table, std::shared_ptr<MidiCommandContext> shared) {
  // Every entry holds the context, so that it lives as long as the table.
  const auto state = std::make_shared<PlayState>();
  const auto hasDocument = [shared] { return shared->ActiveDocument() != nullptr; };
  const auto canPlay = [shared] { return shared->ActiveDocument() != nullptr && shared->Player() != nullptr; };
  const auto playing = [shared] { return shared->Player() != nullptr && shared->Player()->IsPlaying(); };

  table.Add(kCreateMidiFile, [shared](const CommandEvent&) { CreateMidiFile(*shared); }, hasDocument);
  table.Add(kImportMidiFile, [shared](const CommandEvent&) { ImportMidi(*shared); }, hasDocument);
  table.Add(kMidiToWave, [shared](const CommandEvent&) { PlayThroughWavePlayer(*shared); }, hasDocument);
  table.Add(kExportAllSectionsMidi, [shared](const CommandEvent&) { ExportAllSections(*shared); }, hasDocument);
  table.Add(kImportMidiFolder, [shared](const CommandEvent&) { ImportMidiFolder(*shared); }, hasDocument);

  const auto play = [shared, state](int mode) {
    return [shared, state, mode](const CommandEvent&) { StartPlayback(*shared, *state, mode); };
  };
  table.Add(kPlaySingleVoice, play(MIDIVoiceStream::kModeVoice), canPlay);
  table.Add(kPlaySingleInstrument, play(MIDIVoiceStream::kModeInstrument), canPlay);
  table.Add(kPlayAllInstruments, play(MIDIVoiceStream::kModeAll), canPlay);
  table.Add(kPlayInstrumentMenu, play(MIDIVoiceStream::kModeInstrument), canPlay,
            [playing, state] { return playing() && state->mode == MIDIVoiceStream::kModeInstrument; });
  table.Add(kPlayTuttiMenu, play(MIDIVoiceStream::kModeAll), canPlay,
            [playing, state] { return playing() && state->mode != MIDIVoiceStream::kModeInstrument; });

  // The controller commands carry their value; they act only while the player plays, on the
  // channel the active line plays on ("Celeste" always on channel 0).
  table.AddRange(
      MidiOutStream::kFirstControllerCommand, MidiOutStream::kLastControllerCommand,
      [shared, state](const CommandEvent& e) {
        MidiOutStream* player = shared->Player();
        CBriotabDoc* doc = shared->ActiveDocument();
        if (player == nullptr || doc == nullptr || !e.value) return;
        const uint8_t channel = ActiveLinePlayChannel(*doc->GetActiveSection(), state->mode);
        player->OnControllerCommand(channel, static_cast<int>(*e.value), e.id);
      },
      [playing](int id) { return playing() && MidiOutStream::ControllerOfCommand(id) >= 0; });
}

}  // namespace vornel::view
