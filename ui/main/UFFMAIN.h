// The main window: the banner and title panels, the contact grid with the column of command
// buttons beside it, and the footer with the notice and the maker's link. Every command works
// on the contact table and its current record.
#pragma once

#include <QWidget>

class QLabel;
class QMenu;
class QAction;
class QPushButton;

namespace kit {
class BevelPanel;
class GridView;
class LinkField;
class SplitButton;
}  // namespace kit

class TFFMAIN : public QWidget {
    Q_OBJECT
public:
    explicit TFFMAIN(QWidget *parent = nullptr);
    ~TFFMAIN() override;

    void FormShow();
    void BBInserisciClick();
    void BBModificaClick();
    void BBCancellaClick();
    void BBEsciClick();
    void StampaTOTALE1Click();
    void StampaHTMLselezione1Click();
    void BBHelpClick();
    void BBInformaClick();

    // Hands a file to the desktop's open service: a bare file name is resolved against the
    // folder, which is also the working folder. The outcome is not examined.
    void OpenDocument(const QString &File, const QString &Parameters, const QString &Folder,
                      int ShowMode);

    kit::BevelPanel *Panel1;
    QLabel *Image1;
    kit::BevelPanel *Panel8;
    kit::BevelPanel *Panel9;
    kit::BevelPanel *Panel10;
    kit::BevelPanel *Panel3;
    kit::BevelPanel *Panel6;
    kit::GridView *cxGrid1;
    kit::BevelPanel *Panel5;
    QPushButton *BBInserisci;
    QPushButton *BBModifica;
    QPushButton *BBCancella;
    kit::SplitButton *BBStampa;
    QPushButton *BBEsci;
    kit::BevelPanel *Panel2;
    QLabel *StaticText1;
    kit::BevelPanel *Panel4;
    kit::LinkField *cxHyperLinkEdit3;
    QLabel *StaticText2;
    kit::BevelPanel *Panel7;
    QPushButton *BBHelp;
    QPushButton *BBInforma;
    QMenu *PopupMenu1;
    QAction *StampaTOTALE1;
    QAction *StampaHTMLselezione1;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildBanner();
    void buildDirectory();
    void buildFooter();
    void openDocumentation(const char *name);
};

extern TFFMAIN *FFMAIN;
