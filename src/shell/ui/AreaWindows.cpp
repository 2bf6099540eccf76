#include "shell/ui/AreaWindows.h"

#include <wx/app.h>

#include "document/CVornelTabDoc.h"
#include "layout/dialogs/DialogTextures.h"
#include "layout/ui/dialogs/ChordDialogWindows.h"
#include "layout/ui/dialogs/ImagePreview.h"
#include "layout/ui/dialogs/MetaEventDialogWindows.h"
#include "layout/ui/dialogs/SectionDialogWindows.h"
#include "layout/ui/dialogs/SmallDialogWindows.h"
#include "view/ui/instrument/InstrumentTemplatesWindow.h"
#include "layout/ui/wizard/DocumentWizardWindow.h"
#include "midi/MidiDialogs.h"
#include "model/CMetaEvent.h"
#include "midi/play/MidiOut.h"
#include "midi/ui/WxMidiDialogs.h"
#include "shell/app/CSessionOptionsDlg.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/app/PlaybackSounds.h"
#include "shell/commands/PlaybackCommands.h"
#include "shell/commands/InstrumentBaseCommands.h"
#include "shell/commands/ProgramCommands.h"
#include "shell/commands/WizardDialogsBridge.h"
#include "shell/ui/library/AssociationsDialog.h"
#include "shell/ui/FacsimilePane.h"
#include "view/facsimile/FacsimileCommands.h"
#include "shell/ui/TemplateListWindow.h"
#include "shell/ui/ScoreDialogsBridge.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/PageFrame.h"
#include "shell/ui/CChildFrame.h"
#include "shell/ui/MainFrame.h"
#include "view/draw/FontChooser.h"
#include "view/ui/ScoreCanvas.h"
#include "view/ui/titlepage/TitlePageCanvas.h"
#include "view/ui/charts/AlfabetoFunctionDialog.h"
#include "view/ui/charts/OrnamentGlyphsDialog.h"
#include "view/ui/dialogs/CBitmapPreview.h"
#include "view/ui/dialogs/WxEntryForms.h"
#include "view/ui/instrument/InstrumentSectionEditor.h"
#include "view/ui/settings/DocumentSettingsWindows.h"
#include "shell/app/Profile.h"

