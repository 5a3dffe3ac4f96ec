#pragma once

#include "model/Profile.h"

#include <QCoreApplication>
#include <QFuture>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace varrow::platform {
class Installations;
class DesktopFiles;
}  // namespace varrow::platform

namespace varrow::copies {

// Making, refreshing, re-iconing and deleting the per-account copies of Claude.
class AppCloner {
    Q_DECLARE_TR_FUNCTIONS(AppCloner)

public:
    struct Meta {
        QString sourcePath;
        QString sourceVersion;
        QString iconSignature;
        bool operator==(const Meta&) const = default;
    };

    // The application to launch for an account, or the user-facing failure text.
    struct Prepared {
        QString appPath;  // empty on failure
        QString error;    // "Couldn't prepare this account's copy of Claude (copy failed)." or a file error
        bool ok() const { return error.isEmpty(); }
    };

    // Makes or refreshes the account's copy; the copying runs in the background, everything else
    // on the calling (main) thread. The callback runs on the main thread, once, always after
    // prepare has returned. A second prepare for a copy that is being made waits for that copy
    // and then runs as usual (it finds the copy current).
    // files gives Claude's icon and shows the copy's; the installations make and announce the copy.
    static void prepare(platform::DesktopFiles& files, platform::Installations& installations,
                        const model::Profile& profile, const QString& source, bool isRunning,
                        const QString& appsDir, const QString& accountsDir,
                        std::function<void(Prepared)> done);

    // Paths. The copy name replaces "/" and ":" so it stays one path component.
    static QString copyName(const model::Profile& profile);
    static QString copyPath(const model::Profile& profile, const QString& appsDir);
    static QString metaPath(const QString& copyPath);
    // The hidden PNG beside a copy that the Linux desktop stores as its custom icon.
    static QString customIconPath(const QString& copyPath);
    static QString updatePolicyDir(const QString& dataDir);
    // "Couldn't prepare this account's copy of Claude (<text>)."
    static QString cloneErrorMessage(const QString& text);

    static std::optional<Meta> readMeta(const QString& copyPath);
    static void writeMeta(const Meta& meta, const QString& copyPath);
    static QString version(platform::Installations& installations, const QString& appPath);
    // Replaces whatever is at copyPath with a fresh copy; empty on success, else the failure text.
    static QString makeCopy(platform::Installations& installations, const QString& source,
                            const QString& copyPath, const QString& appsDir);
    static void blockSelfUpdates(const QString& dataDir);
    static void removeUnused(platform::Installations& installations, const QSet<QString>& keeping,
                             const QSet<QString>& running, const QString& appsDir);
    static void refreshIcon(platform::DesktopFiles& files, const model::Profile& profile,
                            const QString& source, const QString& appsDir);

    // Whether a copy is being made at this path right now (main thread).
    static bool isCopying(const QString& copyPath);
};

}  // namespace varrow::copies
