// The HTML page of a grid, built from a plain description of what the grid shows: its visible
// columns, its number of grouping levels, its looks and its rows in display order. Pure text
// work on Windows-1252 bytes, so the page can be checked byte for byte without a grid.
//
// The page is one table: an indentation column per grouping level, then one column per visible
// grid column. Every cell names a CSS class; cells that look exactly alike share one, numbered
// in the order the table first needs them (header row, then the rows from top to bottom, then
// the closing bottom border of the last row).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kit::html {

struct Rgb {
    int red = 0, green = 0, blue = 0;
    bool operator==(const Rgb &) const = default;
};

struct Font {
    std::string faceName;  // as designed, Windows-1252
    int charset = 1;       // 0 ANSI, 1 the default set
    int pointSize = 8;     // whole points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const Font &) const = default;
};

// Font and colours of a kind of cell; the borders are the page's own business.
struct Look {
    Font font;
    Rgb text;
    Rgb background;
    bool operator==(const Look &) const = default;
};

enum class Align { Left, Center, Right };

struct Column {
    std::string caption;  // Windows-1252
    // The header's width on screen; the first column's header also covers the group indents.
    int headerWidth = 0;
    Align headerAlign = Align::Left;
    Align textAlign = Align::Left;
    Look header;
    Look content;
};

struct GridLayout {
    static constexpr int kIndent = 16;  // pixels per grouping level on screen
    std::string title;                  // Windows-1252, not yet escaped
    std::vector<Column> columns;        // the visible columns, in on-screen order
    int groupLevels = 0;
    Look groupRow;      // group texts and indentation cells
    Look expandButton;  // the "-" / "+" cells
    Rgb gridLine;       // colour of every cell border
};

enum class RowKind { Group, Data };

struct RowShape {
    RowKind kind = RowKind::Data;
    int level = 0;         // group rows: 0 for the outermost level
    bool expanded = true;  // group rows
};

// The grid's rows in display order. Texts are Windows-1252 bytes; a returned view stays valid
// until the next call (it may point into `scratch`).
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual std::size_t rowCount() const = 0;
    virtual RowShape shape(std::size_t row) const = 0;
    virtual std::string_view groupText(std::size_t row, std::string &scratch) const = 0;
    // `column` indexes GridLayout::columns.
    virtual std::string_view cellText(std::size_t row, std::size_t column,
                                      std::string &scratch) const = 0;
};

// The whole page: skeleton, style block and table, CR LF line ends, no line end at the end.
std::string BuildPage(const GridLayout &layout, const RowSource &rows);

// Appends `text` with "&", "<", ">" and the double quote as entities and each line break
// (CR LF or a lone LF) as "<BR>"; a lone CR stays. Runs that need nothing are copied whole.
void AppendEscaped(std::string &out, std::string_view text);

}  // namespace kit::html
