#include "kit/grid/html_document.h"

#include "kit/dataset/large_pages.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

namespace kit::html {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kEmptyCell = "&nbsp";  // no semicolon: what the page always had

enum Side { Left, Top, Right, Bottom };

// Everything a CSS class of the page says about a cell.
struct CellClass {
    Look look;
    std::array<int, 4> borders{};  // widths: left, top, right, bottom
    Rgb borderColor;
    bool operator==(const CellClass &) const = default;
};

enum class Content { Caption, GroupText, ExpandSign, CellText, Empty };

struct Cell {
    int span = 1;
    Align align = Align::Left;
    CellClass cls;
    Content content = Content::Empty;
    std::size_t column = 0;  // Caption and CellText
};

// A cell with its opening tag already written out, ready to be repeated on every row.
struct PreparedCell {
    std::string openTag;
    Content content = Content::Empty;
    std::size_t column = 0;
};

void appendNumber(std::string &out, long long value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

void appendLine(std::string &out, std::string_view text)
{
    out += text;
    out += kLineEnd;
}

void appendColor(std::string &out, const Rgb &color)
{
    out += "rgb(";
    appendNumber(out, color.red);
    out += ',';
    appendNumber(out, color.green);
    out += ',';
    appendNumber(out, color.blue);
    out += ')';
}

std::string_view alignName(Align align)
{
    switch (align) {
    case Align::Center:
        return "CENTER";
    case Align::Right:
        return "RIGHT";
    case Align::Left:
        break;
    }
    return "LEFT";
}

// Which bytes need more than a copy: the four markup characters and the line-break bytes.
constexpr std::array<bool, 256> kSpecialBytes = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {'&', '<', '>', '"', '\r', '\n'})
        table[c] = true;
    return table;
}();

// The classes of one page in the order they were first needed.
class ClassRegistry {
public:
    int add(const CellClass &cls)
    {
        const auto found = std::find(classes_.begin(), classes_.end(), cls);
        if (found != classes_.end())
            return static_cast<int>(found - classes_.begin());
        classes_.push_back(cls);
        return static_cast<int>(classes_.size()) - 1;
    }
    const std::vector<CellClass> &classes() const noexcept { return classes_; }

private:
    std::vector<CellClass> classes_;  // a page has a handful; a linear search is the fastest
};

class PageBuilder {
public:
    PageBuilder(const GridLayout &layout, const RowSource &rows)
        : layout_(layout)
        , rows_(rows)
        , levels_(std::max(layout.groupLevels, 0))
    {}

    std::string build();

private:
    CellClass framed(const Look &look) const
    {
        return CellClass{look, {1, 1, 1, 1}, layout_.gridLine};
    }
    CellClass indentation() const
    {
        return CellClass{layout_.groupRow, {1, 0, 1, 0}, layout_.gridLine};
    }
    int tableColumnCount() const { return levels_ + static_cast<int>(layout_.columns.size()); }

    std::vector<Cell> headerCells() const;
    std::vector<Cell> rowCells(const RowShape &shape) const;
    void registerRow(const std::vector<Cell> &cells, bool isGroupRow);
    void planColumnWidths();
    void planClasses();
    std::vector<Cell> closeBottomEdge(std::vector<Cell> cells);

    PreparedCell prepare(const Cell &cell);
    std::vector<PreparedCell> prepareAll(const std::vector<Cell> &cells);
    const std::vector<PreparedCell> &preparedFor(const RowShape &shape);

    void writeHead(std::string &out) const;
    void writeStyleRule(std::string &out, int number, const CellClass &cls) const;
    void writeWidthRow(std::string &out) const;
    void writeRow(std::string &out, const std::vector<PreparedCell> &cells, std::size_t row,
                  const RowShape &shape);

    const GridLayout &layout_;
    const RowSource &rows_;
    const int levels_;
    std::vector<int> widths_;
    ClassRegistry registry_;
    std::vector<Cell> header_;
    std::optional<std::vector<Cell>> closedLastRow_;  // the last grid row with its bottom edge
    bool headerIsLast_ = false;
    // Rows of one shape have the same cells: their opening tags are made once.
    std::optional<std::vector<PreparedCell>> dataCells_;
    std::vector<std::optional<std::vector<PreparedCell>>> groupCells_[2];  // collapsed, expanded
    std::string scratch_;
};

std::vector<Cell> PageBuilder::headerCells() const
{
    std::vector<Cell> cells;
    for (std::size_t c = 0; c < layout_.columns.size(); ++c) {
        const Column &column = layout_.columns[c];
        cells.push_back(Cell{c == 0 ? levels_ + 1 : 1, column.headerAlign, framed(column.header),
                             Content::Caption, c});
    }
    return cells;
}

