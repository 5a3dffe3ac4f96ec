#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace varrow::app {

// Varrow's texts in the user's language, from the translations built into the program.
class Translations {
public:
    // The first of the user's languages, in order of preference, that Varrow speaks: English (the
    // language the texts are written in) or one of the available translations ("de"). None means
    // English. A language the user prefers to a translation is never passed over for it.
    static std::optional<QString> choose(const QStringList& uiLanguages, const QStringList& available);
    // The translations built in, by language ("de").
    static QStringList available();
    // Installs Varrow's translation and Qt's own for the system locale's languages (LANGUAGE,
    // then LC_MESSAGES and LANG), into the running QCoreApplication; which one, if any.
    static std::optional<QString> install();
};

}  // namespace varrow::app
