#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Windows-1251 is the encoding of every stored field and every comparison; Unicode
// appears only at the widgets. The mapping is our own so that nothing depends on the
// C library's or Qt's list of codecs.
namespace Cp1251 {

// The character that stands for anything Windows-1251 cannot hold.
inline constexpr char Unmappable = '?';

inline constexpr char16_t NoCharacter = 0xFFFD;

// Upper half of Windows-1251; the lower half is ASCII.
inline constexpr std::array<char16_t, 128> UpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,      // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,      // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,      // 90
    NoCharacter, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,      // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,      // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,      // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,      // B8
    // C0..FF: А..я in Unicode order.
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, //
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, //
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, //
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, //
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, //
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, //
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, //
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, //
};

// Unicode code point of a Windows-1251 byte; U+FFFD for 0x98, the one byte that
// has no character.
char16_t toUnicode(std::uint8_t byte);

// Windows-1251 byte of a code point, or Unmappable. Constant, so that the compiler
// decodes the compiled-in table with it; the program itself maps only what is typed.
constexpr char fromUnicode(char32_t codePoint)
{
    if (codePoint < 0x80)
        return static_cast<char>(codePoint);
    if (codePoint >= 0x0410 && codePoint <= 0x044F) // А..я, in order from C0
        return static_cast<char>(0xC0 + (codePoint - 0x0410));
    for (std::size_t i = 0; i < UpperHalf.size(); ++i) {
        if (UpperHalf[i] == codePoint && codePoint != NoCharacter)
            return static_cast<char>(0x80 + i);
    }
    return Unmappable;
}

// Calls `put` with the Windows-1251 byte of each character of `utf8`, in order.
// Malformed UTF-8 and lone surrogates each become one Unmappable.
template <typename Put>
constexpr void decodeUtf8(std::string_view utf8, Put put)
{
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        // ASCII and two-byte sequences (all of Cyrillic) are nearly all the table holds.
        if (lead < 0x80) {
            put(static_cast<char>(lead));
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF && i + 1 < utf8.size() &&
            (static_cast<unsigned char>(utf8[i + 1]) & 0xC0u) == 0x80u) {
            put(fromUnicode(((lead & 0x1Fu) << 6) |
                            (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu)));
            i += 2;
            continue;
        }
        int extra = 0;
        char32_t cp = lead;
        char32_t minimum = 0;
        if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3, cp = lead & 0x07u, minimum = 0x10000;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2, cp = lead & 0x0Fu, minimum = 0x800;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1, cp = lead & 0x1Fu, minimum = 0x80;
        } else if (lead >= 0x80) {
            put(Unmappable); // stray continuation byte or invalid lead
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        for (; j <= i + extra; ++j) {
            if (j >= utf8.size() || (static_cast<unsigned char>(utf8[j]) & 0xC0u) != 0x80u)
                break;
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[j]) & 0x3Fu);
        }
        const bool complete = j == i + extra + 1;
        const bool valid =
            complete && cp >= minimum && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
        put(valid ? fromUnicode(cp) : Unmappable);
        i = j; // a truncated sequence is skipped as one unit
    }
}

// Whole texts. Malformed UTF-8 and lone surrogates each become one Unmappable.
std::string fromUtf8(std::string_view utf8);
std::string fromQString(const QString &text);
QString toQString(std::string_view cp1251);

} // namespace Cp1251
