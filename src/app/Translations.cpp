#include "app/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace varrow::app {

namespace {

constexpr auto kFolder = ":/i18n";
constexpr auto kPrefix = "varrow_";

}  // namespace

std::optional<QString> Translations::choose(const QStringList& uiLanguages, const QStringList& available) {
    for (const QString& language : uiLanguages) {
        const QLocale locale(language);
        if (locale.language() == QLocale::English) return std::nullopt;
        // "de-AT" is served by a translation for de_AT, else by the one for de.
        if (available.contains(locale.name())) return locale.name();
        const QString base = QLocale::languageToCode(locale.language());
        if (available.contains(base)) return base;
    }
    return std::nullopt;
}

QStringList Translations::available() {
    QStringList out;
    const QString prefix = QString::fromLatin1(kPrefix);
    for (const QString& file :
         QDir(QString::fromLatin1(kFolder)).entryList({prefix + QStringLiteral("*.qm")}, QDir::Files))
        out.append(file.mid(prefix.size()).chopped(3));
    return out;
}

std::optional<QString> Translations::install() {
    auto* app = QCoreApplication::instance();
    const auto language = choose(QLocale::system().uiLanguages(), available());
    if (!app || !language) return std::nullopt;
    auto* own = new QTranslator(app);
    if (!own->load(QString::fromLatin1(kPrefix) + *language, QString::fromLatin1(kFolder))) {
        delete own;
        return std::nullopt;
    }
    QCoreApplication::installTranslator(own);
    // Qt's own texts (standard buttons, shortcut names) in the same language, where installed.
    auto* qt = new QTranslator(app);
    if (qt->load(QStringLiteral("qtbase_") + *language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    return language;
}

}  // namespace varrow::app