std::vector<Cell> PageBuilder::rowCells(const RowShape &shape) const
{
    std::vector<Cell> cells;
    if (shape.kind == RowKind::Group) {
        const int level = std::clamp(shape.level, 0, std::max(levels_ - 1, 0));
        for (int i = 0; i < level; ++i)
            cells.push_back(Cell{1, Align::Center, indentation(), Content::Empty, 0});
        cells.push_back(
            Cell{1, Align::Center, framed(layout_.expandButton), Content::ExpandSign, 0});
        const int rest = tableColumnCount() - level - 1;
        if (rest > 0)
            cells.push_back(
                Cell{rest, Align::Left, framed(layout_.groupRow), Content::GroupText, 0});
        return cells;
    }
    for (int i = 0; i < levels_; ++i)
        cells.push_back(Cell{1, Align::Center, indentation(), Content::Empty, 0});
    for (std::size_t c = 0; c < layout_.columns.size(); ++c) {
        const Column &column = layout_.columns[c];
        cells.push_back(Cell{1, column.textAlign, framed(column.content), Content::CellText, c});
    }
    return cells;
}

// A group row names its expand button's class before its indentation and its text.
void PageBuilder::registerRow(const std::vector<Cell> &cells, bool isGroupRow)
{
    if (isGroupRow) {
        for (const Cell &cell : cells)
            if (cell.content == Content::ExpandSign)
                registry_.add(cell.cls);
    }
    for (const Cell &cell : cells)
        registry_.add(cell.cls);
}

// The boundaries on screen are every 16 pixels up to the last indent, then the right edges of
// the headers; the first header starts at 0 and so covers the indents.
void PageBuilder::planColumnWidths()
{
    widths_.assign(static_cast<std::size_t>(levels_), GridLayout::kIndent);
    int edge = 0;
    int previous = levels_ * GridLayout::kIndent;
    for (const Column &column : layout_.columns) {
        edge += column.headerWidth;
        widths_.push_back(std::max(edge - previous, 0));
        previous = std::max(edge, previous);
    }
}

void PageBuilder::planClasses()
{
    header_ = headerCells();
    registerRow(header_, false);
    // Only the first row of each shape can name a new class, and the indentation column of a
    // level widens (its cell's border) once a group row of that level is written.
    bool dataSeen = false;
    std::vector<bool> levelSeen(static_cast<std::size_t>(levels_ + 1), false);
    const std::size_t count = rows_.rowCount();
    for (std::size_t row = 0; row < count; ++row) {
        const RowShape shape = rows_.shape(row);
        if (shape.kind == RowKind::Data) {
            if (!std::exchange(dataSeen, true))
                registerRow(rowCells(shape), false);
            continue;
        }
        const auto level = static_cast<std::size_t>(std::clamp(shape.level, 0, levels_));
        if (!levelSeen[level]) {
            levelSeen[level] = true;
            registerRow(rowCells(shape), true);
            if (static_cast<int>(level) < levels_)
                widths_[level] = GridLayout::kIndent + 1;
        }
    }
    if (count == 0) {
        headerIsLast_ = true;
        header_ = closeBottomEdge(std::move(header_));
    } else {
        closedLastRow_ = closeBottomEdge(rowCells(rows_.shape(count - 1)));
    }
}

// The table's last row draws the bottom line of the table: cells without a bottom border get
// one, from the left, up to the first cell that has its own.
std::vector<Cell> PageBuilder::closeBottomEdge(std::vector<Cell> cells)
{
    for (Cell &cell : cells) {
        if (cell.cls.borders[Bottom] != 0)
            break;
        cell.cls.borders[Bottom] = 1;
        registry_.add(cell.cls);
    }
    return cells;
}

PreparedCell PageBuilder::prepare(const Cell &cell)
{
    PreparedCell prepared{"<TD", cell.content, cell.column};
    if (cell.span > 1) {
        prepared.openTag += " COLSPAN=";
        appendNumber(prepared.openTag, cell.span);
    }
    prepared.openTag += " NOWRAP ALIGN=";
    prepared.openTag += alignName(cell.align);
    prepared.openTag += " CLASS=Style";
    appendNumber(prepared.openTag, registry_.add(cell.cls));
    prepared.openTag += '>';
    return prepared;
}

std::vector<PreparedCell> PageBuilder::prepareAll(const std::vector<Cell> &cells)
{
    std::vector<PreparedCell> prepared;
    prepared.reserve(cells.size());
    for (const Cell &cell : cells)
        prepared.push_back(prepare(cell));
    return prepared;
}

const std::vector<PreparedCell> &PageBuilder::preparedFor(const RowShape &shape)
{
    if (shape.kind == RowKind::Data) {
        if (!dataCells_)
            dataCells_ = prepareAll(rowCells(shape));
        return *dataCells_;
    }
    auto &byLevel = groupCells_[shape.expanded ? 1 : 0];
    const auto level = static_cast<std::size_t>(std::max(shape.level, 0));
    if (byLevel.size() <= level)
        byLevel.resize(level + 1);
    if (!byLevel[level])
        byLevel[level] = prepareAll(rowCells(shape));
    return *byLevel[level];
}

