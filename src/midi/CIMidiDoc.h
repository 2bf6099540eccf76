#pragma once
// A Standard MIDI File read for import: its header, texts and tracks. The file is hostile:
// every length is bounded by its chunk and by the file, and what cannot be read ends the
// reading cleanly with what was read before it.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "midi/nTrackArray.h"

namespace vornel {

class CIMidiDoc {
 public:
  static constexpr std::string_view kCannotOpen = "Cannot open file";
  static constexpr std::string_view kCannotRead = "Sorry: I cannot read this file";
  static constexpr std::string_view kNoData = "No data available for import in selected tracks";
  static constexpr std::string_view kNoDataCaption = "Operation unsuccessful";
  // Files larger than this are not MIDI files one would import.
  static constexpr size_t kMaxFileBytes = size_t(64) << 20;
  // Records kept over all tracks: channel events, texts and signature, key and tempo changes
  // (about a hundred times the notes of a long piece). Reading ends where they run out.
  static constexpr size_t kMaxRecords = size_t(2) << 20;

  std::string title;
  std::vector<std::string> texts;  // the file's text (1) and copyright (2) events
  uint16_t format = 0;
  uint16_t trackCount = 0;  // as the header announces
  uint16_t division = 0;
  nTrackArray tracks;

  // Reads the file; shows "Cannot open file" or "Sorry: I cannot read this file" and returns
  // false on failure.
  bool OnOpenDocument(const std::string& path);
  // Reads a file's bytes; false (nothing kept) when they are not a Standard MIDI File. Tracks
  // are read until the first one that is not whole; they are kept even when none is.
  bool Parse(std::span<const uint8_t> bytes);
  // True when a track is marked for import and has notes; otherwise shows "No data available
  // for import in selected tracks" ("Operation unsuccessful").
  bool CheckTracksSelected() const;

 private:
  // Reads the events of one track until its end-of-track event or the first one that cannot
  // be read; what was read before stays.
  void ReadTrack(std::span<const uint8_t> file, TrackInfo& track, size_t& recordBudget);
  // False when a record it would keep finds the budget spent.
  bool ReadMeta(uint8_t type, std::span<const uint8_t> data, TrackInfo& track, uint8_t& string, size_t& recordBudget);
};

}  // namespace vornel
