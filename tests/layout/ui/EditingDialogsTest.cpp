// The section, system and meta-event dialogs are filled from their structs and read back; a
// field out of range keeps the struct as it was. Each dialog is saved as a PNG for review.

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/slider.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "support/ui/DialogCapture.h"
#include "layout/ui/dialogs/MetaEventDialogWindows.h"
#include "layout/ui/dialogs/SectionDialogWindows.h"
#include "model/events/CMetaEvent.h"
#include "model/voice/nChordArray.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

TEST(EditingDialogs, SectionPropertiesExchangeAndRanges) {
  CSectionDlg fields;
  fields.name = "Fantasia";
  fields.tempo = 72;
  fields.beatUnit = 4;
  fields.numerator = 3;
  fields.denominator = 2;
  fields.stavesPerPage = 8;
  fields.barOffset = 1;
  fields.pageBreakAfter = false;
  SectionPropertiesDialog dialog(nullptr, fields);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.GetTitle(), "Section properties");
  EXPECT_EQ(Control<wxTextCtrl>(dialog, SectionPropertiesDialog::kName)->GetValue(), "Fantasia");
  EXPECT_EQ(Control<wxChoice>(dialog, SectionPropertiesDialog::kBeatUnit)->GetStringSelection(), "dotted_quarter");
  EXPECT_EQ(Control<wxChoice>(dialog, SectionPropertiesDialog::kMovement)->GetStringSelection(), "Allegretto");
  EXPECT_EQ(Control<wxChoice>(dialog, SectionPropertiesDialog::kKeyLetter)->GetSelection(), wxNOT_FOUND);
  EXPECT_FALSE(Control<wxCheckBox>(dialog, SectionPropertiesDialog::kBlankPageAfter)->IsEnabled());
  SavePng(dialog, "section-properties");

  Control<wxSpinCtrl>(dialog, SectionPropertiesDialog::kTempo)->SetValue(96);
  Control<wxCheckBox>(dialog, SectionPropertiesDialog::kPageBreakAfter)->SetValue(true);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(fields.tempo, 96);
  EXPECT_TRUE(fields.pageBreakAfter);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_TRUE(Control<wxCheckBox>(dialog, SectionPropertiesDialog::kBlankPageAfter)->IsEnabled());
}

// The "Facsimile list" button runs the installed list dialog on the dialog's copy of the list;
// the dialog's OK hands the edited copy back with the other fields.
TEST(EditingDialogs, SectionPropertiesFacsimileListButton) {
  struct AddingList : FacsimileListEditing {
    bool EditFacsimileList(CFacsimileListDlg& list) override {
      seen = list.imagePaths;
      list.AddImage("f2v.jpg");
      return true;
    }
    std::vector<std::string> seen;
  } editing;
  ScopedFacsimileListEditing scope(editing);
  CSectionDlg fields;
  fields.numerator = 4;
  fields.denominator = 4;
  fields.stavesPerPage = 8;
  CFacsimileListDlg list;
  list.AddImage("f1r.jpg");
  fields.facsimiles.Load(list);
  SectionPropertiesDialog dialog(nullptr, fields);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  auto* button = Control<wxWindow>(dialog, SectionPropertiesDialog::kFacsimileList);
  EXPECT_EQ(button->GetLabel(), "Facsimile list");
  wxCommandEvent click(wxEVT_BUTTON, SectionPropertiesDialog::kFacsimileList);
  button->GetEventHandler()->ProcessEvent(click);
  EXPECT_EQ(editing.seen, (std::vector<std::string>{"f1r.jpg"}));
  EXPECT_FALSE(fields.facsimiles.Edited());  // nothing leaves the dialog before its OK
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  fields.facsimiles.Store(list);
  EXPECT_EQ(list.imagePaths, (std::vector<std::string>{"f1r.jpg", "f2v.jpg"}));
}

