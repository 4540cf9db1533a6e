#include "kit/text/codec.h"

#include "kit/dataset/cp1252.h"

namespace kit {

QString fromCp1252(std::string_view bytes)
{
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar *p = out.data();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        p[i] = QChar(cp1252::toUnicode(static_cast<unsigned char>(bytes[i])));
    return out;
}

std::string toCp1252(QStringView text, char replacement)
{
    std::string out(static_cast<std::size_t>(text.size()), '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = cp1252::fromUnicode(text[i].unicode());
        out[static_cast<std::size_t>(i)] = b < 0 ? replacement : static_cast<char>(b);
    }
    return out;
}

bool fitsCp1252(QStringView text) noexcept
{
    for (QChar c : text)
        if (cp1252::fromUnicode(c.unicode()) < 0)
            return false;
    return true;
}

}  // namespace kit
