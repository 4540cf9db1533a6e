#include "ui/editor/UFMFSCAD.h"

TFMFSCAD *FMFSCAD = nullptr;

TFMFSCAD::TFMFSCAD(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FMFSCAD"));
}
