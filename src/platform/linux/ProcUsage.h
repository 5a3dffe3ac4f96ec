#pragma once

#include <sys/types.h>
#include <QList>
#include <QString>
#include <optional>

namespace varrow::platform::linux_ {

// What a process and every process below it cost together, read from a /proc-like tree. Plain
// file reads, safe on any thread.
namespace proc_usage {

// The process itself first, then its descendants; empty when it is gone.
QList<pid_t> tree(const QString& procRoot, pid_t pid);
// User and system CPU time used so far, in milliseconds.
std::optional<quint64> cpuMilliseconds(const QString& procRoot, pid_t pid);
// Proportional set size (each shared page split among its sharers), in bytes.
std::optional<quint64> proportionalBytes(const QString& procRoot, pid_t pid);

}  // namespace proc_usage
}  // namespace varrow::platform::linux_
