#include "ui/main/UFFMAIN.h"

#include "kit/dataset/file_io.h"
#include "kit/forms/bevel_panel.h"
#include "kit/forms/desktop_services.h"
#include "kit/forms/link_field.h"
#include "kit/forms/look.h"
#include "kit/forms/message_box.h"
#include "kit/forms/split_button.h"
#include "kit/grid/grid_view.h"
#include "kit/grid/html_export.h"
#include "report/UFQRSTSCAD.h"
#include "store/UDM1.h"
#include "store/app_dir.h"
#include "ui/editor/UFMFSCAD.h"
#include "ui/info/UFMINFO.h"
#include "ui/main/contact_grid.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

TFFMAIN *FFMAIN = nullptr;

namespace {

const QString kCaption =
    QStringLiteral("  VELISTRA - Rubrica telefonica ditte (Versione freeware 1.0)   ");
const QString kNotice = QStringLiteral("Freeware realizzato da Velistra Software");
const QString kMakerAddress = QStringLiteral("www.velistra.it");

QString appDir()
{
    return QString::fromStdString(AppDir);
}

QPushButton *makeButton(const char *name, const QString &caption, QWidget *parent,
                        const QRect &geometry, const QFont &font)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setFont(font);
    kit::applyOfficeButtonLook(button);
    return button;
}

kit::BevelPanel *makePanel(const char *name, QWidget *parent, const kit::BevelStyle &style,
                           const QColor &color)
{
    auto *panel = new kit::BevelPanel(parent, style);
    panel->setObjectName(QLatin1String(name));
    panel->setColor(color);
    return panel;
}

QLabel *makeStaticText(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, kit::buttonFaceColor());
    p.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(p);
    return label;
}

}  // namespace

TFFMAIN::TFFMAIN(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FFMAIN"));
    setWindowTitle(kCaption);
    setFont(kit::designFont(QStringLiteral("MS Sans Serif"), 11));
    QPalette p = palette();
    p.setColor(QPalette::Window, kit::buttonFaceColor());
    setPalette(p);
    setAutoFillBackground(true);

    auto *edges = new kit::EdgeLayout(this);
    buildBanner();
    buildDirectory();
    buildFooter();
    edges->addWidget(Panel1, kit::Edge::Top, 89);
    edges->addWidget(Panel2, kit::Edge::Bottom, 49);
    edges->addWidget(Panel3, kit::Edge::Fill);

    // The Tab key cycles through the grid and the command buttons only.
    setTabOrder(cxGrid1, BBInserisci);
    setTabOrder(BBInserisci, BBModifica);
    setTabOrder(BBModifica, BBCancella);
    setTabOrder(BBCancella, BBStampa);
    setTabOrder(BBStampa, BBEsci);

    // The restored size, centred on the desktop; the window starts maximised.
    resize(950, 548);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect outer(0, 0, 966, 587);
        outer.moveCenter(screen->availableGeometry().center());
        move(outer.topLeft());
    }
    setWindowState(Qt::WindowMaximized);
}

TFFMAIN::~TFFMAIN() = default;

void TFFMAIN::buildBanner()
{
    const QColor light = kit::light3DColor();
    Panel1 =
        makePanel("Panel1", this, {kit::Bevel::Lowered, kit::Bevel::Raised, 3, 0, false}, light);
    Panel8 =
        makePanel("Panel8", Panel1, {kit::Bevel::Lowered, kit::Bevel::Raised, 1, 0, false}, light);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap(QStringLiteral(":/ui/main/banner.png")));
    Image1->setAlignment(Qt::AlignCenter);
    Panel1->edges()->addWidget(Panel8, kit::Edge::Right, 168);
    Panel1->edges()->addWidget(Image1, kit::Edge::Fill);

    const kit::BevelStyle title{kit::Bevel::Lowered, kit::Bevel::Raised, 2, 0, true};
    Panel9 = makePanel("Panel9", Panel8, title, kit::buttonFaceColor());
    Panel9->setCaption(QStringLiteral("Rubrica Ditte"));
    Panel9->setFont(kit::designFont(QStringLiteral("Tahoma"), 16, true));
    Panel10 = makePanel("Panel10", Panel8, title, kit::buttonFaceColor());
    Panel10->setCaption(QStringLiteral("Versione free 1.0"));
    Panel10->setFont(kit::designFont(QStringLiteral("Tahoma"), 15));
    for (kit::BevelPanel *panel : {Panel9, Panel10}) {
        QPalette p = panel->palette();
        p.setColor(QPalette::WindowText, kit::highlightColor());
        panel->setPalette(p);
    }
    Panel8->edges()->addWidget(Panel9, kit::Edge::Top, 39);
    Panel8->edges()->addWidget(Panel10, kit::Edge::Fill);
}

