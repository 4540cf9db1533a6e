#include "kit/grid/html_export.h"

#include "kit/dataset/file_io.h"
#include "kit/dataset/mem_table.h"
#include "kit/grid/grid_view.h"
#include "kit/grid/html_document.h"
#include "kit/text/codec.h"

#include <QFile>
#include <QGuiApplication>
#include <QPalette>

#include <cmath>

namespace kit {

namespace {

html::Rgb rgbOf(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return html::Rgb{rgb.red(), rgb.green(), rgb.blue()};
}

// A style colour that was never set stands for the system colour of its role, as it is now.
html::Rgb rgbOr(const QColor &color, const QPalette &palette, QPalette::ColorRole fallback)
{
    return rgbOf(color.isValid() ? color : palette.color(fallback));
}

// Whole points, as the font was designed; a font given in pixels counts 96 pixels to the inch.
int wholePoints(const QFont &font)
{
    if (font.pointSizeF() > 0)
        return static_cast<int>(std::lround(font.pointSizeF()));
    if (font.pixelSize() > 0)
        return static_cast<int>(std::lround(font.pixelSize() * 72.0 / 96.0));
    return 8;
}

html::Font fontOf(const GridStyle &style)
{
    const QFont &font = style.font;
    html::Font result;
    // The designed face, not the one the display substitutes for it.
    result.faceName = toCp1252(style.fontFaceName.isEmpty() ? font.family() : style.fontFaceName);
    result.charset = style.charset;
    result.pointSize = wholePoints(font);
    result.bold = font.bold();
    result.italic = font.italic();
    result.underline = font.underline();
    result.strikeOut = font.strikeOut();
    return result;
}

html::Look lookOf(const GridStyle &style, const QPalette &palette, QPalette::ColorRole text,
                  QPalette::ColorRole background)
{
    return html::Look{fontOf(style), rgbOr(style.textColor, palette, text),
                      rgbOr(style.background, palette, background)};
}

html::Align alignOf(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return html::Align::Center;
    if (alignment & Qt::AlignRight)
        return html::Align::Right;
    return html::Align::Left;
}

// What the page needs to know of the grid's columns and looks, with the system colours of
// this moment. The cell borders use the button-shadow colour, which is the palette's Dark role
// (Shadow is the darker 3-D shadow).
html::GridLayout describe(const GridView &grid, const QPalette &palette, std::string title)
{
    html::GridLayout layout;
    layout.title = std::move(title);
    layout.groupLevels = static_cast<int>(grid.groupingColumns().size());
    layout.gridLine = rgbOf(palette.color(QPalette::Dark));
    layout.groupRow = lookOf(grid.groupRowStyle(), palette, QPalette::ButtonText, QPalette::Button);
    html::Font buttonFont;
    buttonFont.faceName = "Tahoma";
    buttonFont.charset = 0;
    buttonFont.pointSize = 8;
    layout.expandButton = html::Look{buttonFont, rgbOf(palette.color(QPalette::ButtonText)),
                                     rgbOf(palette.color(QPalette::Button))};
    for (int c : grid.visibleColumns()) {
        const GridColumn &column = grid.column(c);
        html::Column out;
        out.caption = toCp1252(column.caption);
        out.headerWidth = grid.headerWidth(c);
        out.headerAlign = alignOf(column.headerAlignment);
        out.textAlign = alignOf(column.textAlignment);
        out.header = lookOf(grid.headerStyle(c), palette, QPalette::ButtonText, QPalette::Button);
        out.content = lookOf(grid.contentStyle(c), palette, QPalette::Text, QPalette::Base);
        layout.columns.push_back(std::move(out));
    }
    return layout;
}

// The grid's display rows. Cells of bound columns are read as bytes straight from the table,
// which is the text the grid shows, so a big page costs no conversions.
class GridRows final : public html::RowSource {
public:
    explicit GridRows(const GridView &grid)
        : grid_(grid)
        , table_(grid.table())
    {
        for (int c : grid.visibleColumns()) {
            columns_.push_back(c);
            const int field = table_ ? grid.columnFieldIndex(c) : -1;
            // The record number is computed, not stored: the grid formats it.
            fields_.push_back(field >= 0 && !table_->isComputedField(field) ? field : -1);
        }
    }

    std::size_t rowCount() const override { return grid_.displayRowCount(); }

    html::RowShape shape(std::size_t row) const override
    {
        const GridDisplayRow info = grid_.displayRow(row);
        return html::RowShape{info.kind == GridRowKind::Group ? html::RowKind::Group
                                                              : html::RowKind::Data,
                              info.level, info.expanded};
    }

    std::string_view groupText(std::size_t row, std::string &scratch) const override
    {
        scratch = toCp1252(grid_.groupRowText(row));
        return scratch;
    }

    std::string_view cellText(std::size_t row, std::size_t column,
                              std::string &scratch) const override
    {
        const int field = fields_[column];
        if (field >= 0) {
            const std::size_t tableRow = tableRowOf(row);
            if (tableRow != GridDisplayRow::npos)
                return table_->value(tableRow, field);
        }
        scratch = toCp1252(grid_.cellText(row, columns_[column]));
        return scratch;
    }

private:
    // The cells of a row are asked for one after another: look its record up once.
    std::size_t tableRowOf(std::size_t row) const
    {
        if (row != cachedRow_) {
            cachedRow_ = row;
            cachedTableRow_ = grid_.displayRow(row).tableRow;
        }
        return cachedTableRow_;
    }

    const GridView &grid_;
    const MemTable *table_;
    std::vector<int> columns_;
    std::vector<int> fields_;
    mutable std::size_t cachedRow_ = GridDisplayRow::npos;
    mutable std::size_t cachedTableRow_ = GridDisplayRow::npos;
};

}  // namespace

std::string ChangeFileExtension(const std::string &fileName, const std::string &extension)
{
    if (extension.empty())
        return fileName;
    const auto slash = fileName.find_last_of('/');
    const auto dot = fileName.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? fileName.substr(0, dot) : fileName) + '.' + extension;
}

std::string RenderGridHtml(const GridView &grid, const QString &title)
{
    const html::GridLayout layout = describe(grid, QGuiApplication::palette(), toCp1252(title));
    return html::BuildPage(layout, GridRows(grid));
}

void ExportGridToHtml(GridView &grid, const std::string &fileName, const std::string &extension)
{
    const std::string path = ChangeFileExtension(fileName, extension);
    grid.expandAll();
    // The title is the path as written to; the page builder escapes it like any other text.
    const QString title = QFile::decodeName(QByteArray::fromStdString(path));
    WriteFileSafely(path, RenderGridHtml(grid, title));
}

}  // namespace kit
