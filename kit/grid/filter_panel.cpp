#include "kit/grid/filter_panel.h"

#include "kit/grid/filter_criteria.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace kit {

FilterPanel::FilterPanel(QWidget *parent)
    : QFrame(parent)
    , remove_(new QToolButton(this))
    , active_(new QCheckBox(this))
    , text_(new QLabel(this))
    , recentButton_(new QToolButton(this))
    , recentMenu_(new QMenu(this))
    , customize_(new QPushButton(this))
{
    setObjectName(QStringLiteral("filterPanel"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    remove_->setObjectName(QStringLiteral("filterRemoveButton"));
    remove_->setText(QStringLiteral("\u00D7"));
    remove_->setAutoRaise(true);
    active_->setObjectName(QStringLiteral("filterActiveCheck"));
    active_->setChecked(true);
    text_->setObjectName(QStringLiteral("filterText"));
    text_->setTextFormat(Qt::PlainText);
    text_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    recentButton_->setObjectName(QStringLiteral("filterRecentButton"));
    recentButton_->setArrowType(Qt::DownArrow);
    recentButton_->setAutoRaise(true);
    recentButton_->setPopupMode(QToolButton::InstantPopup);
    recentButton_->setMenu(recentMenu_);
    recentButton_->setEnabled(false);
    recentMenu_->setObjectName(QStringLiteral("filterRecentMenu"));
    customize_->setObjectName(QStringLiteral("filterCustomizeButton"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(4);
    layout->addWidget(remove_);
    layout->addWidget(active_);
    layout->addWidget(text_, 1);
    layout->addWidget(recentButton_);
    layout->addWidget(customize_);

    connect(remove_, &QToolButton::clicked, this, &FilterPanel::removeClicked);
    connect(active_, &QCheckBox::clicked, this, &FilterPanel::activeToggled);
    connect(customize_, &QPushButton::clicked, this, &FilterPanel::customizeClicked);
    retranslate();
}

void FilterPanel::setFilterText(const QString &text)
{
    filterText_ = text;
    retranslate();
}

QString FilterPanel::filterText() const
{
    return text_->text();
}

void FilterPanel::setFilterActive(bool active)
{
    active_->setChecked(active);
}

bool FilterPanel::isFilterActive() const
{
    return active_->isChecked();
}

void FilterPanel::setRecentFilters(const QStringList &descriptions)
{
    recent_ = descriptions;
    recentMenu_->clear();
    for (int i = 0; i < recent_.size(); ++i) {
        QAction *action = recentMenu_->addAction(recent_[i]);
        connect(action, &QAction::triggered, this, [this, i] { emit recentChosen(i); });
    }
    recentButton_->setEnabled(!recent_.isEmpty());
}

void FilterPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

void FilterPanel::retranslate()
{
    text_->setText(filterText_.isEmpty() ? gridText("<Filter is Empty>") : filterText_);
    text_->setToolTip(filterText_);
    customize_->setText(gridText("Customize..."));
}

}  // namespace kit
