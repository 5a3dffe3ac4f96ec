#include "front/FrontSwitcher.h"

#include "platform/Platform.h"
#include "platform/Timings.h"
#include "platform/UserPaths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <memory>

namespace varrow::front {

using platform::AppHandle;
using platform::Platform;

namespace {

QString frontName() {
    const AppHandle front = Platform::workspace().frontmostApplication();
    if (!front || front->localizedName().isEmpty()) return QStringLiteral("-");
    return front->localizedName();
}

}  // namespace

void FrontSwitcher::bringToFront(const AppHandle& target, const QString& label) {
    if (!Platform::workspace().isSelfActive()) {
        // Handing over is only possible from the active application.
        compositorFront(target, label);
        return;
    }
    handOver(target);
    verify(target, label, QStringLiteral("hand-over"), [target, label] { compositorFront(target, label); });
}

void FrontSwitcher::handOver(const AppHandle& target) {
    Platform::workspace().handOver(target);
}

void FrontSwitcher::windowServerFront(const AppHandle& target, const QString& label) {
    const pid_t pid = target ? target->processIdentifier() : 0;
    if (!Platform::windowServer().makeFrontmost(pid))
        log(label + QStringLiteral(": window-server call unavailable"));
    verify(target, label, QStringLiteral("window-server"),
           [target, label] { activateThenHandOver(target, label); });
}

void FrontSwitcher::compositorFront(const AppHandle& target, const QString& label) {
    const pid_t pid = target ? target->processIdentifier() : 0;
    // A compositor that takes commands is asked first: it may ignore the window server's request
    // (sway only marks the window urgent), and waiting to find that out costs a whole check. Most
    // sessions have no such route: then there is nothing to check or log.
    if (!Platform::windowServer().focusThroughCompositor(pid)) {
        windowServerFront(target, label);
        return;
    }
    verify(target, label, QStringLiteral("compositor"),
           [target, label] { windowServerFront(target, label); });
}

void FrontSwitcher::activateThenHandOver(const AppHandle& target, const QString& label) {
    struct Once {
        bool done = false;
        QMetaObject::Connection observer;
    };
    auto once = std::make_shared<Once>();
    auto action = [once, target, label] {
        if (once->done) return;
        once->done = true;
        QObject::disconnect(once->observer);
        handOver(target);
        verify(target, label, QStringLiteral("activate-then-hand-over"), {});
    };
    platform::Workspace* workspace = &Platform::workspace();
    once->observer = QObject::connect(workspace, &platform::Workspace::didBecomeActive, workspace, action);
    workspace->activateSelf();
    // The workspace is the context: a chain dies with the platform that started it.
    QTimer::singleShot(Timings::handOverFallback(), workspace, action);
}

void FrontSwitcher::verify(const AppHandle& target, const QString& label, const QString& step,
                           std::function<void()> fallback) {
    QTimer::singleShot(Timings::frontCheck(), &Platform::workspace(), [target, label, step, fallback] {
        const AppHandle front = Platform::workspace().frontmostApplication();
        if (front && target && front->processIdentifier() == target->processIdentifier()) {
            log(label + QStringLiteral(": ok via ") + step);
            return;
        }
        if (fallback) {
            log(QStringLiteral("%1: %2 didn't take (front: %3), trying next").arg(label, step, frontName()));
            fallback();
            return;
        }
        log(label + QStringLiteral(": FAILED, front is ") + frontName());
    });
}

QString FrontSwitcher::logPath() {
    // Worked out on each call so a changed home (tests, sandboxed runs) is honoured.
    return QDir(platform::UserPaths::logs()).filePath(QStringLiteral("switch.log"));
}

QUrl FrontSwitcher::logURL() {
    return QUrl::fromLocalFile(logPath());
}

void FrontSwitcher::log(const QString& message) {
    // A log for people and scripts alike, in English like the system log.
    const QString stamp = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    const QByteArray line = (stamp + u' ' + message + u'\n').toUtf8();
    const QString path = logPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    // Append mode creates the file when it is missing.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
    if (file.size() + line.size() > kLogLimit) {
        file.close();
        const QString old = path + QStringLiteral(".1");
        QFile::remove(old);
        QFile::rename(path, old);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
    }
    file.write(line);
}

}  // namespace varrow::front
