#include "ui/main/UFFMAIN.h"

#include "store/UDM1.h"

#include <QLabel>
#include <QVBoxLayout>

TFFMAIN *FFMAIN = nullptr;

TFFMAIN::TFFMAIN(QWidget *parent) : QWidget(parent), count_(new QLabel(this))
{
    setObjectName(QStringLiteral("FFMAIN"));
    setWindowTitle(QStringLiteral("  VELISTRA - Rubrica telefonica ditte (Versione freeware 1.0)   "));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(count_);
    count_->setText(QStringLiteral("%1 nominativi").arg(DM1->ScadData.recordCount()));
    resize(950, 548);
}

TFFMAIN::~TFFMAIN() = default;
