#include "document/DocumentDump.h"

#include <cstdio>
#include <string_view>
#include <type_traits>

#include "document/CBriotabDoc.h"
#include "model/text/CRTFTrackText.h"
#include "model/text/DIBornament.h"
#include "platform/text/FormatText.h"
#include "platform/text/NumberText.h"

namespace vornel {

namespace {

// Lines of "name value", indented two spaces per level; texts are quoted with C escapes so
// that every value stays on its line.
class DumpWriter {
 public:
  class Scope {
   public:
    Scope(DumpWriter& w, std::string_view name) : w_(w) { w_.Open(name); }
    ~Scope() { --w_.depth_; }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    DumpWriter& w_;
  };

  template <typename T>
  void Field(std::string_view name, T value) {
    if constexpr (std::is_floating_point_v<T>) {
      Line(name, FormatReal(static_cast<double>(value)));
    } else if constexpr (std::is_signed_v<T>) {
      Line(name, std::to_string(static_cast<long long>(value)));
    } else {
      Line(name, std::to_string(static_cast<unsigned long long>(value)));
    }
  }
  void Text(std::string_view name, std::string_view value) { Line(name, Quoted(value)); }
  void Null(std::string_view name) { Line(name, "null"); }
  // A value that is a word of the dump itself, not a stored text.
  void Mark(std::string_view name, std::string_view word) { Line(name, word); }

  std::string Take() { return std::move(out_); }

 private:
  void Open(std::string_view name) {
    Indent();
    out_.append(name);
    out_ += '\n';
    ++depth_;
  }
  void Line(std::string_view name, std::string_view value) {
    Indent();
    out_.append(name);
    out_ += ' ';
    out_.append(value);
    out_ += '\n';
  }
  void Indent() { out_.append(static_cast<size_t>(depth_) * 2, ' '); }

  static std::string Quoted(std::string_view text) {
    std::string q;
    AppendQuoted(q, text);
    return q;
  }

  std::string out_;
  int depth_ = 0;
};

using Scope = DumpWriter::Scope;

std::string Indexed(std::string_view name, size_t index) { return std::string(name) + ' ' + std::to_string(index); }

// Every record's dump, declared first: lists of them are dumped by one template.
void Dump(DumpWriter& w, std::string_view name, const dfLogFont& f);
void Dump(DumpWriter& w, std::string_view name, const CTrackText& t);
void Dump(DumpWriter& w, std::string_view name, const nNotes& n);
void Dump(DumpWriter& w, std::string_view name, const CMetaEvent& m);
void Dump(DumpWriter& w, std::string_view name, const CClef& s);
void Dump(DumpWriter& w, std::string_view name, const COrnamentProps& p);
void Dump(DumpWriter& w, std::string_view name, const CPedal& p);
void Dump(DumpWriter& w, std::string_view name, const CInstrumentDlg& d);
void Dump(DumpWriter& w, std::string_view name, const CInstrument& line, const nChord* systemBreak);
void Dump(DumpWriter& w, std::string_view name, const CStaveArray& s, const nChord* systemBreak);
void Dump(DumpWriter& w, std::string_view name, const CSystemArray& s);

// Each element of an owning list as "<item> <index>", null entries as null.
template <typename List, typename... Extra>
void DumpEach(DumpWriter& w, std::string_view item, const List& list, const Extra&... extra) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (list.at(i) == nullptr) {
      w.Null(Indexed(item, i));
    } else {
      Dump(w, Indexed(item, i), *list.at(i), extra...);
    }
  }
}

void DumpSize(DumpWriter& w, std::string_view name, const SizePair& size) {
  w.Field(std::string(name) + ".cx", size.cx);
  w.Field(std::string(name) + ".cy", size.cy);
}

template <typename R>
void DumpRect(DumpWriter& w, std::string_view name, const R& r) {
  w.Field(std::string(name) + ".left", r.left);
  w.Field(std::string(name) + ".top", r.top);
  w.Field(std::string(name) + ".right", r.right);
  w.Field(std::string(name) + ".bottom", r.bottom);
}

