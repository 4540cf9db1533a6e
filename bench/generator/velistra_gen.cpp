// Writes a generated directory data file: velistra-gen <entries> <file> [seed]
#include "directory_generator.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <entries> <file> [seed]\n", argv[0]);
        return 2;
    }
    const auto entries = static_cast<std::size_t>(std::strtoull(argv[1], nullptr, 10));
    const auto seed =
        argc > 3 ? static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10)) : 1u;
    const std::string text = dirgen::GenerateDataFile(entries, seed);
    std::FILE *out = std::fopen(argv[2], "wb");
    if (!out || std::fwrite(text.data(), 1, text.size(), out) != text.size() ||
        std::fclose(out) != 0) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
