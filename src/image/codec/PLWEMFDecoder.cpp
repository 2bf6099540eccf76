#include "image/codec/PLWEMFDecoder.h"

namespace vornel {

void PLWEMFDecoder::DoDecode(PLBmp&, PLDataSource&) {}

}  // namespace vornel
