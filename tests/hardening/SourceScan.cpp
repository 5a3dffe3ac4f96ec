#include "hardening/SourceScan.h"

#include <QDirIterator>
#include <QFile>

namespace varrow::test {

QStringList sourceLinesMatching(const QRegularExpression& pattern,
                                const std::function<bool(const QString& relative)>& skip) {
    QStringList found;
    QDirIterator files(QStringLiteral(VARROW_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString relative = path.mid(QStringLiteral(VARROW_SOURCE_DIR).size() + 1);
        if (skip(relative)) continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            found.append(relative + QStringLiteral(": unreadable"));
            continue;
        }
        int line = 0;
        for (const QByteArray& text : file.readAll().split('\n')) {
            ++line;
            const QString code = QString::fromUtf8(text).section(QStringLiteral("//"), 0, 0);
            if (pattern.match(code).hasMatch())
                found.append(relative + ':' + QString::number(line) + ": " + code.trimmed());
        }
    }
    return found;
}

}  // namespace varrow::test
