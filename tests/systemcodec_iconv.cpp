#include "systemcodec.h"

#include <cstddef>
#include <iconv.h>

long SystemCodePoint(unsigned char byte)
{
    iconv_t cd = iconv_open("UTF-32LE", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1)) // NOLINT(performance-no-int-to-ptr): its failure value
        return -2;
    char in[1] = {static_cast<char>(byte)};
    unsigned char out[4] = {};
    char *inPtr = in;
    char *outPtr = reinterpret_cast<char *>(out);
    size_t inLeft = 1;
    size_t outLeft = sizeof out;
    const size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<size_t>(-1))
        return -1;
    return long(out[0]) | long(out[1]) << 8 | long(out[2]) << 16 | long(out[3]) << 24;
}
