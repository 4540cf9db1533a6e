#include "kit/grid/collation.h"

#include <cstring>

namespace kit::collation {

namespace {

// Base letter ('a'..'z') of a Windows-1252 letter byte, 0 for a byte that is not a letter.
char baseLetter(unsigned char c) noexcept
{
    if (c >= 'a' && c <= 'z')
        return static_cast<char>(c);
    if (c >= 'A' && c <= 'Z')
        return static_cast<char>(c + 32);
    switch (c) {
    case 0x83:
        return 'f';  // ƒ
    case 0x8A:
    case 0x9A:
        return 's';  // Š š
    case 0x8C:
    case 0x9C:
        return 'o';  // Œ œ
    case 0x8E:
    case 0x9E:
        return 'z';  // Ž ž
    case 0x9F:
    case 0xDD:
    case 0xFD:
    case 0xFF:
        return 'y';  // Ÿ Ý ý ÿ
    case 0xAA:
        return 'a';  // ª
    case 0xBA:
        return 'o';  // º
    case 0xC7:
    case 0xE7:
        return 'c';  // Ç ç
    case 0xD0:
    case 0xF0:
        return 'd';  // Ð ð
    case 0xD1:
    case 0xF1:
        return 'n';  // Ñ ñ
    case 0xD8:
    case 0xF8:
        return 'o';  // Ø ø
    case 0xDE:
    case 0xFE:
        return 't';  // Þ þ
    case 0xDF:
        return 's';  // ß
    default:
        break;
    }
    const unsigned char lower = (c >= 0xC0 && c <= 0xDE && c != 0xD7) ? c + 0x20 : c;
    if (lower >= 0xE0 && lower <= 0xE6)
        return 'a';  // à á â ã ä å æ
    if (lower >= 0xE8 && lower <= 0xEB)
        return 'e';
    if (lower >= 0xEC && lower <= 0xEF)
        return 'i';
    if (lower >= 0xF2 && lower <= 0xF6)
        return 'o';
    if (lower >= 0xF9 && lower <= 0xFC)
        return 'u';
    return 0;
}

std::array<std::uint8_t, 256> buildWeights() noexcept
{
    std::array<std::uint8_t, 256> w{};
    std::uint8_t next = 1;
    for (int c = 1; c < 256; ++c) {
        const auto u = static_cast<unsigned char>(c);
        if (!baseLetter(u) && !(c >= '0' && c <= '9'))
            w[u] = next++;
    }
    w[0] = next;  // never stored; kept apart from the end-of-key 0 anyway
    ++next;
    for (int c = '0'; c <= '9'; ++c)
        w[c] = next++;
    const std::uint8_t letters = next;
    for (int c = 1; c < 256; ++c) {
        const auto u = static_cast<unsigned char>(c);
        if (const char base = baseLetter(u))
            w[u] = static_cast<std::uint8_t>(letters + (base - 'a'));
    }
    return w;
}

}  // namespace

const std::array<std::uint8_t, 256> &weights() noexcept
{
    static const std::array<std::uint8_t, 256> table = buildWeights();
    return table;
}

int comparePrimary(std::string_view a, std::string_view b) noexcept
{
    const auto &w = weights();
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int d =
            int(w[static_cast<unsigned char>(a[i])]) - int(w[static_cast<unsigned char>(b[i])]);
        if (d != 0)
            return d;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return 0;
}

int compare(std::string_view a, std::string_view b) noexcept
{
    if (const int primary = comparePrimary(a, b))
        return primary;
    return a.empty() ? 0 : std::memcmp(a.data(), b.data(), a.size());
}

std::uint64_t primaryPrefix(std::string_view text, std::size_t offset) noexcept
{
    const auto &w = weights();
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const std::size_t at = offset + i;
        const std::uint64_t weight = at < text.size() ? w[static_cast<unsigned char>(text[at])] : 0;
        key = (key << 8) | weight;
    }
    return key;
}

}  // namespace kit::collation
