// The report form holding the printed directory: an A4 page with a heading on the first page and
// a three-line block per contact, bound to the contact table. The form itself is never shown.
#pragma once

#include <QString>
#include <QWidget>

namespace kit {
class Report;
class ReportBand;
}  // namespace kit

class TFFQRSTSCAD : public QWidget {
    Q_OBJECT
public:
    explicit TFFQRSTSCAD(QWidget *parent = nullptr);
    // Previews the directory report and returns when the preview window has closed or the
    // program is ending. The walk leaves the table on its last record.
    void ShowReportPreview();

    // The report title: the preview's caption and the print job's name.
    static QString ReportTitle();

    kit::Report *QRSTScad;
    kit::ReportBand *QRBand1;
    kit::ReportBand *QRBand2;

private:
    void BuildTitleBand();
    void BuildDetailBand();
    void BindToDataModule();
};

extern TFFQRSTSCAD *FFQRSTSCAD;