TEST(EditingDialogs, SystemOptionsClearBrowseFontsAndParseVoicesName) {
  testing::ScriptedPrompts prompts;
  CSegOffsetDlg fields;
  fields.imagePath = "/tmp/a.png";
  fields.imageSize = 40;
  fields.leftIndent = 6;
  fields.caption = "Prima parte";
  int fontsChosen = 0;
  SystemOptionsDialog dialog(nullptr, fields, [&](dfLogFont& font) {
    font.pointSize.cx = 140;
    return ++fontsChosen > 0;
  });
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(Control<wxSpinCtrl>(dialog, SystemOptionsDialog::kImageSize)->GetValue(), 40);
  SavePng(dialog, "system-options");
  // "Browse" puts the image chosen into the path; both "..." choose the caption's font.
  prompts.QueueFile("/tmp/b.png");
  for (const int id : {SystemOptionsDialog::kBrowse, SystemOptionsDialog::kNameFont, SystemOptionsDialog::kCaptionFont}) {
    wxCommandEvent press(wxEVT_BUTTON, id);
    Control<wxWindow>(dialog, id)->GetEventHandler()->ProcessEvent(press);
  }
  EXPECT_EQ(Control<wxTextCtrl>(dialog, SystemOptionsDialog::kPath)->GetValue(), "/tmp/b.png");
  EXPECT_EQ(fontsChosen, 2);
  wxCommandEvent click(wxEVT_BUTTON, SystemOptionsDialog::kClear);
  Control<wxWindow>(dialog, SystemOptionsDialog::kClear)->GetEventHandler()->ProcessEvent(click);
  EXPECT_EQ(Control<wxSpinCtrl>(dialog, SystemOptionsDialog::kImageSize)->GetValue(), 100);
  EXPECT_EQ(Control<wxTextCtrl>(dialog, SystemOptionsDialog::kPath)->GetValue(), "");
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(fields.leftIndent, 0);
  EXPECT_EQ(fields.caption, "Prima parte");
  EXPECT_EQ(fields.captionFont.pointSize.cx, 140);

  CAnalyzeVoicesDlg voices;
  voices.splitPoint = 61;
  ParseVoicesDialog parse(nullptr, voices);
  ASSERT_TRUE(parse.TransferDataToWindow());
  EXPECT_EQ(Control<wxStaticText>(parse, ParseVoicesDialog::kPitchName)->GetLabel(), "C#5");
}

TEST(EditingDialogs, MetaEventEditorsShowTheStoredValues) {
  CMetaEvent signature(CMetaEvent::kTimeSignature, "", 0x1 | (10u << 16), 3, 0);
  CTimeSignatureDlg ts;
  ts.From(signature);
  TimeSignatureDialog tsWindow(nullptr, ts);
  ASSERT_TRUE(tsWindow.TransferDataToWindow());
  EXPECT_EQ(Control<wxSpinCtrl>(tsWindow, TimeSignatureDialog::kBeats)->GetValue(), 3);
  EXPECT_EQ(Control<wxSpinCtrl>(tsWindow, TimeSignatureDialog::kBeatValue)->GetValue(), 4);
  EXPECT_EQ(Control<wxSlider>(tsWindow, TimeSignatureDialog::kSize)->GetValue(), 60);
  SavePng(tsWindow, "time-signature");

  CMetaEvent legato(CMetaEvent::kLegato, "lig.", (12u << 20) | (4u << 16) | 8, 20, 0);
  LegatoDlg lg;
  lg.From(legato, true);
  LegatoDialog lgWindow(nullptr, lg);
  ASSERT_TRUE(lgWindow.TransferDataToWindow());
  EXPECT_EQ(Control<wxSlider>(lgWindow, LegatoDialog::kBegin)->GetValue(), -3);
  EXPECT_EQ(Control<wxSlider>(lgWindow, LegatoDialog::kEnd)->GetValue(), 5);
  EXPECT_EQ(Control<wxSlider>(lgWindow, LegatoDialog::kDepth)->GetValue(), 20);
  EXPECT_EQ(Control<wxTextCtrl>(lgWindow, LegatoDialog::kText)->GetValue(), "lig.");
  SavePng(lgWindow, "legato");

  CMetaEvent link(CMetaEvent::kHyperlink, "https://example.org|Notes", 0, 0, 2);
  CMetaHyperlink hl;
  hl.From(link);
  hl.sectionCount = 3;
  HyperlinkDialog hlWindow(nullptr, hl);
  ASSERT_TRUE(hlWindow.TransferDataToWindow());
  EXPECT_EQ(Control<wxTextCtrl>(hlWindow, HyperlinkDialog::kUrl)->GetValue(), "https://example.org");
  EXPECT_EQ(Control<wxTextCtrl>(hlWindow, HyperlinkDialog::kCaption)->GetValue(), "Notes");
  EXPECT_TRUE(Control<wxWindow>(hlWindow, HyperlinkDialog::kUrl)->IsEnabled());
  EXPECT_FALSE(Control<wxWindow>(hlWindow, HyperlinkDialog::kSection)->IsEnabled());
  SavePng(hlWindow, "hyperlink");
}

