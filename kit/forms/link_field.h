// A read-only line that shows a web address as a link and opens it in the browser on one left
// click, through the desktop services. It never takes the focus by the Tab key, and a blank
// field opens nothing.
#pragma once

#include <QLineEdit>

namespace kit {

class LinkField : public QLineEdit {
    Q_OBJECT
public:
    explicit LinkField(const QString &address, QWidget *parent = nullptr);

    // The address a click opens: the text with "http://" in front unless it starts with a
    // scheme of the web ("http://" or "https://", any letter case); empty for a blank text.
    static QString linkAddress(const QString &text);
    void openLink();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;  // keeps the font underlined
};

}  // namespace kit
