#pragma once
// The one exception type of the image classes: a numeric code (PLErrorCode) and a text.

#include <exception>
#include <string>
#include <string_view>

#include "image/bitmap/PLObject.h"

namespace vornel {

// The codes images report failures with; callers decide what to show from them.
enum PLErrorCode : int {
  kPLErrOutputFile = -1,        // the output file or its buffer could not be had
  kPLErrWrongSignature = 1,     // not this format, or a bad header
  kPLErrFormatUnknown = 2,      // malformed or unknown content
  kPLErrPathNotFound = 3,
  kPLErrFileNotFound = 4,       // file or resource not found
  kPLErrAccessDenied = 5,       // access denied, or the file could not be mapped
  kPLErrFormatNotSupported = 6,
  kPLErrVariantNotSupported = 7,
  kPLErrUnknownFileType = 8,
  kPLErrNoMemory = 10,
  kPLErrEndOfData = 11,         // the data ran out, or a sink is full
  kPLErrCancelled = 12,         // the listener of a decoding asked it to stop
};

inline constexpr const char* kPLCancelledText = "Image loading cancelled.";

class PLTextException : public PLObject, public std::exception {
 public:
  PLTextException(int code, std::string_view text) : code_(code), text_(text) {}

  virtual int GetCode() const { return code_; }
  virtual const std::string& GetText() const { return text_; }
  const char* what() const noexcept override { return text_.c_str(); }

 private:
  int code_;
  std::string text_;
};

}  // namespace vornel
