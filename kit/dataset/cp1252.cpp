#include "cp1252.h"

namespace kit::cp1252 {

namespace {

// Bytes 0x80..0x9F; the others decode to the unit of the same value.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char16_t toUnicode(unsigned char byte) noexcept
{
    return byte >= 0x80 && byte <= 0x9F ? kHigh[byte - 0x80] : char16_t(byte);
}

int fromUnicode(char16_t unit) noexcept
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return unit;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == unit)
            return 0x80 + i;
    return -1;
}

std::u16string decode(std::string_view bytes)
{
    std::u16string out(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out[i] = toUnicode(static_cast<unsigned char>(bytes[i]));
    return out;
}

std::string encode(std::u16string_view text, char replacement)
{
    std::string out(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int b = fromUnicode(text[i]);
        out[i] = b < 0 ? replacement : static_cast<char>(b);
    }
    return out;
}

unsigned char toUpper(unsigned char b) noexcept
{
    if (b >= 'a' && b <= 'z')
        return b - 32;
    if (b >= 0xE0 && b != 0xF7 && b != 0xFF)  // à..þ except ÷
        return b - 32;
    switch (b) {
    case 0x9A:
        return 0x8A;  // š
    case 0x9C:
        return 0x8C;  // œ
    case 0x9E:
        return 0x8E;  // ž
    case 0xFF:
        return 0x9F;  // ÿ
    default:
        return b;
    }
}

unsigned char toLower(unsigned char b) noexcept
{
    if (b >= 'A' && b <= 'Z')
        return b + 32;
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7)  // À..Þ except ×
        return b + 32;
    switch (b) {
    case 0x8A:
        return 0x9A;
    case 0x8C:
        return 0x9C;
    case 0x8E:
        return 0x9E;
    case 0x9F:
        return 0xFF;
    default:
        return b;
    }
}

}  // namespace kit::cp1252
