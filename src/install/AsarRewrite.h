#pragma once

#include <QString>

namespace varrow::install {

// Writes an Electron archive that differs from another only in package.json's "desktopName",
// which Electron turns into the windows' X11 class and Wayland app id. Every stored file keeps
// its bytes where they were; the new package.json goes after them and the index points at it
// (its integrity recomputed when the index has one). Unpacked files, which live beside the
// archive in app.asar.unpacked, are not touched. The data is copied by the kernel, block-aligned
// as in the source, so file systems with clones share it instead of storing it twice.
class AsarRewrite {
public:
    // Writes `to` (atomically; `to` may be `from`) from the archive at `from` with desktopName set.
    // Empty on success, else why: the archive is damaged, the disk is full, and so on.
    static QString withDesktopName(const QString& from, const QString& to, const QString& desktopName);
};

}  // namespace varrow::install
