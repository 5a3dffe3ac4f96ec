// The header of an Electron archive: two pickled sizes and a JSON index. Any bytes must give a
// header whose data offset lies inside the bytes, or none; an index that parses can be edited
// into one that still parses.
#include "FuzzSupport.h"
#include "install/AsarArchive.h"
#include "install/JsonEdit.h"

#include <QJsonDocument>

using namespace varrow;
using install::AsarArchive;
using install::JsonEdit;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const auto header = AsarArchive::parseHeader(bytes);
    if (!header) return 0;
    fuzz::check(header->dataOffset > 0, "data begins after the header");
    const auto edited = JsonEdit::apply(
        header->json,
        {{{"files", "package.json", "size"}, 7}, {{"files", "package.json", "integrity", "hash"}, "h"}});
    fuzz::check(edited && QJsonDocument::fromJson(*edited)
                                  .object()
                                  .value("files")
                                  .toObject()
                                  .value("package.json")
                                  .toObject()
                                  .value("size") == 7,
                "an edited index reads back with the edit");
    return 0;
}
