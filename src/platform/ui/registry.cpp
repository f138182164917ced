#include "platform/ui/registry.h"

#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"
#include "platform/ui/text.h"

#include <QSettings>
#include <cstdint>
#include <cstring>
#include <memory>

namespace platform {
namespace {

std::unique_ptr<QSettings> openSettings;
std::string openPath;

QSettings& settings() {
    const std::string path = registryFilePath();
    if (!openSettings || openPath != path) {
        createFolders(path.substr(0, path.rfind('/')));
        openSettings =
            std::make_unique<QSettings>(QString::fromStdString(path), QSettings::IniFormat);
        openPath = path;
    }
    return *openSettings;
}

// Registry keys use backslashes; INI groups use slashes.
QString groupOf(const char* key) {
    QString group = widen(key);
    group.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (group.startsWith(QLatin1Char('/'))) {
        group.remove(0, 1);
    }
    return group;
}

QString fullName(const char* key, const char* name) {
    return groupOf(key) + QLatin1Char('/') + widen(name);
}

// A value held in memory keeps the type it was written with; one read from the file is
// a byte array or a string, see registry.h.
bool storedInteger(const QVariant& value, int32_t* number) {
    bool ok = false;
    qlonglong wide = 0;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        wide = value.toLongLong(&ok);
        break;
    case QMetaType::QString:
        wide = value.toString().toInt(&ok, 10);
        break;
    default:
        return false;
    }
    if (!ok || wide < INT32_MIN || wide > INT32_MAX) return false;
    *number = int32_t(wide);
    return true;
}

// The stored bytes of a value and its type: integers as four little-endian bytes.
bool storedBytes(const QVariant& value, QByteArray* bytes, RegistryType* type) {
    if (value.typeId() == QMetaType::QByteArray) {
        *bytes = value.toByteArray();
        *type = RegistryType::binary;
        return true;
    }
    int32_t number = 0;
    if (storedInteger(value, &number)) {
        const auto dword = static_cast<uint32_t>(number);
        bytes->resize(4);
        for (int i = 0; i < 4; ++i) {
            (*bytes)[i] = char(dword >> (8 * i) & 0xFF);
        }
        *type = RegistryType::dword;
        return true;
    }
    if (value.typeId() == QMetaType::QStringList) {
        // A plain value with commas in it, typed by hand.
        *bytes = value.toStringList().join(QStringLiteral(", ")).toUtf8();
        *type = RegistryType::text;
        return true;
    }
    if (value.canConvert<QString>()) {
        *bytes = value.toString().toUtf8();
        *type = RegistryType::text;
        return true;
    }
    return false;
}

} // namespace

std::string registryFilePath() {
    return configurationFolder() + "Tallowmere/TallowmereChess.ini";
}

void registryReopen() {
    openSettings.reset();
    openPath.clear();
}

bool registryKeyExists(const char* key) {
    QSettings& store = settings();
    store.beginGroup(groupOf(key));
    const bool exists = !store.childKeys().isEmpty() || !store.childGroups().isEmpty();
    store.endGroup();
    return exists;
}

bool registryRead(const char* key, const char* name, void* data, uint32_t* size,
                  RegistryType* type) {
    if (!key || !name || !size) {
        return false;
    }
    const QVariant value = settings().value(fullName(key, name));
    QByteArray bytes;
    RegistryType storedType = RegistryType::binary;
    if (!value.isValid() || !storedBytes(value, &bytes, &storedType) ||
        uint32_t(bytes.size()) > *size) {
        return false;
    }
    if (!bytes.isEmpty()) {
        if (!data) {
            return false;
        }
        std::memcpy(data, bytes.constData(), size_t(bytes.size()));
    }
    *size = uint32_t(bytes.size());
    if (type) {
        *type = storedType;
    }
    return true;
}

bool registryWrite(const char* key, const char* name, RegistryType type, const void* data,
                   uint32_t size) {
    if (!key || !name || (size > 0 && !data) || type == RegistryType::text) {
        return false;
    }
    QSettings& store = settings();
    if (type == RegistryType::dword) {
        if (size != 4) {
            return false;
        }
        int32_t dword = 0;
        std::memcpy(&dword, data, 4);
        store.setValue(fullName(key, name), dword);
    } else {
        store.setValue(fullName(key, name),
                       QByteArray(static_cast<const char*>(data), qsizetype(size)));
    }
    // Written at once: a crash later must not lose what the program believed stored.
    store.sync();
    return store.status() == QSettings::NoError;
}

bool registryDeleteValue(const char* key, const char* name) {
    QSettings& store = settings();
    if (!store.contains(fullName(key, name))) {
        return false;
    }
    store.remove(fullName(key, name));
    store.sync();
    return store.status() == QSettings::NoError;
}

} // namespace platform
