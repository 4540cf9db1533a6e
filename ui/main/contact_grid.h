// The main window's contact grid `cxGrid1`: a kit::GridView configured with the directory's
// level, table view, columns, styles and options, grouped by company and then department.
#pragma once

#include "kit/grid/grid_types.h"

class QWidget;

namespace kit {
class DataSource;
class GridView;
}  // namespace kit

// The styles of the window's style repository `cxStyleRepository1` that the grid uses.
struct TContactGridStyles {
    kit::GridStyle cxStyle1;   // indicator column, headers of the hidden columns
    kit::GridStyle cxStyle10;  // cells of every column but "NOMINATIVO"
    kit::GridStyle cxStyle14;  // cells of "NOMINATIVO"
    kit::GridStyle cxStyle15;  // headers of the bound columns
    kit::GridStyle gridFont;   // the grid's own look: group rows, group-by box
};

// Resolves the system colours now; fonts that the desktop lacks are shown with a substitute,
// while the designed face name stays in `fontFaceName`.
TContactGridStyles ContactGridStyles();

// Creates `cxGrid1` as a child of `parent`, bound to `source` (the data module's `DSScad`).
kit::GridView *CreateContactGrid(QWidget *parent, kit::DataSource *source);
