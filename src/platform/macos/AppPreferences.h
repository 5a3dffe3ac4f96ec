#pragma once

#include <QObject>
#include <QVariant>

namespace varrow::platform {

// Another application's stored preferences (property-list values as QVariant:
// QVariantList, QVariantMap, QString, qint64, double, bool, QByteArray, QDateTime).
class AppPreferences : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Invalid QVariant when the key is not set.
    virtual QVariant copyAppValue(const QString& key, const QString& domain) = 0;
    virtual void setAppValue(const QString& key, const QVariant& value, const QString& domain) = 0;
    virtual bool synchronize(const QString& domain) = 0;
    // Asks the program that owns the domain to reread it; does not wait.
    virtual void restartOwner(const QString& domain) = 0;
};

}  // namespace varrow::platform
