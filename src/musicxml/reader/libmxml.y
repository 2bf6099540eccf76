/* The XML parser: checks the scanner's tokens against the grammar of the MusicXML subset and
 * reports what it recognises to a reader, one callback at a time. The first error ends the
 * parse; there is no recovery.
 *
 * Beside one root element, comments and processing instructions may stand before and after the
 * document type and after the root; a document whose only item after the document type is a
 * comment or a processing instruction is accepted without a root element.
 */

%code requires {
#include <cstdio>
}

%code {
#include <cstdlib>
#include <exception>
#include <string>

#include "musicxml/reader/ScannerInput.h"
#include "platform/io/FileIO.h"
#include "musicxml/reader/reader.h"

int libmxml_scan(void);
void libmxml_begin(FILE* file);
void libmxml_end(bool failed);
extern char* libmxmltext;
extern int libmxmlleng;
extern int libmxmllineno;

int libmxmllex(void);
void libmxmlerror(const char* message);

namespace {

vornel::reader* currentReader = nullptr;

// What the actions keep between reductions.
struct SavedStrings {
  std::string element, attributeName, attributeValue, version, encoding, startName, publicLiteral,
      systemLiteral;
  int standalone = -1;
  bool sawDocType = false;
  // A failure met outside the grammar (the scanner's, or memory), reported instead of the
  // parser's own message.
  std::string failure;
};
SavedStrings saved;

// The token text without its first and last character (the quotes of a QUOTEDSTR).
std::string Unquoted() {
  return libmxmlleng >= 2 ? std::string(libmxmltext + 1, static_cast<size_t>(libmxmlleng) - 2) : std::string();
}

// Runs a reader callback; an exception from it (memory) ends the parse with its text.
template <typename F>
bool Call(F&& callback) {
  try {
    return callback();
  } catch (const std::exception& e) {
    saved.failure = e.what();
    return false;
  }
}

}  // namespace

#define REPORT(call, message)                                               \
  do {                                                                      \
    if (!Call([&] { return call; })) {                                      \
      libmxmlerror(message);                                                \
      YYABORT;                                                              \
    }                                                                       \
  } while (0)
#define NOTIFY(call) REPORT((call, true), "")
}

%define api.prefix {libmxml}
%define parse.error verbose

%token END 0 "$end"
%token XMLDECL VERSION ENCODING STANDALONE YES NO ENDXMLDECL DOCTYPE PUBLIC SYSTEM COMMENT PI
%token NAME DATA QUOTEDSTR SPACE LT GT ENDXMLS ENDXMLE EQ

%%

document    : prolog body
            ;
prolog      : xmldecl doctype
            ;
body        : element trailer
            | miscs
            | miscs element trailer
            ;
miscs       : misc
            | miscs misc
            ;
misc        : procinstr
            | comment
            ;
trailer     : %empty
            | trailer trailitem
            ;
trailitem   : SPACE
            | procinstr
            | comment
            ;

element     : eltstart data eltstop
            | emptyelt
            ;
eltstart    : LT eltname GT
            | LT eltname SPACE attributes GT
            ;
eltstop     : ENDXMLS endname GT
            ;
emptyelt    : LT eltname ENDXMLE                      { REPORT(currentReader->endElement(saved.element.c_str()), "end element error"); }
            | LT eltname SPACE attributes ENDXMLE     { REPORT(currentReader->endElement(saved.element.c_str()), "end element error"); }
            ;
eltname     : NAME                                    { saved.element = libmxmltext;
                                                        REPORT(currentReader->newElement(libmxmltext), "element error"); }
            ;
endname     : NAME                                    { REPORT(currentReader->endElement(libmxmltext), "end element error"); }
            ;
attribute   : attrname EQ value                       { REPORT(currentReader->newAttribute(saved.attributeName.c_str(), saved.attributeValue.c_str()), "attribute error"); }
            ;
attrname    : NAME                                    { saved.attributeName = libmxmltext; }
            ;
