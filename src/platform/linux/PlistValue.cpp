#include "platform/linux/PlistValue.h"

#include "platform/BinaryPlist.h"

#include <plist/plist.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTimeZone>
#include <cstdlib>

namespace varrow::platform::linux_::PlistValue {

namespace {

// Property-list dates count seconds from 2001-01-01 UTC.
const QDateTime& referenceDate() {
    static const QDateTime date(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    return date;
}

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<std::remove_pointer_t<plist_t>, PlistFree>;

QVariant fromNode(plist_t node) {
    switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            uint8_t b = 0;
            plist_get_bool_val(node, &b);
            return bool(b);
        }
        case PLIST_UINT: {
            uint64_t v = 0;
            plist_get_uint_val(node, &v);
            return qint64(v);
        }
        case PLIST_REAL: {
            double v = 0;
            plist_get_real_val(node, &v);
            return v;
        }
        case PLIST_STRING:
        case PLIST_KEY: {
            // plist_get_string_val asserts (and aborts) on a binary ASCII string with bytes above
            // 0x7F; the pointer form reads the same text without that check.
            if (plist_get_node_type(node) == PLIST_STRING) {
                uint64_t length = 0;
                const char* text = plist_get_string_ptr(node, &length);
                return text ? QString::fromUtf8(text, qsizetype(length)) : QString();
            }
            char* s = nullptr;
            plist_get_key_val(node, &s);
            QString text = QString::fromUtf8(s);
            free(s);
            return text;
        }
        case PLIST_DATA: {
            char* bytes = nullptr;
            uint64_t length = 0;
            plist_get_data_val(node, &bytes, &length);
            QByteArray data(bytes, qsizetype(length));
            free(bytes);
            return data;
        }
        case PLIST_DATE: {
            int32_t sec = 0, usec = 0;
            plist_get_date_val(node, &sec, &usec);
            return referenceDate().addMSecs(qint64(sec) * 1000 + usec / 1000);
        }
        case PLIST_ARRAY: {
            QVariantList list;
            const uint32_t n = plist_array_get_size(node);
            for (uint32_t i = 0; i < n; ++i) list.append(fromNode(plist_array_get_item(node, i)));
            return list;
        }
        case PLIST_DICT: {
            QVariantMap map;
            plist_dict_iter it = nullptr;
            plist_dict_new_iter(node, &it);
            for (;;) {
                char* key = nullptr;
                plist_t value = nullptr;
                plist_dict_next_item(node, it, &key, &value);
                if (!key) break;
                map.insert(QString::fromUtf8(key), fromNode(value));
                free(key);
            }
            free(it);
            return map;
        }
        default:
            return {};
    }
}

plist_t toNode(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Bool:
            return plist_new_bool(value.toBool());
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            return plist_new_uint(uint64_t(value.toLongLong()));
        case QMetaType::Double:
        case QMetaType::Float:
            return plist_new_real(value.toDouble());
        case QMetaType::QString:
            return plist_new_string(value.toString().toUtf8().constData());
        case QMetaType::QByteArray: {
            const QByteArray data = value.toByteArray();
            return plist_new_data(data.constData(), uint64_t(data.size()));
        }
        case QMetaType::QDateTime: {
            const qint64 ms = referenceDate().msecsTo(value.toDateTime());
            const qint64 sec = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
            return plist_new_date(int32_t(sec), int32_t((ms - sec * 1000) * 1000));
        }
        case QMetaType::QVariantList:
        case QMetaType::QStringList: {
            plist_t array = plist_new_array();
            for (const QVariant& item : value.toList()) {
                plist_t node = toNode(item);
                if (!node) {
                    plist_free(array);
                    return nullptr;
                }
                plist_array_append_item(array, node);
            }
            return array;
        }
        case QMetaType::QVariantMap:
        case QMetaType::QVariantHash: {
            plist_t dict = plist_new_dict();
            const QVariantMap map = value.toMap();
            for (auto it = map.cbegin(); it != map.cend(); ++it) {
                plist_t node = toNode(it.value());
                if (!node) {
                    plist_free(dict);
                    return nullptr;
                }
                plist_dict_set_item(dict, it.key().toUtf8().constData(), node);
            }
            return dict;
        }
        default:
            return nullptr;
    }
}

}  // namespace

std::optional<QVariant> parse(const QByteArray& bytes) {
    if (bytes.isEmpty() || !plistIsSafeToParse(bytes)) return std::nullopt;
    plist_t root = nullptr;
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &root);
    if (!root) return std::nullopt;
    PlistPtr owner(root);
    return fromNode(root);
}

std::optional<QVariant> readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return parse(file.readAll());
}

QByteArray toXml(const QVariant& value) {
    PlistPtr root(toNode(value));
    if (!root) return {};
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root.get(), &xml, &length);
    QByteArray text(xml, qsizetype(length));
    plist_to_xml_free(xml);
    return text;
}

bool writeFile(const QString& path, const QVariant& value) {
    const QByteArray xml = toXml(value);
    if (xml.isEmpty()) return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(xml);
    return file.commit();
}

}  // namespace varrow::platform::linux_::PlistValue
