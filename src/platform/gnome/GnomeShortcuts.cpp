#include "platform/gnome/GnomeShortcuts.h"

#include <QKeySequence>

namespace varrow::platform::gnome {

GnomeShortcuts::GnomeShortcuts(std::shared_ptr<ExtensionLink> link) : link_(std::move(link)) {
    connect(link_.get(), &ExtensionLink::availabilityChanged, this, &DesktopShortcuts::availabilityChanged);
    connect(link_.get(), &ExtensionLink::keyPressed, this, &DesktopShortcuts::activated);
}

QString GnomeShortcuts::accelerator(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QString name;
    if (key == Qt::Key_QuoteLeft)
        name = QStringLiteral("grave");
    else if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        name = QKeySequence(key).toString().toLower();
    if (name.isEmpty()) return {};
    QString text;
    if (modifiers & Qt::ControlModifier) text += QLatin1String("<Control>");
    if (modifiers & Qt::ShiftModifier) text += QLatin1String("<Shift>");
    if (modifiers & Qt::AltModifier) text += QLatin1String("<Alt>");
    if (modifiers & Qt::MetaModifier) text += QLatin1String("<Super>");
    return text + name;
}

void GnomeShortcuts::bind(const QList<Shortcut>& shortcuts) {
    QMap<QString, QString> keys;
    for (const Shortcut& shortcut : shortcuts) {
        const QString name = accelerator(shortcut.key, shortcut.modifiers);
        if (!name.isEmpty()) keys.insert(shortcut.id, name);
    }
    link_->grabKeys(keys);
}

}  // namespace varrow::platform::gnome
