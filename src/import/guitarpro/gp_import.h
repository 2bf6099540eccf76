#pragma once
// The Guitar Pro file reader (files of versions 3, 4 and 5; the signatures of versions 1 and
// 2 are read by the same steps). It reads the whole file into memory and walks it with a
// checked cursor into a TabSong; every failure stops the reading with a text and the offset
// where it happened, which gpdump and the log show (the user sees only the import's own
// message). A diagnostic log is written only when one is asked for.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "import/guitarpro/TabSong.h"

namespace vornel {

class GpByteCursor;

class gp_import {
 public:
  // Files larger than this are not Guitar Pro files one would import.
  static constexpr size_t kMaxFileBytes = size_t(64) << 20;
  static constexpr int32_t kMaxTracks = 128;
  static constexpr int32_t kMaxBeats = 128;
  static constexpr size_t kChannelSlots = 64;

  int32_t versionMajor = 0;
  int32_t versionMinor = 0;
  int32_t numBars = 0;
  int32_t numTracks = 0;
  std::array<int32_t, kChannelSlots> channelPrograms{};
  std::vector<TabBar> songBars;
  TabSong song;

  gp_import();
  virtual ~gp_import();
  gp_import(const gp_import&) = delete;
  gp_import& operator=(const gp_import&) = delete;

  // Reads the file; false when it cannot be read or any step fails. What was read before a
  // failure stays in the song either way.
  virtual bool read(const char* fileName);
  // The same over bytes in memory.
  bool readBytes(std::span<const uint8_t> bytes);

  // The diagnostic log is appended to `log` while reading; null (the default) writes none.
  void setLog(std::string* log) { log_ = log; }
  // Why the last read failed and where; empty after a successful one.
  const std::string& failure() const { return failure_; }
  size_t failureOffset() const { return failureOffset_; }
  // The reading step the last failure happened in ("readTabs" ...).
  std::string_view failureStep() const { return failureStep_; }

  // True when the bytes start with one of the signatures the reader knows.
  static bool HasSignature(std::span<const uint8_t> head);

 private:
  void readSignature();
  void readSongAttributes();
  void readTrackDefaults();
  void readCounts();
  void readBarProperties();
  void readTrackProperties();
  void readTabs();
  void readColumn(const TabTrack& track, TabColumn& column);
  // Reads a note; false when it is to be dropped (it has no string of the track, or its
  // pitch lies above the MIDI range).
  bool readNote(const TabTrack& track, int string, TabColumn& column, TabNote& note);
  void readNoteEffects(TabNote& note);
  // Fret, dynamic, transition and duration bytes.
  void readGraceNote(TabNote& note);
  void readBeatEffects();
  void readMixTableChange();
  std::string readChordDiagram();
  void readEndOfFile();
  void distributeLyrics();

  int32_t readDelphiInteger();
  std::string readDelphiString();
  std::string readPascalString(int width);
  std::string readIntString();
  // Counted bend points (9 bytes each), checked against what remains.
  void skipBendPoints();

  template <class... Parts>
  void Log(const Parts&... parts);
  void LogPart(std::string_view text);
  void LogPart(int64_t value);
  void LogPart(const std::string& text) { LogPart(std::string_view(text)); }
  void LogPart(const char* text) { LogPart(std::string_view(text)); }
  void LogPart(int32_t value) { LogPart(static_cast<int64_t>(value)); }
  void LogPart(uint32_t value) { LogPart(static_cast<int64_t>(value)); }
  void LogPart(uint64_t value) { LogPart(static_cast<int64_t>(value)); }

  GpByteCursor* in_ = nullptr;
  std::string* log_ = nullptr;
  std::string failure_;
  size_t failureOffset_ = 0;
  std::string_view step_;
  std::string_view failureStep_;
};

template <class... Parts>
void gp_import::Log(const Parts&... parts) {
  if (log_ == nullptr) return;
  (LogPart(parts), ...);
}

}  // namespace vornel
