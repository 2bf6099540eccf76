#pragma once
// Records as files of older versions hold them, built item by item for the tests of version
// gates and conversions. Records whose newer fields come last are written in full and cut.
// The builders of objects that stand in arrays are Persistent under the class name of the
// record they stand for, so that the archive numbers them as it numbers the real ones; the
// objects they write by reference are members, alive as long as the writer.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CKey.h"
#include "model/text/CNotationFont.h"
#include "model/ornament/COrnamentTable.h"
#include "model/instrument/CPedal.h"
#include "model/text/CRTFPreface.h"
#include "model/text/CRTFTrackText.h"
#include "model/instrument/CTabInstrument.h"
#include "model/text/CTrackText.h"
#include "model/text/DIBornament.h"
#include "model/events/MIDIControllers.h"
#include "model/text/dfLogFont.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/archive/VersionText.h"
#include "platform/collections/OwnedArray.h"

namespace vornel::testing {

template <typename Record>
void WriteCut(ArchiveWriter& w, const Record& record, size_t newerBytes) {
  ArchiveWriter part;
  record.Store(part);
  std::vector<uint8_t> bytes = part.TakeBytes();
  bytes.resize(bytes.size() - newerBytes);
  w.WriteBytes(bytes);
}

inline void WriteFontAt(ArchiveWriter& w, const dfLogFont& font, std::string_view v) {
  WriteCut(w, font, (VersionAbove(v, "6.3") ? 0 : 4) + (VersionAtLeast(v, "9.53") ? 0 : 4));
}

inline void WriteTrackTextAt(ArchiveWriter& w, const CTrackText& t, std::string_view v) {
  WriteFontAt(w, t.font, v);
  w.WriteText(t.text);
  w.WriteI32(t.x);
  w.WriteI32(t.y);
  w.WriteU32(t.alignment);
  w.WriteI32(t.dx);
  w.WriteI32(t.dy);
  if (VersionAtLeast(v, "7.4")) w.WriteU32(t.flags);
}

inline void WritePictureAt(ArchiveWriter& w, const DIBornament& p, std::string_view v) {
  WriteTrackTextAt(w, p, v);
  w.WriteU32(p.active);
  w.WriteU32(DIBornament::kCaptionBelow);  // as our writer puts it; readers take any value as "below"
  w.WriteText(p.path);
  w.WriteU32(p.sizePercent);
  w.WriteU32(p.indentations);
  w.WriteU32(p.indentedStaves);
  w.WriteU32(p.autoIndent);
}

inline void WriteRtfBlockAt(ArchiveWriter& w, const CRTFPreface& block, std::string_view v) {
  WriteFontAt(w, block.font, v);
  w.WriteText(block.text);
}

// The MIDI settings: the fields that `v` reads.
inline void WriteMidiAt(ArchiveWriter& w, const MIDIControllers& m, std::string_view v) {
  for (const uint8_t b : {m.volume, m.expression, m.brightness, m.modulation, m.velocity, m.pan}) w.WriteU8(b);
  for (const int32_t x : {m.softPedal, m.portamentoOn, m.mergeVoices, m.holdPedal}) w.WriteI32(x);
  if (VersionAbove(v, "6.42")) {
    for (const int32_t x : {m.octaveDelay, m.octaveString, m.octaveVelocity, m.monophonic, m.mute}) w.WriteI32(x);
    w.WriteU8(m.portamentoTime);
  }
  if (VersionAtLeast(v, "6.45")) {
    w.WriteU8(m.octaveChannel);
    w.WriteU8(m.echoDelay);
    w.WriteI32(m.echoOn);
    for (const uint8_t b : {m.echoChannel, m.echoVolume, m.echoOctave, m.echoPatch}) w.WriteU8(b);
  }
  if (VersionAtLeast(v, "6.51")) {
    w.WriteText(m.name);
    w.WriteU8(m.patch);
    w.WriteI32(m.transpose);
  }
  if (VersionAtLeast(v, "6.54")) {
    w.WriteI32(m.equalizer);
    w.WriteI32(m.ornamentsPlayed);
  }
  if (VersionAtLeast(v, "7.0")) {
    for (const int32_t x : {m.attack, m.dynamicAmplitude, m.celeste, m.chorus, m.release, m.reverb,
                            m.octaveDoublingOn}) {
      w.WriteI32(x);
    }
  }
}

// Builders are written, never read.
class WrittenOnly : public Persistent {
 public:
  void Load(ArchiveReader&) override { throw std::logic_error("a record builder is not read"); }
};

// A pedal of the versions before its caption (8.05).
class OldPedal : public WrittenOnly {
 public:
  CPedal pedal;
  std::string_view ClassName() const override { return "CPedal"; }
  void Store(ArchiveWriter& w) const override {
    w.WriteI32(pedal.persistent);
    w.WriteI32(pedal.action);
    w.WriteU32(pedal.stringMask);
    w.WriteU32(pedal.color);
  }
};

// An instrument definition of version `version` with one staff, a tablature instrument of the
// newest marker and the fonts of its version.
class OldDefinition : public WrittenOnly {
 public:
  std::string version;
  std::string name;
  std::string oldString = "Old patch";
  uint8_t family = 7;
  int32_t clefLine = 3;
  CClef stave;
  COrnamentTable table;
  CPedalArray pedals;
  std::array<OldPedal, CPedalArray::kPedalCount> oldPedals;
  std::vector<uint32_t> glyphCodes = {0x61, 0x62};

