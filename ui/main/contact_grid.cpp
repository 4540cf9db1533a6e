#include "ui/main/contact_grid.h"

#include "kit/forms/look.h"
#include "kit/grid/filter_controller.h"
#include "kit/grid/grid_view.h"

#include <QApplication>
#include <QPalette>

namespace {

kit::GridStyle makeStyle(QColor background, const QString &face, int points, bool bold, QColor text,
                         int charset)
{
    kit::GridStyle style;
    style.background = background;
    style.font.setFamilies(kit::fontFamiliesFor(face));
    style.font.setPointSize(points);
    style.font.setBold(bold);
    style.textColor = text;
    style.fontFaceName = face;
    style.charset = charset;
    return style;
}

constexpr int kAnsiCharset = 0;
constexpr int kDefaultCharset = 1;

struct ColumnDesign {
    const char *field;
    const char *caption;
    int width;
    int groupIndex;
    bool nominativo;
};

// In the view's column order; a width of 0 keeps the view's default.
constexpr ColumnDesign kColumns[] = {
    {"ditta", "Ditta", 223, 0, false},          {"reparto", "Reparto", 228, 1, false},
    {"nome", "NOMINATIVO", 197, -1, true},      {"cellulare1", "Cell. 1", 100, -1, false},
    {"telefono1", "Tel. 1", 100, -1, false},    {"fax1", "Fax 1", 100, -1, false},
    {"e_mail", "e-mail", 268, -1, false},       {"provincia", "PR", 41, -1, false},
    {"localita", "Localita", 233, -1, false},   {"cellulare2", "Cell. 2", 100, -1, false},
    {"telefono2", "Tel. 2", 100, -1, false},    {"fax2", "Fax 2", 100, -1, false},
    {"am_daore", "Da Ore (AM)", 70, -1, false}, {"am_aore", "A Ore (AM)", 70, -1, false},
    {"pm_daore", "Da Ore (PM)", 70, -1, false}, {"pm_aore", "A Ore (PM)", 70, -1, false},
};

const QString kViewName = QStringLiteral("cxGrid1DBTableView1");

}  // namespace

TContactGridStyles ContactGridStyles()
{
    const QPalette palette = QApplication::palette();
    const QColor darkBlue(0, 0, 138);
    TContactGridStyles s;
    s.cxStyle1 = makeStyle(palette.color(QPalette::Midlight), QStringLiteral("MS Sans Serif"), 8,
                           false, palette.color(QPalette::WindowText), kDefaultCharset);
    s.cxStyle10 = makeStyle(palette.color(QPalette::Base), QStringLiteral("HE_TERMINAL"), 9, false,
                            darkBlue, kAnsiCharset);
    s.cxStyle14 = makeStyle(palette.color(QPalette::ToolTipBase), QStringLiteral("HE_TERMINAL"), 9,
                            false, darkBlue, kAnsiCharset);
    s.cxStyle15 = makeStyle(palette.color(QPalette::ToolTipBase), QStringLiteral("Tahoma"), 9, true,
                            darkBlue, kAnsiCharset);
    s.gridFont = makeStyle(palette.color(QPalette::Button), QStringLiteral("MS Sans Serif"), 8,
                           false, palette.color(QPalette::ButtonText), kDefaultCharset);
    return s;
}

kit::GridView *CreateContactGrid(QWidget *parent, kit::DataSource *source)
{
    const TContactGridStyles styles = ContactGridStyles();
    auto *grid = new kit::GridView(parent);
    grid->setObjectName(QStringLiteral("cxGrid1"));
    grid->setLevelName(QStringLiteral("cxGrid1Level1"));
    grid->setTableViewName(kViewName);
    grid->setGroupRowStyle(styles.gridFont);
    grid->setIndicatorStyle(styles.cxStyle1);
    grid->setIndicatorVisible(true);
    grid->setHideSelection(true);
    grid->setDeletingEnabled(true);  // and without confirmation
    grid->setGroupByBoxVisible(true);

    for (const ColumnDesign &design : kColumns) {
        kit::GridColumn column;
        column.name = kViewName + QLatin1String(design.field);
        column.caption = QString::fromLatin1(design.caption);
        column.fieldName = QString::fromLatin1(design.field);
        column.width = design.width;
        column.visible = true;  // the two grouped ones show in the group-by box instead
        column.groupIndex = design.groupIndex;
        column.contentStyle = design.nominativo ? styles.cxStyle14 : styles.cxStyle10;
        column.headerStyle = styles.cxStyle15;
        grid->addColumn(column);
    }
    for (const char *field : {"RecId", "NumScad"}) {
        kit::GridColumn column;
        column.name = kViewName + QLatin1String(field);
        column.fieldName = QString::fromLatin1(field);
        column.visible = false;
        column.headerStyle = styles.cxStyle1;
        grid->addColumn(column);
    }
    grid->setKeyField(QStringLiteral("NumScad"));
    grid->setDataSource(source);
    new kit::GridFilterController(grid);  // owned by the grid
    return grid;
}
