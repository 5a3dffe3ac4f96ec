#include "install/AsarArchive.h"

#include <QFile>
#include <QJsonDocument>
#include <QtEndian>
#include <cmath>
#include <functional>

namespace varrow::install {

namespace {

// A real index is a few hundred kilobytes; anything far larger is not an archive we trust.
constexpr quint32 kMaxHeader = 64u << 20;
// Sizes are JSON numbers: doubles, exact up to 2^53.
constexpr double kMaxSize = 9007199254740992.0;

quint32 u32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

void put32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

}  // namespace

std::optional<AsarArchive::Header> AsarArchive::parseHeader(const QByteArray& bytes) {
    // [4: 4][4: header pickle size][4: payload size][4: json length][json ...]
    if (bytes.size() < 16) return std::nullopt;
    if (u32(bytes, 0) != 4) return std::nullopt;
    const quint32 headerSize = u32(bytes, 4);
    const quint32 payload = u32(bytes, 8);
    const quint32 jsonLength = u32(bytes, 12);
    if (headerSize > kMaxHeader || headerSize < 8) return std::nullopt;
    if (quint64(payload) + 4 > headerSize || quint64(jsonLength) + 4 > payload) return std::nullopt;
    if (quint64(16) + jsonLength > quint64(bytes.size())) return std::nullopt;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes.mid(16, jsonLength), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) return std::nullopt;
    if (!doc.object().value("files").isObject()) return std::nullopt;
    return Header{doc.object(), qint64(8) + headerSize, bytes.mid(16, jsonLength)};
}

std::optional<AsarArchive::Header> AsarArchive::readHeader(QFileDevice& file) {
    if (!file.seek(0)) return std::nullopt;
    const QByteArray start = file.read(16);
    if (start.size() < 16 || u32(start, 0) != 4) return std::nullopt;
    const quint32 jsonLength = u32(start, 12);
    if (jsonLength > kMaxHeader) return std::nullopt;
    return parseHeader(start + file.read(jsonLength));
}

std::optional<AsarArchive> AsarArchive::open(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    auto header = readHeader(file);
    if (!header) return std::nullopt;
    AsarArchive archive;
    archive.path_ = path;
    archive.header_ = std::move(*header);
    return archive;
}

std::optional<QJsonObject> AsarArchive::entry(const QJsonObject& index, const QString& innerPath) {
    QJsonObject node = index;
    const QStringList parts = innerPath.split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty()) return std::nullopt;
    for (const QString& part : parts) {
        const QJsonValue files = node.value("files");
        if (!files.isObject()) return std::nullopt;
        const QJsonValue next = files.toObject().value(part);
        if (!next.isObject()) return std::nullopt;
        node = next.toObject();
    }
    return node;
}

std::optional<AsarArchive::Extent> AsarArchive::extent(const QJsonObject& entry) {
    if (entry.contains("files") || entry.contains("link") || entry.value("unpacked").toBool())
        return std::nullopt;
    const QJsonValue size = entry.value("size");
    const QString offsetText = entry.value("offset").toString();
    bool ok = !offsetText.isEmpty() && offsetText.front().isDigit();
    const qint64 offset = ok ? offsetText.toLongLong(&ok) : 0;
    if (!ok || !size.isDouble()) return std::nullopt;
    const double bytes = size.toDouble();
    if (!(bytes >= 0 && bytes <= kMaxSize) || std::floor(bytes) != bytes) return std::nullopt;
    return Extent{offset, qint64(bytes)};
}

std::optional<QByteArray> AsarArchive::read(const QString& innerPath, qint64 maxSize) const {
    const auto found = entry(header_.index, innerPath);
    const auto where = found ? extent(*found) : std::nullopt;
    if (!where || where->size > maxSize) return std::nullopt;

    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    if (where->offset > file.size() - header_.dataOffset - where->size) return std::nullopt;
    if (!file.seek(header_.dataOffset + where->offset)) return std::nullopt;
    QByteArray bytes = file.read(where->size);
    if (bytes.size() != where->size) return std::nullopt;
    return bytes;
}

QByteArray AsarArchive::build(const QList<std::pair<QString, QByteArray>>& files) {
    QJsonObject root{{"files", QJsonObject{}}};
    QByteArray data;
    for (const auto& file : files) {
        // Named references, not a structured binding: clang 14 cannot capture one in a lambda.
        const QString& innerPath = file.first;
        const QByteArray& bytes = file.second;
        const QStringList parts = innerPath.split(u'/', Qt::SkipEmptyParts);
        // Walk down, creating folders, then set the leaf; QJsonObject is a value, so rebuild upwards.
        std::function<QJsonObject(QJsonObject, int)> insert = [&](QJsonObject node, int depth) {
            QJsonObject children = node.value("files").toObject();
            if (depth == parts.size() - 1) {
                children.insert(parts[depth], QJsonObject{{"size", double(bytes.size())},
                                                          {"offset", QString::number(data.size())}});
            } else {
                QJsonObject child = children.value(parts[depth]).toObject();
                if (!child.contains("files")) child.insert("files", QJsonObject{});
                children.insert(parts[depth], insert(child, depth + 1));
            }
            node.insert("files", children);
            return node;
        };
        if (parts.isEmpty()) continue;
        root = insert(root, 0);
        data.append(bytes);
    }
    QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Compact);
    const quint32 jsonLength = quint32(json.size());
    while (json.size() % 4) json.append('\0');
    QByteArray out;
    put32(out, 4);
    put32(out, quint32(json.size()) + 8);
    put32(out, quint32(json.size()) + 4);
    put32(out, jsonLength);
    out.append(json);
    out.append(data);
    return out;
}

std::optional<AsarArchive::Package> AsarArchive::readPackage(const QString& archivePath) {
    const auto archive = open(archivePath);
    if (!archive) return std::nullopt;
    const auto bytes = archive->read("package.json");
    if (!bytes) return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(*bytes);
    if (!doc.isObject()) return std::nullopt;
    const QJsonObject o = doc.object();
    return Package{o.value("version").toString(), o.value("productName").toString(),
                   o.value("desktopName").toString()};
}

}  // namespace varrow::install