value       : QUOTEDSTR                               { saved.attributeValue = Unquoted(); }
            ;
attributes  : attribute
            | attributes SPACE attribute
            ;
data        : %empty
            | cdata
            | elements
            ;
cdata       : DATA                                    { NOTIFY(currentReader->setValue(libmxmltext)); }
            ;
procinstr   : PI                                      { NOTIFY(currentReader->newProcessingInstruction(libmxmltext)); }
            ;
comment     : COMMENT                                 { NOTIFY(currentReader->newComment(libmxmltext)); }
            ;
elements    : item
            | elements item
            ;
item        : element
            | procinstr
            | comment
            ;

xmldecl     : %empty
            | XMLDECL versiondec decl ENDXMLDECL      { REPORT(currentReader->xmlDecl(saved.version.c_str(), saved.encoding.c_str(), saved.standalone), "xmlDecl error"); }
            ;
decl        : %empty
            | encodingdec
            | stdalonedec
            | encodingdec stdalonedec
            ;
versiondec  : SPACE VERSION EQ QUOTEDSTR              { saved.version = Unquoted(); }
            ;
encodingdec : SPACE ENCODING EQ QUOTEDSTR             { saved.encoding = Unquoted(); }
            ;
stdalonedec : SPACE STANDALONE EQ bool                { saved.standalone = libmxmllval; }
            ;
bool        : YES
            | NO
            ;

doctype     : DOCTYPE SPACE startname SPACE id GT
            ;
startname   : NAME                                    { saved.startName = libmxmltext; }
            ;
id          : PUBLIC SPACE publitteral SPACE syslitteral
                                                      { REPORT((currentReader->docType(saved.startName.c_str(), true, saved.publicLiteral.c_str(), saved.systemLiteral.c_str()), true), ""); }
            | SYSTEM SPACE syslitteral                { REPORT((currentReader->docType(saved.startName.c_str(), false, saved.publicLiteral.c_str(), saved.systemLiteral.c_str()), true), ""); }
            ;
publitteral : QUOTEDSTR                               { saved.publicLiteral = Unquoted(); }
            ;
syslitteral : QUOTEDSTR                               { saved.systemLiteral = Unquoted(); }
            ;

%%

// Comments and processing instructions before the document type (a style sheet, a note of the
// writing program) are passed over here: the tree keeps nothing outside the root element, and
// the grammar's prolog stays as strict as its messages say ("expecting DOCTYPE").
// The scanner's failures end the scan as a token that no state accepts; the error message is
// then the failure's own.
int libmxmllex(void) {
  try {
    for (;;) {
      const int token = libmxml_scan();
      if (token == DOCTYPE) saved.sawDocType = true;
      if ((token == COMMENT || token == PI) && !saved.sawDocType) continue;
      return token;
    }
  } catch (const std::exception& e) {
    saved.failure = e.what();
    return LIBMXMLUNDEF;
  }
}

void libmxmlerror(const char* message) {
  currentReader->error(saved.failure.empty() ? message : saved.failure.c_str(), libmxmllineno);
}

namespace vornel {

bool readstream(FILE* file, reader* r) {
  if (currentReader) {
    std::fputs("a MusicXML file is already being read\n", stderr);
    return false;
  }
  currentReader = r;
  saved = SavedStrings();
  bool accepted = false;
  try {
    libmxml_begin(file);
    accepted = libmxmlparse() == 0;
  } catch (const std::exception& e) {
    // Only the scanner's set-up can throw here (its buffer cannot be allocated).
    saved.failure = e.what();
    libmxmlerror("");
  }
  libmxml_end(!saved.failure.empty());
  currentReader = nullptr;
  return accepted;
}

bool readfile(const char* path, reader* r) {
  // Pipes and devices are refused without waiting on them.
  FILE* file = OpenFileForReading(path);
  if (!file) {
    std::fprintf(stderr, "can't open file %s\n", path);
    return false;
  }
  const bool accepted = readstream(file, r);
  std::fclose(file);
  return accepted;
}

}  // namespace vornel
