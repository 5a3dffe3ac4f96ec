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
    bool installOwnHandler(const QString&, QString* error) override {
        if (!failure.isEmpty()) return fail(error);
        ownInstalled = true;
        return true;
    }
    void removeOwnHandler() override { ownInstalled = false; }
    QString defaultHandler(const QString& scheme) override {
        return userChoice.contains(scheme) ? userChoice.value(scheme) : systemDefault.value(scheme);
    }
    QString userHandler(const QString& scheme) override { return userChoice.value(scheme); }
    bool setDefaultHandler(const QString& scheme, const QString& handler, QString* error) override {
        if (!failure.isEmpty()) return fail(error);
        if (handler.isEmpty())
            userChoice.remove(scheme);
        else
            userChoice.insert(scheme, handler);
        return true;
    }

private:
    bool fail(QString* error) const {
        if (error) *error = failure;
        return false;
    }
};

}  // namespace varrow::platform::fake
