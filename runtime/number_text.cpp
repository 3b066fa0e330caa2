#include "runtime/number_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#if defined(__EMSCRIPTEN__)
// The browser's C++ library has no floating-point to_chars/from_chars; its C library
// ignores the locale for the decimal mark, so printf and strtod give the same text, once
// strtod is kept from the forms from_chars does not read.

char* QvFormatDouble(double value, char* out) {
    int n = std::snprintf(out, 32, "%.17g", value);
    return out + n;
}

double QvParseDouble(const char* first, const char* last) {
    std::string text(first, last);
    const char* p = text.c_str();
    const bool negative = *p == '-';
    const char* digits = negative ? p + 1 : p;
    if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) return negative ? -0.0 : 0.0;
    if (*digits == '+' || *digits == '-' || *digits == ' ' || (*digits >= '\t' && *digits <= '\r'))
        return 0;
    errno = 0;
    char* end = nullptr;
    double value = std::strtod(p, &end);
    if (end == p) return 0;
    // Beyond the range: from_chars leaves its result alone. A subnormal result is kept.
    if (errno == ERANGE && (std::isinf(value) || value == 0)) return 0;
    return value;
}

#else
#include <charconv>

char* QvFormatDouble(double value, char* out) {
    char* end = std::to_chars(out, out + 31, value, std::chars_format::general, 17).ptr;
    *end = 0;
    return end;
}

double QvParseDouble(const char* first, const char* last) {
    double value = 0;
    std::from_chars(first, last, value);
    return value;
}
#endif
