#pragma once
// The dialogs and outside services that the score commands of the instrument, tuning and
// layout families open, as the commands see them. The window layer (or a test) installs its
// own through ScopedScoreDialogs; until then every dialog and service says that none is
// installed, so each command changes nothing.

#include <memory>
#include <string>

namespace vornel {

struct CBarRangeDlg;
class CBriotabDoc;
class CInstrumentArray;
class CInstrumentDlg;
struct COctaveDlg;
class CTabInstrument;

namespace view {

// What the course-tuning dialog gives back.
struct CourseTuningChoice {
  int course = 0;        // 0 = first (highest) course
  int pitch = -1;        // the new MIDI pitch; negative: no new pitch given
  bool allSections = false;
};

class ScoreDialogs {
 public:
  virtual ~ScoreDialogs() = default;

  // --- tuning
  // The tuning dialog on a definition's tablature tuning; true on OK with the tuning changed.
  virtual bool EditTuning(CInstrumentDlg& definition);
  // The course-tuning dialog for a definition; true on OK.
  virtual bool ChooseCourseTuning(const CInstrumentDlg& definition, CourseTuningChoice& choice);
  // The slider "Raise/lower instrument global tuning (in half-steps):", -12 to 12.
  virtual bool ChooseGlobalTuningShift(int& halfSteps);

  // --- small dialogs: by default the octave and bar range dialogs of SmallEditingDialogs()
  virtual bool ChooseOctaveLimit(COctaveDlg& dialog);
  virtual bool ChooseBarRange(CBarRangeDlg& dialog);

  // --- the instrument base (the library of instrument definitions)
  // The base as built from its file; null when there is none.
  virtual CInstrumentArray* InstrumentBase();
  // Writes the base back; false when that failed (the dialog layer says why).
  virtual bool SaveInstrumentBase();
  // The templates dialog started on `current`; the chosen definition, null when cancelled.
  virtual std::unique_ptr<CInstrumentDlg> ChooseFromTemplates(const CInstrumentDlg& current);

  // --- editors of a definition's tables and of the document
  virtual bool CustomizeOrnaments(CInstrumentDlg& definition);
  virtual bool EditDocumentFonts(CBriotabDoc& doc);
  // The background texture bitmap chosen by the application; true when one was set.
  virtual bool ChooseTextureBitmap();
  // The application's paper-texture switch.
  virtual bool TextureOn();
  // The alfabeto chart window: shown, on a copy of `instrument`, when it was hidden; hidden
  // when it was shown. False where there is no such window.
  virtual bool ToggleChordChart(const CTabInstrument& instrument);
};

// The dialogs in force.
ScoreDialogs& ScoreCommandDialogs();

// Installs `dialogs` for its lifetime and restores the previous ones after.
class ScopedScoreDialogs {
 public:
  explicit ScopedScoreDialogs(ScoreDialogs& dialogs);
  ~ScopedScoreDialogs();
  ScopedScoreDialogs(const ScopedScoreDialogs&) = delete;
  ScopedScoreDialogs& operator=(const ScopedScoreDialogs&) = delete;

 private:
  ScoreDialogs* previous_;
};

}  // namespace view
}  // namespace vornel
