// The report form holding the printed directory.
#pragma once

#include <QWidget>

class TFFQRSTSCAD : public QWidget {
    Q_OBJECT
public:
    explicit TFFQRSTSCAD(QWidget *parent = nullptr);
};

extern TFFQRSTSCAD *FFQRSTSCAD;