void Dump(DumpWriter& w, std::string_view name, const dfLogFont& f) {
  const Scope scope(w, name);
  w.Field("lfHeight", f.logFont.lfHeight);
  w.Field("lfWidth", f.logFont.lfWidth);
  w.Field("lfEscapement", f.logFont.lfEscapement);
  w.Field("lfOrientation", f.logFont.lfOrientation);
  w.Field("lfWeight", f.logFont.lfWeight);
  w.Field("lfItalic", f.logFont.lfItalic);
  w.Field("lfUnderline", f.logFont.lfUnderline);
  w.Field("lfStrikeOut", f.logFont.lfStrikeOut);
  w.Field("lfCharSet", f.logFont.lfCharSet);
  w.Field("lfOutPrecision", f.logFont.lfOutPrecision);
  w.Field("lfClipPrecision", f.logFont.lfClipPrecision);
  w.Field("lfQuality", f.logFont.lfQuality);
  w.Field("lfPitchAndFamily", f.logFont.lfPitchAndFamily);
  w.Text("lfFaceName", f.logFont.lfFaceName);
  DumpSize(w, "staveAdjust", f.staveAdjust);
  w.Field("zoom", f.zoom);
  DumpSize(w, "pointSize", f.pointSize);
  DumpSize(w, "zoomScale", f.zoomScale);
  w.Field("color", f.color);
  w.Field("microTuning", f.microTuning);
}

void DumpTextPart(DumpWriter& w, const CTrackText& t) {
  w.Text("descriptor", t.descriptor);
  w.Text("text", t.text);
  w.Field("x", t.x);
  w.Field("y", t.y);
  w.Field("alignment", t.alignment);
  w.Field("dx", t.dx);
  w.Field("dy", t.dy);
  w.Field("flags", t.flags);
  Dump(w, "font", t.font);
}

void Dump(DumpWriter& w, std::string_view name, const CRTFTrackText& t) {
  const Scope scope(w, name);
  DumpTextPart(w, t);
  DumpRect(w, "storedRect", t.storedRect);
  w.Field("origin.x", t.origin.x);
  w.Field("origin.y", t.origin.y);
}

void Dump(DumpWriter& w, std::string_view name, const DIBornament& p) {
  const Scope scope(w, name);
  DumpTextPart(w, p);
  w.Text("path", p.path);
  // The caption placement is not listed: the binary reader always puts the caption below the
  // picture and the XML form does not keep it, so no file carries it.
  w.Field("active", p.active);
  w.Field("sizePercent", p.sizePercent);
  w.Field("indentations", p.indentations);
  w.Field("indentedStaves", p.indentedStaves);
  w.Field("autoIndent", p.autoIndent);
}

void Dump(DumpWriter& w, std::string_view name, const CTrackText& t) {
  if (const auto* rich = dynamic_cast<const CRTFTrackText*>(&t)) return Dump(w, name, *rich);
  if (const auto* picture = dynamic_cast<const DIBornament*>(&t)) return Dump(w, name, *picture);
  const Scope scope(w, name);
  DumpTextPart(w, t);
}

void Dump(DumpWriter& w, std::string_view name, const CTextStack& texts) {
  const Scope scope(w, name);
  DumpEach(w, "text", texts);
}

void Dump(DumpWriter& w, std::string_view name, const CRTFPreface& block) {
  const Scope scope(w, name);
  w.Text("text", block.text);
  Dump(w, "font", block.font);
}

void Dump(DumpWriter& w, std::string_view name, const CFacsimileListDlg& list) {
  const Scope scope(w, name);
  for (size_t i = 0; i < list.imagePaths.size(); ++i) {
    const Scope image(w, Indexed("image", i));
    w.Text("path", list.imagePaths[i]);
    w.Text("caption", i < list.captions.size() ? list.captions[i] : std::string());
  }
}

void Dump(DumpWriter& w, std::string_view name, const CKey& k) {
  const Scope scope(w, name);
  w.Field("alterations", k.alterations);
  w.Field("bemol", k.bemol);
  w.Field("keyName", k.keyName);
  w.Field("mode", k.mode);
  w.Field("transpose", k.transpose);
  w.Field("transposePitch", k.transposePitch);
  w.Field("keyAlterations", k.keyAlterations);
}

