#pragma once
// A Standard MIDI File read for import: its header, texts and tracks. The file is hostile:
// every length is bounded by its chunk and by the file. Real files often end early or carry a
// broken event: every complete event before the fault is kept, and the fault is described
// (where and what) for the warning that goes with the import.

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
  // Why the last Parse refused the file, with the place: "at byte 0: no MIDI header ...".
  std::string failure;
  // What the last Parse could not read of a file it took, one fault a line with its place;
  // empty for a whole file.
  std::vector<std::string> damage;
  uint16_t format = 0;
  uint16_t trackCount = 0;  // as the header announces
  uint16_t division = 0;
  nTrackArray tracks;

  // Reads the file; shows "Cannot open file" or "Sorry: I cannot read this file", followed by
  // the file and the reason, and returns false on failure.
  bool OnOpenDocument(const std::string& path);
  // Reads a file's bytes; false (nothing kept, `failure` set) when they are not a Standard
  // MIDI File. Every track is read up to its end-of-track event, its end or the first event
  // that cannot be read; a track that runs past the end of the file keeps its complete events
  // and is the last one. Faults go to `damage`.
  bool Parse(std::span<const uint8_t> bytes);
  // `damage` as one warning naming the file at `path`; empty for a whole file.
  std::string DamageWarning(const std::string& path) const;
  // True when a track is marked for import and has notes; otherwise shows "No data available
  // for import in selected tracks" ("Operation unsuccessful").
  bool CheckTracksSelected() const;

 private:
  // Reads the events of track `number`, which starts at `offset` of the file (and was `cut`
  // by the end of the file), until its end-of-track event, its end or the first event that
  // cannot be read; what was read before stays, and a fault is added to `damage`.
  void ReadTrack(std::span<const uint8_t> data, size_t offset, size_t number, bool cut, TrackInfo& track,
                 size_t& recordBudget);
  // False when a record it would keep finds the budget spent.
  bool ReadMeta(uint8_t type, std::span<const uint8_t> data, TrackInfo& track, uint8_t& string, size_t& recordBudget);
};

}  // namespace vornel
