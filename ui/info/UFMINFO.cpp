#include "ui/info/UFMINFO.h"

#include "kit/forms/bevel_panel.h"
#include "kit/forms/link_field.h"
#include "kit/forms/look.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

TFFINFO *FFINFO = nullptr;

namespace {

const char *const kNotice[] = {
    "La documentazione e le informative relative ",
    "alle evoluzioni dell'velistra sono residenti",
    "nel ns. sito web (causa frequenti",
    "evoluzioni del software).",
};

const QString kDocumentationAddress = QStringLiteral("www.velistra.it/documentazione");

void fillNotice(QTextEdit *memo)
{
    QTextCursor cursor(memo->document());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    bool first = true;
    for (const char *line : kNotice) {
        if (!first)
            cursor.insertBlock();
        cursor.setBlockFormat(centred);
        cursor.insertText(QString::fromUtf8(line));
        first = false;
    }
}

}  // namespace

TFFINFO::TFFINFO(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FFINFO"));
    setWindowTitle(QStringLiteral("DOCUMENTAZIONE - INFORMATIVE"));
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setFont(kit::designFont(QStringLiteral("MS Sans Serif"), 11));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kit::buttonFaceColor());
    setPalette(p);
    resize(391, 150);

    auto *edges = new kit::EdgeLayout(this);
    const kit::BevelStyle strip{kit::Bevel::Raised, kit::Bevel::Lowered, 1, 0, false};
    Panel1 = new kit::BevelPanel(this, strip);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setColor(kit::light3DColor());
    Panel3 = new kit::BevelPanel(this, {kit::Bevel::Lowered, kit::Bevel::Raised, 1, 0, false});
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setColor(kit::buttonFaceColor());
    Panel2 = new kit::BevelPanel(this, strip);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setColor(kit::light3DColor());
    edges->addWidget(Panel1, kit::Edge::Top, 9);
    edges->addWidget(Panel2, kit::Edge::Bottom, 39);
    edges->addWidget(Panel3, kit::Edge::Fill);

    Memo1 = new QTextEdit(Panel3);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Memo1->setLineWidth(1);
    Memo1->setFont(kit::designFont(QStringLiteral("Times New Roman"), 19));
    Memo1->setAcceptRichText(false);
    Memo1->setLineWrapMode(QTextEdit::WidgetWidth);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette memo = Memo1->palette();
    memo.setColor(QPalette::Base, QColor(242, 240, 227));
    memo.setColor(QPalette::Text, QColor(117, 117, 117));
    Memo1->setPalette(memo);
    fillNotice(Memo1);
    Panel3->edges()->addWidget(Memo1, kit::Edge::Fill);

    cxHyperLinkEdit1 = new kit::LinkField(kDocumentationAddress, Panel2);
    cxHyperLinkEdit1->setObjectName(QStringLiteral("cxHyperLinkEdit1"));
    cxHyperLinkEdit1->setGeometry(57, 8, 272, 24);
    cxHyperLinkEdit1->setFont(kit::designFont(QStringLiteral("MS Sans Serif"), 11, false, true));
    QPalette link = cxHyperLinkEdit1->palette();
    link.setColor(QPalette::Base, kit::buttonFaceColor());
    cxHyperLinkEdit1->setPalette(link);
}

void TFFINFO::ShowModal()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    exec();
}
