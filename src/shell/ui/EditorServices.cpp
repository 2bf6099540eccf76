#include "shell/ui/EditorServices.h"

#include <wx/app.h>

#include <cassert>
#include <optional>

#include "document/CVornelTabDoc.h"
#include "layout/dialogs/DialogTextures.h"
#include "layout/ui/CRichTextDlg.h"
#include "layout/ui/dialogs/ChordDialogWindows.h"
#include "layout/ui/dialogs/ImagePreview.h"
#include "layout/ui/dialogs/MetaEventDialogWindows.h"
#include "layout/ui/dialogs/SectionDialogWindows.h"
#include "layout/ui/dialogs/SmallDialogWindows.h"
#include "layout/ui/wizard/DocumentWizardWindow.h"
#include "midi/MidiDialogs.h"
#include "midi/play/MidiOut.h"
#include "midi/ui/WxMidiDialogs.h"
#include "model/events/CMetaEvent.h"
#include "platform/ServiceSlots.h"
#include "platform/UserPrompts.h"
#include "shell/app/CSessionOptionsDlg.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/app/PlaybackSounds.h"
#include "shell/app/Profile.h"
#include "shell/commands/InstrumentBaseCommands.h"
#include "shell/commands/PlaybackCommands.h"
#include "shell/commands/ProgramCommands.h"
#include "shell/commands/WizardDialogsBridge.h"
#include "shell/ui/AreaWindows.h"
#include "shell/ui/CChildFrame.h"
#include "shell/ui/FacsimilePane.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ScoreDialogsBridge.h"
#include "shell/ui/ShellExportServices.h"
#include "shell/ui/TemplateListWindow.h"
#include "shell/ui/WxProgramLauncher.h"
#include "shell/ui/library/AssociationsDialog.h"
#include "view/draw/FontChooser.h"
#include "view/facsimile/FacsimileCommands.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/PageFrame.h"
#include "view/ui/DesktopChordClipboard.h"
#include "view/ui/ScoreCanvas.h"
#include "view/ui/WxFontChooser.h"
#include "view/ui/charts/AlfabetoFunctionDialog.h"
#include "view/ui/charts/OrnamentGlyphsDialog.h"
#include "view/ui/dialogs/CBitmapPreview.h"
#include "view/ui/dialogs/WxEntryForms.h"
#include "view/ui/facsimile/WxFacsimileWindows.h"
#include "view/ui/instrument/InstrumentSectionEditor.h"
#include "view/ui/instrument/InstrumentTemplatesWindow.h"
#include "view/ui/settings/DocumentSettingsWindows.h"
#include "view/ui/titlepage/TitlePageCanvas.h"

namespace vornel {

namespace {

// The document of the active window; null when none is open.
CBriotabDoc* ActiveDocument() {
  auto* frame = wxTheApp != nullptr ? dynamic_cast<CMainFrame*>(wxTheApp->GetTopWindow()) : nullptr;
  CChildFrame* child = frame != nullptr ? frame->ActiveChild() : nullptr;
  return child != nullptr ? &child->Document() : nullptr;
}

// Sends a command to the main window, as its menus do.
void PostToMainWindow(int command) {
  if (wxWindow* top = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr) {
    wxCommandEvent event(wxEVT_MENU, command);
    wxPostEvent(top, event);
  }
}

// The score view of a tab, with its renderer's options from the application.
CanvasHost MakeScoreCanvas(CVornelTabApp& app, wxWindow* parent, CVornelTabDoc& doc) {
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
  host.inputPianoKey = [canvas](uint8_t pitch) { canvas->InputPianoKey(pitch); };
  return host;
}

CanvasHost MakeTitlePageCanvas(CVornelTabApp& app, wxWindow* parent, CVornelTabDoc& doc) {
  auto* canvas = new view::TitlePageCanvas(parent, doc, app.options.screenColor);
  CanvasHost host;
  host.window = canvas;
  host.commands = &canvas->View().Commands();
  host.titlePage = true;
  host.observesDocument = true;
  return host;
}

// Puts a hook in force for the object's lifetime (the setters of the hooks take an empty one
// for none).
class ScopedHook {
 public:
  template <typename Setter, typename Hook>
  ScopedHook(Setter set, Hook hook) : reset_([set] { set({}); }) {
    set(std::move(hook));
  }
  ~ScopedHook() { reset_(); }
  ScopedHook(const ScopedHook&) = delete;
  ScopedHook& operator=(const ScopedHook&) = delete;

