#pragma once
// The editors of meta-events by kind. The registry is the model's MetaEventEditor: each kind
// with an editor runs its dialog struct through the window layer's MetaEventDialogs (or a
// prompt of Prompts()) and packs the result back on OK. Kinds whose editor lives in another
// area (the MIDI controller, the track-text editor, the ornament chooser ...) are registered by
// whoever wires the application together.

#include <functional>
#include <map>

#include "layout/dialogs/LyricsEditor.h"
#include "layout/dialogs/MetaEventDialogs.h"
#include "model/events/MetaEventEditor.h"

namespace vornel {

// The dialogs as the window layer shows them; true on OK with the struct filled.
class MetaEventDialogs {
 public:
  virtual ~MetaEventDialogs() = default;
  virtual bool EditTimeSignature(CTimeSignatureDlg& dialog);
  virtual bool EditLegato(LegatoDlg& dialog);
  virtual bool EditContinuo(CContinuoDlg& dialog);
  virtual bool EditEnding(CEndingDlg& dialog);
  virtual bool EditCrescendo(CCrescendo& dialog);
  virtual bool EditBarre(CBarreDlg& dialog);
  virtual bool EditHyperlink(CMetaHyperlink& dialog);
  virtual bool EditBracket(CMeta_LBracketDlg& dialog);
  virtual bool EditDynamics(CDynamicCtrl& dialog);
  virtual bool EditClef(CClefChange& dialog);
  virtual bool EditReprise(CMetaReprise& dialog);
  // The lyrics editor works on the voice as it walks; on OK the fields go back to the event.
  virtual bool EditLyrics(CLyricsDlg& dialog);
};

MetaEventDialogs& MetaEventDialogWindows();

class ScopedMetaEventDialogs {
 public:
  explicit ScopedMetaEventDialogs(MetaEventDialogs& dialogs);
  ~ScopedMetaEventDialogs();
  ScopedMetaEventDialogs(const ScopedMetaEventDialogs&) = delete;
  ScopedMetaEventDialogs& operator=(const ScopedMetaEventDialogs&) = delete;

 private:
  MetaEventDialogs* previous_;
};

class CBriotabDoc;

class MetaEventEditorRegistry : public MetaEventEditor {
 public:
  static constexpr std::string_view kTempoCaption = "Tempo";
  static constexpr std::string_view kBarsCaption = "Number of bars:";

  // `lower` is set for the tablature line (the view passed to RunEditor is not 0).
  using Editor = std::function<bool(CMetaEvent& event, bool lower)>;

  // With the editors of this area: kinds 0, 1, 5, 6, 8, 9, 12, 14, 15, 17, 21, 23, 26, 32, 33, 34, 36 and 38.
  MetaEventEditorRegistry();
  // Installs or replaces the editor of a kind.
  void Register(uint8_t kind, Editor editor);
  bool HasEditor(uint8_t kind) const { return editors_.count(kind) != 0; }
  // The number of sections of the edited document, which bounds a hyperlink's section.
  void SetSectionCount(std::function<int()> count) { sectionCount_ = std::move(count); }
  // The document being edited: its active line's voice and its lyrics font serve the lyrics
  // editor, its sections bound a hyperlink's section when no count was given.
  void SetDocument(std::function<CBriotabDoc*()> document) { document_ = std::move(document); }
  // Runs the kind's editor; false when cancelled or when the kind has none.
  bool RunEditor(CMetaEvent& event, int view) override;

 private:
  std::map<uint8_t, Editor> editors_;
  std::function<int()> sectionCount_;
  std::function<CBriotabDoc*()> document_;
};

}  // namespace vornel
