#include "midi/play/RecordingMidiOut.h"

#include <cstdio>

namespace vornel {

std::string MidiRecording::Log(int64_t origin) const {
  std::string out;
  char line[64];
  for (const MidiRecord& r : records) {
    const int64_t us = (r.time - origin) / 1000;
    const char* sign = us < 0 ? "-" : "";
    const int64_t a = us < 0 ? -us : us;
    int n = std::snprintf(line, sizeof line, "%s%6lld.%03lld ", sign, static_cast<long long>(a / 1000),
                          static_cast<long long>(a % 1000));
    for (uint8_t i = 0; i < r.size && n > 0 && n < static_cast<int>(sizeof line) - 4; ++i) {
      n += std::snprintf(line + n, sizeof line - static_cast<size_t>(n), " %02X", r.bytes[i]);
    }
    out += line;
    out += '\n';
  }
  return out;
}

bool RecordingMidiOut::Open() {
  if (!openFailure.empty()) {
    error_ = openFailure;
    return false;
  }
  open_ = true;
  sends_ = 0;
  ++recording_.opens;
  return true;
}

void RecordingMidiOut::Close() {
  if (open_) ++recording_.closes;
  open_ = false;
}

bool RecordingMidiOut::Send(const uint8_t* bytes, size_t size) {
  if (!open_) {
    error_ = "The output is not open.";
    return false;
  }
  if (failAfterSends >= 0 && sends_ >= failAfterSends) {
    error_ = "The recording output failed on purpose.";
    return false;
  }
  ++sends_;
  if (recording_.records.size() == recording_.records.capacity()) {
    ++recording_.dropped;
    return true;
  }
  MidiRecord r;
  r.time = clock_.Now();
  r.size = static_cast<uint8_t>(size > 3 ? 3 : size);
  for (uint8_t i = 0; i < r.size; ++i) r.bytes[i] = bytes[i];
  recording_.records.push_back(r);
  return true;
}

}  // namespace vornel
