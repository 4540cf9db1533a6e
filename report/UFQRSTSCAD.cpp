#include "report/UFQRSTSCAD.h"

#include "kit/report/report.h"
#include "kit/report/report_preview.h"
#include "store/UDM1.h"

#include <QApplication>
#include <QPalette>

TFFQRSTSCAD *FFQRSTSCAD = nullptr;

using namespace kit::units;

namespace {

// The desktop's window-text colour, black by default.
QColor WindowText()
{
    return QApplication::palette().color(QPalette::Active, QPalette::WindowText);
}

const QColor Grey(128, 128, 128);

kit::TextStyle Style(qreal points, const QColor &color, bool bold = false, bool italic = false,
                     bool underline = false)
{
    kit::TextStyle style;
    style.font = {QStringLiteral("Courier New"), points, bold, italic, underline};
    style.color = color;
    return style;
}

kit::TextStyle Centred(kit::TextStyle style)
{
    style.alignment = kit::TextAlignment::Center;
    return style;
}

kit::TextStyle SizedToText(kit::TextStyle style)
{
    style.autoSize = true;
    return style;
}

}  // namespace

TFFQRSTSCAD::TFFQRSTSCAD(QWidget *parent)
    : QWidget(parent)
    , QRSTScad(new kit::Report(this))
{
    setObjectName(QStringLiteral("FFQRSTSCAD"));
    QRSTScad->setObjectName(QStringLiteral("QRSTScad"));
    QRSTScad->setTitle(ReportTitle());
    kit::PageSetup a4;
    a4.paperWidth = 210.0_mm;
    a4.paperHeight = 297.0_mm;
    a4.topMargin = 10.0_mm;
    a4.bottomMargin = 10.0_mm;
    a4.leftMargin = 5.0_mm;
    a4.rightMargin = 5.0_mm;
    QRSTScad->setPageSetup(a4);
    BuildTitleBand();
    BuildDetailBand();
    BindToDataModule();
}

QString TFFQRSTSCAD::ReportTitle()
{
    return QStringLiteral("STAMPA RUBRICA TELEFONICA DITTE");
}

void TFFQRSTSCAD::BuildTitleBand()
{
    QRBand1 = QRSTScad->addBand(QStringLiteral("QRBand1"), kit::BandKind::Title, 23.55_mm);
    const kit::TextStyle caption = Style(9, Grey);
    QRBand1->addLabel(
        QStringLiteral("QRLTipo"), QStringLiteral("STAMPA RUBRICA TELEFONICA DITTE: Totale"),
        {0.00_mm, 9.26_mm, 200.29_mm, 5.03_mm}, Centred(Style(12, WindowText(), true)));
    // The wider captions take the width of their text rather than break.
    QRBand1->addLabel(QStringLiteral("QRLabel4"), QStringLiteral("Nominativo (Ditta/reparto)"),
                      {0.00_mm, 16.93_mm, 48.42_mm, 4.50_mm}, SizedToText(caption));
    QRBand1->addLabel(QStringLiteral("QRLabel5"), QStringLiteral("1°/2° Telefono"),
                      {94.46_mm, 16.93_mm, 26.19_mm, 4.50_mm}, SizedToText(caption));
    QRBand1->addLabel(QStringLiteral("QRLabel6"), QStringLiteral("1°2° Fax"),
                      {129.65_mm, 16.93_mm, 17.46_mm, 4.50_mm}, caption);
    QRBand1->addLabel(QStringLiteral("QRLabel7"), QStringLiteral("1°/2° Cellulare"),
                      {164.57_mm, 16.93_mm, 31.49_mm, 4.50_mm}, caption);
    QRBand1->addRule(QStringLiteral("QRShape1"), {0.00_mm, 21.17_mm, 200.29_mm, 2.38_mm}, 2, Grey);
    QRBand1->addRule(QStringLiteral("QRShape2"), {0.00_mm, 14.82_mm, 200.29_mm, 2.38_mm}, 2, Grey);
    QRBand1->addLabel(
        QStringLiteral("QRLabel1"), QStringLiteral("VELISTRA - Rubrica telefonica ditte"),
        {0.00_mm, 1.06_mm, 189.97_mm, 7.41_mm}, Centred(Style(10, Grey, true, false, true)));
}

void TFFQRSTSCAD::BuildDetailBand()
{
    QRBand2 = QRSTScad->addBand(QStringLiteral("QRBand2"), kit::BandKind::Detail, 15.35_mm);
    const kit::TextStyle value = Style(9, WindowText());
    const kit::TextStyle company = Style(9, WindowText(), false, true, true);
    auto field = [this](const char *name, const char *fieldName, kit::Box box,
                        const kit::TextStyle &style) {
        QRBand2->addField(QLatin1String(name), QLatin1String(fieldName), box, style);
    };
    field("QRDBText2", "Nome", {0.00_mm, 0.00_mm, 93.40_mm, 4.50_mm},
          Style(9, WindowText(), true, false, true));
    field("QRDBText3", "Telefono1", {95.25_mm, 0.00_mm, 34.40_mm, 4.50_mm}, value);
    field("QRDBText4", "Fax1", {129.12_mm, 0.00_mm, 34.40_mm, 4.50_mm}, value);
    field("QRDBText5", "Cellulare1", {165.10_mm, 0.00_mm, 34.40_mm, 4.50_mm}, value);
    QRBand2->addLabel(QStringLiteral("QRLabel2"), QStringLiteral("E-mail:"),
                      {80.43_mm, 9.00_mm, 13.23_mm, 4.50_mm}, SizedToText(Style(9, Grey)));
    QRBand2->addRule(QStringLiteral("QRShape3"), {0.00_mm, 12.96_mm, 200.29_mm, 2.38_mm}, 1, Grey);
    field("QRDBText6", "Telefono2", {95.25_mm, 4.23_mm, 34.40_mm, 4.50_mm}, value);
    field("QRDBText7", "Fax2", {129.12_mm, 4.23_mm, 34.40_mm, 4.50_mm}, value);
    field("QRDBText8", "Cellulare2", {165.10_mm, 4.23_mm, 34.40_mm, 4.50_mm}, value);
    field("QRDBText9", "E_mail", {95.25_mm, 9.00_mm, 103.98_mm, 4.50_mm}, value);
    field("QRDBText1", "Ditta", {4.23_mm, 4.23_mm, 89.16_mm, 4.50_mm}, company);
    field("QRDBText10", "Reparto", {4.23_mm, 8.47_mm, 72.23_mm, 4.50_mm}, company);
}

void TFFQRSTSCAD::BindToDataModule()
{
    QRSTScad->setTable(DM1 ? &DM1->ScadData : nullptr);
}

void TFFQRSTSCAD::ShowReportPreview()
{
    BindToDataModule();
    kit::PreviewReport(*QRSTScad);
}