void TFFMAIN::buildDirectory()
{
    const QColor light = kit::light3DColor();
    Panel3 =
        makePanel("Panel3", this, {kit::Bevel::Lowered, kit::Bevel::Raised, 3, 1, false}, light);
    Panel6 =
        makePanel("Panel6", Panel3, {kit::Bevel::Lowered, kit::Bevel::Lowered, 1, 0, false}, light);
    Panel3->edges()->addWidget(Panel6, kit::Edge::Fill);

    cxGrid1 = CreateContactGrid(Panel6, &DM1->DSScad);
    cxGrid1->setObjectName(QStringLiteral("cxGrid1"));
    Panel5 =
        makePanel("Panel5", Panel6, {kit::Bevel::Lowered, kit::Bevel::Raised, 2, 0, true}, light);
    Panel6->edges()->addWidget(Panel5, kit::Edge::Right, 142);
    Panel6->edges()->addWidget(cxGrid1, kit::Edge::Fill);

    const QFont font = kit::designFont(QStringLiteral("Tahoma"), 15);
    BBInserisci =
        makeButton("BBInserisci", QStringLiteral("Inserisci"), Panel5, {8, 8, 121, 33}, font);
    BBModifica =
        makeButton("BBModifica", QStringLiteral("Modifica"), Panel5, {8, 40, 121, 33}, font);
    BBCancella =
        makeButton("BBCancella", QStringLiteral("Cancella"), Panel5, {8, 72, 121, 33}, font);
    BBStampa = new kit::SplitButton(QStringLiteral("Stampa"), Panel5);
    BBStampa->setObjectName(QStringLiteral("BBStampa"));
    BBStampa->setGeometry(8, 104, 121, 33);
    BBStampa->setFont(font);
    kit::applyOfficeButtonLook(BBStampa);
    BBEsci = makeButton("BBEsci", QStringLiteral("Esci"), Panel5, {8, 160, 121, 33}, font);
    // Enter on a focused command button runs it, as Space does; "Stampa" has no command.
    for (QPushButton *button : {BBInserisci, BBModifica, BBCancella, BBEsci})
        button->setAutoDefault(true);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    StampaTOTALE1 = PopupMenu1->addAction(QStringLiteral("Stampa TOTALE"));
    StampaTOTALE1->setObjectName(QStringLiteral("StampaTOTALE1"));
    StampaHTMLselezione1 = PopupMenu1->addAction(QStringLiteral("Stampa HTML (selezione)"));
    StampaHTMLselezione1->setObjectName(QStringLiteral("StampaHTMLselezione1"));
    BBStampa->setDropDownMenu(PopupMenu1);

    connect(BBInserisci, &QPushButton::clicked, this, [this] { BBInserisciClick(); });
    connect(BBModifica, &QPushButton::clicked, this, [this] { BBModificaClick(); });
    connect(BBCancella, &QPushButton::clicked, this, [this] { BBCancellaClick(); });
    connect(BBEsci, &QPushButton::clicked, this, [this] { BBEsciClick(); });
    connect(StampaTOTALE1, &QAction::triggered, this, [this] { StampaTOTALE1Click(); });
    connect(StampaHTMLselezione1, &QAction::triggered, this,
            [this] { StampaHTMLselezione1Click(); });
}

