#include "image/codec/external/PLJpegGlue.h"

#include <cstring>
#include <string>

#include "image/bitmap/PLTextException.h"
#include "image/codec/PLPicDecoder.h"

namespace vornel {

namespace {

void ErrorExit(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<PLJpegErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, manager->message);
  std::longjmp(manager->jump, 1);
}

void OutputMessage(j_common_ptr cinfo) {
  char text[JMSG_LENGTH_MAX];
  (*cinfo->err->format_message)(cinfo, text);
  PLPicDecoder::Trace(2, std::string(text) + "\n");
}

void ReportProgress(j_common_ptr cinfo) {
  auto* progress = reinterpret_cast<PLJpegProgress*>(cinfo->progress);
  if (progress->notification == nullptr || progress->pub.total_passes <= 0) return;
  const double pass = progress->pub.pass_limit > 0
                          ? double(progress->pub.pass_counter) / double(progress->pub.pass_limit)
                          : 0.0;
  bool stop = false;
  try {
    progress->notification->OnProgress((pass + progress->pub.completed_passes) / progress->pub.total_passes);
    stop = progress->notification->CancelRequested();
  } catch (...) {
    // Nothing may leave through the library's frames; progress is only a report.
  }
  if (!stop) return;
  PLJpegErrorManager& error = *progress->error;
  error.code = kPLErrCancelled;
  std::snprintf(error.message, sizeof error.message, "%s", kPLCancelledText);
  std::longjmp(error.jump, 1);
}

}  // namespace

void PLJpegInstallProgress(j_common_ptr cinfo, PLJpegProgress& progress, PLJpegErrorManager& error,
                           IProgressNotification* notification) {
  progress.pub.progress_monitor = ReportProgress;
  progress.notification = notification;
  progress.error = &error;
  cinfo->progress = notification != nullptr ? &progress.pub : nullptr;
}

jpeg_error_mgr* PLJpegInitErrorManager(PLJpegErrorManager& manager) {
  jpeg_error_mgr* pub = jpeg_std_error(&manager.pub);
  pub->error_exit = ErrorExit;
  pub->output_message = OutputMessage;
  manager.message[0] = '\0';
  manager.code = 6;
  return pub;
}

}  // namespace vornel
