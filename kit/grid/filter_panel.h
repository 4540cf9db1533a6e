// The band at the bottom of a filtered grid: a button that removes the filter, a check box that
// switches it off and on, the filter as text ("<Filter is Empty>" when there is none), a
// drop-down of the recently used filters and the "Customize..." button that opens the filter
// builder. It only shows and reports; GridFilterController acts.
#pragma once

#include <QFrame>
#include <QStringList>

class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace kit {

class FilterPanel : public QFrame {
    Q_OBJECT
public:
    explicit FilterPanel(QWidget *parent = nullptr);

    void setFilterText(const QString &text);  // empty: "<Filter is Empty>"
    QString filterText() const;               // as shown
    void setFilterActive(bool active);
    bool isFilterActive() const;
    // Descriptions of the recent filters, the latest first.
    void setRecentFilters(const QStringList &descriptions);
    QStringList recentFilters() const { return recent_; }

    QToolButton *removeButton() const noexcept { return remove_; }
    QCheckBox *activeCheck() const noexcept { return active_; }
    QLabel *textLabel() const noexcept { return text_; }
    QToolButton *recentButton() const noexcept { return recentButton_; }
    QMenu *recentMenu() const noexcept { return recentMenu_; }
    QPushButton *customizeButton() const noexcept { return customize_; }

signals:
    void removeClicked();
    void activeToggled(bool active);
    void recentChosen(int index);  // index in recentFilters()
    void customizeClicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QToolButton *remove_;
    QCheckBox *active_;
    QLabel *text_;
    QToolButton *recentButton_;
    QMenu *recentMenu_;
    QPushButton *customize_;
    QString filterText_;
    QStringList recent_;
};

}  // namespace kit
