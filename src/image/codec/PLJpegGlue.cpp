#include "image/codec/PLJpegGlue.h"

#include <cstring>
#include <string>

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

}  // namespace

jpeg_error_mgr* PLJpegInitErrorManager(PLJpegErrorManager& manager) {
  jpeg_error_mgr* pub = jpeg_std_error(&manager.pub);
  pub->error_exit = ErrorExit;
  pub->output_message = OutputMessage;
  manager.message[0] = '\0';
  manager.code = 6;
  return pub;
}

}  // namespace vornel
