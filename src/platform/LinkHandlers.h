#pragma once

#include "platform/Result.h"

#include <QObject>
#include <QString>

namespace varrow::platform {

// Which application the desktop opens the links of a URL scheme with, and Varrow's own entry
// for taking them ("varrow open-link URL").
class LinkHandlers : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The id of Varrow's own handler entry as defaults name it (a desktop-entry file name).
    virtual QString ownHandler() = 0;
    // Writes Varrow's entry for the scheme, or refreshes it.
    virtual Result<> installOwnHandler(const QString& scheme) = 0;
    // Removes Varrow's entry again.
    virtual void removeOwnHandler() = 0;

    // The handler the scheme's links go to now; empty when none.
    virtual QString defaultHandler(const QString& scheme) = 0;
    // The user's own choice for the scheme, which overrides the system's; empty when none.
    virtual QString userHandler(const QString& scheme) = 0;
    // Makes a handler the default; an empty one drops the user's own choice, so the system's
    // applies again.
    virtual Result<> setDefaultHandler(const QString& scheme, const QString& handler) = 0;

    // Starts following the user's choices, so another program setting a handler is told by
    // userChoicesChanged(); does nothing where they cannot be followed.
    virtual void watchUserChoices() {}

signals:
    // The user's choices changed outside Varrow's own calls (another program set a handler).
    void userChoicesChanged();
};

}  // namespace varrow::platform
