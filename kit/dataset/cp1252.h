// Windows-1252, the single-byte character set of the stored text. Every byte decodes to one
// UTF-16 unit (the five unassigned bytes to the C1 controls of the same value, so that every
// byte survives a round trip); a unit that the set cannot hold encodes to -1.
#pragma once

#include <string>
#include <string_view>

namespace kit::cp1252 {

char16_t toUnicode(unsigned char byte) noexcept;
int fromUnicode(char16_t unit) noexcept;
std::u16string decode(std::string_view bytes);
// Units that the set cannot hold are replaced by `replacement`.
std::string encode(std::u16string_view text, char replacement = '?');
// Upper and lower case within the set, one byte for one (for example "à" <-> "À", "ÿ" <-> "Ÿ").
unsigned char toUpper(unsigned char byte) noexcept;
unsigned char toLower(unsigned char byte) noexcept;

}  // namespace kit::cp1252