  OldDefinition(std::string v, std::string n) : version(std::move(v)), name(std::move(n)) {
    stave.type = 0;
    table.colors[0] = 0xABCDEF;
    pedals[2]->action = 2;
    oldPedals[2].pedal.action = 2;
  }

  std::string_view ClassName() const override { return "CInstrumentDlg"; }

  void Store(ArchiveWriter& w) const override {
    CTrackText text;
    text.text = name;
    WriteTrackTextAt(w, text, version);

    const CTabInstrument tab;
    w.WriteText(tab.name);
    w.WriteI32(tab.tuning.lines);
    w.WriteI32(0);
    w.WriteI32(tab.tabStyle);
    w.WriteText(tab.tuningText);
    w.WriteI32(tab.betweenLines);
    w.WriteU16(0);
    w.WriteI32(tab.showFirstFlag);
    w.WriteI32(CTabInstrument::kFormatMarker);
    w.WriteI32(tab.binaryOnlySetting);
    w.WriteI32(tab.scaleType);
    WriteFontAt(w, tab.tabFont, version);
    for (const int32_t x : {tab.flagGroup, tab.flagStyle, tab.ornamentStyle, tab.showAllFlags}) w.WriteI32(x);
    tab.tuning.Store(w);
    WriteFontAt(w, tab.alfabeto.letterFont, version);
    w.WriteCount(0);
    w.WriteU32(0);
    WriteCut(w, tab.flagsFont, VersionAtLeast(version, "9.53.1") ? 0 : 4);
    for (const int32_t x : {tab.rotateFlags, tab.colored, tab.baroqueStrumming, tab.shortSignature, tab.diapasonStyle,
                            tab.lowerBourdons, tab.printTuning, tab.flagsHeight, tab.microTuning, tab.signatureSize}) {
      w.WriteI32(x);
    }

    w.WriteCount(1);
    w.WriteObject(&stave);
    WriteMidiAt(w, MIDIControllers(), version);
    ArchiveWriter key(version);
    CKey().Store(key);
    w.WriteBytes(key.Bytes());
    if (VersionAbove(version, "8.47")) {
      CNotationFont font;
      font.SetFace("OtherNotation");
      WriteCut(w, font, VersionAtLeast(version, "9.53.1") ? 0 : 4);
    }
    if (VersionAtLeast(version, "6.595")) {
      w.WriteObjectArray(table.items());
      size_t colours = 0;
      if (VersionAtLeast(version, "9.53.1")) colours = 2;
      if (VersionAtLeast(version, "9.53.2")) colours = 3;
      if (VersionAtLeast(version, "9.6.8.0")) colours = 7;
      for (size_t i = 0; i < colours; ++i) w.WriteU32(table.colors[i]);
      w.WriteCount(glyphCodes.size());
      for (const uint32_t code : glyphCodes) w.WriteU32(code);
    }
    if (VersionAtLeast(version, "8.05")) {
      w.WriteObjectArray(pedals.items());
    } else if (VersionAtLeast(version, "8.00")) {
      w.WriteCount(oldPedals.size());
      for (const OldPedal& pedal : oldPedals) w.WriteObject(&pedal);
    }
    w.WriteU8(family);
    w.WriteText(oldString);
    for (const int32_t x : {1, 1, 0, 0, clefLine}) w.WriteI32(x);  // barlines, square notes, hidden, options, clef line
    if (VersionAtLeast(version, "7.4")) w.WriteI32(1);              // close systems
    if (VersionAtLeast(version, "8.4")) w.WriteI32(1);              // slanted beams
    if (VersionAtLeast(version, "9.5")) w.WriteI32(1);              // long stems
  }

  std::vector<uint8_t> Bytes() const {
    ArchiveWriter w;
    Store(w);
    return w.TakeBytes();
  }
};

// A system of version `version`.
class OldSystem : public WrittenOnly {
 public:
  std::string version;
  OwnedArray<CInstrument> lines;
  DIBornament picture;
  CTrackText caption;
  CRTFTrackText box;
  std::string captionString;
  uint32_t positionWord = 0x00020001;
  int32_t leftIndents = 11;
  int32_t rightIndents = 12;
  int32_t hidden = 0;
  int32_t names = 1;
  Rect area{1, 2, 3, 4};
  int32_t active = 0;
  int32_t restart = 0;
  int32_t printTuning = 0;

  explicit OldSystem(std::string v) : version(std::move(v)) {}