 private:
  std::function<void()> reset_;
};

InstrumentSheetActions SheetActions(CVornelTabApp& app) {
  // "Set as default instrument" keeps the definition as the application's default; the
  // tablature page's "Font" is the active document's font of time signatures, taken at once
  // (the sheet's Cancel does not undo it).
  InstrumentSheetActions actions;
  actions.documentTabFont = [] { ChooseDocumentTabFont(ActiveDocument()); };
  actions.setAsDefault = [&app](const CInstrumentDlg& definition) {
    if (app.options.defaultInstrument == nullptr) app.options.defaultInstrument = std::make_unique<CInstrumentDlg>();
    app.options.defaultInstrument->CopyFrom(definition);
    app.SaveSessionOptions();
  };
  return actions;
}

PageSettingsProfile PageProfile(CVornelTabApp& app) {
  PageSettingsProfile profile;
  profile.read = [&app](std::string_view key) { return app.Profile().ReadText(kSessionProfile, key); };
  profile.write = [&app](std::string_view key, std::string_view value) {
    app.Profile().WriteText(kSessionProfile, key, value);
  };
  return profile;
}

}  // namespace

// Each object comes before the scope that installs it; members are destroyed in reverse, so
// every slot gets back what it held before.
struct EditorServices::Installed {
  explicit Installed(CVornelTabApp& app)
      : app(app),
        exports(app),
        instrumentEditor(SheetActions(app)),
        settingsDialogs(PageProfile(app)),
        scoreDialogs(&app),
        wizardDialogs(app),
        sectionWizard(wizardRunner),
        instrumentChooser([&app](const CInstrumentDlg& definition) {
          AddToCurrentSection(app, definition, PostToMainWindow);
        }) {
    sectionDialogs.SetFontChooser([](dfLogFont& font) { return ChooseFont(font); });
    metaEventDialogs.SetFontChooser([](dfLogFont& font) { return ChooseFont(font); });
    metaEventEditors.SetDocument(ActiveDocument);
    metaEventEditors.Register(CMetaEvent::kMidiController,
                              [](CMetaEvent& event, bool) { return EditMidiController(event); });
    metaEventEditors.Register(CMetaEvent::kGraphicOrnament,
                              [](CMetaEvent& event, bool) { return EditGraphicOrnament(event); });
    CAssociationsDlg::SetImagePreviewer([](const std::string& path) { ShowBitmapPreview(nullptr, path); });
  }
  ~Installed() { CAssociationsDlg::SetImagePreviewer({}); }

  CVornelTabApp& app;

  // Drawing: the staves of every view, the paper's texture, the dialogs' backgrounds.
  DrawingStaveRenderer staves;
  ScopedStaveRenderer staveScope{staves};
  ScopedHook pageBackground{SetPageBackground, std::function<const DeviceBitmap*()>([this] { return app.PaperTexture(); })};
  ScopedHook dialogTextures{SetTexturedBackgroundsReader, std::function<bool()>([this] { return app.allowBitmaps != 0; })};

  // The tabs' views: the score canvas, the title page, the facsimile pane.
  ScopedHook canvas{SetCanvasFactory, CanvasFactory([this](wxWindow* parent, CVornelTabDoc& doc) {
                      return MakeScoreCanvas(app, parent, doc);
                    })};
  ScopedHook titlePage{SetTitlePageFactory, CanvasFactory([this](wxWindow* parent, CVornelTabDoc& doc) {
                         return MakeTitlePageCanvas(app, parent, doc);
                       })};
  ScopedHook facsimilePane{SetFacsimileFactory, FacsimileFactory(MakeFacsimilePane)};

  // The desktop: programs, the clipboard of chords, the exports' programs and settings.
  WxProgramLauncher launcher;
  ScopedPrograms launcherScope{launcher};
  view::DesktopChordClipboard chordClipboard;
  view::ScopedChordClipboard chordClipboardScope{chordClipboard};
  ShellExportServices exports;
  ScopedExportServices exportsScope{exports};

  // Playback: the jingle and the metronome clicks, the MIDI outputs of the preferences, the
  // MIDI dialogs.
  PlaybackSounds sounds;
  ScopedSounds soundsScope{sounds};
  ScopedHook portLister{SetMidiPortLister, MidiPortLister(ListMidiOutputs)};
  WxMidiDialogs midiDialogs;
  ScopedMidiDialogs midiDialogsScope{midiDialogs};

