// Breaking a text into the lines that a fixed box prints.
#pragma once

#include <QFontMetricsF>
#include <QString>
#include <QStringList>

namespace kit {

// The lines of `text` in a box of `width` × `height` (in the metrics' units). A text wider than
// the box breaks after a blank or a hyphen; a word wider than the box is cut after its last
// character that fits and goes on in the next line. Blanks at a break are dropped. Only the
// lines that fit wholly within the height are returned.
QStringList fitText(const QString &text, const QFontMetricsF &metrics, qreal width, qreal height);

// How many whole lines of this font a box of `height` holds.
int linesThatFit(const QFontMetricsF &metrics, qreal height);

}  // namespace kit
