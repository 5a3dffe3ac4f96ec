#include "front/FrontSwitcher.h"

#include "platform/Processes.h"
#include "platform/Timings.h"
#include "platform/UserPaths.h"
#include "platform/WindowServer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <memory>

namespace varrow::front {

using platform::AppHandle;

QString FrontSwitcher::frontName() const {
    const AppHandle front = processes_->frontApplication();
    if (!front || front->localizedName().isEmpty()) return QStringLiteral("-");
    return front->localizedName();
}

void FrontSwitcher::bringToFront(const AppHandle& target, const QString& label) const {
    if (!processes_->isSelfInFront()) {
        // Handing over is only possible from the active application.
        compositorFront(target, label);
        return;
    }
    bringToFront(target);
    verify(target, label, QStringLiteral("hand-over"),
           [self = *this, target, label] { self.compositorFront(target, label); });
}

void FrontSwitcher::bringToFront(const AppHandle& target) const {
    processes_->bringToFront(target);
}

void FrontSwitcher::windowServerFront(const AppHandle& target, const QString& label) const {
    const pid_t pid = target ? target->processIdentifier() : 0;
    if (!windowServer_->makeFrontmost(pid)) log(label + QStringLiteral(": window-server call unavailable"));
    verify(target, label, QStringLiteral("window-server"),
           [self = *this, target, label] { self.activateThenHandOver(target, label); });
}

void FrontSwitcher::compositorFront(const AppHandle& target, const QString& label) const {
    const pid_t pid = target ? target->processIdentifier() : 0;
    // A compositor that takes commands is asked first: it may ignore the window server's request
    // (sway only marks the window urgent), and waiting to find that out costs a whole check. Most
    // sessions have no such route: then there is nothing to check or log.
    if (!windowServer_->focusThroughCompositor(pid)) {
        windowServerFront(target, label);
        return;
    }
    verify(target, label, QStringLiteral("compositor"),
           [self = *this, target, label] { self.windowServerFront(target, label); });
}

void FrontSwitcher::activateThenHandOver(const AppHandle& target, const QString& label) const {
    struct Once {
        bool done = false;
        QMetaObject::Connection observer;
    };
    auto once = std::make_shared<Once>();
    auto action = [self = *this, once, target, label] {
        if (once->done) return;
        once->done = true;
        QObject::disconnect(once->observer);
        self.bringToFront(target);
        self.verify(target, label, QStringLiteral("activate-then-hand-over"), {});
    };
    platform::Processes* processes = processes_;
    once->observer = QObject::connect(processes, &platform::Processes::selfCameToFront, processes, action);
    processes->bringSelfToFront();
    // The process service is the context: a chain dies with the platform that started it.
    QTimer::singleShot(Timings::handOverFallback(), processes, action);
}

void FrontSwitcher::verify(const AppHandle& target, const QString& label, const QString& step,
                           std::function<void()> fallback) const {
    QTimer::singleShot(Timings::frontCheck(), processes_, [self = *this, target, label, step, fallback] {
        const AppHandle front = self.processes_->frontApplication();
        if (front && target && front->processIdentifier() == target->processIdentifier()) {
            log(label + QStringLiteral(": ok via ") + step);
            return;
        }
        if (fallback) {
            log(QStringLiteral("%1: %2 didn't take (front: %3), trying next")
                    .arg(label, step, self.frontName()));
            fallback();
            return;
        }
        log(label + QStringLiteral(": FAILED, front is ") + self.frontName());
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
