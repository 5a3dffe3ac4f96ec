#include "platform/linux/DesktopEntry.h"

#include <QFile>

namespace varrow::platform::linux_ {

namespace {

QString unescape(const QString& raw) {
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != u'\\' || i + 1 == raw.size()) {
            out += c;
            continue;
        }
        const QChar next = raw[++i];
        switch (next.unicode()) {
            case 's':
                out += u' ';
                break;
            case 'n':
                out += u'\n';
                break;
            case 't':
                out += u'\t';
                break;
            case 'r':
                out += u'\r';
                break;
            case '\\':
                out += u'\\';
                break;
            default:
                out += c;
                out += next;
                break;
        }
    }
    return out;
}

}  // namespace

std::optional<DesktopEntry> DesktopEntry::parse(const QByteArray& text) {
    DesktopEntry entry;
    bool inMain = false, sawMain = false;
    for (const QByteArray& rawLine : text.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        if (line.startsWith(u'[')) {
            inMain = line == u"[Desktop Entry]";
            sawMain = sawMain || inMain;
            continue;
        }
        if (!inMain) continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) continue;
        const QString key = line.left(eq).trimmed();
        if (!entry.entries_.contains(key)) entry.entries_.insert(key, line.mid(eq + 1).trimmed());
    }
    if (!sawMain) return std::nullopt;
    return entry;
}

std::optional<DesktopEntry> DesktopEntry::read(const QString& path) {
    QFile file(path);
    // Desktop entries are small; a huge one is not one.
    if (!file.open(QIODevice::ReadOnly) || file.size() > (1 << 20)) return std::nullopt;
    return parse(file.readAll());
}

QString DesktopEntry::value(const QString& key) const {
    return unescape(entries_.value(key));
}

bool DesktopEntry::contains(const QString& key) const {
    return entries_.contains(key);
}

std::optional<QStringList> DesktopEntry::execArguments() const {
    return splitExec(value("Exec"));
}

std::optional<QStringList> DesktopEntry::splitExec(const QString& exec) {
    QStringList args;
    QString current;
    bool inQuotes = false, haveArg = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (inQuotes) {
            if (c == u'"') {
                inQuotes = false;
            } else if (c == u'%' && i + 1 < exec.size() && exec[i + 1] == u'%') {
                current += exec[++i];
            } else if (c == u'\\' && i + 1 < exec.size() && QStringLiteral("\"`$\\").contains(exec[i + 1])) {
                current += exec[++i];
            } else {
                current += c;
            }
            continue;
        }
        if (c == u'"') {
            inQuotes = true;
            haveArg = true;
        } else if (c == u' ' || c == u'\t') {
            if (haveArg) args.append(current);
            current.clear();
            haveArg = false;
        } else if (c == u'%' && i + 1 < exec.size()) {
            const QChar code = exec[++i];
            if (code == u'%') {
                current += u'%';
                haveArg = true;
            }
            // Field codes stand for files, URLs, icons and names we never pass.
        } else {
            current += c;
            haveArg = true;
        }
    }
    if (inQuotes) return std::nullopt;
    if (haveArg) args.append(current);
    return args;
}

QString DesktopEntry::escapeValue(const QString& value) {
    QString out;
    for (QChar c : value) {
        switch (c.unicode()) {
            case '\\':
                out += QStringLiteral("\\\\");
                break;
            case '\n':
                out += QStringLiteral("\\n");
                break;
            case '\t':
                out += QStringLiteral("\\t");
                break;
            case '\r':
                out += QStringLiteral("\\r");
                break;
            default:
                out += c;
                break;
        }
    }
    if (out.startsWith(u' ')) out.replace(0, 1, QStringLiteral("\\s"));
    return out;
}

QString DesktopEntry::quoteArgument(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`%=");
    bool needs = argument.isEmpty();
    for (QChar c : argument) needs = needs || reserved.contains(c);
    QString body;
    for (QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') body += u'\\';
        if (c == u'%') body += u'%';
        body += c;
    }
    return needs ? u'"' + body + u'"' : body;
}

}  // namespace varrow::platform::linux_
