#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

namespace varrow::platform::linux_ {

// Custom icons of files and bundles. There is no icon store shared by all Linux desktops, so a
// custom icon is a hidden PNG beside the item (".<name>.icon.png"), which iconFor prefers, plus
// GIO's metadata::custom-icon for file managers that read it.
class BundleIcons {
public:
    // gio: the GIO tool to run after writing, or empty to skip that step.
    explicit BundleIcons(QString gio = QStringLiteral("/usr/bin/gio")) : gio_(std::move(gio)) {}

    static QString customIconPath(const QString& path);

    bool setIcon(const QByteArray& png, const QString& path) const;
    // The custom icon, else the bundle's own CFBundleIconFile, else a generic application icon;
    // always pixels x pixels.
    QImage iconFor(const QString& path, int pixels) const;

    // Runs a helper tool on the main thread with its output captured: what it writes to standard
    // error goes to the debug log. done, if given, gets the exit code (-1: it did not run) and
    // standard output.
    static void runQuietly(const QString& program, const QStringList& arguments,
                           std::function<void(int, const QByteArray&)> done);

private:
    void setGioIcon(const QString& path, const QString& iconPath) const;
    static QImage bundleIcon(const QString& path);
    static QImage genericIcon(int pixels);

    QString gio_;
};

}  // namespace varrow::platform::linux_
