// The contact editor: a modal dialog whose edit fields are bound to the current record of the
// contact table. In insert mode every confirmed entry is stored and a new empty one started at
// once; in modify mode the current entry is edited and "Conferma" stores it and closes. The
// dialog never leaves a pending record behind when it closes.
#pragma once

#include "kit/dataset/data_source.h"

#include <QDialog>

#include <vector>

class QLabel;
class QPushButton;

namespace kit {
class BevelPanel;
class DBEdit;
}  // namespace kit

class TFMFSCAD : public QDialog {
    Q_OBJECT
public:
    enum ModalResult { mrOk = 1, mrCancel = 2 };
    enum Mode { InsertMode = 1, ModifyMode = 2 };

    explicit TFMFSCAD(QWidget *parent = nullptr);
    ~TFMFSCAD() override;

    bool OpenForInsert();
    bool OpenForModify();
    bool ValidateInput(bool Test);

    void Button1Click();
    void Button2Click();
    void FormShow();
    void FormClose();
    // Runs for a key going down in the fields from the first telephone to the last hour field.
    void DBComboBox3KeyDown(QObject *Sender, int Key, Qt::KeyboardModifiers Shift);

    int EditorMode = InsertMode;
    QString ErrorText;
    kit::DBEdit *ErrorControl = nullptr;

    kit::DataSource DataSource1;

    kit::BevelPanel *Panel2;
    kit::BevelPanel *Panel4;
    kit::DBEdit *EDITDitta;
    kit::DBEdit *EDITREPARTO;
    kit::DBEdit *EDITNome;
    kit::DBEdit *EditTelefono1;
    kit::DBEdit *EDITTelefono2;
    kit::DBEdit *EDITFax1;
    kit::DBEdit *EDITFax2;
    kit::DBEdit *EDITCellulare1;
    kit::DBEdit *EDITCellulare2;
    kit::DBEdit *EDITEmail;
    kit::DBEdit *EDITLocalita;
    kit::DBEdit *EDITProvincia;
    kit::DBEdit *EDITAMDaOre;
    kit::DBEdit *EDITAMaore;
    kit::DBEdit *EDITPMDaore;
    kit::DBEdit *EDITPMaore;
    QPushButton *BBInserisci;
    QPushButton *BBEsci;

    void done(int result) override;
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLabels();
    void buildEdits();
    void buildButtons();
    void centreOnScreen();
    int runModal();
    void writeEdits();

    std::vector<kit::DBEdit *> edits_;  // in tab order
};

extern TFMFSCAD *FMFSCAD;
