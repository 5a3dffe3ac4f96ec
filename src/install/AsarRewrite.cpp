#include "install/AsarRewrite.h"

#include "install/AsarArchive.h"
#include "install/JsonEdit.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryFile>
#include <QtEndian>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace varrow::install {

namespace {

constexpr auto kPackage = "package.json";
// A package.json is a few kilobytes; a huge one is not loaded.
constexpr qint64 kMaxPackage = 1 << 20;
// Clones share whole blocks, so the data keeps its place within a block of this size.
constexpr qint64 kBlock = 4096;
constexpr qint64 kChunk = 1 << 20;
// Electron's integrity blocks are 4 MB; far larger ones are not hashed.
constexpr double kMaxIntegrityBlock = 1 << 30;

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString writeAt(int fd, const char* bytes, qint64 size, qint64 at) {
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, bytes, size_t(size), at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            return n < 0 ? systemError(errno)
                         : QCoreApplication::translate("AsarRewrite", "the disk is full");
        bytes += n;
        size -= n;
        at += n;
    }
    return {};
}

// Copies bytes between two files: in the kernel where it can (which clones whole blocks on file
// systems that share them), else through a buffer.
QString copyRange(int in, qint64 from, int out, qint64 to, qint64 length) {
    bool inKernel = true;
    QByteArray buffer;
    while (length > 0) {
        ssize_t n = -1;
        if (inKernel) {
            loff_t inAt = from;
            loff_t outAt = to;
            n = ::copy_file_range(in, &inAt, out, &outAt, size_t(length), 0);
            // Other file systems, old kernels, files the kernel will not copy between.
            if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
                inKernel = false;
                continue;
            }
        } else {
            buffer.resize(kChunk);
            n = ::pread(in, buffer.data(), size_t(qMin(length, kChunk)), from);
            if (n > 0) {
                if (const QString why = writeAt(out, buffer.constData(), n, to); !why.isEmpty()) return why;
            }
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return systemError(errno);
        if (n == 0) return QCoreApplication::translate("AsarRewrite", "the archive ended early");
        from += n;
        to += n;
        length -= n;
    }
    return {};
}

// Why an entry of the index, or one below it, does not lie within the data; empty when all do.
QString checkEntries(const QJsonObject& folder, qint64 dataLength, const QString& prefix) {
    const QJsonObject files = folder.value("files").toObject();
    for (auto it = files.constBegin(); it != files.constEnd(); ++it) {
        const QString path = prefix + it.key();
        const QJsonObject entry = it.value().toObject();
        const QString damaged =
            QCoreApplication::translate("AsarRewrite", "the index entry “%1” is damaged").arg(path);
        if (!it.value().isObject()) return damaged;
        if (entry.contains("files")) {
            if (!entry.value("files").isObject()) return damaged;
            if (const QString why = checkEntries(entry, dataLength, path + u'/'); !why.isEmpty()) return why;
            continue;
        }
        if (entry.contains("link") || entry.value("unpacked").toBool()) continue;
        const auto where = AsarArchive::extent(entry);
        if (!where) return damaged;
        if (where->offset > dataLength - where->size)
            return QStringLiteral("“%1” lies outside the archive's data").arg(path);
    }
    return {};
}

// The hash and block hashes Electron checks a file against, with the record's own block size;
// none for a record of another kind.
std::optional<std::pair<QString, QJsonArray>> integrityOf(const QJsonValue& record, const QByteArray& bytes) {
    const QJsonObject fields = record.toObject();
    const double blockSize = fields.value("blockSize").toDouble();
    if (fields.value("algorithm").toString() != QLatin1String("SHA256") || !(blockSize >= 1) ||
        blockSize > kMaxIntegrityBlock || std::floor(blockSize) != blockSize)
        return std::nullopt;
    auto sha256 = [](QByteArrayView part) {
        return QString::fromLatin1(QCryptographicHash::hash(part, QCryptographicHash::Sha256).toHex());
    };
    QJsonArray blocks;
    const auto block = qsizetype(blockSize);
    for (qsizetype at = 0; at < bytes.size(); at += block)
        blocks.append(sha256(QByteArrayView(bytes.constData() + at, qMin(block, bytes.size() - at))));
    return std::pair{sha256(bytes), blocks};
}

QByteArray pickleSizes(qint64 dataOffset, qint64 jsonLength) {
    QByteArray bytes(16, '\0');
    qToLittleEndian<quint32>(4, bytes.data());
    qToLittleEndian<quint32>(quint32(dataOffset - 8), bytes.data() + 4);
    qToLittleEndian<quint32>(quint32(dataOffset - 12), bytes.data() + 8);
    qToLittleEndian<quint32>(quint32(jsonLength), bytes.data() + 12);
    return bytes;
}

