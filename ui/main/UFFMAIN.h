// The main window.
#pragma once

#include <QWidget>

class QLabel;

class TFFMAIN : public QWidget {
    Q_OBJECT
public:
    explicit TFFMAIN(QWidget *parent = nullptr);
    ~TFFMAIN() override;

private:
    QLabel *count_;
};

extern TFFMAIN *FFMAIN;
