#include "kit/dbctrls/typed_text.h"

#include "kit/dataset/cp1252.h"

#include <algorithm>

namespace kit {

QString convertTypedText(QStringView typed, CharCase charCase)
{
    QString out;
    out.reserve(typed.size());
    for (const QChar c : typed) {
        const char16_t unit = c.unicode();
        if (unit == u'\t' || unit == u'\r' || unit == u'\n') {
            out.append(QLatin1Char(' '));
            continue;
        }
        const int byte = cp1252::fromUnicode(unit);
        if (unit == 0 || byte < 0)
            continue;
        unsigned char converted = static_cast<unsigned char>(byte);
        if (charCase == CharCase::Upper)
            converted = cp1252::toUpper(converted);
        else if (charCase == CharCase::Lower)
            converted = cp1252::toLower(converted);
        out.append(QChar(cp1252::toUnicode(converted)));
    }
    return out;
}

TextChange textChange(QStringView before, QStringView after) noexcept
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return {head, after.size() - head - tail, before.size() - head - tail};
}

}  // namespace kit
