#include "report/UFQRSTSCAD.h"

TFFQRSTSCAD *FFQRSTSCAD = nullptr;

TFFQRSTSCAD::TFFQRSTSCAD(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FFQRSTSCAD"));
}

void TFFQRSTSCAD::ShowReportPreview() {}
