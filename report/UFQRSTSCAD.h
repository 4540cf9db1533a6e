// The report form holding the printed directory.
#pragma once

#include <QWidget>

class TFFQRSTSCAD : public QWidget {
    Q_OBJECT
public:
    explicit TFFQRSTSCAD(QWidget *parent = nullptr);
    // Previews the directory report and returns when the preview window has closed.
    void ShowReportPreview();
};

extern TFFQRSTSCAD *FFQRSTSCAD;
