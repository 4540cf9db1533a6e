// The order in which the grid sorts and groups texts (Windows-1252 bytes).
//
// Italian dictionary order: blanks, punctuation and symbols first (in byte order), then the
// digits, then the letters; letter case and accents are folded at the first level ("e", "E",
// "è" and "É" weigh the same), and the bytes themselves break ties, so two texts compare equal
// only when they are the same bytes. Being single-byte, the first level is a 256-entry weight
// table, and a comparison is a walk over two byte arrays at memcmp speed, with no collator call.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kit::collation {

// Primary weight of every byte; 0 is never a weight (it ends a key).
const std::array<std::uint8_t, 256> &weights() noexcept;

// <0, 0, >0 by the primary weights alone (a shorter text first when one is a prefix of the other);
// 0 means the texts differ at most in letter case and accents.
int comparePrimary(std::string_view a, std::string_view b) noexcept;

// <0, 0, >0: primary weights first, then the bytes.
int compare(std::string_view a, std::string_view b) noexcept;

// The primary weights of bytes [offset, offset + 8) packed big-endian, 0 past the end: integer
// order of these prefixes agrees with the first level of `compare`.
std::uint64_t primaryPrefix(std::string_view text, std::size_t offset) noexcept;

}  // namespace kit::collation