void Dump(DumpWriter& w, std::string_view name, const CMetaEvent& m) {
  const Scope scope(w, name);
  w.Field("kind", m.kind);
  w.Text("text", m.text);
  w.Field("value", m.value);
  w.Field("cx", m.cx);
  w.Field("cy", m.cy);
  DumpRect(w, "notation", m.location.notation);
  DumpRect(w, "tablature", m.location.tablature);
  w.Field("notationCx", m.location.notationCx);
  w.Field("notationCy", m.location.notationCy);
  w.Field("tablatureCx", m.location.tablatureCx);
  w.Field("tablatureCy", m.location.tablatureCy);
}

void Dump(DumpWriter& w, std::string_view name, const nNotes& n) {
  const Scope scope(w, name);
  w.Field("pitch", n.pitch);
  w.Field("string", n.string);
  w.Field("interval", n.interval);
  w.Field("ornament", n.ornament);
  w.Field("fingering", n.fingering);
  w.Field("slur", n.slur);
  w.Field("name", n.name);
  w.Field("status", n.status);
  w.Field("flags", n.flags);
}

void Dump(DumpWriter& w, std::string_view name, const nChord& c) {
  const Scope scope(w, name);
  w.Field("status", c.status);
  w.Field("rhythm", c.rhythm);
  w.Field("dy", c.dy);
  w.Field("al", c.al);
  w.Text("name", c.name);
  DumpEach(w, "note", c.notes);
  DumpEach(w, "meta-event", c.metaEvents);
}

void Dump(DumpWriter& w, std::string_view name, const nChordArray& voice, const nChord* systemBreak) {
  const Scope scope(w, name);
  for (size_t i = 0; i < voice.size(); ++i) {
    const nChord* e = voice.at(i);
    if (e == nullptr) {
      w.Null(Indexed("event", i));
    } else if (e == systemBreak) {
      w.Mark(Indexed("event", i), "system-break");
    } else {
      Dump(w, Indexed("event", i), *e);
    }
  }
}

void Dump(DumpWriter& w, std::string_view name, const CClef& s) {
  const Scope scope(w, name);
  w.Field("type", s.type);
  w.Field("clefId", s.clefId);
  w.Field("lines", s.lines);
  w.Field("spaceBelow", s.spaceBelow);
  w.Field("enabledVoices", s.enabledVoices);
  DumpSize(w, "maxMoves", s.maxMoves);
  w.Field("oldStyle", s.oldStyle);
  w.Field("squareNotes", s.squareNotes);
  w.Field("stemDirection", s.stemDirection);
  w.Field("hideMetaEvents", s.hideMetaEvents);
  w.Field("hideFlags", s.hideFlags);
  w.Field("linkedFlags", s.linkedFlags);
}

void Dump(DumpWriter& w, std::string_view name, const nTuning& t) {
  const Scope scope(w, name);
  w.Field("lines", t.lines);
  for (size_t i = 0; i < t.courses.size() && t.courses[i].letter != 0; ++i) {
    const Scope course(w, Indexed("course", i));
    w.Field("letter", static_cast<int>(t.courses[i].letter));
    w.Field("octave", t.courses[i].octave);
    w.Field("accidental", static_cast<int>(t.courses[i].accidental));
    w.Field("pitch", t.courses[i].pitch);
  }
}

void Dump(DumpWriter& w, std::string_view name, const CNotationFont& f) {
  const Scope scope(w, name);
  w.Text("face", f.face);
  w.Field("interval", f.interval);
  DumpSize(w, "pointSize", f.pointSize);
  w.Field("color", f.color);
  w.Field("microTuning", f.microTuning);
}

void Dump(DumpWriter& w, std::string_view name, const CAlfabeto& a) {
  const Scope scope(w, name);
  w.Field("showAlfabeto", a.showAlfabeto);
  Dump(w, "letterFont", a.letterFont);
  Dump(w, "chart", a.chart, nullptr);
}

