#include "ui/info/UFMINFO.h"

TFFINFO *FFINFO = nullptr;

TFFINFO::TFFINFO(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FFINFO"));
}
