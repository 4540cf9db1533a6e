// The information window: a fixed notice that the documentation lives on the maker's web site,
// with a link that opens it. Closed only through its frame; only hidden between uses, so what the
// user typed into the notice stays until the program ends.
#pragma once

#include <QDialog>

class QTextEdit;

namespace kit {
class BevelPanel;
class LinkField;
}  // namespace kit

class TFFINFO : public QDialog {
    Q_OBJECT
public:
    explicit TFFINFO(QWidget *parent = nullptr);

    // Centres the window on the screen and shows it modally until the user closes it.
    void ShowModal();

    kit::BevelPanel *Panel1;
    kit::BevelPanel *Panel3;
    kit::BevelPanel *Panel2;
    QTextEdit *Memo1;
    kit::LinkField *cxHyperLinkEdit1;
};

extern TFFINFO *FFINFO;