namespace vornel {

namespace {

CanvasFactory& Canvas() {
  static CanvasFactory factory;
  return factory;
}

CanvasFactory& TitlePage() {
  static CanvasFactory factory;
  return factory;
}

FacsimileFactory& Facsimile() {
  static FacsimileFactory factory;
  return factory;
}

// The document of the active window; null when none is open.
CBriotabDoc* ActiveDocument() {
  auto* frame = wxTheApp != nullptr ? dynamic_cast<CMainFrame*>(wxTheApp->GetTopWindow()) : nullptr;
  CChildFrame* child = frame != nullptr ? frame->ActiveChild() : nullptr;
  return child != nullptr ? &child->Document() : nullptr;
}

}  // namespace

void SetCanvasFactory(CanvasFactory factory) { Canvas() = std::move(factory); }
const CanvasFactory& GetCanvasFactory() { return Canvas(); }
void SetTitlePageFactory(CanvasFactory factory) { TitlePage() = std::move(factory); }
const CanvasFactory& GetTitlePageFactory() { return TitlePage(); }
void SetFacsimileFactory(FacsimileFactory factory) { Facsimile() = std::move(factory); }
const FacsimileFactory& GetFacsimileFactory() { return Facsimile(); }

void InstallAreaWindows(CVornelTabApp& app) {
  // One line per area: the score view's canvas (and the renderer that draws its staves), the
  // title-page view, the image viewer of the facsimile pane.
  static DrawingStaveRenderer staves;
  static ScopedStaveRenderer scopedStaves(staves);
  SetCanvasFactory([&app](wxWindow* parent, CVornelTabDoc& doc) {
    view::ScoreCanvasOptions options;
    options.background = app.options.screenColor;
    options.playerOutput = [&app] { return CreateMidiOut(MidiOutputSettingsOf(app)); };
    options.echo = SharedEchoOutput(app);
    options.playTick = [&app] { Sounds().PlayFileAsync(app.dataFolder + "/tic.wav"); };
    options.playMidiFile = [] { OpenMidiFileInPlayer(); };
    auto* canvas = new view::ScoreCanvas(parent, doc, std::move(options));
    CanvasHost host;
    host.window = canvas;
    host.commands = &canvas->View().Commands();
    host.player = canvas->View().Player();
    host.observesDocument = true;
    host.addFacsimile = [&doc](const std::string& path) { view::AddFacsimileFile(doc, path); };
    host.zoomPercent = [&doc] { return static_cast<int>(doc.settings.pageSettings.zoom); };
    host.setZoomPercent = [canvas](int percent) { canvas->View().SetZoomKeepingPosition(percent); };
    return host;
  });
  SetTitlePageFactory([&app](wxWindow* parent, CVornelTabDoc& doc) {
    auto* canvas = new view::TitlePageCanvas(parent, doc, app.options.screenColor);
    CanvasHost host;
    host.window = canvas;
    host.commands = &canvas->View().Commands();
    host.titlePage = true;
    host.observesDocument = true;
    return host;
  });
  SetFacsimileFactory(MakeFacsimilePane);
  // Playback: the jingle and the metronome clicks, the MIDI outputs of the preferences, the
  // MIDI dialogs.
  static PlaybackSounds sounds;
  static ScopedSounds scopedSounds(sounds);
  SetMidiPortLister(ListMidiOutputs);
  static WxMidiDialogs midiDialogs;
  static ScopedMidiDialogs scopedMidiDialogs(midiDialogs);
  // Dialog backgrounds follow the session option at each repaint.
  SetTexturedBackgroundsReader([&app] { return app.allowBitmaps != 0; });
  // The paper of the score pages takes the application's texture while it is on.
  SetPageBackground([&app] { return app.PaperTexture(); });
  // Editing dialogs: the section and system dialogs, the meta-event editors by kind (the MIDI
  // controller's from the MIDI dialogs).
  static WxSectionDialogs sectionDialogs(nullptr);
  sectionDialogs.SetFontChooser([](dfLogFont& font) { return ChooseFont(font); });
  static ScopedSectionDialogs scopedSectionDialogs(sectionDialogs);
  // The instrument sheet, the tuning dialog and the texts of pages and instrument names
  // through the section editor; "Set as default instrument" keeps the definition as the
  // application's default; the tablature page's "Font" is the active document's font of time
  // signatures, taken at once (the sheet's Cancel does not undo it).
  InstrumentSheetActions instrumentActions;
  instrumentActions.documentTabFont = [] { ChooseDocumentTabFont(ActiveDocument()); };
  instrumentActions.setAsDefault = [&app](const CInstrumentDlg& definition) {
    if (app.options.defaultInstrument == nullptr) app.options.defaultInstrument = std::make_unique<CInstrumentDlg>();
    app.options.defaultInstrument->CopyFrom(definition);
    app.SaveSessionOptions();
  };
  static InstrumentSectionEditor sectionEditor(std::move(instrumentActions));
  static ScopedSectionEditor scopedSectionEditor(sectionEditor);
  // The document's settings dialogs; the page settings keep their profile keys in the
  // application's profile.
  PageSettingsProfile pageProfile;
  pageProfile.read = [&app](std::string_view key) { return app.Profile().ReadText(kSessionProfile, key); };
  pageProfile.write = [&app](std::string_view key, std::string_view value) {
    app.Profile().WriteText(kSessionProfile, key, value);
  };
  static WxSettingsDialogs settingsDialogs(std::move(pageProfile));
  static ScopedSettingsDialogs scopedSettingsDialogs(settingsDialogs);
  static WxMetaEventDialogs metaEventDialogs(nullptr);
  metaEventDialogs.SetFontChooser([](dfLogFont& font) { return ChooseFont(font); });
  static ScopedMetaEventDialogs scopedMetaEventDialogs(metaEventDialogs);
  static MetaEventEditorRegistry metaEventEditors;
  metaEventEditors.SetDocument(ActiveDocument);
  metaEventEditors.Register(CMetaEvent::kMidiController, [](CMetaEvent& event, bool) { return EditMidiController(event); });
  metaEventEditors.Register(CMetaEvent::kGraphicOrnament, [](CMetaEvent& event, bool) { return EditGraphicOrnament(event); });
  static ScopedMetaEventEditor scopedMetaEventEditors(metaEventEditors);
  // The chord dialogs, the small editing dialogs and the forms of the entry commands.
  static WxChordDialogs chordDialogs(nullptr);
  static ScopedChordDialogs scopedChordDialogs(chordDialogs);
  static WxSmallDialogs smallDialogs(nullptr);
  static ScopedSmallDialogs scopedSmallDialogs(smallDialogs);
  static WxEntryForms entryForms(nullptr);
  static ScopedEntryForms scopedEntryForms(entryForms);
  SetImagePreviewer(ShowBitmapPreview);
  // The alfabeto letter of a chord, over whatever entry forms are installed already.
  static AlfabetoEntryForms alfabetoForms(nullptr, EntryFormsInForce());
  static ScopedEntryForms scopedAlfabetoForms(alfabetoForms);
  // Document libraries: the associations dialog of the document commands, its pictures shown
  // in the image preview dialog.
  // The score commands' dialogs: the windows above, reached through the view's interface.
  static WindowScoreDialogs scoreDialogs(&app);
  static view::ScopedScoreDialogs scopedScoreDialogs(scoreDialogs);
  static WxAssociationsEditor associations;
  static ScopedAssociationsEditor scopedAssociations(associations);
  CAssociationsDlg::SetImagePreviewer([](const std::string& path) { ShowBitmapPreview(nullptr, path); });
  // New documents: the template list of File > New, the new-document wizard, and the
  // add-section wizard behind "Add section" and the imports.
  static WxTemplateListDialogs templateLists;
  static ScopedTemplateListDialogs scopedTemplateLists(templateLists);
  static SettingsWizardDialogs wizardDialogs(app);
  static ScopedWizardDialogs scopedWizardDialogs(wizardDialogs);
  static WxDocumentWizardRunner wizardRunner;
  static ScopedWizardRunner scopedWizardRunner(wizardRunner);
  static RunnerSectionWizard sectionWizard(wizardRunner);
  static ScopedSectionWizard scopedSectionWizard(sectionWizard);
  // The instrument base: its templates dialog chooses the instruments; "Add this instrument to
  // the current section" makes the definition the default instrument and imports it.
  static TemplatesInstrumentChooser instrumentChooser([&app](const CInstrumentDlg& definition) {
    AddToCurrentSection(app, definition, [](int command) {
      if (wxWindow* top = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr) {
        wxCommandEvent event(wxEVT_MENU, command);
        wxPostEvent(top, event);
      }
    });
  });
  static ScopedInstrumentChooser scopedInstrumentChooser(instrumentChooser);
}

}  // namespace vornel