// Writes the archive with this index and the source's data followed by package.json, atomically.
QString write(QFile& source, qint64 sourceDataOffset, const QByteArray& index, const QByteArray& package,
              const QString& to) {
    // The pickled string is padded to 4 bytes; spaces, which JSON ignores, also keep the data's
    // place within a block as in the source.
    const qint64 least = 16 + ((index.size() + 3) & ~qint64(3));
    const qint64 dataOffset =
        sourceDataOffset % 4 ? least : least + ((sourceDataOffset - least) % kBlock + kBlock) % kBlock;
    const QByteArray start =
        pickleSizes(dataOffset, dataOffset - 16) + index + QByteArray(dataOffset - 16 - index.size(), ' ');

    const qint64 dataLength = source.size() - sourceDataOffset;
    QTemporaryFile out(QFileInfo(to).absolutePath() + QStringLiteral("/.") + QFileInfo(to).fileName() +
                       QStringLiteral("-XXXXXX"));
    if (!out.open()) return QStringLiteral("“%1” cannot be written: %2").arg(to, out.errorString());
    const int in = source.handle();
    const int fd = out.handle();
    // Up to the source's next block boundary, then whole blocks that a clone can share.
    const qint64 head = qMin(dataLength, (kBlock - sourceDataOffset % kBlock) % kBlock);
    QString why = writeAt(fd, start.constData(), start.size(), 0);
    if (why.isEmpty()) why = copyRange(in, sourceDataOffset, fd, dataOffset, head);
    if (why.isEmpty()) why = copyRange(in, sourceDataOffset + head, fd, dataOffset + head, dataLength - head);
    if (why.isEmpty()) why = writeAt(fd, package.constData(), package.size(), dataOffset + dataLength);
    if (why.isEmpty() && ::fsync(fd) != 0) why = systemError(errno);
    if (why.isEmpty() && !out.setPermissions(source.permissions())) why = out.errorString();
    if (why.isEmpty() &&
        ::rename(QFile::encodeName(out.fileName()).constData(), QFile::encodeName(to).constData()) != 0)
        why = systemError(errno);
    if (!why.isEmpty()) return QStringLiteral("“%1” could not be written: %2").arg(to, why);
    out.setAutoRemove(false);
    return {};
}

}  // namespace

QString AsarRewrite::withDesktopName(const QString& from, const QString& to, const QString& desktopName) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return QStringLiteral("“%1” cannot be read: %2").arg(from, source.errorString());
    const auto header = AsarArchive::readHeader(source);
    if (!header) return QStringLiteral("“%1” is not an Electron archive or its header is damaged").arg(from);
    const qint64 dataLength = source.size() - header->dataOffset;
    if (dataLength < 0) return QStringLiteral("“%1” is shorter than its header").arg(from);
    if (const QString why = checkEntries(header->index, dataLength, {}); !why.isEmpty()) return why;

    const auto entry = AsarArchive::entry(header->index, kPackage);
    if (!entry) return QCoreApplication::translate("AsarRewrite", "the archive has no package.json");
    if (entry->contains("files") || entry->contains("link"))
        return QStringLiteral("package.json is not a file in the archive");
    if (entry->value("unpacked").toBool())
        return QStringLiteral("package.json is unpacked, outside the archive");
    const auto where = AsarArchive::extent(*entry);  // every entry was checked above
    if (where->size > kMaxPackage) return QStringLiteral("package.json is larger than 1 MB");
    if (!source.seek(header->dataOffset + where->offset))
        return QStringLiteral("package.json cannot be read: ") + source.errorString();
    const QByteArray package = source.read(where->size);
    if (package.size() != where->size)
        return QStringLiteral("package.json cannot be read: ") + source.errorString();
    const auto edited = JsonEdit::apply(package, {{{"desktopName"}, desktopName}});
    if (!edited) return QStringLiteral("package.json is not a JSON object");

    // The new package.json goes after all the data; the old bytes stay, unused.
    const QStringList at{QStringLiteral("files"), QString::fromLatin1(kPackage)};
    QList<JsonEdit::Edit> edits{{at + QStringList{"size"}, qint64(edited->size())},
                                {at + QStringList{"offset"}, QString::number(dataLength)}};
    if (entry->contains("integrity")) {
        const auto integrity = integrityOf(entry->value("integrity"), *edited);
        if (!integrity) return QStringLiteral("package.json's integrity record is of an unknown kind");
        edits.append({at + QStringList{"integrity", "hash"}, integrity->first});
        edits.append({at + QStringList{"integrity", "blocks"}, integrity->second});
    }
    // Trailing spaces are padding, as this writes it.
    const QByteArray index = JsonEdit::apply(header->json.trimmed(), edits).value_or(QByteArray());
    if (index.isEmpty())
        return QCoreApplication::translate("AsarRewrite", "the archive's index is not a JSON object");

    return write(source, header->dataOffset, index, *edited, to);
}

}  // namespace varrow::install
