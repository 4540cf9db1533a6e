// The contact editor dialog.
#pragma once

#include <QDialog>

class TFMFSCAD : public QDialog {
    Q_OBJECT
public:
    explicit TFMFSCAD(QWidget *parent = nullptr);
};

extern TFMFSCAD *FMFSCAD;
