#include "cp1251.h"

namespace Cp1251 {

char16_t toUnicode(std::uint8_t byte)
{
    return byte < 0x80 ? char16_t(byte) : UpperHalf[byte - 0x80u];
}

std::string fromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    decodeUtf8(utf8, [&out](char c) { out += c; });
    return out;
}

std::string fromQString(const QString &text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t unit = text.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < n &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            ++i; // any character beyond the BMP is outside Windows-1251
            out += Unmappable;
        } else if (QChar::isSurrogate(unit)) {
            out += Unmappable;
        } else {
            out += fromUnicode(unit);
        }
    }
    return out;
}

QString toQString(std::string_view cp1251)
{
    QString out(static_cast<qsizetype>(cp1251.size()), Qt::Uninitialized);
    QChar *dst = out.data();
    for (const char c : cp1251)
        *dst++ = QChar(toUnicode(static_cast<std::uint8_t>(c)));
    return out;
}

} // namespace Cp1251
