#pragma once

#include <stdexcept>
#include <string>

namespace vornel {

enum class ArchiveErrorCode {
  kEndOfFile,     // a record runs past the end of the data
  kBadClass,      // an unknown class name, or an object of a class the reader did not ask for
  kBadSchema,     // a class schema other than 0
  kBadIndex,      // a reference to an object or class that was not read before
  kBadCount,      // a count or length larger than the bytes that remain
  kTooDeep,       // objects nested beyond any record this system writes
  kBadData,       // a value a record cannot hold
  kOverBudget,    // the records would build far more than an archive of this size can stand for
};

// The archive's error: ends the read in progress. The model is left as the reader found it.
class ArchiveError : public std::runtime_error {
 public:
  ArchiveError(ArchiveErrorCode code, const std::string& detail)
      : std::runtime_error(detail), code_(code) {}
  ArchiveErrorCode Code() const { return code_; }

 private:
  ArchiveErrorCode code_;
};

}  // namespace vornel
