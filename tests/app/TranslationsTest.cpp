#include "app/Translations.h"

#include <gtest/gtest.h>
#include <QProcess>

namespace varrow::app {
namespace {

TEST(Translations, theFirstLanguageVarrowSpeaksWinsAndEnglishIsNeverPassedOver) {
    const QStringList available{"de"};
    EXPECT_EQ(Translations::choose({"de-AT", "en"}, available), "de");
    EXPECT_EQ(Translations::choose({"fr-FR", "de-DE"}, available), "de");
    // English first: a later German is not taken in its place.
    EXPECT_EQ(Translations::choose({"en-US", "de"}, available), std::nullopt);
    EXPECT_EQ(Translations::choose({"C", "fr"}, available), std::nullopt);
    EXPECT_EQ(Translations::choose({}, available), std::nullopt);
    EXPECT_EQ(Translations::choose({"de_CH"}, {"de", "de_CH"}), "de_CH");
}

// The real program, with its translations built in, answers in the language the environment asks
// for, before any window exists.
TEST(Translations, theProgramSpeaksTheUsersLanguage) {
    auto usageError = [](const QString& language) {
        QProcess varrow;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", "C.UTF-8");
        environment.insert("LANGUAGE", language);
        varrow.setProcessEnvironment(environment);
        varrow.start(VARROW_BIN_PATH, {"sideways"});
        EXPECT_TRUE(varrow.waitForFinished(20000));
        EXPECT_EQ(varrow.exitCode(), 2);
        return QString::fromUtf8(varrow.readAllStandardError());
    };
    EXPECT_EQ(usageError("de"), "„sideways“ ist kein Befehl von Varrow; siehe varrow --help.\n");
    EXPECT_EQ(usageError("en:de"), "“sideways” is not a Varrow command; see varrow --help.\n");
}

}  // namespace
}  // namespace varrow::app
