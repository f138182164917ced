#include "platform/ui/text.h"

#include <QStringDecoder>
#include <cstring>

namespace platform {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; its five unused codes stay as they are.
constexpr char16_t WINDOWS_1252_HIGH[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString widenBytes(const char* text, size_t length) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString wide = utf8(QByteArrayView(text, qsizetype(length)));
    if (!utf8.hasError()) {
        return wide;
    }
    wide.clear();
    wide.reserve(qsizetype(length));
    for (size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        wide +=
            QChar(byte >= 0x80 && byte < 0xA0 ? WINDOWS_1252_HIGH[byte - 0x80] : char16_t(byte));
    }
    return wide;
}

} // namespace

QString widen(const char* text) {
    return text ? widenBytes(text, std::strlen(text)) : QString();
}

QString widen(const std::string& text) {
    return widenBytes(text.data(), text.size());
}

std::string narrow(const QString& text) {
    return text.toStdString();
}

} // namespace platform
