// Doubles to text and back in the one form the runtime uses everywhere: shortest-exact
// seventeen significant digits, a point as the decimal mark whatever the C locale says.
// The text is the same byte for byte on every platform the game is built for.
#pragma once

// `value` as "%.17g" would write it in the C locale; `out` holds at least 32 bytes and
// receives a terminated string. Returns the end of the text.
char* QvFormatDouble(double value, char* out);

// The longest decimal number (or "inf", "infinity", "nan") at the start of [first, last),
// without skipping blanks or a "+". Nothing readable, a hexadecimal form (read as its "0")
// and a value beyond a double's range all give 0.
double QvParseDouble(const char* first, const char* last);
