#include "support/ProcTree.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace varrow::test {

ProcTree::ProcTree(QString root) : root_(std::move(root)) {
    QDir().mkpath(root_);
}

void ProcTree::setState(pid_t pid, pid_t parent, quint64 startTime, char state, const QString& comm) {
    const QString line =
        QStringLiteral("%1 (%2) %3 %4 %1 %1 0 -1 4194304 0 0 0 0 3 1 0 0 20 0 1 0 %5 1000 100\n")
            .arg(pid)
            .arg(comm)
            .arg(QChar(state))
            .arg(parent)
            .arg(startTime);
    writeFile(QStringLiteral("%1/%2/stat").arg(root_).arg(pid), line.toUtf8());
}

void ProcTree::addProcess(pid_t pid, pid_t parent, quint64 startTime, const QString& exe,
                          const QStringList& arguments, char state) {
    const QString dir = QStringLiteral("%1/%2").arg(root_).arg(pid);
    QDir().mkpath(dir);
    setState(pid, parent, startTime, state, QFileInfo(exe).fileName().left(15));
    QFile::remove(dir + "/exe");
    QFile::link(exe, dir + "/exe");
    QByteArray cmdline;
    for (const QString& a : QStringList{exe} + arguments) cmdline += a.toUtf8() + '\0';
    writeFile(dir + "/cmdline", cmdline);
    writeFile(dir + "/comm", QFileInfo(exe).fileName().toUtf8() + '\n');
}

void ProcTree::addThread(pid_t thread, pid_t process, quint64 startTime) {
    // Up to the exit signal (field 38), which is -1 for a thread.
    QString line = QStringLiteral("%1 (worker) S 1 %2 %2 0 -1 0 0 0 0 0 3 1 0 0 20 0 4 0 %3")
                       .arg(thread)
                       .arg(process)
                       .arg(startTime);
    for (int field = 23; field < 38; ++field) line += QStringLiteral(" 0");
    const QString dir = QStringLiteral("%1/%2").arg(root_).arg(thread);
    writeFile(dir + "/stat", (line + " -1 0 0\n").toUtf8());
    // Everything else is the process's.
    const QString of = QStringLiteral("%1/%2").arg(root_).arg(process);
    QFile::link(QFileInfo(of + "/exe").symLinkTarget(), dir + "/exe");
    QFile::copy(of + "/cmdline", dir + "/cmdline");
}

void ProcTree::setLastCreated(pid_t pid) {
    writeFile(root_ + "/loadavg", QStringLiteral("0.10 0.20 0.30 1/200 %1\n").arg(pid).toUtf8());
}

void ProcTree::setIdLimit(pid_t limit) {
    writeFile(root_ + "/sys/kernel/pid_max", QByteArray::number(limit) + '\n');
}

void ProcTree::remove(pid_t pid) {
    QDir(QStringLiteral("%1/%2").arg(root_).arg(pid)).removeRecursively();
}

QByteArray ProcTree::infoPlist(const QString& identifier, const QString& executable,
                               const QString& iconFile) {
    QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\"><dict>\n";
    auto entry = [&xml](const char* key, const QString& value) {
        if (!value.isEmpty())
            xml +=
                QStringLiteral("<key>%1</key><string>%2</string>\n").arg(QLatin1String(key), value).toUtf8();
    };
    entry("CFBundleIdentifier", identifier);
    entry("CFBundleExecutable", executable);
    entry("CFBundleIconFile", iconFile);
    entry("CFBundleShortVersionString", "1.2.3");
    return xml + "</dict></plist>\n";
}

QString ProcTree::makeBundle(const QString& folder, const QString& name, const QString& identifier,
                             const QString& executable, const QByteArray& script) {
    const QString bundle = folder + u'/' + name + ".app";
    writeFile(bundle + "/Contents/Info.plist", infoPlist(identifier, executable));
    const QString exe = bundle + "/Contents/MacOS/" + executable;
    writeFile(exe, script.isEmpty() ? QByteArray("#!/bin/sh\nexit 0\n") : script);
    QFile::setPermissions(exe, QFile::permissions(exe) | QFile::ExeOwner | QFile::ExeUser);
    return QFileInfo(bundle).canonicalFilePath();
}

}  // namespace varrow::test