TEST(EditingDialogs, TheOtherMetaEventWindowsExchangeTheirFields) {
  CCrescendo rasgueado;
  rasgueado.rasgueado = true;
  rasgueado.vertical = -12;
  CrescendoDialog crescendo(nullptr, rasgueado);
  ASSERT_TRUE(crescendo.TransferDataToWindow());
  EXPECT_EQ(crescendo.GetTitle(), "Rasgueado");
  EXPECT_FALSE(Control<wxWindow>(crescendo, CrescendoDialog::kVolume)->IsShown());
  EXPECT_EQ(Control<wxSlider>(crescendo, CrescendoDialog::kVertical)->GetValue(), -12);

  CMeta_LBracketDlg bracket;
  BracketDialog bracketWindow(nullptr, bracket);
  ASSERT_TRUE(bracketWindow.TransferDataToWindow());
  EXPECT_EQ(Control<wxSlider>(bracketWindow, BracketDialog::kThickness)->GetValue(), 4);
  Control<wxChoice>(bracketWindow, BracketDialog::kType)->SetSelection(7);
  ASSERT_TRUE(bracketWindow.TransferDataFromWindow());
  EXPECT_EQ(bracket.type, 7);

  CDynamicCtrl dynamics;
  DynamicsDialog dynamicsWindow(nullptr, dynamics);
  ASSERT_TRUE(dynamicsWindow.TransferDataToWindow());
  auto* type = Control<wxChoice>(dynamicsWindow, DynamicsDialog::kType);
  type->SetSelection(4);
  wxCommandEvent chosen(wxEVT_CHOICE, DynamicsDialog::kType);
  chosen.SetInt(4);
  type->GetEventHandler()->ProcessEvent(chosen);
  EXPECT_EQ(Control<wxSlider>(dynamicsWindow, DynamicsDialog::kVolume)->GetValue(), 90);

  CEndingDlg ending;
  EndingDialog endingWindow(nullptr, ending);
  ASSERT_TRUE(endingWindow.TransferDataToWindow());
  EXPECT_EQ(Control<wxTextCtrl>(endingWindow, EndingDialog::kText)->GetValue(), "First ending");
  CBarreDlg barre;
  BarreDialog barreWindow(nullptr, barre);
  ASSERT_TRUE(barreWindow.TransferDataToWindow());
  EXPECT_EQ(Control<wxSpinCtrl>(barreWindow, BarreDialog::kFret)->GetValue(), 1);
  CContinuoDlg continuo;
  continuo.text = "6 5";
  ContinuoDialog continuoWindow(nullptr, continuo);
  ASSERT_TRUE(continuoWindow.TransferDataToWindow());
  EXPECT_EQ(Control<wxTextCtrl>(continuoWindow, ContinuoDialog::kText)->GetValue(), "6 5");
}