void TFFMAIN::buildFooter()
{
    const kit::BevelStyle inner{kit::Bevel::Lowered, kit::Bevel::Space, 1, 0, false};
    Panel2 = makePanel("Panel2", this, {kit::Bevel::Lowered, kit::Bevel::Raised, 3, 0, false},
                       kit::light3DColor());
    StaticText1 = makeStaticText("StaticText1", kNotice, Panel2);
    StaticText1->setFont(kit::designFont(QStringLiteral("MS Sans Serif"), 16));
    StaticText1->setAlignment(Qt::AlignCenter);
    StaticText1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StaticText1->setLineWidth(1);
    Panel4 = makePanel("Panel4", Panel2, inner, kit::buttonFaceColor());
    StaticText2 = makeStaticText("StaticText2", QString(), Panel2);
    Panel7 = makePanel("Panel7", Panel2, inner, kit::buttonFaceColor());
    // Right-docked panels go from the window's edge inwards.
    Panel2->edges()->addWidget(Panel7, kit::Edge::Right, 170);
    Panel2->edges()->addWidget(StaticText2, kit::Edge::Right, 4);
    Panel2->edges()->addWidget(Panel4, kit::Edge::Right, 226);
    Panel2->edges()->addWidget(StaticText1, kit::Edge::Fill);

    cxHyperLinkEdit3 = new kit::LinkField(kMakerAddress, Panel4);
    cxHyperLinkEdit3->setObjectName(QStringLiteral("cxHyperLinkEdit3"));
    cxHyperLinkEdit3->setGeometry(33, 4, 184, 28);
    cxHyperLinkEdit3->setFont(kit::designFont(QStringLiteral("MS Sans Serif"), 16, false, true));
    QPalette link = cxHyperLinkEdit3->palette();
    link.setColor(QPalette::Base, kit::buttonFaceColor());
    cxHyperLinkEdit3->setPalette(link);

    BBHelp = makeButton("BBHelp", QStringLiteral("?"), Panel7, {8, 8, 73, 21},
                        kit::designFont(QStringLiteral("Tahoma"), 15, true));
    BBInforma = makeButton("BBInforma", QStringLiteral("i"), Panel7, {96, 8, 65, 21},
                           kit::designFont(QStringLiteral("Tahoma"), 16, true));
    // Nothing ever shows these two.
    BBHelp->setVisible(false);
    BBInforma->setVisible(false);
    connect(BBHelp, &QPushButton::clicked, this, [this] { BBHelpClick(); });
    connect(BBInforma, &QPushButton::clicked, this, [this] { BBInformaClick(); });
}

void TFFMAIN::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFFMAIN::FormShow()
{
    BBInserisci->setFocus();
}

void TFFMAIN::BBInserisciClick()
{
    kit::Bookmark bookmark = DM1->ScadData.getBookmark();
    FMFSCAD->OpenForInsert();
    DM1->ScadData.gotoBookmark(bookmark);
    DM1->ScadData.freeBookmark(bookmark);
}

void TFFMAIN::BBModificaClick()
{
    if (DM1->ScadData.recordCount() == 0)
        return;
    kit::Bookmark bookmark = DM1->ScadData.getBookmark();
    FMFSCAD->OpenForModify();
    DM1->ScadData.gotoBookmark(bookmark);
    DM1->ScadData.freeBookmark(bookmark);
}

// The test counts the whole table, not the rows that the grid's filter lets through.
void TFFMAIN::BBCancellaClick()
{
    if (DM1->ScadData.recordCount() == 0)
        return;
    if (kit::confirm(QStringLiteral("Confermi cancellazione nominativo ?")))
        DM1->ScadData.deleteCurrent();
}

void TFFMAIN::BBEsciClick()
{
    close();
}

void TFFMAIN::StampaTOTALE1Click()
{
    if (DM1->ScadData.recordCount() == 0)
        return;
    FFQRSTSCAD->ShowReportPreview();
}

void TFFMAIN::StampaHTMLselezione1Click()
{
    if (DM1->ScadData.recordCount() == 0)
        return;
    kit::ExportGridToHtml(*cxGrid1, AppDir + HtmlFileName, "html");
    OpenDocument(QString::fromLatin1(HtmlFileName), QString(), appDir(), 5);
}

void TFFMAIN::openDocumentation(const char *name)
{
    if (kit::FileExists(AppDir + name))
        OpenDocument(QString::fromLatin1(name), QString(), appDir(), 5);
    else
        FFINFO->ShowModal();
}

void TFFMAIN::BBHelpClick()
{
    openDocumentation("vlshelp.pdf");
}

void TFFMAIN::BBInformaClick()
{
    openDocumentation("vlsinfo.pdf");
}

void TFFMAIN::OpenDocument(const QString &File, const QString &Parameters, const QString &Folder,
                           int ShowMode)
{
    kit::desktopServices().openDocument(this, File, Parameters, Folder, ShowMode);
}
