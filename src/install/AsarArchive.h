#pragma once

#include <QByteArray>
#include <QFileDevice>
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
        QByteArray json;  // the index as stored
    };
    static std::optional<Header> parseHeader(const QByteArray& bytes);
    // The header at the start of an open archive.
    static std::optional<Header> readHeader(QFileDevice& file);

    // An entry of the index by its path inside the archive; none when a part is missing.
    static std::optional<QJsonObject> entry(const QJsonObject& index, const QString& innerPath);
    // Where a stored file's bytes are, relative to the data offset; none when the entry does not
    // say so plainly (a folder, a link, an unpacked file, a bad offset or size).
    struct Extent {
        qint64 offset = 0;
        qint64 size = 0;
    };
    static std::optional<Extent> extent(const QJsonObject& entry);

    // Opens an archive on disk; none when it cannot be read or is malformed.
    static std::optional<AsarArchive> open(const QString& path);

    // A file stored in the archive by its path inside it ("package.json", "dist/a.js"); none when
    // missing, unpacked, a folder, larger than maxSize, or outside the archive's bounds.
    std::optional<QByteArray> read(const QString& innerPath, qint64 maxSize = 1 << 20) const;
    const Header& header() const { return header_; }

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
