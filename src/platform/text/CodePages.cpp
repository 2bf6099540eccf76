#include "platform/text/CodePages.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

std::string IconvName(int32_t codePage) {
  switch (codePage) {
    case 65001: return "UTF-8";
    case 10000: return "MACINTOSH";
    case 20866: return "KOI8-R";
    case 28591: return "ISO-8859-1";
    default: return "CP" + std::to_string(codePage);
  }
}

// One converter per code page, opened on first use and kept; none for a code page the system
// does not know or that cannot be used (below).
class Converters {
 public:
  ~Converters() {
    for (auto& [page, cd] : open_) {
      if (cd != kNone) iconv_close(cd);
    }
  }

  bool Decode(std::string_view bytes, int32_t codePage, std::string& out) {
    std::lock_guard lock(mutex_);
    auto it = open_.find(codePage);
    if (it == open_.end()) it = open_.emplace(codePage, Open(codePage)).first;
    iconv_t cd = it->second;
    if (cd == kNone) return false;
    Convert(cd, bytes, out);
    return true;
  }

 private:
  static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);

  // Some converters hold a character back until they see whether a combining mark follows
  // (Windows-1255 and 1258 do): what they hold is written out when the input ends, and
  // before they start again after a fault.
  static void Flush(iconv_t cd, std::string& out) {
    char buffer[64];
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
  }

  static void Convert(iconv_t cd, std::string_view bytes, std::string& out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char buffer[256];
    while (inLeft > 0) {
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      if (result != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // An invalid or incomplete sequence: one replacement for its first byte, then on.
      Flush(cd, out);
      AppendUtf8(out, 0xFFFD);
      ++in;
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    Flush(cd, out);
  }

  // The converter of a code page; none for a code page the system does not know, or one that
  // does not read the control characters as themselves (the EBCDIC pages and a few others):
  // a writer of RTF escapes those as code-page bytes whatever the page, so they must come
  // back as they went.
  static iconv_t Open(int32_t codePage) {
    const iconv_t cd = iconv_open("UTF-8", IconvName(codePage).c_str());
    if (cd == kNone) return kNone;
    std::string controls;
    for (int c = 1; c < 0x20; ++c) controls += static_cast<char>(c);
    controls += '\x7F';
    std::string decoded;
    Convert(cd, controls, decoded);
    if (decoded != controls) {
      iconv_close(cd);
      return kNone;
    }
    return cd;
  }

  std::mutex mutex_;
  std::unordered_map<int32_t, iconv_t> open_;
};

Converters& SharedConverters() {
  static Converters converters;
  return converters;
}

}  // namespace

std::string DecodeCodePage(std::string_view bytes, int32_t codePage) {
  if (codePage == 1252 || codePage <= 0 || bytes.empty()) return Cp1252ToUtf8(bytes);
  std::string out;
  if (!SharedConverters().Decode(bytes, codePage, out)) return Cp1252ToUtf8(bytes);
  return out;
}

int32_t CodePageOfCharset(int32_t charset) {
  switch (charset) {
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return 0;
  }
}

}  // namespace vornel
