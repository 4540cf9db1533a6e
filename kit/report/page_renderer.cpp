#include "kit/report/page_renderer.h"

#include "kit/report/text_fit.h"
#include "kit/text/codec.h"

#include <QPainter>

#include <cmath>

namespace kit {

namespace {

constexpr qreal kMicrometresPerPoint = 25400.0 / 72.0;
constexpr qreal kMicrometresPerScreenPixel = 25400.0 / 96.0;

qreal micrometres(Length length) noexcept
{
    return static_cast<qreal>(length) * kMicrometresPerLength;
}

// Bands span the usable width: their elements are placed from the left margin.
QRectF boxRect(const Box &box, Length left, Length top) noexcept
{
    return {micrometres(left + box.left), micrometres(top + box.top), micrometres(box.width),
            micrometres(box.height)};
}

}  // namespace

QFont PageRenderer::layoutFont(const TextFont &design)
{
    QFont font(design.family);
    font.setPixelSize(static_cast<int>(std::lround(design.pointSize * kMicrometresPerPoint)));
    font.setBold(design.bold);
    font.setItalic(design.italic);
    font.setUnderline(design.underline);
    // Unhinted outlines scale linearly, so a width measured here is the width on any device.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

qreal PageRenderer::penWidthMicrometres(int penWidth) noexcept
{
    return penWidth * kMicrometresPerScreenPixel;
}

PageRenderer::PageRenderer(const ReportDocument &doc)
    : doc_(doc)
{
    fonts_.reserve(doc.bands.size());
    for (const BandLayout &band : doc.bands) {
        std::vector<ElementFont> &fonts = fonts_.emplace_back();
        fonts.reserve(band.elements.size());
        for (const ElementLayout &e : band.elements) {
            const QFont font = layoutFont(e.style.font);
            ElementFont ef{font, QFontMetricsF(font), {}, micrometres(e.box.width)};
            const qreal height = micrometres(e.box.height);
            if (e.kind == ElementKind::Label && e.style.autoSize) {
                ef.width = std::ceil(ef.metrics.horizontalAdvance(e.text));
                if (!e.text.isEmpty() && linesThatFit(ef.metrics, height) > 0)
                    ef.fixedLines = QStringList{e.text};
            } else if (e.kind == ElementKind::Label) {
                ef.fixedLines = fitText(e.text, ef.metrics, ef.width, height);
            }
            fonts.push_back(std::move(ef));
        }
    }
}

const PageRenderer::ElementFont &PageRenderer::fontOf(std::size_t band, std::size_t element) const
{
    return fonts_[band][element];
}

std::vector<PageItem> PageRenderer::layOut(std::size_t pageIndex) const
{
    std::vector<PageItem> items;
    const ReportPage &page = doc_.pages.at(pageIndex);
    for (const BandPlacement &placement : page.placements()) {
        const BandLayout &band = doc_.bands.at(placement.band);
        for (std::size_t i = 0; i < band.elements.size(); ++i) {
            const ElementLayout &e = band.elements[i];
            const ElementFont &ef = fontOf(placement.band, i);
            PageItem item{
                &e, placement.band, i, boxRect(e.box, doc_.setup.leftMargin, placement.top), {}};
            item.box.setWidth(ef.width);
            if (e.kind == ElementKind::Label) {
                item.lines = ef.fixedLines;
            } else if (e.kind == ElementKind::Field) {
                const QString text = fromCp1252(page.text(placement.firstText + e.fieldSlot));
                item.lines = fitText(text, ef.metrics, item.box.width(), item.box.height());
            }
            items.push_back(std::move(item));
        }
    }
    return items;
}

void PageRenderer::paint(QPainter &painter, std::size_t pageIndex) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const PageItem &item : layOut(pageIndex)) {
        const ElementLayout &e = *item.element;
        if (e.kind == ElementKind::Rule) {
            QPen pen(e.style.color, penWidthMicrometres(e.penWidth));
            pen.setCapStyle(Qt::FlatCap);
            painter.setPen(pen);
            const qreal y = item.box.center().y();
            painter.drawLine(QPointF(item.box.left(), y), QPointF(item.box.right(), y));
            continue;
        }
        // Opaque boxes: a later element's white box covers what earlier ones drew there.
        painter.fillRect(item.box, Qt::white);
        const ElementFont &ef = fontOf(item.band, item.index);
        painter.setFont(ef.font);
        painter.setPen(e.style.color);
        qreal y = item.box.top() + ef.metrics.ascent();
        for (const QString &line : item.lines) {
            qreal x = item.box.left();
            const qreal spare = item.box.width() - ef.metrics.horizontalAdvance(line);
            if (e.style.alignment == TextAlignment::Center)
                x += spare / 2;
            else if (e.style.alignment == TextAlignment::Right)
                x += spare;
            painter.drawText(QPointF(x, y), line);
            y += ef.metrics.lineSpacing();
        }
    }
    painter.restore();
}

}  // namespace kit
