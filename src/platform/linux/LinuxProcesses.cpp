#include "platform/linux/LinuxProcesses.h"

#include "platform/SystemLog.h"

#include "platform/Timings.h"
#include "platform/linux/BundleInfo.h"
#include "platform/linux/ProcUsage.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <csignal>

namespace varrow::platform::linux_ {

namespace {

constexpr qsizetype kKnownArgumentsLimit = 512;

QString quoted(const QString& name) {
    return QStringLiteral("“%1”").arg(name);
}

}  // namespace

LinuxProcesses::LinuxProcesses(WindowServer* windows, Options options, QObject* parent)
    : Processes(parent),
      windows_(windows),
      procRoot_(options.procRoot),
      installations_(options.installations),
      scanner_(
          options.procRoot, options.user,
          [this](pid_t pid, quint64 start, const QString& id, const QString& folder, const QString& name) {
              return std::make_shared<RunningApplication>(this, pid, start, id, folder, name);
          },
          options.installations) {
    const pid_t self = ::getpid();
    const auto stat = scanner_.readStat(self);
    QString name = QCoreApplication::applicationName();
    if (name.isEmpty()) name = QStringLiteral("Varrow");
    self_ = std::make_shared<RunningApplication>(this, self, stat ? stat->startTime : 0,
                                                 QStringLiteral("app.varrow"), QString(), name);

    polling_ = options.polling || !ExitWatch::isAvailable();
    scanner_.scan();  // take stock without announcing what already runs
    if (!polling_) {
        for (const AppHandle& app : scanner_.applications()) exits_.watch(app);
        connect(&exits_, &ExitWatch::ended, this,
                [this](const AppHandle& app) { announce(scanner_.ended(app)); });
    }
    connect(&launcher_, &ProcessLauncher::exited, this, &LinuxProcesses::rescan);
    timer_.setInterval(polling_ ? Timings::processScan() : Timings::processCheck());
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (polling_) launcher_.reap();
        rescan();
    });
    watchNew_ = options.watch;
    connect(&execs_, &ExecWatch::opened, this, &LinuxProcesses::rescan);
    scheduleChecks();

    if (windows_) {
        connect(windows_, &WindowServer::activeProcessChanged, this, &LinuxProcesses::activeWindowChanged);
        lastActive_ = activePid();
    }
}

LinuxProcesses::~LinuxProcesses() = default;

void LinuxProcesses::rescan() {
    announce(polling_ ? scanner_.scan() : scanner_.update());
    scheduleChecks();
}

void LinuxProcesses::scheduleChecks() {
    if (!watchNew_) return;
    const bool needed = polling_ || !execs_.isActive() || scanner_.hasPending();
    if (needed && !timer_.isActive())
        timer_.start();
    else if (!needed)
        timer_.stop();
}

QString LinuxProcesses::executableOf(const QString& applicationPath) {
    const InstallationRef installation = scanner_.installationAt(applicationPath);
    return installation ? installation->executable() : QString();
}

void LinuxProcesses::watchForLaunches(const QStringList& applicationPaths) {
    QStringList executables;
    for (const QString& path : applicationPaths)
        if (const QString executable = executableOf(path); !executable.isEmpty())
            executables.append(executable);
    execs_.setFiles(executables);
    // Started before the watch began: one look catches it.
    rescan();
}

void LinuxProcesses::announce(const ProcScanner::Changes& changes) {
    for (const AppHandle& app : changes.terminated) {
        exits_.forget(app);
        arguments_.remove(app->processIdentifier());
        emit applicationExited(app);
    }
    for (const AppHandle& app : changes.launched) {
        if (!polling_) exits_.watch(app);
        emit applicationLaunched(app);
    }
}

QList<AppHandle> LinuxProcesses::applications() {
    return scanner_.applications();
}

std::optional<pid_t> LinuxProcesses::activePid() {
    return windows_ ? windows_->activeProcess() : std::nullopt;
}

