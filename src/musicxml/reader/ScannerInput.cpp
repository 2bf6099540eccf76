#include "musicxml/reader/ScannerInput.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/text/TextConversion.h"

namespace vornel::libmxml {

namespace {

enum class Mode { kUndecided, kBytes, kUtf16LittleEndian, kUtf16BigEndian };

struct InputState {
  FILE* file = nullptr;
  Mode mode = Mode::kUndecided;
  // UTF-8 bytes decoded but not yet handed out.
  unsigned char pending[8];
  size_t pendingStart = 0;
  size_t pendingEnd = 0;
  // Raw UTF-16 bytes read ahead.
  unsigned char raw[8192];
  size_t rawStart = 0;
  size_t rawEnd = 0;
  bool atEnd = false;
  int32_t heldUnit = -1;  // a unit read after an unpaired high surrogate
};

InputState state;

// Reads up to `size` bytes, repeating a read that a signal interrupted.
size_t ReadBytes(unsigned char* buffer, size_t size) {
  for (;;) {
    errno = 0;
    const size_t got = std::fread(buffer, 1, size, state.file);
    if (got > 0 || !std::ferror(state.file)) return got;
    if (errno != EINTR) throw ScannerFailure("input in flex scanner failed");
    std::clearerr(state.file);
  }
}

int NextByte() {
  unsigned char byte;
  return ReadBytes(&byte, 1) == 1 ? byte : EOF;
}

void Pend(unsigned char byte) { state.pending[state.pendingEnd++] = byte; }

// The first bytes decide the encoding.
void Decide() {
  const int first = NextByte();
  if (first == 0xFF || first == 0xFE) {
    state.mode = first == 0xFF ? Mode::kUtf16LittleEndian : Mode::kUtf16BigEndian;
    NextByte();  // the second byte of the mark
    return;
  }
  // Anything else, a UTF-8 byte-order mark included, is read as it stands: the mark is three
  // characters that no rule takes.
  state.mode = Mode::kBytes;
  if (first != EOF) Pend(static_cast<unsigned char>(first));
}

// The next 16-bit unit, or -1 at the end (an odd last byte is dropped).
int32_t NextUnit() {
  if (state.rawEnd - state.rawStart < 2) {
    if (state.atEnd) return -1;
    const size_t kept = state.rawEnd - state.rawStart;
    std::memmove(state.raw, state.raw + state.rawStart, kept);
    state.rawStart = 0;
    state.rawEnd = kept;
    while (state.rawEnd < 2 && !state.atEnd) {
      const size_t got = ReadBytes(state.raw + state.rawEnd, sizeof state.raw - state.rawEnd);
      if (got == 0) state.atEnd = true;
      state.rawEnd += got;
    }
    if (state.rawEnd < 2) return -1;
  }
  const unsigned char a = state.raw[state.rawStart];
  const unsigned char b = state.raw[state.rawStart + 1];
  state.rawStart += 2;
  return state.mode == Mode::kUtf16LittleEndian ? (b << 8 | a) : (a << 8 | b);
}

// Decodes one code point into `pending`; false at the end of the file.
bool DecodeOne() {
  const int32_t unit = state.heldUnit >= 0 ? state.heldUnit : NextUnit();
  state.heldUnit = -1;
  if (unit < 0) return false;
  uint32_t codePoint = static_cast<uint32_t>(unit);
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    const int32_t low = NextUnit();
    if (low >= 0xDC00 && low <= 0xDFFF) {
      codePoint = 0x10000 + ((static_cast<uint32_t>(unit) - 0xD800) << 10) + (static_cast<uint32_t>(low) - 0xDC00);
    } else {
      codePoint = 0xFFFD;
      state.heldUnit = low;
    }
  } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
    codePoint = 0xFFFD;
  }
  std::string utf8;
  AppendUtf8(utf8, static_cast<char32_t>(codePoint));
  for (const char c : utf8) Pend(static_cast<unsigned char>(c));
  return true;
}

}  // namespace

void ResetInput(FILE* file) {
  state = InputState();
  state.file = file;
}

size_t ReadInput(char* buffer, size_t size) {
  if (state.mode == Mode::kUndecided) Decide();
  size_t n = 0;
  auto drainPending = [&] {
    while (n < size && state.pendingStart < state.pendingEnd) {
      buffer[n++] = static_cast<char>(state.pending[state.pendingStart++]);
    }
    if (state.pendingStart == state.pendingEnd) state.pendingStart = state.pendingEnd = 0;
  };
  drainPending();
  if (state.mode == Mode::kBytes) {
    if (n < size) n += ReadBytes(reinterpret_cast<unsigned char*>(buffer) + n, size - n);
    return n;
  }
  while (n < size && DecodeOne()) drainPending();
  return n;
}

}  // namespace vornel::libmxml
