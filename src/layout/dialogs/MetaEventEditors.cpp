#include "layout/dialogs/MetaEventEditors.h"

#include <algorithm>

#include "document/CBriotabDoc.h"
#include "layout/dialogs/ChordDialogs.h"
#include "layout/dialogs/SectionDialogs.h"
#include "model/instrument/CInstrument.h"
#include "model/events/CMetaEvent.h"
#include "platform/ServiceSlots.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

constexpr const char* kServiceName = "meta-event dialog";

// A service the editor's window installs, not drawing state: one per process by design.
MetaEventDialogs g_noDialogs;
ObjectSlot<MetaEventDialogs> g_dialogs(kServiceName, g_noDialogs);

// The default of every dialog: nothing is installed to show it.
bool Missing() {
  ReportMissingService(kServiceName);
  return false;
}

// Reads the struct from the event, shows it, and packs it back when the dialog was confirmed
// with every field in range.
template <typename Dialog, typename Show>
MetaEventEditorRegistry::Editor LinedEditor(Show show) {
  return [show](CMetaEvent& event, bool lower) {
    Dialog dialog;
    dialog.From(event, lower);
    if (!(MetaEventDialogWindows().*show)(dialog) || !dialog.Validate().empty()) return false;
    dialog.To(event, lower);
    return true;
  };
}

template <typename Dialog, typename Show>
MetaEventEditorRegistry::Editor PlainEditor(Show show) {
  return [show](CMetaEvent& event, bool) {
    Dialog dialog;
    dialog.From(event);
    if (!(MetaEventDialogWindows().*show)(dialog) || !dialog.Validate().empty()) return false;
    dialog.To(event);
    return true;
  };
}

bool EditTempo(CMetaEvent& event, bool) {
  const auto answer = Prompts().PromptNumber(MetaEventEditorRegistry::kTempoCaption,
                                             MetaEventEditorRegistry::kTempoCaption, 20, 300, event.value & 0xFFF);
  if (!answer) return false;
  event.cx = static_cast<int32_t>((event.value >> 16) & 0xFF);
  event.cy = static_cast<int32_t>((event.value >> 24) & 0xFF);
  event.value = static_cast<uint32_t>(*answer) & 0xFFF;
  return true;
}

bool EditBarPause(CMetaEvent& event, bool) {
  const long bars = event.cx != 0 ? event.cx : 1;
  const auto answer = Prompts().PromptNumber(MetaEventEditorRegistry::kBarsCaption,
                                             MetaEventEditorRegistry::kBarsCaption, 1, 24, bars);
  if (!answer) return false;
  event.cx = static_cast<int32_t>(*answer);
  return true;
}

}  // namespace

bool MetaEventDialogs::EditTimeSignature(CTimeSignatureDlg&) { return Missing(); }
bool MetaEventDialogs::EditLegato(LegatoDlg&) { return Missing(); }
bool MetaEventDialogs::EditContinuo(CContinuoDlg&) { return Missing(); }
bool MetaEventDialogs::EditEnding(CEndingDlg&) { return Missing(); }
bool MetaEventDialogs::EditCrescendo(CCrescendo&) { return Missing(); }
bool MetaEventDialogs::EditBarre(CBarreDlg&) { return Missing(); }
bool MetaEventDialogs::EditHyperlink(CMetaHyperlink&) { return Missing(); }
bool MetaEventDialogs::EditBracket(CMeta_LBracketDlg&) { return Missing(); }
bool MetaEventDialogs::EditDynamics(CDynamicCtrl&) { return Missing(); }
bool MetaEventDialogs::EditClef(CClefChange&) { return Missing(); }
bool MetaEventDialogs::EditReprise(CMetaReprise&) { return Missing(); }
bool MetaEventDialogs::EditLyrics(CLyricsDlg&) { return Missing(); }

MetaEventDialogs& MetaEventDialogWindows() { return g_dialogs.Get(); }

ScopedMetaEventDialogs::ScopedMetaEventDialogs(MetaEventDialogs& dialogs) : previous_(g_dialogs.Exchange(&dialogs)) {}

ScopedMetaEventDialogs::~ScopedMetaEventDialogs() { g_dialogs.Exchange(previous_); }

