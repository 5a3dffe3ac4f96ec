#pragma once

#include "platform/macos/AppPreferences.h"

#include <QMap>

namespace varrow::platform::fake {

class FakePreferences : public AppPreferences {
    Q_OBJECT
public:
    using AppPreferences::AppPreferences;

    QMap<QString, QVariantMap> domains;
    int restarts = 0;
    int writes = 0;

    QVariant copyAppValue(const QString& key, const QString& domain) override {
        return domains.value(domain).value(key);
    }
    void setAppValue(const QString& key, const QVariant& value, const QString& domain) override {
        ++writes;
        domains[domain].insert(key, value);
    }
    bool synchronize(const QString&) override { return true; }
    void restartOwner(const QString&) override { ++restarts; }
};

}  // namespace varrow::platform::fake
