#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace varrow::fuzz {

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A broken invariant is a finding: print what broke and abort so libFuzzer keeps the input.
[[noreturn]] inline void broken(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

inline void check(bool holds, const char* what) {
    if (!holds) broken(what);
}

// Text as a user or a hand-edited file could give it: the first byte picks UTF-8 (invalid
// sequences replaced) or raw UTF-16, which can hold lone surrogates.
inline QString textOf(const uint8_t* data, size_t size) {
    if (size == 0) return {};
    const char* rest = reinterpret_cast<const char*>(data + 1);
    const qsizetype n = qsizetype(size - 1);
    if (data[0] & 1) return QString(reinterpret_cast<const QChar*>(rest), n / 2);
    return QString::fromUtf8(rest, n);
}

}  // namespace varrow::fuzz
