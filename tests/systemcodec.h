#pragma once

// The system's own reading of one Windows-1251 byte, as a code point: -1 where it has
// none, -2 where the system has no such code page. The codec's tests compare with it.
long SystemCodePoint(unsigned char byte);