AppHandle LinuxProcesses::handleFor(pid_t pid) {
    if (pid == self_->processIdentifier()) return self_;
    // A new application's window can be activated before the timer's scan: announce its launch
    // first, as the launch comes before the activation.
    if (!scanner_.knows(pid)) rescan();
    return scanner_.anyProcess(pid);
}

AppHandle LinuxProcesses::frontApplication() {
    const auto pid = activePid();
    return pid ? handleFor(*pid) : nullptr;
}

AppHandle LinuxProcesses::thisApplication() {
    return self_;
}

void LinuxProcesses::activeWindowChanged() {
    const auto pid = activePid();
    if (pid == lastActive_) return;
    const bool wasSelf = lastActive_ == self_->processIdentifier();
    lastActive_ = pid;
    // No active window, or one whose owner is unknown: something other than Claude is in front,
    // and that must be heard, or the last front would stay in force.
    if (!pid) {
        emit frontApplicationChanged(nullptr);
        return;
    }
    emit frontApplicationChanged(handleFor(*pid));
    if (*pid == self_->processIdentifier() && !wasSelf) emit selfCameToFront();
}

void LinuxProcesses::bringToFront(const AppHandle& target) {
    if (target && windows_) windows_->makeFrontmost(target->processIdentifier());
}

void LinuxProcesses::finish(LaunchCompletion completion, Result<AppHandle> opened) {
    QTimer::singleShot(0, this, [this, completion = std::move(completion), opened = std::move(opened)] {
        if (opened) rescan();  // announces the launch before the caller hears of it
        if (completion) completion(opened);
    });
}

void LinuxProcesses::launch(const QString& folder, const LaunchOptions& configuration,
                            LaunchCompletion completion) {
    const QString name = quoted(BundleInfo::displayName(QDir::cleanPath(folder)));
    const InstallationRef installation = scanner_.installationAt(folder);
    if (!installation) {
        finish(std::move(completion),
               Failure{QCoreApplication::translate(
                           "Processes",
                           "The application %1 could not be opened because its folder holds no application.")
                           .arg(name),
                       {}});
        return;
    }
    const QString program = installation->executable();
    const QFileInfo executable(program);
    if (program.isEmpty() || !executable.isFile()) {
        finish(std::move(completion),
               Failure{QCoreApplication::translate(
                           "Processes",
                           "The application %1 could not be opened because its executable is missing.")
                           .arg(name),
                       {}});
        return;
    }
    if (!executable.isExecutable()) {
        finish(std::move(completion),
               Failure{QCoreApplication::translate(
                           "Processes",
                           "The application %1 could not be opened because its executable is not executable.")
                           .arg(name),
                       {}});
        return;
    }
    const QString canonical = QFileInfo(folder).canonicalFilePath();

    if (!configuration.newInstance) {
        for (const AppHandle& app : scanner_.applications()) {
            if (app->installationFolder() != canonical || isTerminated(*app)) continue;
            // The reopen request: the running instance shows a window again. Electron takes
            // SIGUSR1 as "start the inspector"; started again on the same data folder it hands the
            // request to the running instance and exits.
            if (installation->layout() == Installation::Layout::Package) {
                // Should the instance have quit in between, this start is the account's Claude: it
                // gets the instance's own arguments and environment (its CLAUDE_CONFIG_DIR).
                // Without them (it is still being laid out, or has just gone) nothing is started:
                // a start on no data folder would be another Claude on the default data.
                const pid_t pid = app->processIdentifier();
                const auto arguments = scanner_.readArguments(pid);
                const auto environment =
                    configuration.environment.isEmpty() ? scanner_.readEnvironment(pid) : std::nullopt;
                if (arguments && !arguments->isEmpty())
                    launcher_.start(executable.absoluteFilePath(), arguments->mid(1),
                                    environment.value_or(configuration.environment));
            } else {
                ::kill(app->processIdentifier(), SIGUSR1);
            }
            if (configuration.activates) bringToFront(app);
            finish(std::move(completion), app);
            return;
        }
    }

    launcher_.start(executable.absoluteFilePath(), configuration.arguments, configuration.environment,
                    [this, canonical, name,
                     completion = std::move(completion)](const ProcessLauncher::Started& started) mutable {
                        if (started.pid <= 0) {
                            finish(std::move(completion),
                                   Failure{QCoreApplication::translate(
                                               "Processes", "The application %1 could not be launched.")
                                               .arg(name),
                                           started.error});
                            return;
                        }
                        // The start returns as the new program replaces the child's copy of this
                        // one, a moment before its arguments are laid out; whose it is is told by
                        // them, so they are waited for, on the event loop.
                        QElapsedTimer settling;
                        settling.start();
                        settle(started.pid, canonical, name, settling, std::move(completion));
                    });
}

