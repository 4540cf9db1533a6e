// A small generic report over a two-field table, shared by the engine and preview tests.
#pragma once

#include "kit/dataset/mem_table.h"
#include "kit/report/report.h"

#include <QProcess>
#include <QString>

#include <memory>
#include <string>

namespace fixture {

using namespace kit::units;

inline kit::TextStyle mono(qreal points = 9)
{
    kit::TextStyle style;
    style.font = {QStringLiteral("Liberation Mono"), points, false, false, false};
    return style;
}

// A table with the fields "name" and "note" holding `records` entries "name 1", "name 2", ...
inline std::unique_ptr<kit::MemTable> table(int records)
{
    auto t =
        std::make_unique<kit::MemTable>(std::vector<kit::FieldDef>{{"name", 40}, {"note", 40}});
    t->open();
    for (int i = 1; i <= records; ++i) {
        t->append();
        t->setCurrentValue(0, "name " + std::to_string(i));
        t->setCurrentValue(1, "note " + std::to_string(i));
        t->post();
    }
    return t;
}

// A page whose usable height is exactly 100 mm: a title band of 25.04 mm (advance 25.0) and
// detail bands of 25.05 mm (advance 25.0, the tie going down), so the first page holds 3 records
// and the others 4, each page filled to the last tenth of a millimetre.
inline void define(kit::Report &report)
{
    kit::PageSetup setup;
    setup.paperWidth = 100.0_mm;
    setup.paperHeight = 120.0_mm;
    setup.topMargin = 12.0_mm;
    setup.bottomMargin = 8.0_mm;
    setup.leftMargin = 5.0_mm;
    setup.rightMargin = 5.0_mm;
    report.setPageSetup(setup);
    report.setTitle(QStringLiteral("Test report"));
    kit::ReportBand *title =
        report.addBand(QStringLiteral("title"), kit::BandKind::Title, 25.04_mm);
    title->addLabel(QStringLiteral("heading"), QStringLiteral("LIST"),
                    {0_mm, 2.0_mm, 90.0_mm, 6.0_mm}, mono(12));
    kit::ReportBand *detail =
        report.addBand(QStringLiteral("detail"), kit::BandKind::Detail, 25.05_mm);
    detail->addField(QStringLiteral("nameText"), QStringLiteral("NAME"),
                     {0_mm, 0_mm, 40.0_mm, 4.5_mm}, mono());
    detail->addLabel(QStringLiteral("noteLabel"), QStringLiteral("Note:"),
                     {0_mm, 5.0_mm, 20.0_mm, 4.5_mm}, mono());
    detail->addField(QStringLiteral("noteText"), QStringLiteral("Note"),
                     {20.0_mm, 5.0_mm, 40.0_mm, 4.5_mm}, mono());
    detail->addRule(QStringLiteral("rule"), {0_mm, 20.0_mm, 90.0_mm, 2.0_mm}, 1, Qt::gray);
}

// The page count that pdfinfo reads from a PDF file, -1 when it cannot.
inline int pdfPages(const QString &path)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    info.waitForFinished();
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    const qsizetype at = out.indexOf(QStringLiteral("Pages:"));
    return at < 0 ? -1 : out.mid(at + 6).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
}

}  // namespace fixture
