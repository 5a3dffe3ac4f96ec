// The header of an Electron archive: two pickled sizes and a JSON index. Any bytes must give a
// header whose data offset lies inside the bytes, or none.
#include "FuzzSupport.h"
#include "install/AsarArchive.h"

using namespace varrow;
using install::AsarArchive;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const auto header = AsarArchive::parseHeader(bytes);
    if (!header) return 0;
    fuzz::check(header->dataOffset > 0, "data begins after the header");
    return 0;
}
