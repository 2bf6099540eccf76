#pragma once
// The score commands' dialogs in the editor: each answer comes from the window the rest of the
// program already uses for it (the tuning and course-tuning dialogs, the octave and bar-range
// dialogs, the document fonts, the templates dialog over the instrument base, the number
// prompt for a global tuning shift, the custom ornaments); the paper texture is the application's.

#include <memory>

#include "document/instruments/CInstrumentTemplates.h"
#include "view/commands/ScoreDialogs.h"

namespace vornel {

class CVornelTabApp;

class WindowScoreDialogs : public view::ScoreDialogs {
 public:
  // The paper texture is the application's; without one there is none to choose or show.
  explicit WindowScoreDialogs(CVornelTabApp* app = nullptr);
  ~WindowScoreDialogs() override;
  bool ChooseTextureBitmap() override;
  bool TextureOn() override;

  bool EditTuning(CInstrumentDlg& definition) override;
  bool ChooseCourseTuning(const CInstrumentDlg& definition, view::CourseTuningChoice& choice) override;
  bool ChooseGlobalTuningShift(int& halfSteps) override;
  // The octave limit and bar range are the base's: the small editing dialogs.
  CInstrumentArray* InstrumentBase() override;
  bool SaveInstrumentBase() override;
  std::unique_ptr<CInstrumentDlg> ChooseFromTemplates(const CInstrumentDlg& current) override;
  bool EditDocumentFonts(CBriotabDoc& doc) override;
  // "Ornaments" on the definition's table, each slot edited in "Music ornament".
  bool CustomizeOrnaments(CInstrumentDlg& definition) override;
  // "Manage alfabeto charts" as a window of its own beside the score, on a copy of the line's
  // tablature settings.
  bool ToggleChordChart(const CTabInstrument& instrument) override;

 private:
  // Read from its file at each use, so that edits made in the templates dialog are seen.
  CInstrumentTemplates base_;
  CVornelTabApp* app_;
  struct ChartWindow;
  std::unique_ptr<ChartWindow> chart_;
};

}  // namespace vornel
