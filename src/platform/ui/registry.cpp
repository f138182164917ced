#include "platform/ui/registry.h"

#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"
#include "platform/ui/text.h"

#include <QSettings>
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

// The stored bytes of a value: integers as four little-endian bytes.
bool storedBytes(const QVariant& value, QByteArray* bytes) {
    if (value.typeId() == QMetaType::QByteArray) {
        *bytes = value.toByteArray();
        return true;
    }
    bool isNumber = false;
    const qlonglong number = value.toLongLong(&isNumber);
    if (isNumber) {
        const auto dword = static_cast<uint32_t>(number);
        bytes->resize(4);
        for (int i = 0; i < 4; ++i) {
            (*bytes)[i] = char(dword >> (8 * i) & 0xFF);
        }
        return true;
    }
    if (value.canConvert<QString>()) {
        *bytes = value.toString().toUtf8();
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

bool registryRead(const char* key, const char* name, void* data, uint32_t* size) {
    if (!key || !name || !size) {
        return false;
    }
    const QVariant value = settings().value(fullName(key, name));
    QByteArray bytes;
    if (!value.isValid() || !storedBytes(value, &bytes) || uint32_t(bytes.size()) > *size) {
        return false;
    }
    if (!bytes.isEmpty()) {
        if (!data) {
            return false;
        }
        std::memcpy(data, bytes.constData(), size_t(bytes.size()));
    }
    *size = uint32_t(bytes.size());
    return true;
}

bool registryWrite(const char* key, const char* name, RegistryType type, const void* data,
                   uint32_t size) {
    if (!key || !name || (size > 0 && !data)) {
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
