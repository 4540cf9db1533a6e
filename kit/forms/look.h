// Fonts and looks of the designed windows. A design names a face that may be missing on this
// desktop (a Windows font); designFont() asks for it first and falls back to a close face that
// the system has, so the window keeps the designed face wherever it exists.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

class QAbstractButton;

namespace kit {

// The designed face followed by its stand-ins, best first.
QStringList fontFamiliesFor(const QString &face);
// A font of the designed face at a character height in pixels.
QFont designFont(const QString &face, int pixelSize, bool bold = false, bool underline = false);

// The desktop's colours under the names a form designer uses.
QColor buttonFaceColor();
QColor light3DColor();
QColor highlightColor();
QColor windowColor();

// The flat, gradient-filled push-button look of the office suites of the 2000s: a pale blue
// face, a dark blue frame, amber while hovered and orange while pressed.
void applyOfficeButtonLook(QAbstractButton *button);

}  // namespace kit