  std::string_view ClassName() const override { return "CStaveArray"; }

  void Store(ArchiveWriter& w) const override {
    w.WriteObjectArray(lines.items());
    if (!VersionAtLeast(version, "6.59")) return;
    WritePictureAt(w, picture, version);
    if (VersionAbove(version, "9.51")) WriteTrackTextAt(w, caption, version);
    if (VersionAbove(version, "9.6.5.7")) box.Store(w);
    for (const int32_t x : {static_cast<int32_t>(positionWord), leftIndents, rightIndents, hidden, names, area.left,
                            area.top, area.right, area.bottom}) {
      w.WriteI32(x);
    }
    if (VersionAtLeast(version, "7.9")) w.WriteI32(active);
    if (VersionAtLeast(version, "9.175")) w.WriteText(captionString);
    if (VersionAtLeast(version, "9.6.5.9")) {
      w.WriteI32(restart);
      w.WriteI32(printTuning);
    }
  }
};

// A section of version `version`.
class OldSection : public WrittenOnly {
 public:
  std::string version;
  OwnedArray<OldSystem> systems;
  OwnedArray<OldDefinition> definitions;
  CTrackText title;
  CTrackText comments;
  CTrackText endText;
  CTrackText author;
  CKey key;
  CRTFPreface couplets;
  CRTFPreface rtfComments;
  DIBornament picture;
  std::vector<std::string> images;
  int32_t denominator = 2;
  int32_t numerator = 3;
  int32_t tempo = 90;
  int32_t movement = 5;
  int32_t horizontalCursor = 40;
  int32_t captionPosition = 2;
  int32_t stavesPerPage = 6;
  int32_t leftOffset = 12;
  int32_t barOffset = 5;
  int32_t activeSystem = 0;
  int32_t repeats = 0;
  std::string midiPath = "C:\\music\\piece.mid";
  int32_t flags = 0x110;

  explicit OldSection(std::string v) : version(std::move(v)) {
    title.text = "Old title";
    comments.text = "Old comments";
    endText.text = "Fine";
    author.text = "Anon.";
  }

  std::string_view ClassName() const override { return "CSystemArray"; }

  void Store(ArchiveWriter& w) const override {
    w.WriteObjectArray(systems.items());
    WriteTrackTextAt(w, title, version);
    ArchiveWriter keyPart(version);
    key.Store(keyPart);
    w.WriteBytes(keyPart.Bytes());
    w.WriteObjectArray(definitions.items());
    WriteRtfBlockAt(w, couplets, version);
    WritePictureAt(w, picture, version);
    if (VersionAbove(version, "6.2")) WriteTrackTextAt(w, comments, version);
    if (VersionAbove(version, "6.51")) WriteTrackTextAt(w, endText, version);
    if (VersionAbove(version, "6.55")) {
      w.WriteCount(images.size());
      for (const std::string& image : images) w.WriteText(image);
      if (VersionAtLeast(version, "9.6.7.5")) {
        w.WriteCount(images.size());
        for (size_t i = 0; i < images.size(); ++i) w.WriteText("");
      }
    }
    if (VersionAtLeast(version, "7.4")) WriteTrackTextAt(w, author, version);
    if (VersionAbove(version, "9.6.5.7")) WriteRtfBlockAt(w, rtfComments, version);
    for (const int32_t x : {denominator, numerator, tempo, movement, horizontalCursor, captionPosition}) w.WriteI32(x);
    if (VersionAtLeast(version, "7.3")) w.WriteI32(stavesPerPage);
    if (VersionAtLeast(version, "7.35")) w.WriteI32(leftOffset);
    if (VersionAtLeast(version, "7.36")) w.WriteI32(barOffset);
    if (VersionAtLeast(version, "7.9")) w.WriteI32(activeSystem);
    if (VersionAtLeast(version, "8.3")) w.WriteI32(repeats);
    if (VersionAbove(version, "9.22")) w.WriteText(midiPath);
    if (VersionAbove(version, "9.6.5.7")) w.WriteI32(flags);
  }

  // One system with one line per definition, each holding two quarters in its first voice
  // (chords of versions before 7.8 have a shorter record: their lines stay empty).
  void AddSystemWithMusic() {
    auto system = std::make_unique<OldSystem>(version);
    for (size_t d = 0; d < definitions.size(); ++d) {
      auto line = std::make_unique<CInstrument>();
      CClef stave;
      stave.type = 0;
      line->staves.push_back(std::make_unique<CClef>(stave));
      if (VersionAtLeast(version, "7.8")) {
        line->firstVoice.push_back(std::make_unique<nChord>(0, 3));
        line->firstVoice.push_back(std::make_unique<nChord>(0, 3));
      }
      system->lines.push_back(std::move(line));
    }
    systems.push_back(std::move(system));
  }

  std::vector<uint8_t> Bytes() const {
    ArchiveWriter w(version);
    Store(w);
    return w.TakeBytes();
  }
};

}  // namespace vornel::testing
