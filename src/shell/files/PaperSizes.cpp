#include "shell/files/PaperSizes.h"

#include <array>
#include <cstddef>

namespace vornel {

namespace {

// Portrait sizes of the paper codes 1 to 41, in tenths of a millimetre.
constexpr std::array<PaperSize, 41> kPaperSizes = {{
    {2159, 2794},   // 1 Letter 8 1/2 x 11 in
    {2159, 2794},   // 2 Letter Small
    {2794, 4318},   // 3 Tabloid 11 x 17 in
    {4318, 2794},   // 4 Ledger 17 x 11 in
    {2159, 3556},   // 5 Legal 8 1/2 x 14 in
    {1397, 2159},   // 6 Statement 5 1/2 x 8 1/2 in
    {1842, 2667},   // 7 Executive 7 1/4 x 10 1/2 in
    {2970, 4200},   // 8 A3
    {2100, 2970},   // 9 A4
    {2100, 2970},   // 10 A4 Small
    {1480, 2100},   // 11 A5
    {2500, 3540},   // 12 B4
    {1820, 2570},   // 13 B5
    {2159, 3302},   // 14 Folio 8 1/2 x 13 in
    {2150, 2750},   // 15 Quarto
    {2540, 3556},   // 16 10 x 14 in
    {2794, 4318},   // 17 11 x 17 in
    {2159, 2794},   // 18 Note
    {984, 2254},    // 19 Envelope #9
    {1048, 2413},   // 20 Envelope #10
    {1143, 2635},   // 21 Envelope #11
    {1207, 2794},   // 22 Envelope #12
    {1270, 2921},   // 23 Envelope #14
    {4318, 5588},   // 24 C size sheet
    {5588, 8636},   // 25 D size sheet
    {8636, 11176},  // 26 E size sheet
    {1100, 2200},   // 27 Envelope DL
    {1620, 2290},   // 28 Envelope C5
    {3240, 4580},   // 29 Envelope C3
    {2290, 3240},   // 30 Envelope C4
    {1140, 1620},   // 31 Envelope C6
    {1140, 2290},   // 32 Envelope C65
    {2500, 3530},   // 33 Envelope B4
    {1760, 2500},   // 34 Envelope B5
    {1760, 1250},   // 35 Envelope B6
    {1100, 2300},   // 36 Envelope Italy
    {984, 1905},    // 37 Envelope Monarch
    {921, 1651},    // 38 6 3/4 Envelope
    {3778, 2794},   // 39 US Std Fanfold 14 7/8 x 11 in
    {2159, 3048},   // 40 German Std Fanfold 8 1/2 x 12 in
    {2159, 3302},   // 41 German Legal Fanfold 8 1/2 x 13 in
}};

}  // namespace

PaperSize GetPrinterPageSize(bool landscape, int paperCode) {
  if (paperCode < 1 || paperCode > static_cast<int>(kPaperSizes.size())) return kDefaultPaperSize;
  const PaperSize size = kPaperSizes[static_cast<size_t>(paperCode - 1)];
  return landscape ? PaperSize{size.height, size.width} : size;
}

}  // namespace vornel
