#pragma once
// The page size of a paper code (the printer settings' numbering: 1 Letter, 9 A4 ...) in
// tenths of a millimetre, for laying out pages before any printer is asked.

namespace vornel {

struct PaperSize {
  int width = 0;   // tenths of a millimetre
  int height = 0;
  bool operator==(const PaperSize&) const = default;
};

inline constexpr PaperSize kDefaultPaperSize{2100, 2970};  // A4 portrait

// The size of `paperCode`, width and height swapped in landscape; an unknown code gives A4
// portrait.
PaperSize GetPrinterPageSize(bool landscape, int paperCode);

}  // namespace vornel
