#pragma once
// What the XML scanner reads: the bytes of an 8-bit file as they stand, or the UTF-16 text of a
// file that starts with a byte-order mark (either order) transcoded to UTF-8. A UTF-8
// byte-order mark is dropped.

#include <cstddef>
#include <cstdio>
#include <stdexcept>

namespace vornel::libmxml {

// A failure that ends the scan: the message reaches the reader's error, not the process.
class ScannerFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Starts a new file: the encoding is decided afresh from its first bytes.
void ResetInput(FILE* file);

// Fills up to `size` bytes of `buffer`; 0 at the end of the file. A read error other than an
// interrupted call raises ScannerFailure.
size_t ReadInput(char* buffer, size_t size);

}  // namespace vornel::libmxml
