#include "midi/play/MidiOut.h"

#include <cstdio>
#include <mutex>

#include "midi/play/AlsaPortOut.h"
#include "midi/play/FluidSynthOut.h"

namespace vornel {

namespace {

MidiOutFactory& FactoryOverride() {
  static MidiOutFactory factory;
  return factory;
}

std::mutex g_logMutex;
MidiLogSink& LogSink() {
  static MidiLogSink sink;
  return sink;
}

}  // namespace

MidiOutputSettings& CurrentMidiOutputSettings() {
  static MidiOutputSettings settings;
  return settings;
}

std::unique_ptr<MidiOut> CreateMidiOut(const MidiOutputSettings& settings) {
  if (settings.port.empty() || settings.port == kSynthesizerName) return std::make_unique<FluidSynthOut>(settings);
  return std::make_unique<AlsaPortOut>(settings.port);
}

std::vector<std::string> ListMidiOutputs() {
  std::vector<std::string> names{std::string(kSynthesizerName)};
  for (std::string& port : ListAlsaPorts()) names.push_back(std::move(port));
  return names;
}

MidiOutFactory DefaultMidiOutFactory() {
  if (FactoryOverride()) return FactoryOverride();
  return [] { return CreateMidiOut(CurrentMidiOutputSettings()); };
}

ScopedMidiOutFactory::ScopedMidiOutFactory(MidiOutFactory factory) : previous_(std::move(FactoryOverride())) {
  FactoryOverride() = std::move(factory);
}

ScopedMidiOutFactory::~ScopedMidiOutFactory() { FactoryOverride() = std::move(previous_); }

void SetMidiLogSink(MidiLogSink sink) {
  std::lock_guard lock(g_logMutex);
  LogSink() = std::move(sink);
}

void MidiLog(MidiLogLevel level, std::string_view text) {
  std::lock_guard lock(g_logMutex);
  if (LogSink()) {
    LogSink()(level, text);
  } else if (level != MidiLogLevel::kInformation) {
    std::fprintf(stderr, "midi: %.*s\n", static_cast<int>(text.size()), text.data());
  }
}

}  // namespace vornel
