// Info.plist files of whatever bundle sits where Claude is expected: XML, binary or garbage.
// Both readers, the process service's bundle reader and the copier's version reader, must cope.
#include "FuzzSupport.h"
#include "copies/AppCloner.h"
#include "platform/Installations.h"
#include "platform/linux/BundleInfo.h"
#include "platform/linux/PlistValue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace varrow;
using platform::linux_::BundleInfo;
namespace PlistValue = platform::linux_::PlistValue;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const auto value = PlistValue::parse(bytes);
    if (value) {
        // What reads must write back as XML and read again as the same kind of value.
        const QByteArray xml = PlistValue::toXml(*value);
        if (!xml.isEmpty()) {
            const auto again = PlistValue::parse(xml);
            fuzz::check(again.has_value(), "written property list reads back");
            fuzz::check(again->typeId() == value->typeId(), "written property list keeps its type");
        }
    }

    static QTemporaryDir dir(QDir::tempPath() + "/varrow-fuzz-XXXXXX");
    const QString bundle = dir.filePath("Claude.app");
    static const bool made = QDir().mkpath(bundle + "/Contents");
    fuzz::check(made, "fixture folder");
    QFile file(bundle + "/Contents/Info.plist");
    fuzz::check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "fixture file");
    file.write(bytes);
    file.close();

    const auto info = BundleInfo::read(bundle);
    fuzz::check(info.has_value() == (value && value->typeId() == QMetaType::QVariantMap),
                "a bundle reads exactly when its Info.plist is a dictionary");
    // No installation besides bundles: the version comes from the Info.plist alone.
    static platform::Installations noOthers;
    const QString version = copies::AppCloner::version(noOthers, bundle);
    fuzz::check(!version.isEmpty(), "the version is never empty");
    if (info && !info->version.isEmpty()) fuzz::check(version == info->version, "both readers agree");
    return 0;
}
