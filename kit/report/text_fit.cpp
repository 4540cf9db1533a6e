#include "kit/report/text_fit.h"

namespace kit {

namespace {

bool isBlank(QChar c) noexcept
{
    return c == QLatin1Char(' ');
}

// Length of the longest piece of `text` from `from` that is at most `width` wide.
qsizetype fittingLength(const QString &text, qsizetype from, const QFontMetricsF &metrics,
                        qreal width)
{
    qsizetype low = 0, high = text.size() - from;
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (metrics.horizontalAdvance(text.mid(from, mid)) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

// Where the line that starts at `from` ends, given that `fits` characters fit: after the last
// blank or hyphen within them (or at a blank right after them); else after the last character
// that fits, and at least one character so that every line makes progress.
qsizetype breakPosition(const QString &text, qsizetype from, qsizetype fits)
{
    const qsizetype end = from + fits;
    if (end < text.size() && isBlank(text[end]))
        return end;
    for (qsizetype pos = end; pos > from; --pos) {
        const QChar c = text[pos - 1];
        if (isBlank(c) || c == QLatin1Char('-'))
            return pos;
    }
    return std::max<qsizetype>(end, from + 1);
}

}  // namespace

int linesThatFit(const QFontMetricsF &metrics, qreal height)
{
    int lines = 0;
    while (lines * metrics.lineSpacing() + metrics.height() <= height)
        ++lines;
    return lines;
}

QStringList fitText(const QString &text, const QFontMetricsF &metrics, qreal width, qreal height)
{
    QStringList lines;
    const int maxLines = linesThatFit(metrics, height);
    qsizetype from = 0;
    while (from < text.size() && lines.size() < maxLines) {
        const qsizetype fits = fittingLength(text, from, metrics, width);
        if (from + fits == text.size()) {
            lines.append(text.mid(from));
            break;
        }
        qsizetype end = breakPosition(text, from, fits);
        QString line = text.mid(from, end - from);
        while (!line.isEmpty() && isBlank(line.back()))
            line.chop(1);
        lines.append(line);
        while (end < text.size() && isBlank(text[end]))
            ++end;
        from = end;
    }
    return lines;
}

}  // namespace kit
