#include "platform/AtomicFile.h"

#include <QSaveFile>

namespace varrow::platform {

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        file.cancelWriting();
        return false;
    };
    // Unbuffered, so a short write shows in write()'s result instead of vanishing in a flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return fail(file.errorString());
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) {
            const QString why = file.error() != QFileDevice::NoError ? file.errorString()
                                                                     : QStringLiteral("the disk is full");
            return fail(why);
        }
        written += n;
    }
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace varrow::platform
