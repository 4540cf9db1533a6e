// Helpers shared by the HTML export tests: the golden pages and a readable first difference.
#pragma once

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace html_test {

inline std::string ReadGolden(const std::string &name)
{
    std::ifstream in(std::string(VELISTRA_TEST_DATA) + "/html/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string VisibleBytes(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

// Empty when equal; otherwise the line number and both lines where the pages first differ.
inline std::string FirstDifference(const std::string &expected, const std::string &actual)
{
    if (expected == actual)
        return {};
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        ++at;
    const std::size_t lineStart = expected.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
    const auto lineOf = [from](const std::string &text) {
        const std::size_t end = text.find('\n', from);
        return VisibleBytes(text.substr(from, end == std::string::npos ? end : end - from + 1));
    };
    std::ostringstream message;
    message << "pages differ at byte " << at << " (line "
            << 1 + std::count(expected.begin(), expected.begin() + static_cast<long>(from), '\n')
            << ", expected " << expected.size() << " bytes, got " << actual.size() << ")\n"
            << "expected: " << lineOf(expected) << "\n"
            << "actual:   " << lineOf(actual);
    return message.str();
}

}  // namespace html_test
