#include "kit/forms/link_field.h"

#include "kit/forms/desktop_services.h"

#include <QMouseEvent>

namespace kit {

LinkField::LinkField(const QString &address, QWidget *parent)
    : QLineEdit(address, parent)
{
    setReadOnly(true);
    setFrame(false);
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::PointingHandCursor);
    setContextMenuPolicy(Qt::NoContextMenu);
    QPalette p = palette();
    p.setColor(QPalette::Text, Qt::blue);
    setPalette(p);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
}

void LinkField::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange && !font().underline()) {
        QFont f = font();
        f.setUnderline(true);
        setFont(f);
    }
}

QString LinkField::linkAddress(const QString &text)
{
    if (text.trimmed().isEmpty())
        return {};
    if (text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
        text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return text;
    return QLatin1String("http://") + text;
}

void LinkField::openLink()
{
    const QString address = linkAddress(text());
    if (!address.isEmpty())
        desktopServices().openUrl(address);
}

void LinkField::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        openLink();
}

}  // namespace kit
