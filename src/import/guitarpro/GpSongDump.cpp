#include "import/guitarpro/GpSongDump.h"

#include "import/guitarpro/gp_import.h"
#include "platform/text/FormatText.h"

namespace vornel {

namespace {

void DumpBar(std::string& out, size_t index, const TabBar& bar) {
  AppendFormat(out, "bar %zu: flags 0x%02X signature %d/%d", index + 1, bar.flags, bar.numerator, bar.denominator);
  if (bar.flags & (TabBar::kNumerator | TabBar::kDenominator)) {
    AppendFormat(out, " (given %d/%d)", bar.timeNumerator, bar.timeDenominator);
  }
  if (bar.flags & TabBar::kBeginRepeat) out += " begin-repeat";
  if (bar.flags & TabBar::kEndRepeat) AppendFormat(out, " end-repeat %dx", bar.repeatCount);
  if (bar.flags & TabBar::kMarker) {
    out += " marker ";
    AppendQuoted(out, bar.markerName);
  }
  if (bar.flags & TabBar::kKeyChange) AppendFormat(out, " key %d", bar.key);
  if (bar.flags & TabBar::kDoubleBar) out += " double-bar";
  out += '\n';
}

void DumpNote(std::string& out, const TabNote& note) {
  AppendFormat(out, " [string %d fret %d flags 0x%03X", note.string + 1, note.fret, note.flags);
  for (const auto& [key, value] : note.attributes) AppendFormat(out, " %d=0x%X", key, value);
  out += ']';
}

void DumpColumn(std::string& out, size_t index, const TabColumn& column) {
  AppendFormat(out, "    beat %zu: duration %d dot %d tuplet %d status %d", index + 1, column.duration,
         (column.flags & TabColumn::kDotted) != 0 ? 1 : 0, column.tuplet, column.status);
  if (column.flags & TabColumn::kTied) out += " tied";
  if (!column.chordName.empty()) {
    out += " chord ";
    AppendQuoted(out, column.chordName);
  }
  if (!column.lyric.empty()) {
    out += " lyric ";
    AppendQuoted(out, column.lyric);
  }
  for (const TabNote& note : column.notes) DumpNote(out, note);
  out += '\n';
}

}  // namespace

void DumpGuitarProSong(const gp_import& reader, std::string& out) {
  const TabSong& song = reader.song;
  AppendFormat(out, "version %d.%02d\n", reader.versionMajor, reader.versionMinor);
  for (const char* key : {"TITLE", "SUBTITLE", "ARTIST", "ALBUM", "COMPOSER", "UNKNOWN", "COPYRIGHT", "TRANSCRIBER",
                          "INSTRUCTIONS", "COMMENTS"}) {
    const auto it = song.info.find(key);
    if (it == song.info.end()) continue;
    AppendFormat(out, "%s ", key);
    AppendQuoted(out, it->second);
    out += '\n';
  }
  AppendFormat(out, "lyrics track %d\n", song.lyricsTrack);
  for (size_t i = 0; i < song.lyrics.size(); ++i) {
    const TabLyricLine& line = song.lyrics[i];
    if (line.text.empty()) continue;
    AppendFormat(out, "lyric %zu bar %d ", i + 1, line.startBar);
    AppendQuoted(out, line.text);
    out += '\n';
  }
  AppendFormat(out, "tempo %d\n", song.tempo);
  AppendFormat(out, "bars %d tracks %d\n", reader.numBars, reader.numTracks);
  for (size_t b = 0; b < reader.songBars.size(); ++b) DumpBar(out, b, reader.songBars[b]);

  for (size_t t = 0; t < song.tracks.size(); ++t) {
    const TabTrack& track = *song.tracks[t];
    AppendFormat(out, "track %zu: ", t + 1);
    AppendQuoted(out, track.name);
    AppendFormat(out, " strings %d tuning", track.stringCount);
    for (int s = 0; s < track.stringCount; ++s) AppendFormat(out, " %d", track.tuning[static_cast<size_t>(s)]);
    AppendFormat(out, " frets %d capo %d channel %d program %d%s\n", track.frets, track.capo, track.channel, track.program,
                 track.percussion ? " percussion" : "");
  }
  for (size_t t = 0; t < song.tracks.size(); ++t) {
    const TabTrack& track = *song.tracks[t];
    for (size_t b = 0; b < track.bars.size(); ++b) {
      const TabBar& bar = track.bars[b];
      for (size_t v = 0; v < track.voices && v < bar.voiceFirstColumn.size(); ++v) {
        AppendFormat(out, "track %zu bar %zu voice %zu:\n", t + 1, b + 1, v + 1);
        const size_t first = static_cast<size_t>(bar.voiceFirstColumn[v]);
        const size_t count = static_cast<size_t>(bar.voiceBeatCount[v]);
        for (size_t i = 0; i < count && first + i < track.columns.size(); ++i) {
          DumpColumn(out, i, track.columns[first + i]);
        }
      }
    }
  }
}

}  // namespace vornel
