#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace varrow::platform {

// Replaces this process with a program (exec), with the arguments as given (the first is the
// name it runs under) and this process's environment. Returns only when that failed: the reason.
QString replaceProcess(const QString& program, const QList<QByteArray>& arguments);

}  // namespace varrow::platform
