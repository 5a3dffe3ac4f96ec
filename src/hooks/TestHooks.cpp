#include "hooks/TestHooks.h"

#include "claude/ClaudeController.h"
#include "copies/AccountIcon.h"
#include "hooks/LoopLatencyProbe.h"
#include "hooks/Renderer.h"
#include "model/ProfileStore.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace varrow::hooks {

QStringList TestHooks::splitNames(const QString& value) {
    return value.split(QLatin1Char(','), Qt::SkipEmptyParts);
}

void TestHooks::run(model::ProfileStore* store, claude::ClaudeController* claude,
                    const platform::ServiceRefs& services, const QProcessEnvironment& environment,
                    const ui::DesktopWords& words, std::function<QWidget*()> trayMenu) {
    if (environment.contains(QStringLiteral("VARROW_LOOP_LATENCY")))
        new LoopLatencyProbe(environment.value(QStringLiteral("VARROW_LOOP_LATENCY")), claude);
    if (environment.contains(QStringLiteral("VARROW_OPEN"))) {
        for (const QString& name : splitNames(environment.value(QStringLiteral("VARROW_OPEN"))))
            if (auto profile = store->findByName(name)) claude->open(*profile);
    }
    if (environment.contains(QStringLiteral("VARROW_PIN"))) {
        if (auto profile = store->findByName(environment.value(QStringLiteral("VARROW_PIN"))))
            claude->keepInDock(*profile);
    }
    if (environment.contains(QStringLiteral("VARROW_ICONS")))
        writeIcons(*store, *claude, services.desktopFiles, environment.value(QStringLiteral("VARROW_ICONS")));

    if (environment.contains(QStringLiteral("VARROW_RENDER"))) {
        Renderer::Request request;
        request.path = environment.value(QStringLiteral("VARROW_RENDER"));
        request.dark = environment.value(QStringLiteral("VARROW_DARK")) == u"1";
        request.words = words;
        request.trayMenu = std::move(trayMenu);
        if (environment.contains(QStringLiteral("VARROW_REPORT")))
            request.reportPath = environment.value(QStringLiteral("VARROW_REPORT"));
        Renderer::start(store, claude, services, request, /*quitWhenDone=*/true);
    }
}

int TestHooks::writeIcons(const model::ProfileStore& store, const claude::ClaudeController& claude,
                          platform::DesktopFiles& files, const QString& folder) {
    const std::optional<QString> source = claude.claudeURL();
    if (!source) return 0;
    int written = 0;
    for (const model::Profile& profile : store.profiles()) {
        if (profile.isDefault) continue;
        const std::optional<QImage> icon = copies::AccountIcon::renderIcon(files, profile, *source);
        if (!icon) continue;
        // The name is one path component here: a "/" in it must not lead into another folder.
        QString fileName = QStringLiteral("icon-") + profile.name + QStringLiteral(".png");
        fileName.replace(QLatin1Char('/'), QLatin1Char('-'));
        // The folder is not created; a failed write is skipped.
        if (icon->save(QDir(folder).filePath(fileName), "PNG")) ++written;
    }
    return written;
}

QString TestHooks::siblingPath(const QString& renderPath, const QString& suffix) {
    const QFileInfo info(renderPath);
    // A name that is all extension (".png") has none to drop.
    const bool hasExtension = !info.suffix().isEmpty() && !info.completeBaseName().isEmpty();
    const QString base =
        hasExtension ? renderPath.left(renderPath.size() - info.suffix().size() - 1) : renderPath;
    return base + QStringLiteral("-") + suffix + QStringLiteral(".png");
}

}  // namespace varrow::hooks
