#pragma once
// The XML scanner on its own, for tests and fuzzing: every token of a stream with its text and
// the line counter after it. The parser pulls the same tokens one at a time.

#include <cstdio>
#include <string>
#include <vector>

namespace vornel::libmxml {

struct Token {
  int kind;  // the parser's token number (258 XMLDECL ... 278 EQ)
  std::string text;
  int line;
};

// Scans to the end of the stream (token 0, not listed). A scanner failure raises
// ScannerFailure (ScannerInput.h).
std::vector<Token> ScanAll(FILE* file);

// The token's name as the parser's messages print it: "XMLDECL" ... "EQ".
const char* TokenName(int kind);

}  // namespace vornel::libmxml
