#pragma once
// A device that draws nothing and writes every call as a line of text: the golden files of
// the renderer tests. It measures text with the fixed text engine by default, so its logs
// do not change with the fonts installed on a machine.

#include <string>
#include <string_view>

#include "platform/draw/DeviceContext.h"

namespace vornel {

class RecordingDevice : public DeviceContext {
 public:
  explicit RecordingDevice(int32_t dpi = 96, bool printing = false,
                           TextEngine& engine = FixedTextEngine::Shared());

  const std::string& Log() const { return log_; }
  void ClearLog() { log_.clear(); }
  // Also log where each text run's glyphs went (music code points, text pieces, shapes).
  void SetLogRuns(bool on) { logRuns_ = on; }
  // Stop or resume logging (a test may set up state unlogged).
  void SetRecording(bool on) { tracing_ = on; }

 protected:
  void DoFill(const PathData&, const Brush&, bool) override {}
  void DoStroke(const PathData&, const Pen&) override {}
  void DoGlyphs(const GlyphRun& run) override;
  void DoBitmap(const DeviceBitmap&, const Rect&, const Rect&, std::optional<COLORREF>) override {}
  void DoClip(const std::optional<Rect>&) override {}
  void DoTrace(std::string_view line) override;

 private:
  std::string log_;
  bool logRuns_ = false;
};

}  // namespace vornel
