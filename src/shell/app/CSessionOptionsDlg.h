#pragma once
// The session options: the application's option store, kept in the binary option file
// "BrioTabProfile.ini", and the values the preferences dialog edits. The dialog itself
// belongs to the window layer and edits this struct.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/instrument/CInstrumentDlg.h"
#include "model/text/dfLogFont.h"

namespace vornel {

class ArchiveReader;
class ArchiveWriter;

class CSessionOptionsDlg {
 public:
  static constexpr std::string_view kOptionsFileName = "BrioTabProfile.ini";
  static constexpr uint32_t kFormatNumber = 8;
  static constexpr std::string_view kIllegibleMessage = "Illegible default file";
  static constexpr std::string_view kCannotCreateMessage = "Unable to create options settings file ";
  // The ranges of the dialog's spin controls; values read from files are kept inside them.
  static constexpr uint32_t kMaximumUndoLimit = 100;
  static constexpr int32_t kAutoSaveLimit = 100;
  static constexpr int32_t kMinimumZoom = 75;
  static constexpr int32_t kMaximumZoom = 150;
  static constexpr int32_t kLastPercussionChannel = 15;

  CSessionOptionsDlg();
  ~CSessionOptionsDlg();
  CSessionOptionsDlg(const CSessionOptionsDlg&) = delete;
  CSessionOptionsDlg& operator=(const CSessionOptionsDlg&) = delete;

  // --- stored in the option file
  uint32_t formatNumber = kFormatNumber;  // of the file read last; files are written as 8
  int32_t openLastDocument = 0;
  int32_t useTexture = 0;
  uint32_t midiPort = 0;
  uint32_t reserved = 0;
  std::string textureFile;
  std::unique_ptr<CInstrumentDlg> defaultInstrument;
  dfLogFont titleFont;
  uint32_t maximumUndo = 24;

  // --- kept in the profile, edited by the dialog
  std::string dataFolder;
  std::string instrumentDatabase;
  std::string midiToWaveProgram;
  std::string xmlFolder;
  std::string tabProgram;
  std::string templatesFolder;
  std::string htmlRoot;
  std::string soundFont;  // the synthesizer's SoundFont; empty: the playback default
  int32_t autoSaveMinutes = 15;
  int32_t dialogBitmaps = 0;
  int32_t playJingle = 0;
  uint32_t screenColor = 0;                 // 0x00BBGGRR
  uint32_t pageColor = 0x00FAFAFA;
  int32_t defaultZoom = 100;
  int32_t viewTrackers = 1;
  std::string smallFont;
  int32_t percussionChannel = 9;

  // The name shown beside "Default instrument".
  std::string DefaultInstrumentName() const;
  // A fresh default instrument definition with one stave.
  void ResetDefaultInstrument();
  // Keeps the numbers inside the dialog's ranges.
  void ClampValues();

  // The option file: format number, version text, the switches, texture, the default
  // instrument as an object with its class name, the title font, the maximum undo.
  void Store(ArchiveWriter& ar) const;
  std::vector<uint8_t> StoreBytes() const;
  // Reads the option file's fields. A damaged file shows "Illegible default file" and leaves
  // a fresh default instrument with one stave; the fields read before the damage stay.
  void Load(std::span<const uint8_t> bytes);

  // Writes the option file through a temporary file; false, after the message with the path,
  // when it cannot be written.
  bool WriteOptionsFile(const std::string& path) const;
};

// The MIDI output ports the preferences list, in the playback layer's order. Until it
// installs its lister there is the built-in synthesizer alone.
using MidiPortLister = std::function<std::vector<std::string>()>;
void SetMidiPortLister(MidiPortLister lister);
std::vector<std::string> MidiOutputPortNames();

}  // namespace vornel
