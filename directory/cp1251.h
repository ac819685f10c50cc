#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

// Windows-1251 is the encoding of every stored field and every comparison; Unicode
// appears only at the widgets. The mapping is our own so that nothing depends on the
// C library's or Qt's list of codecs.
namespace Cp1251 {

// The character that stands for anything Windows-1251 cannot hold.
inline constexpr char Unmappable = '?';

// Unicode code point of a Windows-1251 byte; U+FFFD for 0x98, the one byte that
// has no character.
char16_t toUnicode(std::uint8_t byte);

// Windows-1251 byte of a code point, or Unmappable.
char fromUnicode(char32_t codePoint);

// Whole texts. Malformed UTF-8 and lone surrogates each become one Unmappable.
std::string fromUtf8(std::string_view utf8);
// The same into a buffer, without allocating: writes at most `capacity` bytes and
// returns how many it wrote.
std::size_t fromUtf8(std::string_view utf8, char *out, std::size_t capacity);
std::string fromQString(const QString &text);
QString toQString(std::string_view cp1251);

} // namespace Cp1251
