// Writes an Electron archive for test fixtures: fixture-asar OUT.asar INNER=FILE...
// (each INNER path inside the archive takes the bytes of FILE).
#include "install/AsarArchive.h"
#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: fixture-asar OUT.asar INNER=FILE...\n");
        return 2;
    }
    QList<std::pair<QString, QByteArray>> files;
    for (const QString& pair : arguments.mid(2)) {
        const qsizetype eq = pair.indexOf(u'=');
        QFile file(pair.mid(eq + 1));
        if (eq <= 0 || !file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(pair));
            return 1;
        }
        files.append({pair.left(eq), file.readAll()});
    }
    QString error;
    if (!varrow::platform::writeFileAtomically(arguments.at(1), varrow::install::AsarArchive::build(files),
                                               &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