MetaEventEditorRegistry::MetaEventEditorRegistry() {
  Register(CMetaEvent::kTimeSignature, PlainEditor<CTimeSignatureDlg>(&MetaEventDialogs::EditTimeSignature));
  Register(CMetaEvent::kLegato, LinedEditor<LegatoDlg>(&MetaEventDialogs::EditLegato));
  Register(CMetaEvent::kContinuo, LinedEditor<CContinuoDlg>(&MetaEventDialogs::EditContinuo));
  Register(CMetaEvent::kEnding, LinedEditor<CEndingDlg>(&MetaEventDialogs::EditEnding));
  Register(CMetaEvent::kTempo, EditTempo);
  Register(CMetaEvent::kCrescendo, LinedEditor<CCrescendo>(&MetaEventDialogs::EditCrescendo));
  Register(CMetaEvent::kRasgueado, LinedEditor<CCrescendo>(&MetaEventDialogs::EditCrescendo));
  Register(CMetaEvent::kBarre, PlainEditor<CBarreDlg>(&MetaEventDialogs::EditBarre));
  Register(CMetaEvent::kHyperlink, [this](CMetaEvent& event, bool) {
    CMetaHyperlink dialog;
    dialog.From(event);
    // Without a document to ask, the byte the section is kept in bounds it.
    CBriotabDoc* doc = document_ ? document_() : nullptr;
    dialog.sectionCount = sectionCount_ ? sectionCount_()
                          : doc != nullptr ? static_cast<int>(std::max<size_t>(doc->sections.size(), 1))
                                           : 255;
    if (!MetaEventDialogWindows().EditHyperlink(dialog) || !dialog.Validate().empty()) return false;
    dialog.To(event);
    return true;
  });
  Register(CMetaEvent::kStaveBracket, LinedEditor<CMeta_LBracketDlg>(&MetaEventDialogs::EditBracket));
  Register(CMetaEvent::kDynamics, PlainEditor<CDynamicCtrl>(&MetaEventDialogs::EditDynamics));
  Register(CMetaEvent::kBarPause, EditBarPause);
  Register(CMetaEvent::kClef, PlainEditor<CClefChange>(&MetaEventDialogs::EditClef));
  Register(CMetaEvent::kReprise, PlainEditor<CMetaReprise>(&MetaEventDialogs::EditReprise));
  // A grace-note group keeps its code in cx and its drawing flags in cy; "Delete me" marks the
  // event for removal.
  Register(CMetaEvent::kGraceNote, [](CMetaEvent& event, bool) {
    int code = event.cx;
    CGraceNotesDlg dialog;
    dialog.ReadFlags(event.cx, static_cast<uint32_t>(event.cy));
    if (!EditGraceNotes(code, &dialog)) return false;
    if (dialog.deleteMe) {
      event.kind = CMetaEvent::kDeleteMe;
    } else {
      event.cx = code;
      event.cy = static_cast<int32_t>(dialog.Flags());
    }
    return true;
  });
  // Captions and footnotes: the track text settings with the view's offsets and the document's
  // caption or footnote font.
  const auto trackText = [this](CMetaEvent& event, bool lower) {
    CBriotabDoc* doc = document_ ? document_() : nullptr;
    dfLogFont scratch;
    const size_t fontIndex = event.kind == CMetaEvent::kFootnote ? kFontFootnotes : kFontCaptions;
    dfLogFont& font = doc != nullptr ? doc->settings.pageSettings.DocumentFont(fontIndex) : scratch;
    const int view = lower ? EventLocation::kTablature : EventLocation::kNotation;
    CTrackTextDlg dialog;
    dialog.FromEvent(event, view, font);
    if (!SectionEditingDialogs().EditTrackText(dialog) || !dialog.Validate().empty()) return false;
    dialog.ToEvent(event, view);
    font = dialog.font;
    font.microTuning = dialog.fontTuning;
    return true;
  };
  Register(CMetaEvent::kCaption, trackText);
  Register(CMetaEvent::kFootnote, trackText);
  Register(CMetaEvent::kLyrics, [this](CMetaEvent& event, bool lower) {
    CBriotabDoc* doc = document_ ? document_() : nullptr;
    CInstrument* line = doc != nullptr ? doc->GetActiveInstrument() : nullptr;
    // Without a document the dialog edits a font of its own, which goes nowhere.
    dfLogFont scratch;
    dfLogFont& lyricsFont = doc != nullptr ? doc->settings.pageSettings.DocumentFont(kFontLyrics) : scratch;
    CLyricsDlg dialog;
    dialog.From(event, lower, lyricsFont, line != nullptr ? &line->GetSelectedVoice() : nullptr);
    if (!MetaEventDialogWindows().EditLyrics(dialog) || !dialog.Validate().empty()) return false;
    dialog.To(event, lower);
    lyricsFont = dialog.font;
    return true;
  });
}

void MetaEventEditorRegistry::Register(uint8_t kind, Editor editor) { editors_[kind] = std::move(editor); }

bool MetaEventEditorRegistry::RunEditor(CMetaEvent& event, int view) {
  const auto found = editors_.find(event.kind);
  return found != editors_.end() && found->second(event, view != 0);
}

}  // namespace vornel
