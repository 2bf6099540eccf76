#pragma once
// The instrument base as the patch chooser and the track chooser list it.

#include <string>
#include <vector>

namespace vornel {

class CInstrumentArray;

// The names of the definitions, in order.
std::vector<std::string> InstrumentNames(const CInstrumentArray& base);
// The index of the first definition whose MIDI program is `program`, its name in `name`;
// -1 (and `name` unchanged) when none has it.
int FindInstrumentByPatch(const CInstrumentArray& base, int program, std::string& name);

}  // namespace vornel
