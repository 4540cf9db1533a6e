// The standard error box: error icon, one OK button, the application's title as caption.
#pragma once

#include <QString>

#include <functional>

// The message as the box shows it: a full stop is appended when its last character comes after
// "." in character order, so "...file" gets one and "...(x)" or "fine." do not.
QString ErrorBoxText(const QString &message);

void ShowErrorBox(const QString &message);

// Tests replace the box to see what it would have shown; an empty function restores it.
void SetErrorBoxHandler(std::function<void(const QString &text)> handler);