void Dump(DumpWriter& w, std::string_view name, const CTabInstrument& t) {
  const Scope scope(w, name);
  w.Text("name", t.name);
  Dump(w, "tuning", t.tuning);
  w.Text("tuningText", t.tuningText);
  w.Field("tabStyle", t.tabStyle);
  w.Field("flagGroup", t.flagGroup);
  w.Field("flagStyle", t.flagStyle);
  w.Field("scaleType", t.scaleType);
  w.Field("showFirstFlag", t.showFirstFlag);
  w.Field("showAllFlags", t.showAllFlags);
  w.Field("drawOpaque", t.drawOpaque);
  w.Field("ornamentStyle", t.ornamentStyle);
  w.Field("colored", t.colored);
  w.Field("diapasonStyle", t.diapasonStyle);
  w.Field("betweenLines", t.betweenLines);
  w.Field("lowerBourdons", t.lowerBourdons);
  w.Field("flagsHeight", t.flagsHeight);
  w.Field("restsOnTab", t.restsOnTab);
  w.Field("rotateFlags", t.rotateFlags);
  w.Field("baroqueStrumming", t.baroqueStrumming);
  w.Field("printTuning", t.printTuning);
  w.Field("signatureSize", t.signatureSize);
  w.Field("shortSignature", t.shortSignature);
  w.Field("coloredFlags", t.coloredFlags);
  w.Field("microTuning", t.microTuning);
  w.Field("binaryOnlySetting", t.binaryOnlySetting);
  Dump(w, "tabFont", t.tabFont);
  Dump(w, "flagsFont", t.flagsFont);
  Dump(w, "alfabeto", t.alfabeto);
}

void Dump(DumpWriter& w, std::string_view name, const MIDIControllers& m) {
  const Scope scope(w, name);
  w.Text("name", m.name);
  w.Field("patch", m.patch);
  w.Field("transpose", m.transpose);
  w.Field("mute", m.mute);
  w.Field("mergeVoices", m.mergeVoices);
  w.Field("monophonic", m.monophonic);
  w.Field("ornamentsPlayed", m.ornamentsPlayed);
  w.Field("echoOn", m.echoOn);
  w.Field("octaveDoublingOn", m.octaveDoublingOn);
  w.Field("portamentoOn", m.portamentoOn);
  w.Field("volume", m.volume);
  w.Field("expression", m.expression);
  w.Field("pan", m.pan);
  w.Field("velocity", m.velocity);
  w.Field("holdPedal", m.holdPedal);
  w.Field("equalizer", m.equalizer);
  w.Field("brightness", m.brightness);
  w.Field("modulation", m.modulation);
  w.Field("softPedal", m.softPedal);
  w.Field("portamentoTime", m.portamentoTime);
  w.Field("attack", m.attack);
  w.Field("celeste", m.celeste);
  w.Field("chorus", m.chorus);
  w.Field("release", m.release);
  w.Field("reverb", m.reverb);
  w.Field("dynamicAmplitude", m.dynamicAmplitude);
  w.Field("octaveChannel", m.octaveChannel);
  w.Field("octaveDelay", m.octaveDelay);
  w.Field("octaveString", m.octaveString);
  w.Field("octaveVelocity", m.octaveVelocity);
  w.Field("echoChannel", m.echoChannel);
  w.Field("echoVolume", m.echoVolume);
  w.Field("echoOctave", m.echoOctave);
  w.Field("echoPatch", m.echoPatch);
  w.Field("echoDelay", m.echoDelay);
}

void Dump(DumpWriter& w, std::string_view name, const COrnamentProps& p) {
  const Scope scope(w, name);
  w.Field("glyph", p.glyph);
  w.Field("type", p.type);
  w.Field("alignment", p.alignment);
  w.Field("flagValue", p.flagValue);
}

void Dump(DumpWriter& w, std::string_view name, const COrnamentGlyphTable& g) {
  const Scope scope(w, name);
  const COrnamentTable& table = g.table;
  for (size_t i = 0; i < table.colors.size(); ++i) w.Field(Indexed("color", i), table.colors[i]);
  w.Field("entriesPerGroup", table.entriesPerGroup);
  w.Field("groups", table.groups);
  DumpEach(w, "ornament", table);
  for (size_t i = 0; i < g.glyphCodes.size(); ++i) w.Field(Indexed("glyphCode", i), g.glyphCodes[i]);
}

void Dump(DumpWriter& w, std::string_view name, const CPedal& p) {
  const Scope scope(w, name);
  w.Field("persistent", p.persistent);
  w.Field("stringMask", p.stringMask);
  w.Field("action", p.action);
  w.Field("color", p.color);
  w.Text("caption", p.caption);
}

