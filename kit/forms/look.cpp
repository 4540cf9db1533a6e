#include "kit/forms/look.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPalette>

namespace kit {

namespace {

struct Substitute {
    const char *face;
    const char *standIns[3];
};

// Stand-ins that Debian's fonts-dejavu and fonts-liberation provide.
constexpr Substitute kSubstitutes[] = {
    {"MS Sans Serif", {"Liberation Sans", "DejaVu Sans", nullptr}},
    {"Tahoma", {"DejaVu Sans Condensed", "DejaVu Sans", "Liberation Sans"}},
    {"HE_TERMINAL", {"DejaVu Sans Mono", "Liberation Mono", nullptr}},
    {"Courier New", {"Liberation Mono", "DejaVu Sans Mono", nullptr}},
    {"Times New Roman", {"Liberation Serif", "DejaVu Serif", nullptr}},
};

QPalette systemPalette()
{
    return QApplication::palette();
}

}  // namespace

QStringList fontFamiliesFor(const QString &face)
{
    QStringList families{face};
    for (const Substitute &s : kSubstitutes) {
        if (face.compare(QLatin1String(s.face), Qt::CaseInsensitive) != 0)
            continue;
        for (const char *standIn : s.standIns)
            if (standIn)
                families << QString::fromLatin1(standIn);
    }
    return families;
}

QFont designFont(const QString &face, int pixelSize, bool bold, bool underline)
{
    QFont font;
    font.setFamilies(fontFamiliesFor(face));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

QColor buttonFaceColor()
{
    return systemPalette().color(QPalette::Button);
}

QColor light3DColor()
{
    return systemPalette().color(QPalette::Midlight);
}

QColor highlightColor()
{
    return systemPalette().color(QPalette::Highlight);
}

QColor windowColor()
{
    return systemPalette().color(QPalette::Base);
}

void applyOfficeButtonLook(QAbstractButton *button)
{
    button->setStyleSheet(QStringLiteral(
        "QPushButton { color: black; border: 1px solid #7f9db9; border-radius: 3px;"
        "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:0.5 #e3eefb,"
        "  stop:1 #c3d8f3); padding: 0px; }"
        "QPushButton:focus { border: 1px solid #002d96; }"
        "QPushButton:hover { border: 1px solid #000080;"
        "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fff8dd, stop:1 #ffd68c); }"
        "QPushButton:pressed { border: 1px solid #000080;"
        "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #feb456, stop:1 #fe9e43); }"
        "QPushButton:disabled { color: #8d8d8d; }"));
}

}  // namespace kit
