#pragma once
// What the JPEG decoder and encoder share around libjpeg: an error manager that turns the
// library's fatal errors into a jump back to our own frame (never an exception through the
// library's C frames), and the guard that catches that jump.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
// The library's message codes and macros (JWRN_JPEG_EOF, WARNMS, ERREXIT).
#include <jerror.h>

namespace vornel {

class IProgressNotification;

struct PLJpegErrorManager {
  jpeg_error_mgr pub{};
  std::jmp_buf jump{};
  char message[JMSG_LENGTH_MAX] = {};
  // The image error code to raise: 6 for the library's own errors, 11 when our memory
  // destination ran out of room.
  int code = 6;
};

// Sets up `manager` as the standard error manager with our error exit (which keeps the
// formatted message and jumps) and warnings sent to the decoders' trace.
jpeg_error_mgr* PLJpegInitErrorManager(PLJpegErrorManager& manager);

// The library's progress, passed on to a listener. A listener that asks to stop makes the
// library leave as its fatal errors do, with the manager's code kPLErrCancelled.
struct PLJpegProgress {
  jpeg_progress_mgr pub{};
  IProgressNotification* notification = nullptr;
  PLJpegErrorManager* error = nullptr;
};

// Installs `progress` on `cinfo` (its error manager must be `error`); nothing without a listener.
void PLJpegInstallProgress(j_common_ptr cinfo, PLJpegProgress& progress, PLJpegErrorManager& error,
                           IProgressNotification* notification);

// Runs `call`, which must only call libjpeg and hold no object with a destructor; returns
// false when the library raised a fatal error meanwhile (its message is in the manager).
template <class Call>
bool PLJpegGuard(PLJpegErrorManager& manager, Call&& call) {
  if (setjmp(manager.jump) != 0) return false;
  call();
  return true;
}

}  // namespace vornel