void Dump(DumpWriter& w, std::string_view name, const CInstrumentDlg& d) {
  const Scope scope(w, name);
  w.Field("family", d.family);
  w.Field("visible", d.visible);
  Dump(w, "nameText", d.nameText);
  w.Text("shortName", d.shortName);
  Dump(w, "tabInstrument", d.tabInstrument);
  Dump(w, "midi", d.midi);
  Dump(w, "key", d.key);
  Dump(w, "notationFont", d.notationFont);
  Dump(w, "ornaments", d.ornaments);
  {
    const Scope pedals(w, "pedals");
    DumpEach(w, "pedal", d.pedals);
  }
  w.Field("showBarlines", d.showBarlines);
  w.Field("hideOrnaments", d.hideOrnaments);
  w.Field("closeSystems", d.closeSystems);
  w.Field("slantedBeams", d.slantedBeams);
  w.Field("longStems", d.longStems);
  w.Field("notationOptions", d.notationOptions);
  w.Field("beamMode", d.beamMode);
  w.Field("tabAcrossLine", d.tabAcrossLine);
  w.Field("notesStyle", d.notesStyle);
  w.Field("clefLine", d.clefLine);
  DumpEach(w, "stave", d.staves);
}

void Dump(DumpWriter& w, std::string_view name, const CInstrument& line, const nChord* systemBreak) {
  const Scope scope(w, name);
  w.Field("activeStave", line.activeStave);
  DumpEach(w, "stave", line.staves);
  Dump(w, "firstVoice", line.firstVoice, systemBreak);
  Dump(w, "secondVoice", line.secondVoice, systemBreak);
}

void Dump(DumpWriter& w, std::string_view name, const CStaveArray& s, const nChord* systemBreak) {
  const Scope scope(w, name);
  w.Field("activeInstrument", s.activeInstrument);
  w.Field("printTuning", s.printTuning);
  w.Field("barSequenceRestart", s.barSequenceRestart);
  w.Field("hidden", s.hidden);
  w.Field("nameInstruments", s.nameInstruments);
  w.Field("leftIndents", s.leftIndents);
  w.Field("rightIndents", s.rightIndents);
  w.Field("positionWord", s.positionWord);
  DumpRect(w, "area", s.area);
  const SystemCaption& caption = s.Caption();
  w.Text("captionString", caption.captionString);
  Dump(w, "captionText", caption.captionText);
  Dump(w, "rtfBox", caption.rtfBox);
  Dump(w, "captionPicture", caption.captionPicture);
  DumpEach(w, "line", s.lines, systemBreak);
}

void Dump(DumpWriter& w, std::string_view name, const CSystemArray& s) {
  const Scope scope(w, name);
  Dump(w, "texts", s.texts);
  w.Field("numerator", s.numerator);
  w.Field("denominator", s.denominator);
  w.Field("tempo", s.tempo);
  w.Field("movement", s.movement);
  w.Field("horizontalCursor", s.horizontalCursor);
  w.Field("captionPosition", s.captionPosition);
  w.Field("barOffset", s.barOffset);
  w.Field("flags", s.flags);
  w.Field("stavesPerPage", s.stavesPerPage);
  w.Field("leftOffset", s.leftOffset);
  w.Text("midiFilePath", s.midiFilePath);
  w.Field("repeats", s.repeats);
  w.Field("activeSystem", s.activeSystem);
  Dump(w, "key", s.key);
  Dump(w, "couplets", s.couplets);
  Dump(w, "rtfComments", s.rtfComments);
  Dump(w, "captionPicture", s.captionPicture);
  Dump(w, "facsimiles", s.facsimiles);
  DumpEach(w, "definition", s.definitions);
  DumpEach(w, "system", s.systems, s.SystemBreak().get());
}

