#include "systemcodec.h"

#include <windows.h>

long SystemCodePoint(unsigned char byte)
{
    if (!::IsValidCodePage(1251))
        return -2;
    const char in = static_cast<char>(byte);
    wchar_t out[2] = {};
    if (::MultiByteToWideChar(1251, MB_ERR_INVALID_CHARS, &in, 1, out, 2) != 1)
        return -1;
    // Windows reads the one byte without a character (0x98) as the C1 control of its
    // value.
    if (byte >= 0x80 && byte < 0xA0 && out[0] == byte)
        return -1;
    return long(out[0]);
}