  // Editing dialogs: sections and systems, the instrument sheet and the page texts, the
  // meta-event editors by kind (the MIDI controller's and the graphic ornament's from other
  // areas), chords, the small prompts, the entry forms with the alfabeto letter over them.
  WxSectionDialogs sectionDialogs{nullptr};
  ScopedSectionDialogs sectionDialogsScope{sectionDialogs};
  InstrumentSectionEditor instrumentEditor;
  ScopedSectionEditor instrumentEditorScope{instrumentEditor};
  WxMetaEventDialogs metaEventDialogs{nullptr};
  ScopedMetaEventDialogs metaEventDialogsScope{metaEventDialogs};
  MetaEventEditorRegistry metaEventEditors;
  ScopedMetaEventEditor metaEventEditorsScope{metaEventEditors};
  WxChordDialogs chordDialogs{nullptr};
  ScopedChordDialogs chordDialogsScope{chordDialogs};
  WxSmallDialogs smallDialogs{nullptr};
  ScopedSmallDialogs smallDialogsScope{smallDialogs};
  WxEntryForms entryForms{nullptr};
  ScopedEntryForms entryFormsScope{entryForms};
  AlfabetoEntryForms alfabetoForms{nullptr, entryForms};
  ScopedEntryForms alfabetoFormsScope{alfabetoForms};
  ScopedHook imagePreview{SetImagePreviewer, ImagePreviewer(ShowBitmapPreview)};
  WxRichTextEditor richText;
  ScopedRichTextEditor richTextScope{richText};

  // The document's settings dialogs (the page settings keep their keys in the application's
  // profile), the score commands' dialogs, the image viewer and facsimile list, fonts.
  WxSettingsDialogs settingsDialogs;
  ScopedSettingsDialogs settingsDialogsScope{settingsDialogs};
  WindowScoreDialogs scoreDialogs;
  view::ScopedScoreDialogs scoreDialogsScope{scoreDialogs};
  view::WxFacsimileWindows facsimiles;
  view::ScopedFacsimileWindows facsimilesScope{facsimiles};
  WxAssociationsEditor associations;
  ScopedAssociationsEditor associationsScope{associations};
  std::optional<WxFontChooser> fontChooser;
  std::optional<ScopedFontChooser> fontChooserScope;

  // New documents: the template list of File > New, the new-document wizard, the add-section
  // wizard behind "Add section" and the imports; the instrument base's templates dialog
  // chooses instruments, and "Add this instrument to the current section" makes the
  // definition the default instrument and imports it.
  WxTemplateListDialogs templateLists;
  ScopedTemplateListDialogs templateListsScope{templateLists};
  SettingsWizardDialogs wizardDialogs;
  ScopedWizardDialogs wizardDialogsScope{wizardDialogs};
  WxDocumentWizardRunner wizardRunner;
  ScopedWizardRunner wizardRunnerScope{wizardRunner};
  RunnerSectionWizard sectionWizard;
  ScopedSectionWizard sectionWizardScope{sectionWizard};
  TemplatesInstrumentChooser instrumentChooser;
  ScopedInstrumentChooser instrumentChooserScope{instrumentChooser};
};

EditorServices::EditorServices(CVornelTabApp& app) : installed_(std::make_unique<Installed>(app)) {}

EditorServices::~EditorServices() = default;

void EditorServices::AttachFrame(wxWindow* frame) {
  Installed& s = *installed_;
  s.exports.SetParent(frame);
  s.exports.TakeSettings();
  s.facsimiles.SetParent(frame);
  s.midiDialogs.SetParent(frame);
  s.instrumentEditor.SetParent(frame);
  s.fontChooserScope.reset();
  s.fontChooser.emplace(frame);
  s.fontChooserScope.emplace(*s.fontChooser);
  // A slot left empty is a feature the user cannot reach: say so at once.
  for (const std::string& name : Missing()) ReportMissingService(name);
}

std::vector<std::string> EditorServices::Missing() const {
  std::vector<std::string> missing;
  for (const ServiceSlot* slot : ServiceSlots()) {
    if (slot->InForce() == nullptr) missing.push_back(slot->Name());
  }
  return missing;
}

}  // namespace vornel
