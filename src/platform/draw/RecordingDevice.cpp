#include "platform/draw/RecordingDevice.h"

#include <cstdio>

namespace vornel {

RecordingDevice::RecordingDevice(int32_t dpi, bool printing, TextEngine& engine)
    : DeviceContext(dpi, dpi, printing, engine) {
  tracing_ = true;
}

void RecordingDevice::DoTrace(std::string_view line) {
  log_.append(line);
  log_ += '\n';
}

void RecordingDevice::DoGlyphs(const GlyphRun& run) {
  if (!logRuns_ || !tracing_) return;
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "  run %.1f %.1f colour=0x%06X advance=%.1f", run.x, run.y, run.colour,
                run.advance);
  log_ += buffer;
  for (const RunPiece& piece : run.pieces) {
    switch (piece.kind) {
      case RunPiece::Kind::kMusic:
        std::snprintf(buffer, sizeof buffer, " [U+%04X %.1f @%.1f,%.1f]", static_cast<unsigned>(piece.codePoint),
                      piece.size, piece.x, piece.y);
        break;
      case RunPiece::Kind::kText:
        std::snprintf(buffer, sizeof buffer, " [\"%s\" %s %.1f @%.1f]", piece.text.c_str(), piece.face.family.c_str(),
                      piece.face.em, piece.x);
        break;
      case RunPiece::Kind::kShape:
        std::snprintf(buffer, sizeof buffer, " [shape %d @%.1f]", static_cast<int>(piece.shape), piece.x);
        break;
      case RunPiece::Kind::kPlaceholder:
        std::snprintf(buffer, sizeof buffer, " [missing @%.1f]", piece.x);
        break;
    }
    log_ += buffer;
  }
  log_ += '\n';
}

}  // namespace vornel
