#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace varrow::test {

TempHome::TempHome() : oldData_(qgetenv("XDG_DATA_HOME")), oldHome_(qgetenv("HOME")) {
    qputenv("XDG_DATA_HOME", dir_.filePath("share").toUtf8());
    qputenv("HOME", dir_.path().toUtf8());
}

TempHome::~TempHome() {
    qputenv("XDG_DATA_HOME", oldData_);
    qputenv("HOME", oldHome_);
}

LogCapture::LogCapture() {
    platform::SystemLog::setSink([this](const QString& line) { lines.append(line); });
}

LogCapture::~LogCapture() {
    platform::SystemLog::setSink({});
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

model::Profile account(const QString& name, const QString& folder) {
    model::Profile p;
    p.id = QUuid::createUuid();
    p.name = name;
    p.color = model::ProfileColor::Sky;
    p.folderName = folder.isEmpty() ? model::ProfileStore::folderName(name) : folder;
    p.createdAt = QDateTime(QDate(2025, 3, 14), QTime(9, 26, 53), Qt::UTC);
    return p;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace varrow::test
