#pragma once

#include "platform/LinkHandlers.h"

#include <QHash>

namespace varrow::platform::fake {

// Defaults per scheme in memory: the user's own choice over the system's.
class FakeLinkHandlers : public LinkHandlers {
    Q_OBJECT
public:
    using LinkHandlers::LinkHandlers;

    QHash<QString, QString> userChoice;
    QHash<QString, QString> systemDefault;
    bool ownInstalled = false;
    QString failure;  // non-empty: changes fail with this sentence

    QString ownHandler() override { return QStringLiteral("varrow-link.desktop"); }
    Result<> installOwnHandler(const QString&) override {
        if (!failure.isEmpty()) return Failure{failure, {}};
        ownInstalled = true;
        return {};
    }
    void removeOwnHandler() override { ownInstalled = false; }
    QString defaultHandler(const QString& scheme) override {
        return userChoice.contains(scheme) ? userChoice.value(scheme) : systemDefault.value(scheme);
    }
    QString userHandler(const QString& scheme) override { return userChoice.value(scheme); }
    Result<> setDefaultHandler(const QString& scheme, const QString& handler) override {
        if (!failure.isEmpty()) return Failure{failure, {}};
        if (handler.isEmpty())
            userChoice.remove(scheme);
        else
            userChoice.insert(scheme, handler);
        return {};
    }
};

}  // namespace varrow::platform::fake
