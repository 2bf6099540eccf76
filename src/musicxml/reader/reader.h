#pragma once
// The callbacks through which the XML parser reports what it recognises, and its entries.
// Every string is NUL-terminated and valid only during the call: a reader copies what it keeps.

#include <cstdio>

namespace vornel {

class reader {
 public:
  virtual ~reader() = default;
  // standalone: 1 for "yes", 0 for "no", -1 when absent. False stops the parse.
  virtual bool xmlDecl(const char* version, const char* encoding, int standalone) = 0;
  // isPublic: a PUBLIC identifier (else SYSTEM, with an empty public literal).
  virtual bool docType(const char* start, bool isPublic, const char* publicLiteral, const char* systemLiteral) = 0;
  virtual void newComment(const char*) {}
  virtual void newProcessingInstruction(const char*) {}
  virtual bool newElement(const char* name) = 0;
  virtual bool newAttribute(const char* name, const char* value) = 0;
  virtual void setValue(const char* value) = 0;
  // For "/>" the name is that of the most recent start tag. False stops the parse.
  virtual bool endElement(const char* name) = 0;
  // Called once for the error that ends a failed parse.
  virtual void error(const char* message, int line) = 0;
};

// Parses the file at `path` (8-bit, or UTF-16 with a byte-order mark, which is read as UTF-8)
// and reports it to `r`. True when the whole document was accepted. A file that cannot be
// opened gives "can't open file PATH" on the standard error stream and no reader call.
bool readfile(const char* path, reader* r);

// The same on an open stream, which stays open. One parse runs at a time: a parse started from
// inside a callback is refused.
bool readstream(FILE* file, reader* r);

}  // namespace vornel
