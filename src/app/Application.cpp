#include "app/Application.h"

#include "model/ProfileStore.h"

#include <QApplication>
#include <QLabel>
#include <QTextStream>
#include <QVBoxLayout>
#include <QWidget>

namespace varrow::app {

namespace {

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int headless(model::ProfileStore& store) {
    QTextStream out(stdout);
    out << "Varrow (no display): account list at " << store.listFile() << "\n";
    for (const auto& p : store.profiles()) out << "  " << p.name << (p.isDefault ? " (default)" : "") << "\n";
    return 0;
}

}  // namespace

int run(int argc, char** argv) {
    const bool display = hasDisplay() && qEnvironmentVariable("QT_QPA_PLATFORM") != u"offscreen";
    if (!display) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Varrow");
    QApplication::setOrganizationName("Varrow");
    QApplication::setQuitOnLastWindowClosed(false);

    model::ProfileStore store;
    if (!display) return headless(store);

    QWidget window;
    window.setWindowTitle("Varrow");
    auto* layout = new QVBoxLayout(&window);
    for (const auto& p : store.profiles()) layout->addWidget(new QLabel(p.name));
    window.resize(560, 520);
    window.show();
    QApplication::setQuitOnLastWindowClosed(true);
    return app.exec();
}

}  // namespace varrow::app
