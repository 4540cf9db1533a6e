// Lays out and paints the pages of a generated document. Coordinates are micrometres from the
// paper's top-left corner, so one layout serves the screen at any zoom and the printer alike:
// text is measured with fonts sized in micrometres, and the line breaks do not depend on the
// device that shows them.
#pragma once

#include "kit/report/report_document.h"

#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QStringList>

#include <vector>

class QPainter;

namespace kit {

// One element as it appears on a page: its box (an auto-sized text's box has the width of its
// text) and, for text, the lines printed in it.
struct PageItem {
    const ElementLayout *element = nullptr;
    std::size_t band = 0, index = 0;  // the element's band and its place in that band
    QRectF box;
    QStringList lines;
};

class PageRenderer {
public:
    // The document must outlive the renderer; its bands must not change meanwhile.
    explicit PageRenderer(const ReportDocument &doc);

    std::vector<PageItem> layOut(std::size_t page) const;
    // The painter's coordinates must be micrometres from the paper's corner (see paintScale).
    void paint(QPainter &painter, std::size_t page) const;

    // A font whose pixel is one micrometre.
    static QFont layoutFont(const TextFont &font);
    // Micrometres of a rule's pen width.
    static qreal penWidthMicrometres(int penWidth) noexcept;

private:
    struct ElementFont {
        QFont font;
        QFontMetricsF metrics;
        QStringList fixedLines;  // labels: their lines never change
        qreal width = 0;         // micrometres of the box, an auto-sized label's text width
    };
    const ElementFont &fontOf(std::size_t band, std::size_t element) const;

    const ReportDocument &doc_;
    std::vector<std::vector<ElementFont>> fonts_;
};

}  // namespace kit