void LinuxProcesses::settle(pid_t pid, const QString& folder, const QString& name, QElapsedTimer since,
                            LaunchCompletion completion) {
    const auto stat = scanner_.readStat(pid);
    const bool running = stat && !stat->zombie;
    if (!scanner_.readArguments(pid) && running && since.elapsed() < Timings::launchSettle().count()) {
        QTimer::singleShot(Timings::launchSettleStep(), this,
                           [this, pid, folder, name, since, completion = std::move(completion)]() mutable {
                               settle(pid, folder, name, since, std::move(completion));
                           });
        return;
    }
    AppHandle app = scanner_.adopt(pid, folder);
    if (!app) {
        finish(std::move(completion),
               Failure{QCoreApplication::translate("Processes",
                                                   "The application %1 quit as soon as it was launched.")
                           .arg(name),
                       {}});
        return;
    }
    finish(std::move(completion), app);
}

std::optional<QStringList> LinuxProcesses::processArguments(pid_t pid) {
    if (pid <= 0) return std::nullopt;
    const auto stat = scanner_.readStat(pid);
    if (!stat || stat->zombie) {
        arguments_.remove(pid);
        return std::nullopt;
    }
    if (const auto known = arguments_.constFind(pid); known != arguments_.cend() &&
                                                      known->startTime == stat->startTime &&
                                                      known->nameHash == stat->nameHash)
        return known->arguments;
    auto arguments = scanner_.readArguments(pid);
    // None or empty: gone, or still laying out its new program's arguments; asked again later.
    if (!arguments || arguments->isEmpty()) return arguments;
    // Processes that come and go (helpers, reused ids) must not make it grow without end.
    if (arguments_.size() >= kKnownArgumentsLimit) arguments_.clear();
    arguments_.insert(pid, KnownArguments{stat->startTime, stat->nameHash, *arguments});
    return arguments;
}

std::optional<quint64> LinuxProcesses::treeCpuMilliseconds(pid_t pid) {
    return pid > 0 ? proc_usage::cpuMilliseconds(procRoot_, pid) : std::nullopt;
}

std::optional<quint64> LinuxProcesses::treeMemoryBytes(pid_t pid) {
    return pid > 0 ? proc_usage::proportionalBytes(procRoot_, pid) : std::nullopt;
}

bool LinuxProcesses::isTerminated(const RunningApplication& app) {
    if (app.processIdentifier() <= 0) return true;
    const auto stat = scanner_.readStat(app.processIdentifier());
    return !stat || stat->zombie || stat->startTime != app.startTime();
}

bool LinuxProcesses::isActive(const RunningApplication& app) {
    return activePid() == app.processIdentifier();
}

bool LinuxProcesses::signal(const RunningApplication& app, int signalNumber) {
    // Never signal a reused process identifier (or 0 and -1, which name groups).
    if (isTerminated(app)) return false;
    return ::kill(app.processIdentifier(), signalNumber) == 0;
}

bool LinuxProcesses::terminate(const RunningApplication& app) {
    return signal(app, SIGTERM);
}

bool LinuxProcesses::forceTerminate(const RunningApplication& app) {
    return signal(app, SIGKILL);
}

}  // namespace varrow::platform::linux_
