#include "platform/linux/LinuxPreferences.h"

#include "platform/SystemLog.h"
#include "platform/linux/PlistValue.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace varrow::platform::linux_ {

LinuxPreferences::LinuxPreferences(QString folder, QObject* parent)
    : AppPreferences(parent), folder_(folder.isEmpty() ? defaultFolder() : std::move(folder)) {}

QString LinuxPreferences::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Varrow/preferences";
}

QString LinuxPreferences::fileFor(const QString& domain) const {
    // A domain is a reverse-DNS name; never let one reach outside the folder.
    if (domain.isEmpty() || domain.startsWith(u'.') || domain.contains(u'/') || domain.contains(QChar(0)))
        return {};
    return folder_ + u'/' + domain + QStringLiteral(".plist");
}

LinuxPreferences::Domain* LinuxPreferences::load(const QString& name) {
    const QString file = fileFor(name);
    if (file.isEmpty()) return nullptr;
    Domain& domain = domains_[name];
    if (domain.dirty) return &domain;
    const QDateTime modified = QFileInfo(file).lastModified();
    if (domain.loaded && modified == domain.loadedModified) return &domain;
    domain.loaded = true;
    domain.loadedModified = modified;
    domain.values.clear();
    domain.unreadable = false;
    if (!QFileInfo::exists(file)) return &domain;
    const auto root = PlistValue::readFile(file);
    if (root && root->typeId() == QMetaType::QVariantMap)
        domain.values = root->toMap();
    else
        domain.unreadable = true;
    return &domain;
}

QVariant LinuxPreferences::copyAppValue(const QString& key, const QString& domain) {
    const Domain* d = load(domain);
    return d ? d->values.value(key) : QVariant();
}

void LinuxPreferences::setAppValue(const QString& key, const QVariant& value, const QString& domain) {
    Domain* d = load(domain);
    if (!d) return;
    if (value.isValid())
        d->values.insert(key, value);
    else
        d->values.remove(key);
    d->dirty = true;
}

bool LinuxPreferences::synchronize(const QString& name) {
    Domain* d = load(name);
    if (!d) return false;
    if (!d->dirty) return true;
    // A file that is not a dictionary is someone else's data: leave it rather than overwrite it.
    if (d->unreadable) {
        SystemLog::write(QStringLiteral("Varrow: preferences file %1 is not a dictionary; not replaced")
                             .arg(fileFor(name)));
        return false;
    }
    if (!PlistValue::writeFile(fileFor(name), d->values)) return false;
    d->dirty = false;
    d->loadedModified = QFileInfo(fileFor(name)).lastModified();
    return true;
}

void LinuxPreferences::restartOwner(const QString&) {}

}  // namespace varrow::platform::linux_
