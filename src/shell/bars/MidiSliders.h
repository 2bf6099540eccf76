#pragma once
// The MIDI page's twelve sliders follow the MIDI settings of the active instrument line: each
// shows one value of the line's definition. The balance slider spans -64..64, the others
// 0..127 (the range every slider has until a line is active, at 50).

#include <vector>

namespace vornel {
class CBriotabDoc;
class MIDIControllers;
}

namespace vornel::bars {

struct SliderSetting {
  int id = 0;
  int value = 50;
  int low = 0;
  int high = 127;

  friend bool operator==(const SliderSetting&, const SliderSetting&) = default;
};

inline constexpr int kBalanceSlider = 33977;

// The twelve sliders with the values of `midi`, in id order; a value outside its slider's
// range is shown at the nearer end.
std::vector<SliderSetting> MidiSliderSettings(const MIDIControllers& midi);
// Those of the active instrument line of `doc`; empty when the document has no active line.
std::vector<SliderSetting> ActiveLineSliderSettings(const CBriotabDoc& doc);

}  // namespace vornel::bars
