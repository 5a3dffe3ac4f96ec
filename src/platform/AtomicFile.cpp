#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

namespace varrow::platform {

namespace {
// Unbuffered, so a short write shows in write()'s result instead of vanishing in a flush.
bool writeAll(QFileDevice& file, const QByteArray& bytes, QString* why) {
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) {
            *why = file.error() != QFileDevice::NoError
                       ? file.errorString()
                       : QCoreApplication::translate("AtomicFile", "the disk is full");
            return false;
        }
        written += n;
    }
    return true;
}
}  // namespace

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return fail(file.errorString());
    QString why;
    if (!writeAll(file, bytes, &why)) return fail(why);
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

bool writeFileChecked(const QString& path, const QByteArray& bytes, QString* error) {
    QFile file(path);
    QString why;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        why = file.errorString();
    else if (writeAll(file, bytes, &why) && file.flush())
        return true;
    if (error) *error = why.isEmpty() ? file.errorString() : why;
    return false;
}

}  // namespace varrow::platform
