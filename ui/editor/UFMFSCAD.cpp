#include "ui/editor/UFMFSCAD.h"

#include "kit/dbctrls/db_edit.h"
#include "kit/forms/bevel_panel.h"
#include "kit/forms/look.h"
#include "kit/forms/message_box.h"
#include "store/UDM1.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <utility>

TFMFSCAD *FMFSCAD = nullptr;

namespace {

const QString kFieldFace = QStringLiteral("HE_TERMINAL");

struct LabelDef {
    const char *caption;  // UTF-8
    int left, top, width, height;
};

constexpr LabelDef kLabels[] = {
    {"Ditta", 8, 24, 35, 15},           {"Reparto", 8, 48, 49, 15},
    {"Cognome/Nome", 8, 80, 84, 15},    {"1°/2° Telefono", 8, 120, 98, 15},
    {"1°/2° Fax", 8, 144, 63, 15},      {"1°/2° Cellulare", 8, 168, 105, 15},
    {"E-mail", 8, 196, 42, 15},         {"Località/Prov.", 8, 244, 98, 15},
    {"Orari", 440, 244, 35, 15},        {"____ AM ____", 479, 220, 84, 15},
    {"____ PM ____", 567, 220, 84, 15},
};

struct EditDef {
    kit::DBEdit *TFMFSCAD::*member;
    const char *name;
    const char *field;
    int left, top, width;
    kit::CharCase charCase;
    bool insertConfirms;
};

constexpr auto Upper = kit::CharCase::Upper;
constexpr auto Lower = kit::CharCase::Lower;

// In tab order.
const EditDef kEdits[] = {
    {&TFMFSCAD::EDITDitta, "EDITDitta", "ditta", 128, 16, 521, Upper, false},
    {&TFMFSCAD::EDITREPARTO, "EDITREPARTO", "reparto", 128, 40, 521, Upper, false},
    {&TFMFSCAD::EDITNome, "EDITNome", "nome", 128, 72, 521, Upper, false},
    {&TFMFSCAD::EditTelefono1, "EditTelefono1", "telefono1", 128, 112, 257, Upper, true},
    {&TFMFSCAD::EDITTelefono2, "EDITTelefono2", "telefono2", 392, 112, 257, Upper, true},
    {&TFMFSCAD::EDITFax1, "EDITFax1", "fax1", 128, 137, 257, Upper, true},
    {&TFMFSCAD::EDITFax2, "EDITFax2", "fax2", 392, 137, 257, Upper, true},
    {&TFMFSCAD::EDITCellulare1, "EDITCellulare1", "cellulare1", 128, 162, 257, Upper, true},
    {&TFMFSCAD::EDITCellulare2, "EDITCellulare2", "cellulare2", 392, 162, 257, Upper, true},
    {&TFMFSCAD::EDITEmail, "EDITEmail", "e_mail", 128, 189, 521, Lower, true},
    {&TFMFSCAD::EDITLocalita, "EDITLocalita", "localita", 128, 237, 273, Upper, true},
    {&TFMFSCAD::EDITProvincia, "EDITProvincia", "provincia", 400, 237, 33, Upper, true},
    {&TFMFSCAD::EDITAMDaOre, "EDITAMDaOre", "am_daore", 480, 237, 41, Upper, true},
    {&TFMFSCAD::EDITAMaore, "EDITAMaore", "am_aore", 520, 237, 41, Upper, true},
    {&TFMFSCAD::EDITPMDaore, "EDITPMDaore", "pm_daore", 568, 237, 41, Upper, true},
    {&TFMFSCAD::EDITPMaore, "EDITPMaore", "pm_aore", 608, 237, 41, Upper, true},
};

constexpr int kEditHeight = 23;

// Every character of a code up to 32 (blanks and control characters) trimmed from both ends.
QStringView trimmedForTest(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

}  // namespace

TFMFSCAD::TFMFSCAD(QWidget *parent)
    : QDialog(parent)
    , DataSource1(&DM1->ScadData)
{
    setObjectName(QStringLiteral("FMFSCAD"));
    setWindowTitle(QStringLiteral("INSERIMENTO/MODIFICA NOMINATIVO"));
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    resize(660, 324);

    Panel2 = new kit::BevelPanel(this, {kit::Bevel::Lowered, kit::Bevel::Raised, 1, 2, false});
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setColor(kit::light3DColor());
    // The panel fills the window; the controls in it hold their places from the top-left corner
    // when the window is resized.
    (new kit::EdgeLayout(this))->addWidget(Panel2, kit::Edge::Fill);

    buildLabels();
    buildEdits();

    Panel4 = new kit::BevelPanel(Panel2, {kit::Bevel::Lowered, kit::Bevel::Lowered, 1, 0, false});
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setColor(kit::highlightColor());
    Panel4->setGeometry(-16, 264, 681, 9);

    buildButtons();
}

TFMFSCAD::~TFMFSCAD() = default;

void TFMFSCAD::buildLabels()
{
    const QFont font = kit::designFont(kFieldFace, 12);
    for (const LabelDef &def : kLabels) {
        auto *label = new QLabel(QString::fromUtf8(def.caption), Panel2);
        label->setFont(font);
        label->setAutoFillBackground(true);
        QPalette p = label->palette();
        p.setColor(QPalette::Window, QColor(244, 243, 234));
        p.setColor(QPalette::WindowText, QColor(0, 128, 0));
        label->setPalette(p);
        // Labels size to their caption, as the designed widths were measured on the face.
        label->move(def.left, def.top);
        label->setMinimumSize(def.width, def.height);
        label->adjustSize();
    }
}

void TFMFSCAD::buildEdits()
{
    const QFont font = kit::designFont(kFieldFace, 12);
    for (const EditDef &def : kEdits) {
        auto *edit = new kit::DBEdit(Panel2);
        edit->setObjectName(QLatin1String(def.name));
        edit->setGeometry(def.left, def.top, def.width, kEditHeight);
        edit->setFont(font);
        QPalette p = edit->palette();
        p.setColor(QPalette::Text, QColor(0, 0, 138));
        p.setColor(QPalette::Base, kit::windowColor());
        edit->setPalette(p);
        edit->setCharCase(def.charCase);
        edit->bind(&DataSource1, QLatin1String(def.field));
        if (def.insertConfirms)
            edit->installEventFilter(this);
        this->*def.member = edit;
        edits_.push_back(edit);
    }
    for (std::size_t i = 1; i < edits_.size(); ++i)
        setTabOrder(edits_[i - 1], edits_[i]);
}

void TFMFSCAD::buildButtons()
{
    const QFont font = kit::designFont(QStringLiteral("Tahoma"), 15);
    auto make = [&](const char *name, const QString &caption, int left) {
        auto *button = new QPushButton(caption, Panel2);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(left, 280, 121, 33);
        button->setFont(font);
        // No default button: Enter never confirms nor closes.
        button->setAutoDefault(false);
        button->setDefault(false);
        kit::applyOfficeButtonLook(button);
        return button;
    };
    BBInserisci = make("BBInserisci", QStringLiteral("Conferma"), 400);
    BBEsci = make("BBEsci", QStringLiteral("Esci"), 528);
    setTabOrder(edits_.back(), BBInserisci);
    setTabOrder(BBInserisci, BBEsci);
    connect(BBInserisci, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(BBEsci, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TFMFSCAD::centreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect r = frameGeometry();
    r.moveCenter(screen->availableGeometry().center());
    move(r.topLeft());
}

int TFMFSCAD::runModal()
{
    centreOnScreen();
    return exec();
}

bool TFMFSCAD::OpenForInsert()
{
    EditorMode = InsertMode;
    return runModal() != mrCancel;
}

bool TFMFSCAD::OpenForModify()
{
    EditorMode = ModifyMode;
    return runModal() == mrOk;
}

bool TFMFSCAD::ValidateInput(bool Test)
{
    ErrorText.clear();
    bool result = true;
    if (!Test)
        return result;
    // Each failing check overrides the earlier ones, so the topmost empty field wins.
    const std::pair<kit::DBEdit *, const char *> checks[] = {
        {EDITNome, "Nominativo richiesto !"},
        {EDITREPARTO, "Reparto richiesto !"},
        {EDITDitta, "Ditta richiesta !"},
    };
    for (const auto &[edit, message] : checks) {
        if (trimmedForTest(edit->text()).isEmpty()) {
            result = false;
            ErrorText = QString::fromLatin1(message);
            ErrorControl = edit;
        }
    }
    return result;
}

void TFMFSCAD::writeEdits()
{
    for (kit::DBEdit *edit : edits_)
        edit->updateRecord();
}

void TFMFSCAD::Button1Click()
{
    if (!ValidateInput(true)) {
        kit::showMessage(ErrorText);
        ErrorControl->setFocus();
        return;
    }
    try {
        writeEdits();
        DM1->ScadData.post();
    } catch (const std::exception &) {
        // The entry stays pending and the dialog open; the user sees nothing.
        return;
    }
    if (EditorMode == InsertMode) {
        DM1->ScadData.append();
        EDITDitta->setFocus();
        ValidateInput(false);
    } else {
        done(mrOk);
    }
}

void TFMFSCAD::Button2Click()
{
    try {
        DM1->ScadData.cancel();
    } catch (const std::exception &) {
        // Leaving must always work.
    }
    done(mrCancel);
}

void TFMFSCAD::FormShow()
{
    if (EditorMode == InsertMode) {
        DM1->ScadData.refresh();
        DM1->ScadData.append();
        EDITDitta->setFocus();
        ValidateInput(false);
        return;
    }
    try {
        DM1->ScadData.edit();
        EDITDitta->setFocus();
        ValidateInput(false);
    } catch (const std::exception &) {
        kit::showMessage(QStringLiteral("Riga non disponibile !"));
    }
}

void TFMFSCAD::FormClose()
{
    const kit::DataSetState state = DM1->ScadData.state();
    if (state == kit::DataSetState::Edit || state == kit::DataSetState::Insert)
        DM1->ScadData.cancel();
}

void TFMFSCAD::DBComboBox3KeyDown(QObject *, int Key, Qt::KeyboardModifiers)
{
    if (Key == Qt::Key_Insert)
        Button1Click();
}

void TFMFSCAD::done(int result)
{
    FormClose();
    QDialog::done(result);
}

// Closing through the frame ends the dialog as "Esci" does.
void TFMFSCAD::reject()
{
    done(mrCancel);
}

void TFMFSCAD::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

// No button cancels: Escape on a button does not close the dialog.
void TFMFSCAD::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// The key still reaches the field afterwards.
bool TFMFSCAD::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        DBComboBox3KeyDown(watched, key->key(), key->modifiers());
    }
    return QDialog::eventFilter(watched, event);
}
