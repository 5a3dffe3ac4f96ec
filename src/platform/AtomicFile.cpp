#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

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

bool replaceWithoutSync(const QString& path, const QByteArray& bytes, QString* error) {
    const QFileInfo target(path);
    QTemporaryFile file(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                        QStringLiteral(".XXXXXX"));
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (!file.open()) return fail(file.errorString());
    QString why;
    if (!writeAll(file, bytes, &why)) return fail(why);
    // Buffered (QTemporaryFile opens no other way): a short write shows only here.
    if (!file.flush()) return fail(file.errorString());
    // Readable as a file the user's session wrote itself would be (QTemporaryFile makes it private).
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    file.close();
    if (::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    file.setAutoRemove(false);
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
