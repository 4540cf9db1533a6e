// The vocabulary of a banded report: lengths on paper, boxes, page set-up, text styles and the
// laid-out form of bands and their elements that a generated document keeps with its pages.
#pragma once

#include <QColor>
#include <QString>

#include <cstdint>
#include <vector>

namespace kit {

// A length on paper in hundredths of a millimetre: designs are given to 0.01 mm, and integers
// keep them exact where the band arithmetic has to round (see bandAdvance).
using Length = std::int32_t;

namespace units {
constexpr Length operator""_mm(long double mm)
{
    return static_cast<Length>(mm * 100 + (mm < 0 ? -0.5L : 0.5L));
}
constexpr Length operator""_mm(unsigned long long mm)
{
    return static_cast<Length>(mm * 100);
}
}  // namespace units

// Micrometres per Length unit: pages are laid out and painted in micrometres.
inline constexpr int kMicrometresPerLength = 10;

// How far the position moves down past a band: its height taken to whole tenths of a
// millimetre, a height halfway between two tenths going to the lower one (23.55 -> 23.5).
// The page-fit test uses the same value.
constexpr Length bandAdvance(Length height) noexcept
{
    return (height + 4) / 10 * 10;
}

struct Box {
    Length left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const Box &, const Box &) = default;
};

// Paper and margins; the page's origin is the paper's top-left corner.
struct PageSetup {
    Length paperWidth = 21000, paperHeight = 29700;  // A4 portrait
    Length topMargin = 1000, bottomMargin = 1000, leftMargin = 500, rightMargin = 500;

    Length usableWidth() const noexcept { return paperWidth - leftMargin - rightMargin; }
    Length usableHeight() const noexcept { return paperHeight - topMargin - bottomMargin; }
    friend bool operator==(const PageSetup &, const PageSetup &) = default;
};

struct TextFont {
    QString family;
    qreal pointSize = 10;
    bool bold = false, italic = false, underline = false;
    friend bool operator==(const TextFont &, const TextFont &) = default;
};

enum class TextAlignment : std::uint8_t { Left, Center, Right };

struct TextStyle {
    TextFont font;
    QColor color = Qt::black;
    TextAlignment alignment = TextAlignment::Left;
    // An auto-sized text takes the width of its text and is never broken into lines.
    bool autoSize = false;
    friend bool operator==(const TextStyle &, const TextStyle &) = default;
};

enum class ElementKind : std::uint8_t {
    Label,  // fixed text
    Field,  // the value of a data field on each record
    Rule,   // horizontal line across the box at its vertical middle
};

enum class BandKind : std::uint8_t {
    Title,   // printed once, at the top of the first page
    Detail,  // printed once per record
};

// One element as it is drawn. For a label `text` is what it prints, for a field the name of its
// data field; `fieldSlot` numbers the band's field elements 0, 1, ... in drawing order.
struct ElementLayout {
    QString name;
    ElementKind kind = ElementKind::Label;
    Box box;
    QString text;
    TextStyle style;
    int penWidth = 1;  // rules: in pixels of a 96 dpi screen, so 1 is 0.26 mm on paper
    int fieldSlot = -1;
    friend bool operator==(const ElementLayout &, const ElementLayout &) = default;
};

struct BandLayout {
    QString name;
    BandKind kind = BandKind::Detail;
    Length height = 0;
    std::vector<ElementLayout> elements;  // in drawing order: later boxes cover earlier ones
    int fieldCount = 0;
    friend bool operator==(const BandLayout &, const BandLayout &) = default;
};

}  // namespace kit
