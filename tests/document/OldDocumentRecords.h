#pragma once
// Binary documents built field by field in the form of a given version, for the tests of the
// document header, its version gates and its conversions: the header, the settings record
// (metadata texts, page settings, MIDI export settings, title page, associations) and the
// section list, each written as a file of that version holds it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/CDocumentSettings.h"
#include "document/DocumentFixtures.h"
#include "model/OldRecords.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/archive/VersionText.h"
#include "platform/collections/OwnedArray.h"

namespace vornel::testing {

inline void WriteRichTextAt(ArchiveWriter& w, const CRTFTrackText& t, std::string_view v) {
  WriteTrackTextAt(w, t, v);
  for (const int32_t x : {t.storedRect.left, t.storedRect.top, t.storedRect.right, t.storedRect.bottom, t.origin.x,
                          t.origin.y}) {
    w.WriteI32(x);
  }
}

inline void WritePageSettingsAt(ArchiveWriter& w, const CPageDlg& p, std::string_view v) {
  for (const uint32_t x : {p.cursorWidth, p.topMargin, static_cast<uint32_t>(p.proportionalSpacing),
                           static_cast<uint32_t>(p.tablineThickness), p.systemsPerPage,
                           static_cast<uint32_t>(p.verticalJustification), p.extraSpacing,
                           static_cast<uint32_t>(p.brailleColumns), static_cast<uint32_t>(p.brailleLines),
                           static_cast<uint32_t>(p.brailleOrientation), static_cast<uint32_t>(p.alternateMargins),
                           static_cast<uint32_t>(p.printAllSections)}) {
    w.WriteU32(x);
  }
  if (VersionAbove(v, "6.51")) w.WriteI32(p.blanksBetweenSections);
  if (VersionAtLeast(v, "7.1")) w.WriteI32(p.newPageOnSection);
  if (VersionAtLeast(v, "7.12")) w.WriteU32(static_cast<uint32_t>(p.closedSystems) | (p.centerLyrics ? 0x10 : 0));
  if (VersionAtLeast(v, "7.4")) w.WriteI32(p.skipTitles);
  if (VersionAtLeast(v, "8.1")) {
    w.WriteU32(p.leftMargin);
    w.WriteU32(p.rightMargin);
  }
  if (VersionAtLeast(v, "9.6.5.7")) {
    w.WriteU32(p.bottomMargin);
    w.WriteU32(static_cast<uint32_t>(p.barNumberFlag | (p.barNumberHeight << 4) | (p.outlineBarNumbers ? 0x100 : 0)));
    w.WriteI32(p.printFacsimiles);
  }
  if (VersionAbove(v, "9.166")) {
    w.WriteI32(p.pageNumberAlignment);
    w.WriteText(p.pageText);
  }
  if (VersionAbove(v, "9.22")) w.WriteI32(p.landscape);
  if (VersionAtLeast(v, "9.42")) w.WriteI32(p.pageOffset);
  if (VersionAtLeast(v, "9.6.7.0")) w.WriteI32(p.noPageNumbers);
  if (VersionAtLeast(v, "9.6.8.0")) {
    w.WriteI32(p.coloredSyntax);
    w.WriteI32(p.skipFirstPageNumber);
  }
  if (VersionAtLeast(v, "9.7.0")) w.WriteI32(p.paperFormat);
  if (VersionAtLeast(v, "9.7.2.0")) {
    w.WriteU32(static_cast<uint32_t>(p.printComments | (p.commentsAtEnd << 4)));
    w.WriteU8(p.placeHolder);
    w.WriteU8(p.coloredVoices);
  }
  WriteFontAt(w, p.DocumentFont(kFontTitles), v);
  WriteFontAt(w, p.DocumentFont(kFontLyrics), v);
  if (VersionAbove(v, "6.2")) WriteFontAt(w, p.DocumentFont(kFontComments), v);
  if (VersionAbove(v, "6.56")) WriteFontAt(w, p.DocumentFont(kFontCaptions), v);
  if (VersionAbove(v, "7.6")) WriteFontAt(w, p.DocumentFont(kFontSignatures), v);
  if (VersionAbove(v, "9.166")) WriteTrackTextAt(w, p.pageNumberText, v);
  if (VersionAbove(v, "9.17")) WriteTrackTextAt(w, p.systemNameText, v);
  if (VersionAtLeast(v, "9.53.2")) WriteFontAt(w, p.DocumentFont(kFontContinuo), v);
  if (VersionAtLeast(v, "9.7.1.0")) WriteFontAt(w, p.DocumentFont(kFontEndings), v);
  if (VersionAtLeast(v, "9.6.8.0")) WriteFontAt(w, p.DocumentFont(kFontBarNumbers), v);
  if (VersionAtLeast(v, "9.6.8.2")) WriteFontAt(w, p.DocumentFont(kFontFootnotes), v);
  if (VersionAbove(v, "9.51.2")) WriteFontAt(w, p.DocumentFont(kFontChordNames), v);
  if (VersionAtLeast(v, "9.6.7")) WriteFontAt(w, p.DocumentFont(kFontMidiEvents), v);
}

inline void WriteTitlePageAt(ArchiveWriter& w, const CTitlePage& t, std::string_view v) {
  for (const int32_t x : {t.dateStamp, t.alternateMargins, t.printContents | (t.useRtf ? CTitlePage::kUseRtfBit : 0),
                          t.printTitlepage, t.frameStyle, t.columns, t.printPreface}) {
    w.WriteI32(x);
  }
  if (VersionAbove(v, "6.3")) {
    w.WriteI32(t.origin.x);
    w.WriteI32(t.origin.y);
  }
  if (VersionAbove(v, "9.6.5.9")) w.WriteI32(t.pageNumbers);
  if (VersionAbove(v, "9.7.2.1")) w.WriteI32(t.sectionPosition);
  for (size_t i = 0; i < t.texts.size(); ++i) WriteTrackTextAt(w, *t.texts.at(i), v);
  WritePictureAt(w, t.picture, v);
  w.WriteCount(t.imageList.imagePaths.size());
  for (const std::string& path : t.imageList.imagePaths) w.WriteText(path);
  if (VersionAtLeast(v, "9.7.0.0")) {
    w.WriteCount(t.imageList.imagePaths.size());
    for (size_t i = 0; i < t.imageList.imagePaths.size(); ++i) w.WriteText("");
  }
  w.WriteText(t.preface.text);
  WriteFontAt(w, t.titleFont, v);
  if (VersionAbove(v, "9.6.5.6")) WriteRichTextAt(w, t.formattedTitle, v);
}

inline void WriteDocumentSettingsAt(ArchiveWriter& w, const CDocumentSettings& s, std::string_view v) {
  for (size_t i = 0; i < CDocumentSettings::kStoredTextCount; ++i) WriteTrackTextAt(w, *s.texts.at(i), v);
  WritePageSettingsAt(w, s.pageSettings, v);
  s.midiExport.Store(w);
  WriteTitlePageAt(w, s.titlePage, v);
  if (VersionAbove(v, "6.57")) w.WriteText(s.Association(CDocumentSettings::kImagesPath));
  if (VersionAtLeast(v, "9.27")) {
    w.WriteText(s.Association(CDocumentSettings::kPdfRendition));
    w.WriteText(s.Association(CDocumentSettings::kHtmlTable));
  }
}

// A whole binary document: header, settings, then the sections as a list (or, for the
// template magic, the first section as a bare record).
struct OldDocument {
  std::string magic = "BrioTab";
  std::string version;
  CDocumentSettings settings;
  OwnedArray<OldSection> sections;
  int32_t activeSection = 0;

