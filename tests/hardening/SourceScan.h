#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <functional>

namespace varrow::test {

// Every line of code under src/ that the pattern matches, as "path:line: code", comments left
// out; files for which skip(path relative to the repository) is true are not read.
QStringList sourceLinesMatching(const QRegularExpression& pattern,
                                const std::function<bool(const QString& relative)>& skip);

}  // namespace varrow::test
