// The page builder on hand-made grid descriptions, checked against pages written by hand.
#include "kit/grid/html_document.h"

#include "html_golden.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kit::html;

namespace {

// The system colours the golden pages were written with.
constexpr Rgb kButtonFace{236, 233, 216};
constexpr Rgb kButtonShadow{172, 168, 153};
constexpr Rgb kButtonText{1, 2, 3};
constexpr Rgb kTooltip{255, 255, 225};
constexpr Rgb kWindow{250, 251, 252};
constexpr Rgb kDarkBlue{0, 0, 138};

Font MakeFont(std::string face, int charset, int points, bool bold = false)
{
    Font font;
    font.faceName = std::move(face);
    font.charset = charset;
    font.pointSize = points;
    font.bold = bold;
    return font;
}

const Look kHeader{MakeFont("Tahoma", 0, 9, true), kDarkBlue, kTooltip};
const Look kNameCells{MakeFont("HE_TERMINAL", 0, 9), kDarkBlue, kTooltip};
const Look kCells{MakeFont("HE_TERMINAL", 0, 9), kDarkBlue, kWindow};

struct TestRow {
    RowShape shape;
    std::string groupText;
    std::vector<std::string> cells;
};

TestRow Group(int level, std::string text, bool expanded = true)
{
    return TestRow{RowShape{RowKind::Group, level, expanded}, std::move(text), {}};
}

TestRow Data(std::vector<std::string> cells)
{
    return TestRow{RowShape{RowKind::Data, 0, false}, {}, std::move(cells)};
}

class TestRows final : public RowSource {
public:
    explicit TestRows(std::vector<TestRow> rows)
        : rows_(std::move(rows))
    {}
    std::size_t rowCount() const override { return rows_.size(); }
    RowShape shape(std::size_t row) const override { return rows_.at(row).shape; }
    std::string_view groupText(std::size_t row, std::string &) const override
    {
        return rows_.at(row).groupText;
    }
    std::string_view cellText(std::size_t row, std::size_t column, std::string &) const override
    {
        return rows_.at(row).cells.at(column);
    }

private:
    std::vector<TestRow> rows_;
};

// The grid of the fixture: company, department, name, telephone and town columns, of which
// `visible` are shown (in that order) under `levels` grouping levels.
GridLayout FixtureLayout(const std::vector<std::string> &visible, int levels)
{
    struct Known {
        std::string caption;
        int width;
        Look content;
    };
    const std::vector<Known> known = {{"Ditta", 223, kCells},
                                      {"Reparto", 228, kCells},
                                      {"NOMINATIVO", 197, kNameCells},
                                      {"Tel. 1", 100, kCells},
                                      {"Localita", 120, kCells}};
    GridLayout layout;
    layout.title = "/opt/velistra/R&D <1>/Te02Lst.html";
    layout.groupLevels = levels;
    layout.groupRow = Look{MakeFont("MS Sans Serif", 1, 8), kButtonText, kButtonFace};
    layout.expandButton = Look{MakeFont("Tahoma", 0, 8), kButtonText, kButtonFace};
    layout.gridLine = kButtonShadow;
    for (const std::string &caption : visible) {
        for (const Known &k : known) {
            if (k.caption != caption)
                continue;
            Column column;
            column.caption = k.caption;
            column.headerWidth = k.width;
            column.header = kHeader;
            column.content = k.content;
            layout.columns.push_back(column);
        }
    }
    // On screen the first header also spans the group indents.
    layout.columns.front().headerWidth += 16 * levels;
    return layout;
}

const std::string kAlfa = "ALFA & FIGLI";
const std::string kCaffe = "CAFF\xC8 BETA";
const std::string kRnD = "R&D <NORD>";
const std::string kForli = "FORL\xCC";

struct GoldenCase {
    const char *name;
    const char *golden;
    std::vector<std::string> visible;
    int levels;
    std::vector<TestRow> rows;
};

std::vector<GoldenCase> GoldenCases()
{
    return {
        {"grouped by company and department",
         "grouped.html",
         {"NOMINATIVO", "Tel. 1", "Localita"},
         2,
         {Group(0, "Ditta : " + kAlfa), Group(1, "Reparto : " + kRnD),
          Data({"BIANCHI", "", "TORINO"}), Data({"VERDI \"GINO\"", "011 99", ""}),
          Group(0, "Ditta : " + kCaffe), Group(1, "Reparto : ACQUISTI"),
          Data({"ROSSI MARIO", "02 1234", kForli}), Group(1, "Reparto : VENDITE"),
          Data({"NERI", "", "PAVIA"})}},
        {"grouped by company only",
         "company.html",
         {"Reparto", "NOMINATIVO", "Tel. 1", "Localita"},
         1,
         {Group(0, "Ditta : " + kAlfa), Data({kRnD, "BIANCHI", "", "TORINO"}),
          Data({kRnD, "VERDI \"GINO\"", "011 99", ""}), Group(0, "Ditta : " + kCaffe),
          Data({"VENDITE", "NERI", "", "PAVIA"}),
          Data({"ACQUISTI", "ROSSI MARIO", "02 1234", kForli})}},
        {"not grouped",
         "flat.html",
         {"Ditta", "Reparto", "NOMINATIVO", "Tel. 1", "Localita"},
         0,
         {Data({kCaffe, "VENDITE", "NERI", "", "PAVIA"}),
          Data({kAlfa, kRnD, "BIANCHI", "", "TORINO"}),
          Data({kCaffe, "ACQUISTI", "ROSSI MARIO", "02 1234", kForli}),
          Data({kAlfa, kRnD, "VERDI \"GINO\"", "011 99", ""})}},
        {"filter lets nothing through",
         "filtered_out.html",
         {"NOMINATIVO", "Tel. 1", "Localita"},
         2,
         {}},
    };
}

TEST(HtmlDocument, PagesMatchTheHandWrittenGoldenPages)
{
    for (const GoldenCase &c : GoldenCases()) {
        SCOPED_TRACE(c.name);
        const std::string page = BuildPage(FixtureLayout(c.visible, c.levels), TestRows(c.rows));
        EXPECT_EQ(html_test::FirstDifference(html_test::ReadGolden(c.golden), page), "");
    }
}

// The table part of a page, from the width row on.
std::string TableOf(const std::string &page)
{
    return page.substr(page.find("<TABLE"));
}

// A last row that is a group row (possible when a group is collapsed) closes the bottom edge
// with its indentation cell only, and a collapsed group shows "+". Only the levels that have
// group rows widen their indentation column.
TEST(HtmlDocument, CollapsedLastGroupRowClosesTheBottomEdgeOfItsIndentation)
{
    GridLayout layout = FixtureLayout({"NOMINATIVO"}, 3);
    layout.columns[0].headerAlign = Align::Center;
    layout.columns[0].textAlign = Align::Right;
    const std::string page = BuildPage(
        layout, TestRows({Group(0, "A"), Group(1, "B"), Data({"x"}), Group(1, "C", false)}));
    EXPECT_EQ(TableOf(page), "<TABLE BORDER=0 CELLSPACING=0>\r\n"
                             "<TR>\r\n"
                             "<TD  WIDTH=17 HEIGHT=0></TD>\r\n"
                             "<TD  WIDTH=17 HEIGHT=0></TD>\r\n"
                             "<TD  WIDTH=16 HEIGHT=0></TD>\r\n"
                             "<TD  WIDTH=197 HEIGHT=0></TD>\r\n"
                             "</TR>\r\n"
                             "<TR>\r\n"
                             "<TD COLSPAN=4 NOWRAP ALIGN=CENTER CLASS=Style0>NOMINATIVO</TD>\r\n"
                             "</TR>\r\n"
                             "<TR>\r\n"
                             "<TD NOWRAP ALIGN=CENTER CLASS=Style1>-</TD>\r\n"
                             "<TD COLSPAN=3 NOWRAP ALIGN=LEFT CLASS=Style2>A</TD>\r\n"
                             "</TR>\r\n"
                             "<TR>\r\n"
                             "<TD NOWRAP ALIGN=CENTER CLASS=Style3>&nbsp</TD>\r\n"
                             "<TD NOWRAP ALIGN=CENTER CLASS=Style1>-</TD>\r\n"
                             "<TD COLSPAN=2 NOWRAP ALIGN=LEFT CLASS=Style2>B</TD>\r\n"
                             "</TR>\r\n"
                             "<TR>\r\n"
                             "<TD NOWRAP ALIGN=CENTER CLASS=Style3>&nbsp</TD>\r\n"
                             "<TD NOWRAP ALIGN=CENTER CLASS=Style3>&nbsp</TD>\r\n"
                             "<TD NOWRAP ALIGN=CENTER CLASS=Style3>&nbsp</TD>\r\n"
                             "<TD NOWRAP ALIGN=RIGHT CLASS=Style4>x</TD>\r\n"
                             "</TR>\r\n"
                             "<TR>\r\n"
                             "<TD NOWRAP ALIGN=CENTER CLASS=Style5>&nbsp</TD>\r\n"
                             "<TD NOWRAP ALIGN=CENTER CLASS=Style1>+</TD>\r\n"
                             "<TD COLSPAN=2 NOWRAP ALIGN=LEFT CLASS=Style2>C</TD>\r\n"
                             "</TR>\r\n"
                             "</TABLE>\r\n"
                             "</BODY>\r\n"
                             "</HTML>");
    EXPECT_NE(page.find(".Style5 { border-style: solid; padding: 3; border-left-width: 1; "
                        "border-top-width: 0; border-right-width: 1; border-bottom-width: 1;"),
              std::string::npos);
    EXPECT_EQ(page.find(".Style6"), std::string::npos);
}

// Cells that look alike share a class even when they are different kinds of cell. The last
// row's indentation registers its plain class first, as every data row does, and then the
// closed variant; the plain one stays in the style block even though no cell uses it.
TEST(HtmlDocument, CellsThatLookAlikeShareOneClass)
{
    GridLayout layout = FixtureLayout({"Tel. 1", "Localita"}, 1);
    layout.columns[1].content = kHeader;  // the town's cells look like the headers
    const std::string page = BuildPage(layout, TestRows({Group(0, "A"), Data({"1", "T"})}));
    EXPECT_NE(TableOf(page).find("<TR>\r\n"
                                 "<TD NOWRAP ALIGN=CENTER CLASS=Style5>&nbsp</TD>\r\n"
                                 "<TD NOWRAP ALIGN=LEFT CLASS=Style4>1</TD>\r\n"
                                 "<TD NOWRAP ALIGN=LEFT CLASS=Style0>T</TD>\r\n"
                                 "</TR>\r\n"
                                 "</TABLE>"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find(".Style3 { border-style: solid; padding: 3; border-left-width: 1; "
                        "border-top-width: 0; border-right-width: 1; border-bottom-width: 0;"),
              std::string::npos);
    EXPECT_NE(page.find(".Style5 { border-style: solid; padding: 3; border-left-width: 1; "
                        "border-top-width: 0; border-right-width: 1; border-bottom-width: 1;"),
              std::string::npos);
    EXPECT_EQ(page.find(".Style6 {"), std::string::npos);
}

TEST(HtmlDocument, FontDeclarationsFollowTheFontsFlags)
{
    struct Case {
        const char *name;
        bool bold, italic, underline, strikeOut;
        const char *declarations;
    };
    const Case cases[] = {
        {"regular", false, false, false, false, " font-size: 9pt;"},
        {"bold italic", true, true, false, false,
         " font-weight: bold; font-style: italic; font-size: 9pt;"},
        {"underlined wins over struck out", false, false, true, true,
         " text-decoration: underline; font-size: 9pt;"},
        {"struck out", false, true, false, true,
         " font-style: italic; text-decoration: line-through; font-size: 9pt;"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        GridLayout layout = FixtureLayout({"Tel. 1"}, 0);
        Font &font = layout.columns[0].header.font;
        font.bold = c.bold;
        font.italic = c.italic;
        font.underline = c.underline;
        font.strikeOut = c.strikeOut;
        const std::string page = BuildPage(layout, TestRows({}));
        const std::string expected = std::string(" font-family: 'Tahoma'; mso-font-charset: 0;") +
                                     c.declarations +
                                     " color: rgb(0,0,138); background-color: rgb(255,255,225)}";
        EXPECT_NE(page.find(expected + "\r\n\r\n--></STYLE>"), std::string::npos) << page;
    }
}

TEST(HtmlDocument, TextsAreEscapedAndLineBreaksBecomeBr)
{
    struct Case {
        const char *name;
        std::string text;
        std::string escaped;
    };
    const Case cases[] = {
        {"markup characters", "a&b<c>d\"e'", "a&amp;b&lt;c&gt;d&quot;e'"},
        {"entity-looking text is escaped again", "&amp;", "&amp;amp;"},
        {"CR LF and a lone LF", "a\r\nb\nc", "a<BR>b<BR>c"},
        {"a lone CR stays", "a\rb\r", "a\rb\r"},
        {"CR before CR LF", "a\r\r\nb", "a\r<BR>b"},
        {"bytes above 127 unchanged", "caf\xE9 \x80", "caf\xE9 \x80"},
        {"nothing to escape", "PLAIN TEXT 123", "PLAIN TEXT 123"},
        {"empty", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::string out = "x";
        AppendEscaped(out, c.text);
        EXPECT_EQ(out, "x" + c.escaped);
    }
}

}  // namespace
