#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace varrow::platform::linux_ {

// A freedesktop desktop entry: its groups of keys, and the Exec line split into arguments.
class DesktopEntry {
public:
    // None when the text has no [Desktop Entry] group.
    static std::optional<DesktopEntry> parse(const QByteArray& text);
    static std::optional<DesktopEntry> read(const QString& path);

    // Unlocalised value of a key in the [Desktop Entry] group, with \s \n \t \r \\ unescaped.
    QString value(const QString& key) const;
    bool contains(const QString& key) const;

    // The Exec line as an argument list: quoting undone, field codes (%f, %U, …) dropped,
    // "%%" kept as "%". None when the quoting is broken.
    std::optional<QStringList> execArguments() const;
    static std::optional<QStringList> splitExec(const QString& exec);

    // Escapes a value for writing (the inverse of value()).
    static QString escapeValue(const QString& value);
    // Quotes one argument for an Exec line.
    static QString quoteArgument(const QString& argument);

private:
    QMap<QString, QString> entries_;
};

}  // namespace varrow::platform::linux_
