#include "platform/ProcessReplace.h"

#include <unistd.h>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <vector>

namespace varrow::platform {

QString replaceProcess(const QString& program, const QList<QByteArray>& arguments) {
    const QByteArray path = QFile::encodeName(program);
    QList<QByteArray> owned = arguments;
    std::vector<char*> argv;
    for (QByteArray& argument : owned) argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execv(path.constData(), argv.data());
    return QString::fromLocal8Bit(std::strerror(errno));
}

}  // namespace varrow::platform
