#include "platform/helpers.h"

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <limits>
#include <stdexcept>

namespace platform {

Colour QBColor(int index)
{
    static constexpr Colour palette[16] = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
    };
    if (index < 0 || index > 15)
        throw std::out_of_range("QBColor index");
    return palette[index];
}

double Val(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        number += text[i++];
    std::size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        number += text[i++];
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            number += text[i++];
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    // An exponent counts only when at least one digit follows it.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            exponent += text[j++];
        std::size_t expDigits = 0;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') {
            exponent += text[j++];
            ++expDigits;
        }
        if (expDigits > 0)
            number += exponent;
    }
    // strtod of the C locale: the decimal mark is always a full stop.
    // Overflow gives HUGE_VAL, which is the infinity of the right sign.
    return std::strtod(number.c_str(), nullptr);
}

std::string halfWidthNumber(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
        if (i + 2 < text.size() && byte(0) == 0xEF && byte(1) == 0xBC && byte(2) >= 0x90 && byte(2) <= 0x99) {
            out += static_cast<char>('0' + (byte(2) - 0x90));  // U+FF10..FF19: ０..９
        } else if (i + 2 < text.size() && byte(0) == 0xEF && byte(1) == 0xBC && (byte(2) == 0x8E || byte(2) == 0x8D)) {
            out += byte(2) == 0x8E ? '.' : '-';  // U+FF0E ．, U+FF0D －
        } else if (i + 2 < text.size() && byte(0) == 0xE2 && byte(1) == 0x88 && byte(2) == 0x92) {
            out += '-';  // U+2212 −
        } else if (i + 2 < text.size() && byte(0) == 0xE3 && byte(1) == 0x80 && byte(2) == 0x80) {
            out += ' ';  // U+3000, the ideographic space
        } else {
            out += text[i++];
            continue;
        }
        i += 3;
    }
    return out;
}

namespace {
// The shortest decimal digits that read back as the same double, and the
// decimal exponent of the first: 1.5e15 gives "15" and 15. Every C library
// rounds printf's digits exactly, so the first precision that reads back is
// the shortest.
std::string shortestDigits(double value, int* exponent)
{
    char buf[64];
    for (int p = 0; p <= 17; ++p) {
        std::snprintf(buf, sizeof buf, "%.*e", p, value);
        if (std::strtod(buf, nullptr) == value)
            break;
    }
    std::string digits;
    const char* c = buf + (buf[0] == '-');
    for (; *c && *c != 'e'; ++c)
        if (*c != '.')
            digits += *c;
    *exponent = std::atoi(c + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    return digits;
}
}  // namespace

std::string Str(double value)
{
    if (std::isinf(value))
        return value > 0 ? " inf" : "-inf";
    // The shortest decimal form that reads back as the same double; plain
    // digits up to 10^15, an exponent beyond.
    int exponent = 0;
    const std::string digits = shortestDigits(value, &exponent);
    const std::size_t count = digits.size();
    std::string s(1, std::signbit(value) ? '-' : ' ');
    if (std::fabs(value) >= 1e15) {
        s.append(digits, 0, 1);
        if (count > 1)
            s.append(1, '.').append(digits, 1, std::string::npos);
        char e[16];
        std::snprintf(e, sizeof e, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        s.append(e);
    } else if (exponent < 0) {
        // No zero before the decimal point (" .5").
        s.append(1, '.').append(static_cast<std::size_t>(-exponent - 1), '0').append(digits);
    } else if (static_cast<std::size_t>(exponent) + 1 >= count) {
        s.append(digits).append(static_cast<std::size_t>(exponent) + 1 - count, '0');
    } else {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        s.append(digits, 0, whole).append(1, '.').append(digits, whole, std::string::npos);
    }
    return s;
}

std::string PrintText(double value)
{
    return Str(value) + " ";
}

double Int(double value)
{
    return std::floor(value);
}

double roundHalfEven(double value)
{
    return std::nearbyint(value);  // the default rounding mode rounds halves to even
}

namespace {
template <typename T>
T convert(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= std::numeric_limits<T>::min() && r <= std::numeric_limits<T>::max()))
        throw std::overflow_error("Overflow");
    return static_cast<T>(r);
}
}  // namespace

std::int16_t CInt(double value) { return convert<std::int16_t>(value); }
std::int32_t CLng(double value) { return convert<std::int32_t>(value); }

std::int32_t CLngSaturated(double value)
{
    if (std::isnan(value))
        return 0;
    const double r = roundHalfEven(value);
    if (r >= std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (r <= std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

}  // namespace platform
