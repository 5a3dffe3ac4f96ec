#include "platform/linux/DesktopEntry.h"

#include <gtest/gtest.h>

using varrow::platform::linux_::DesktopEntry;

TEST(DesktopEntry, ReadsTheMainGroupOnly) {
    const auto entry = DesktopEntry::parse(R"(# comment
[Desktop Entry]
Name=Claude
Name[de]=Claude DE
Exec=/usr/bin/claude-desktop %u
Comment=Line\none\sand\\slash
StartupWMClass=Claude

[Desktop Action new]
Exec=/other
)");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->value("Name"), "Claude");
    EXPECT_EQ(entry->value("Comment"), "Line\none and\\slash");
    EXPECT_EQ(entry->execArguments(), QStringList{"/usr/bin/claude-desktop"});
    EXPECT_FALSE(DesktopEntry::parse("[Other]\nExec=x\n"));
}

TEST(DesktopEntry, ExecQuotingAndFieldCodes) {
    EXPECT_EQ(DesktopEntry::splitExec(R"("/opt/My Apps/claude" --flag=%% %F %U  last)"),
              (QStringList{"/opt/My Apps/claude", "--flag=%", "last"}));
    EXPECT_EQ(DesktopEntry::splitExec(R"(run "a \"quoted\" \$x \\ y")"),
              (QStringList{"run", R"(a "quoted" $x \ y)"}));
    EXPECT_EQ(DesktopEntry::splitExec(R"("")"), QStringList{""});
    EXPECT_FALSE(DesktopEntry::splitExec(R"("unterminated)"));
}

TEST(DesktopEntry, WrittenArgumentsReadBackExactly) {
    const QStringList args{
        "/home/ann/My Apps/varrow", "open", "Work \"A\" $HOME 100%", "back\\slash", "new\nline", " lead"};
    QStringList quoted;
    for (const QString& a : args) quoted.append(DesktopEntry::quoteArgument(a));
    const QByteArray text =
        "[Desktop Entry]\nExec=" + DesktopEntry::escapeValue(quoted.join(' ')).toUtf8() + "\n";
    const auto entry = DesktopEntry::parse(text);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->execArguments(), args);
}
