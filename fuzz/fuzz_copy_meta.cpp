// The metadata file beside a copy: whatever is in it, reading gives a record or none, and a
// record written back reads the same.
#include "FuzzSupport.h"
#include "copies/AppCloner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace varrow;
using copies::AppCloner;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir(QDir::tempPath() + "/varrow-fuzz-XXXXXX");
    const QString copy = dir.filePath("Claude Work.app");
    QFile file(AppCloner::metaPath(copy));
    fuzz::check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "fixture file");
    file.write(reinterpret_cast<const char*>(data), qsizetype(size));
    file.close();

    const auto meta = AppCloner::readMeta(copy);
    if (!meta) return 0;
    AppCloner::writeMeta(*meta, copy);
    const auto again = AppCloner::readMeta(copy);
    fuzz::check(again.has_value(), "written metadata reads back");
    fuzz::check(*again == *meta, "written metadata reads back unchanged");
    return 0;
}
