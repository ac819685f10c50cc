#include "cp1251.h"

#include <array>

namespace {

// Reverse of UpperHalf for the code points 0x0080..0x2122 it reaches; 0 where a code
// point has no Windows-1251 byte. Built by the compiler.
constexpr char32_t ReverseBase = 0x80;
constexpr char32_t ReverseEnd = 0x2123;

constexpr std::array<unsigned char, ReverseEnd - ReverseBase> makeReverseTable()
{
    std::array<unsigned char, ReverseEnd - ReverseBase> bytes{};
    for (std::size_t i = 0; i < Cp1251::UpperHalf.size(); ++i) {
        if (Cp1251::UpperHalf[i] != Cp1251::NoCharacter)
            bytes[Cp1251::UpperHalf[i] - ReverseBase] = static_cast<unsigned char>(0x80 + i);
    }
    return bytes;
}

constexpr auto ReverseTable = makeReverseTable();

} // namespace

namespace Cp1251 {

char16_t toUnicode(std::uint8_t byte)
{
    return byte < 0x80 ? char16_t(byte) : UpperHalf[byte - 0x80u];
}

char fromUnicode(char32_t codePoint)
{
    if (codePoint < 0x80)
        return static_cast<char>(codePoint);
    if (codePoint >= ReverseEnd)
        return Unmappable;
    const unsigned char byte = ReverseTable[codePoint - ReverseBase];
    return byte ? static_cast<char>(byte) : Unmappable;
}

std::string fromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    decodeUtf8(utf8, fromUnicode, [&out](char c) { out += c; });
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
