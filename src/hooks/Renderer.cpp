#include "hooks/Renderer.h"

#include "claude/ClaudeController.h"
#include "hooks/TestHooks.h"
#include "platform/AtomicFile.h"
#include "platform/Timings.h"
#include "switcher/SwitcherModel.h"
#include "switcher/SwitcherView.h"
#include "ui/AccountsView.h"
#include "ui/Theme.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>
#include <array>

namespace varrow::hooks {

namespace {

struct Look {
    const char* suffix;
    switcher::SwitcherStyle style;
    bool expanded;
};
constexpr std::array<Look, 3> kLooks{{
    {"edge", switcher::SwitcherStyle::Edge, false},
    {"edge-open", switcher::SwitcherStyle::Edge, true},
    {"floating", switcher::SwitcherStyle::Floating, false},
}};

constexpr int kPadding = 12;

// The switcher drawn over a plain grey, as it would sit over a window.
class Backdrop : public QWidget {
public:
    explicit Backdrop(bool dark)
        : grey_(QColor::fromRgbF(dark ? 0.16f : 0.93f, dark ? 0.16f : 0.93f, dark ? 0.16f : 0.93f)) {}

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), grey_); }

private:
    QColor grey_;
};

}  // namespace

Renderer* Renderer::start(model::ProfileStore* store, claude::ClaudeController* claude,
                          const platform::ServiceRefs& services, Request request, bool quitWhenDone) {
    auto* renderer = new Renderer(store, claude, services, std::move(request), quitWhenDone);
    QTimer::singleShot(Timings::renderDelay(), renderer, &Renderer::renderWindow);
    return renderer;
}

Renderer::Renderer(model::ProfileStore* store, claude::ClaudeController* claude,
                   const platform::ServiceRefs& services, Request request, bool quitWhenDone)
    : QObject(claude),
      store_(store),
      claude_(claude),
      services_(services),
      request_(std::move(request)),
      quitWhenDone_(quitWhenDone) {}

QImage Renderer::snapshot(QWidget* widget) {
    // Grabbed from the widget's own painting, never from a screen.
    return widget->grab().toImage();
}

void Renderer::save(const QImage& image, const QString& path) {
    // A missing or read-only folder loses this file only.
    if (!image.isNull() && image.save(path, "PNG")) written_.append(path);
}

void Renderer::settleThenSave(QWidget* widget, const QString& path, std::function<void()> next) {
    widget->setAttribute(Qt::WA_DontShowOnScreen);
    widget->setPalette(request_.dark ? ui::theme::darkPalette() : ui::theme::lightPalette());
    // A fixed-size layout sizes its window when first activated: done before the window exists,
    // nothing is asked of a platform that cannot take size hints (the offscreen one says so).
    widget->ensurePolished();
    if (widget->layout()) widget->layout()->activate();
    widget->show();
    QPointer<QWidget> guard(widget);
    QTimer::singleShot(Timings::renderSettle(), this, [this, guard, path, next = std::move(next)] {
        if (guard) {
            save(snapshot(guard), path);
            delete guard.data();
        }
        next();
    });
}

void Renderer::renderWindow() {
    auto* window = new ui::AccountsView(store_, claude_, services_, request_.words);
    window->resize(560, 520);
    settleThenSave(window, request_.path, [this] { renderTrayMenu(); });
}

void Renderer::renderTrayMenu() {
    // Drawn without being shown: a menu shown grabs the keyboard, which no offscreen platform can.
    if (QWidget* menu = request_.trayMenu ? request_.trayMenu() : nullptr) {
        menu->setPalette(request_.dark ? ui::theme::darkPalette() : ui::theme::lightPalette());
        menu->ensurePolished();
        menu->adjustSize();
        save(snapshot(menu), TestHooks::siblingPath(request_.path, QStringLiteral("menu")));
        delete menu;
    }
    renderLook(0);
}

void Renderer::renderLook(int index) {
    if (index >= int(kLooks.size())) {
        finish();
        return;
    }
    const Look& look = kLooks.at(index);
    auto* backdrop = new Backdrop(request_.dark);
    auto* model = new switcher::SwitcherModel(look.style, look.expanded, backdrop);
    auto* layout = new QVBoxLayout(backdrop);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(new switcher::SwitcherView(model, store_, claude_));
    settleThenSave(backdrop, TestHooks::switcherPath(request_.path, QString::fromLatin1(look.suffix)),
                   [this, index] { renderLook(index + 1); });
}

void Renderer::finish() {
    if (request_.reportPath) {
        const QString report = claude_->statusReport();
        if (platform::writeFileAtomically(*request_.reportPath, report.toUtf8()))
            written_.append(*request_.reportPath);
    }
    emit finished(written_);
    // Quits even when some files could not be written.
    if (quitWhenDone_) QCoreApplication::quit();
    deleteLater();
}

}  // namespace varrow::hooks
