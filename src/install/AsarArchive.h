#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>

namespace varrow::install {

// Reads files out of an Electron archive (app.asar): a small header of two pickled sizes and a
// JSON index, then the files' bytes. Only what Varrow needs: the index and small files from it.
class AsarArchive {
public:
    // The archive's index and where its file data begins, or none for anything malformed.
    struct Header {
        QJsonObject index;  // {"files": {...}}
        qint64 dataOffset = 0;
    };
    static std::optional<Header> parseHeader(const QByteArray& bytes);

    // Opens an archive on disk; none when it cannot be read or is malformed.
    static std::optional<AsarArchive> open(const QString& path);

    // A file stored in the archive by its path inside it ("package.json", "dist/a.js"); none when
    // missing, unpacked, a folder, larger than maxSize, or outside the archive's bounds.
    std::optional<QByteArray> read(const QString& innerPath, qint64 maxSize = 1 << 20) const;

    // For fixtures: an archive holding these files (inner path -> bytes).
    static QByteArray build(const QList<std::pair<QString, QByteArray>>& files);

    // "version", "productName" and "desktopName" of package.json; empty strings when absent.
    struct Package {
        QString version;
        QString productName;
        QString desktopName;  // the launcher entry Electron names its windows after
    };
    static std::optional<Package> readPackage(const QString& archivePath);

private:
    QString path_;
    Header header_;
};

}  // namespace varrow::install