void Dump(DumpWriter& w, std::string_view name, const CPageDlg& p) {
  const Scope scope(w, name);
  w.Field("coloredSyntax", p.coloredSyntax);
  w.Field("cursorWidth", p.cursorWidth);
  w.Field("topMargin", p.topMargin);
  w.Field("leftMargin", p.leftMargin);
  w.Field("rightMargin", p.rightMargin);
  w.Field("bottomMargin", p.bottomMargin);
  w.Field("systemsPerPage", p.systemsPerPage);
  w.Field("verticalJustification", p.verticalJustification);
  w.Field("extraSpacing", p.extraSpacing);
  w.Field("brailleColumns", p.brailleColumns);
  w.Field("brailleLines", p.brailleLines);
  w.Field("brailleOrientation", p.brailleOrientation);
  w.Field("printAllSections", p.printAllSections);
  w.Field("alternateMargins", p.alternateMargins);
  w.Field("newPageOnSection", p.newPageOnSection);
  w.Field("blanksBetweenSections", p.blanksBetweenSections);
  w.Field("tablineThickness", p.tablineThickness);
  w.Field("closedSystems", p.closedSystems);
  w.Field("skipTitles", p.skipTitles);
  w.Text("pageText", p.pageText);
  w.Field("pageNumberAlignment", p.pageNumberAlignment);
  w.Field("landscape", p.landscape);
  w.Field("pageOffset", p.pageOffset);
  w.Field("noPageNumbers", p.noPageNumbers);
  w.Field("barNumberFlag", p.barNumberFlag);
  w.Field("printFacsimiles", p.printFacsimiles);
  w.Field("skipFirstPageNumber", p.skipFirstPageNumber);
  w.Field("centerLyrics", p.centerLyrics);
  w.Field("stafflineColor", p.stafflineColor);
  w.Field("barlineColor", p.barlineColor);
  w.Field("proportionalSpacing", p.proportionalSpacing);
  w.Field("paperFormat", p.paperFormat);
  w.Field("coloredVoices", p.coloredVoices);
  w.Field("printComments", p.printComments);
  w.Field("placeHolder", p.placeHolder);
  w.Field("barNumberHeight", p.barNumberHeight);
  w.Field("commentsAtEnd", p.commentsAtEnd);
  w.Field("outlineBarNumbers", p.outlineBarNumbers);
  Dump(w, "pageNumberText", p.pageNumberText);
  Dump(w, "systemNameText", p.systemNameText);
  const Scope fonts(w, "fonts");
  DumpEach(w, "font", p.fonts);
}

void Dump(DumpWriter& w, std::string_view name, const CTitlePage& t) {
  const Scope scope(w, name);
  w.Field("printTitlepage", t.printTitlepage);
  w.Field("printPreface", t.printPreface);
  w.Field("printContents", t.printContents);
  w.Field("useRtf", t.useRtf);
  w.Field("dateStamp", t.dateStamp);
  w.Field("alternateMargins", t.alternateMargins);
  w.Field("frameStyle", t.frameStyle);
  w.Field("columns", t.columns);
  w.Field("sectionPosition", t.sectionPosition);
  w.Field("pageNumbers", t.pageNumbers);
  w.Field("maxLines", t.maxLines);
  w.Field("origin.x", t.origin.x);
  w.Field("origin.y", t.origin.y);
  Dump(w, "texts", t.texts);
  Dump(w, "titleFont", t.titleFont);
  Dump(w, "formattedTitle", t.formattedTitle);
  Dump(w, "picture", t.picture);
  w.Text("preface", t.preface.text);
  Dump(w, "imageList", t.imageList);
}

void Dump(DumpWriter& w, std::string_view name, const CMIDIExportDlg& m) {
  const Scope scope(w, name);
  w.Field("option1", m.option1);
  w.Field("option2", m.option2);
  w.Field("option3", m.option3);
  w.Field("option4", m.option4);
  w.Field("option5", m.option5);
  w.Field("expandRepeats", m.expandRepeats);
  w.Field("option7", m.option7);
  w.Field("option8", m.option8);
  w.Field("option9", m.option9);
  w.Text("text", m.text);
  w.Field("option11", m.option11);
  w.Field("option12", m.option12);
}

void Dump(DumpWriter& w, std::string_view name, const CDocumentSettings& s) {
  const Scope scope(w, name);
  Dump(w, "texts", s.texts);
  {
    const Scope associations(w, "associations");
    for (const auto& [type, path] : s.associations) w.Text(type, path);
  }
  Dump(w, "pageSettings", s.pageSettings);
  Dump(w, "titlePage", s.titlePage);
  Dump(w, "midiExport", s.midiExport);
}

}  // namespace

std::string DumpDocument(const CBriotabDoc& doc) {
  DumpWriter w;
  {
    const Scope document(w, "document");
    Dump(w, "settings", doc.settings);
    const Scope sections(w, "sections");
    w.Field("activeSection", doc.sections.activeSection);
    DumpEach(w, "section", doc.sections);
  }
  return w.Take();
}

}  // namespace vornel