void PageBuilder::writeHead(std::string &out) const
{
    appendLine(out, "<HTML>");
    appendLine(out, "<HEAD>");
    out += "<TITLE>";
    AppendEscaped(out, layout_.title);
    appendLine(out, "</TITLE>");
    appendLine(out, "<STYLE TYPE=\"text/css\"><!--");
    const auto &classes = registry_.classes();
    for (std::size_t i = 0; i < classes.size(); ++i)
        writeStyleRule(out, static_cast<int>(i), classes[i]);
    appendLine(out, "--></STYLE>");
    appendLine(out, "</HEAD>");
    appendLine(out, "<BODY>");
    appendLine(out, "<TABLE BORDER=0 CELLSPACING=0>");
}

void PageBuilder::writeStyleRule(std::string &out, int number, const CellClass &cls) const
{
    static constexpr std::string_view kSideNames[4] = {"left", "top", "right", "bottom"};
    const Font &font = cls.look.font;
    out += ".Style";
    appendNumber(out, number);
    out += " { border-style: solid; padding: 3;";
    for (int side = Left; side <= Bottom; ++side) {
        out += " border-";
        out += kSideNames[side];
        out += "-width: ";
        appendNumber(out, cls.borders[static_cast<std::size_t>(side)]);
        out += ';';
    }
    for (int side = Left; side <= Bottom; ++side) {
        out += " border-";
        out += kSideNames[side];
        out += "-color: ";
        appendColor(out, cls.borderColor);
        out += ';';
    }
    out += " font-family: '";
    out += font.faceName;
    out += "'; mso-font-charset: ";
    appendNumber(out, font.charset);
    out += ';';
    if (font.bold)
        out += " font-weight: bold;";
    if (font.italic)
        out += " font-style: italic;";
    if (font.underline)
        out += " text-decoration: underline;";
    else if (font.strikeOut)
        out += " text-decoration: line-through;";
    out += " font-size: ";
    appendNumber(out, font.pointSize);
    out += "pt; color: ";
    appendColor(out, cls.look.text);
    out += "; background-color: ";
    appendColor(out, cls.look.background);
    appendLine(out, "}");
    out += kLineEnd;
}

void PageBuilder::writeWidthRow(std::string &out) const
{
    appendLine(out, "<TR>");
    for (int width : widths_) {
        out += "<TD  WIDTH=";
        appendNumber(out, width);
        appendLine(out, " HEIGHT=0></TD>");
    }
    appendLine(out, "</TR>");
}

void PageBuilder::writeRow(std::string &out, const std::vector<PreparedCell> &cells,
                           std::size_t row, const RowShape &shape)
{
    out += "<TR>\r\n";
    for (const PreparedCell &cell : cells) {
        out += cell.openTag;
        std::string_view text;
        switch (cell.content) {
        case Content::Caption:
            text = layout_.columns[cell.column].caption;
            break;
        case Content::GroupText:
            text = rows_.groupText(row, scratch_);
            break;
        case Content::ExpandSign:
            text = shape.expanded ? "-" : "+";
            break;
        case Content::CellText:
            text = rows_.cellText(row, cell.column, scratch_);
            break;
        case Content::Empty:
            break;
        }
        if (text.empty())
            out += kEmptyCell;
        else
            AppendEscaped(out, text);
        out += "</TD>\r\n";
    }
    out += "</TR>\r\n";
}

std::string PageBuilder::build()
{
    planColumnWidths();
    planClasses();

    std::string out;
    writeHead(out);
    writeWidthRow(out);
    const auto headerCells = prepareAll(header_);
    writeRow(out, headerCells, 0, RowShape{});
    const std::size_t count = rows_.rowCount();
    if (count > 0) {
        // A rough guess of the page's size, so that a big page is not copied while it grows.
        out.reserve(out.size() + count * (layout_.columns.size() + 3) * 48);
        PreferLargePages(out.data(), out.capacity());
        const std::vector<PreparedCell> lastRow = prepareAll(*closedLastRow_);
        for (std::size_t row = 0; row < count; ++row) {
            const RowShape shape = rows_.shape(row);
            writeRow(out, row + 1 == count ? lastRow : preparedFor(shape), row, shape);
        }
    }
    out += "</TABLE>";
    out += kLineEnd;
    out += "</BODY>";
    out += kLineEnd;
    out += "</HTML>";
    return out;
}

}  // namespace

void AppendEscaped(std::string &out, std::string_view text)
{
    const char *run = text.data();
    const char *const end = text.data() + text.size();
    for (const char *p = run; p != end; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if (!kSpecialBytes[byte])
            continue;
        if (byte == '\r' && (p + 1 == end || p[1] != '\n'))
            continue;  // a carriage return alone is kept as it is
        out.append(run, p);
        switch (byte) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\r':
            ++p;
            [[fallthrough]];  // CR LF is one line break
        case '\n':
            out += "<BR>";
            break;
        }
        run = p + 1;
    }
    out.append(run, end);
}

std::string BuildPage(const GridLayout &layout, const RowSource &rows)
{
    return PageBuilder(layout, rows).build();
}

}  // namespace kit::html
