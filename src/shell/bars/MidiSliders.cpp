#include "shell/bars/MidiSliders.h"

#include <algorithm>
#include <stdexcept>

#include "document/CBriotabDoc.h"
#include "model/instrument/CInstrument.h"
#include "model/events/MIDIControllers.h"

namespace vornel::bars {

namespace {

SliderSetting Setting(int id, int value, int low = 0, int high = 127) {
  return {id, std::clamp(value, low, high), low, high};
}

}  // namespace

std::vector<SliderSetting> MidiSliderSettings(const MIDIControllers& midi) {
  return {
      Setting(33965, midi.volume),           Setting(33966, midi.expression),
      Setting(33967, midi.velocity),         Setting(33968, midi.brightness),
      Setting(33969, midi.pan),              Setting(33970, midi.dynamicAmplitude),
      Setting(33972, midi.portamentoTime),   Setting(33973, midi.reverb),
      Setting(33974, midi.chorus),           Setting(33975, midi.celeste),
      Setting(kBalanceSlider, midi.equalizer, -64, 64), Setting(33978, midi.modulation),
  };
}

std::vector<SliderSetting> ActiveLineSliderSettings(const CBriotabDoc& doc) {
  try {
    const CInstrument* line = doc.GetActiveInstrument();
    if (line == nullptr || line->definition == nullptr) return {};
    return MidiSliderSettings(line->definition->midi);
  } catch (const std::out_of_range&) {
    // A document without an active section has no active line.
    return {};
  }
}

}  // namespace vornel::bars
