// Linked into Dialnest.exe: snprintf formats through the C run-time of Windows (msvcrt.dll)
// instead of mingw's own formatter, whose floating-point conversion the program never asks
// for and which would be a tenth of the download. The program's formats (%s, %d, %u, %lu
// and %X, with flags and widths) mean the same to both, and mingw's __ms_vsnprintf keeps the
// standard's result (the whole length) and the terminating zero when the text is cut.
// tests/shipped refuses conversions that the run-time of Windows 98 does not know (%zu,
// %lld, %hhu and the like). Not for dialnest-kit.exe, whose reports use %zu.
#include <cstdarg>
#include <cstddef>

extern "C" int __cdecl __ms_vsnprintf(char* out, size_t size, const char* format, va_list args);

extern "C" int __cdecl __mingw_vsnprintf(char* out, size_t size, const char* format,
                                         va_list args) {
    return __ms_vsnprintf(out, size, format, args);
}
