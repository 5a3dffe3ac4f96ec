// The kernel's argument record of another process, with any reported length: the parser must
// stay inside the bytes it was given and inside the reported length.
#include "FuzzSupport.h"
#include "platform/macos/ProcArgs2.h"

#include <cstring>

using namespace varrow;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // The first two bytes choose the reported length, which may disagree with the buffer.
    const int reported = int(data[0]) | int(data[1]) << 8;
    // An exact-size heap copy, so AddressSanitizer sees any read past its end.
    const size_t n = size - 2;
    std::unique_ptr<char[]> record(new char[n ? n : 1]);
    if (n) std::memcpy(record.get(), data + 2, n);
    const auto args = platform::parseProcArgs2(QByteArrayView(record.get(), qsizetype(n)), reported);
    if (!args) return 0;
    fuzz::check(n >= 4 && reported > 4, "a list comes only from a record longer than its count");
    qint32 count = 0;
    std::memcpy(&count, record.get(), 4);
    fuzz::check(args->size() <= qMax(count, 0), "never more arguments than the count says");
    return 0;
}
