#pragma once

#include "model/ProfileStore.h"
#include "platform/SystemLog.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

namespace varrow::test {

// A private home for one test: a temporary folder that also serves as XDG_DATA_HOME, so the
// Trash and application data land inside it.
class TempHome {
public:
    TempHome();
    ~TempHome();
    QString path() const { return dir_.path(); }
    QString file(const QString& relative) const { return dir_.filePath(relative); }
    model::StoreLocations locations() const { return model::StoreLocations::forRoot(file("Varrow")); }

private:
    QTemporaryDir dir_;
    QByteArray oldData_;
    QByteArray oldHome_;
};

// Captures the system log for as long as it lives.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    QStringList lines;
};

// Runs the event loop until the condition holds or the time runs out; returns the condition.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// A non-default account with a fresh id, a generated folder name (unless one is given) and a
// whole-second creation date, as the list file stores it.
model::Profile account(const QString& name, const QString& folder = QString());

// Writes bytes to a file, creating its folder; for fixtures.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

}  // namespace varrow::test
