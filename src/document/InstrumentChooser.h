#pragma once
// The instrument chooser: the user picks an instrument definition from the instrument base.
// The imports and the commands that add an instrument ask through this interface; the window
// layer installs the dialog over the instrument base. Until a front end installs its own, the
// definition offered is accepted as it stands.

#include <memory>

namespace vornel {

class CInstrumentDlg;

class InstrumentChooser {
 public:
  virtual ~InstrumentChooser() = default;
  // `definition` comes in holding the caller's proposal and leaves holding a copy of the
  // chosen definition; false when the user cancelled.
  virtual bool ChooseInstrumentDefinition(CInstrumentDlg& definition);
};

// Answers every choice with a copy of one definition (tools and tests).
class FixedInstrumentChooser : public InstrumentChooser {
 public:
  explicit FixedInstrumentChooser(const CInstrumentDlg& definition);
  ~FixedInstrumentChooser() override;
  bool ChooseInstrumentDefinition(CInstrumentDlg& definition) override;

 private:
  std::unique_ptr<CInstrumentDlg> definition_;
};

// The chooser in force.
InstrumentChooser& InstrumentChoosers();

// Installs `chooser` for its lifetime and restores the previous one after.
class ScopedInstrumentChooser {
 public:
  explicit ScopedInstrumentChooser(InstrumentChooser& chooser);
  ~ScopedInstrumentChooser();
  ScopedInstrumentChooser(const ScopedInstrumentChooser&) = delete;
  ScopedInstrumentChooser& operator=(const ScopedInstrumentChooser&) = delete;

 private:
  InstrumentChooser* previous_;
};

}  // namespace vornel