  explicit OldDocument(std::string v) : version(std::move(v)) {}

  OldSection& AddSection() {
    sections.push_back(std::make_unique<OldSection>(version));
    return *sections.back();
  }

  std::vector<uint8_t> Bytes() const {
    ArchiveWriter w(version);
    w.WriteText(magic);
    w.WriteText(version);
    WriteDocumentSettingsAt(w, settings, version);
    if (magic == "BrioTabTemplate") {
      sections.at(0)->Store(w);
    } else {
      w.WriteObjectArray(sections.items());
      w.WriteI32(activeSection);
    }
    return w.TakeBytes();
  }
};

// A document of `version` with the settings and sections of the tables: one section of two
// instruments with notes and a meta-event in the first voice of each line, holding only what
// both file forms keep.
inline OldDocument SampleDocument(const std::string& version) {
  OldDocument file(version);
  file.settings.Text(CDocumentSettings::kTitle).text = "Lachrimae";
  file.settings.Text(CDocumentSettings::kComments).text = "Seven pavans";
  file.settings.pageSettings.systemsPerPage = 5;
  file.settings.titlePage.Text(CTitlePage::kTitle).text = "Title page";
  file.settings.associations = {{"images-path", "C:\\images\\"}, {"pdf-rendition", "C:\\a.pdf"}, {"html-table", ""}};
  OldSection& section = file.AddSection();
  for (const char* name : {"Lute", "Bass viol"}) {
    auto definition = std::make_unique<OldDefinition>(version, name);
    // Pedals and the ornament glyph list are kept by the binary form only: left at their
    // defaults, the document is the same in both forms.
    definition->pedals[2]->action = 0;
    definition->oldPedals[2].pedal.action = 0;
    definition->glyphCodes.clear();
    section.definitions.push_back(std::move(definition));
  }
  section.AddSystemWithMusic();
  // Notes of the current record form only; older files keep the builder's plain chords.
  if (!VersionAbove(version, "9.8.0.0")) return file;
  for (size_t line = 0; line < 2; ++line) {
    nChordArray& voice = section.systems.at(0)->lines.at(line)->firstVoice;
    voice.push_back(MarkedChord(2, {static_cast<uint8_t>(67 - 12 * line), 60}));
    AddMeta(*voice.back(), CMetaEvent::kLyrics, line == 0 ? "Flow" : "my tears", 0, 1, 2);
  }
  return file;
}

}  // namespace vornel::testing
