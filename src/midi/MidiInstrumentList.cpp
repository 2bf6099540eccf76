#include "midi/MidiInstrumentList.h"

#include "model/instrument/CInstrumentDlg.h"

namespace vornel {

std::vector<std::string> InstrumentNames(const CInstrumentArray& base) {
  std::vector<std::string> names;
  names.reserve(base.size());
  for (const auto& d : base) names.push_back(d != nullptr ? d->nameText.text : std::string());
  return names;
}

int FindInstrumentByPatch(const CInstrumentArray& base, int program, std::string& name) {
  for (size_t i = 0; i < base.size(); ++i) {
    const CInstrumentDlg* d = base.at(i);
    if (d != nullptr && d->midi.patch == program) {
      name = d->nameText.text;
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace vornel