TEST(EditingDialogs, ClefRepriseAndLyricsWindows) {
  CClefChange clef;
  clef.From(CMetaEvent(CMetaEvent::kClef, "", 0x10002, -3, 0x113));
  ClefDialog clefWindow(nullptr, clef);
  ASSERT_TRUE(clefWindow.TransferDataToWindow());
  EXPECT_EQ(Control<wxChoice>(clefWindow, ClefDialog::kClef)->GetStringSelection(), "F clef");
  EXPECT_EQ(Control<wxSpinCtrl>(clefWindow, ClefDialog::kRaise)->GetValue(), -3);
  EXPECT_TRUE(Control<wxCheckBox>(clefWindow, ClefDialog::kSharp)->GetValue());
  SavePng(clefWindow, "clef-change");
  Control<wxSpinCtrl>(clefWindow, ClefDialog::kCount)->SetValue(5);
  ASSERT_TRUE(clefWindow.TransferDataFromWindow());
  EXPECT_EQ(clef.count, 5);

  CMetaReprise reprise;
  reprise.From(CMetaEvent(CMetaEvent::kReprise, "Fine", 0, 0x0008'0021, 1));
  RepriseDialog repriseWindow(nullptr, reprise);
  ASSERT_TRUE(repriseWindow.TransferDataToWindow());
  EXPECT_EQ(Control<wxChoice>(repriseWindow, RepriseDialog::kSize)->GetStringSelection(), "24");
  EXPECT_TRUE(Control<wxCheckBox>(repriseWindow, RepriseDialog::kBold)->GetValue());
  EXPECT_EQ(Control<wxTextCtrl>(repriseWindow, RepriseDialog::kText)->GetValue(), "Fine");
  SavePng(repriseWindow, "reprise");

  // The lyrics editor walks the voice from its buttons.
  nChordArray voice;
  for (int i = 0; i < 2; ++i) voice.push_back(std::make_unique<nChord>(nChord::kChord, uint16_t{3}));
  CMetaEvent* lyric = voice.at(0)->metaEvents.SetMetaEvent(CMetaEvent::kLyrics, "Flow\rmy", 0, 2, 0);
  CLyricsDlg lyrics;
  lyrics.From(*lyric, false, dfLogFont(), &voice);
  LyricsDialog lyricsWindow(nullptr, lyrics);
  ASSERT_TRUE(lyricsWindow.TransferDataToWindow());
  EXPECT_EQ(Control<wxTextCtrl>(lyricsWindow, LyricsDialog::kText)->GetValue(), "Flow+my");
  EXPECT_FALSE(Control<wxWindow>(lyricsWindow, LyricsDialog::kPrevious)->IsEnabled());
  EXPECT_TRUE(Control<wxWindow>(lyricsWindow, LyricsDialog::kNext)->IsEnabled());
  SavePng(lyricsWindow, "lyrics-editor");
  Control<wxTextCtrl>(lyricsWindow, LyricsDialog::kText)->SetValue("Flow+my tears");
  lyricsWindow.Press(LyricsDialog::kNext);
  EXPECT_EQ(lyric->text, "Flow\rmy tears");
  EXPECT_EQ(Control<wxTextCtrl>(lyricsWindow, LyricsDialog::kText)->GetValue(), "");
  EXPECT_TRUE(Control<wxWindow>(lyricsWindow, LyricsDialog::kPrevious)->IsEnabled());
  EXPECT_FALSE(Control<wxWindow>(lyricsWindow, LyricsDialog::kNext)->IsEnabled());
}

TEST(EditingDialogs, TrackTextSettingsWindow) {
  CTrackTextDlg caption;
  CMetaEvent event(CMetaEvent::kCaption, "Pavan\nLachrimae", 0, 0x4, 0);
  event.location.SetOffset(EventLocation::kNotation, -120, -250);
  caption.FromEvent(event, EventLocation::kNotation, dfLogFont());
  TrackTextDialog window(nullptr, caption);
  ASSERT_TRUE(window.TransferDataToWindow());
  EXPECT_EQ(window.GetTitle(), "Caption editor");
  EXPECT_EQ(Control<wxSpinCtrl>(window, TrackTextDialog::kX)->GetValue(), -120);
  EXPECT_FALSE(Control<wxWindow>(window, TrackTextDialog::kVisible)->IsShown());
  EXPECT_TRUE(Control<wxCheckBox>(window, TrackTextDialog::kShaded)->GetValue());
  SavePng(window, "caption-editor");
  Control<wxSlider>(window, TrackTextDialog::kTuning)->SetValue(-8);
  ASSERT_TRUE(window.TransferDataFromWindow());
  EXPECT_EQ(caption.fontTuning, -8);
}

TEST(EditingDialogs, RangeFailureKeepsTheStructAndNamesTheField) {
  testing::ScriptedPrompts prompts;
  ScopedPrompts scope(prompts);
  CTimeSignatureDlg ts;
  TimeSignatureDialog window(nullptr, ts);
  ASSERT_TRUE(window.TransferDataToWindow());
  // The spin keeps to its range; the struct's check still guards the exchange.
  Control<wxSpinCtrl>(window, TimeSignatureDialog::kBeats)->SetRange(0, 64);
  Control<wxSpinCtrl>(window, TimeSignatureDialog::kBeats)->SetValue(40);
  EXPECT_FALSE(window.TransferDataFromWindow());
  EXPECT_EQ(ts.beats, 4);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], "\"Beats per bar:\" must be between 1 and 32.");
}

}  // namespace
}  // namespace vornel
