// Plain value types shared by the grid's model, view and exporters.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <cstddef>
#include <optional>

namespace kit {

// How a part of the grid is drawn. `fontFaceName` is the face the design asks for, which the
// display may substitute (`font` holds the substitute); exporters write the designed name.
// `charset` is the designed character set number (0 ANSI, 1 the default set).
struct GridStyle {
    QColor background;
    QFont font;
    QColor textColor;
    QString fontFaceName;
    int charset = 1;
};

enum class SortOrder { None, Ascending, Descending };

// One column of the grid as designed. A column is shown in the header row when it is visible
// and not grouped; a grouped column shows in the group-by box instead.
struct GridColumn {
    QString name;       // also the objectName of the column's QObject
    QString caption;    // header text; may be empty
    QString fieldName;  // bound field, letter case ignored
    int width = 64;     // pixels
    bool visible = true;
    int groupIndex = -1;                    // grouping level, -1 when not grouped
    std::optional<GridStyle> contentStyle;  // empty: the view's default content style
    std::optional<GridStyle> headerStyle;   // empty: the view's default header style
    Qt::Alignment headerAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    Qt::Alignment textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    SortOrder sortOrder = SortOrder::None;  // designed sort; also the grouping order when grouped
};

enum class GridRowKind { Group, Data };

// One row of the grid in display order.
struct GridDisplayRow {
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    GridRowKind kind = GridRowKind::Data;
    int level = 0;          // 0 for the outermost group; data rows: the number of grouping levels
    bool expanded = false;  // group rows only
    std::size_t tableRow = npos;  // data rows: the record's table position; group rows: the
                                  // first record of the group in the grid's order
    int groupColumn = -1;         // group rows: the grouping column's index
};

}  // namespace kit
