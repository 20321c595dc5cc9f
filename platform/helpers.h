// Number and text helpers with the exact rounding and formatting rules the
// program's displays depend on. Pure C++, no toolkit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Colours are 32-bit words laid out as 0x00BBGGRR (blue high, red low).
using Colour = std::uint32_t;

// The 16-colour palette by index 0..15; any other index is an error.
Colour QBColor(int index);

// The number at the start of a text: leading blanks skipped, an optional sign,
// digits with an optional decimal point and exponent; 0 when there is none.
// A magnitude beyond double gives +/- infinity, never an error.
double Val(std::string_view text);

// A number typed with a Japanese input method on, as typed with it off:
// full-width digits, point, minus (also the minus sign U+2212) and space
// become their ASCII forms; every other character stays as it is.
std::string halfWidthNumber(std::string_view text);

// A number as text: a blank in place of the sign of a non-negative number,
// the shortest decimal form, no zero before the decimal point (" .5", "-3").
std::string Str(double value);

// The text that printing a number writes: Str and a trailing blank (" 12 ").
std::string PrintText(double value);

// Floor.
double Int(double value);

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// Conversions to 16- and 32-bit integers: nearest, halves to even. A result
// out of range is a run-time error: std::overflow_error.
std::int16_t CInt(double value);
std::int32_t CLng(double value);

// As CLng, but a value beyond the range gives the nearest end of the range
// (infinity included) instead of an error.
std::int32_t CLngSaturated(double value);

}  // namespace platform
