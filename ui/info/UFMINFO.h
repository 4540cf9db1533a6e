// The information window.
#pragma once

#include <QDialog>

class TFFINFO : public QDialog {
    Q_OBJECT
public:
    explicit TFFINFO(QWidget *parent = nullptr);
};

extern TFFINFO *FFINFO;
