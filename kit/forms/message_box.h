// The two message boxes of the program: the plain one (the text, one OK button, no icon, the
// application's name as caption) and the confirmation one (caption "Confirm", a question mark,
// "&Yes" as default and "&No" as cancel button). Both are centred on the screen. Tests replace
// them with a handler that records the text and gives the answer.
#pragma once

#include <QString>

#include <functional>
#include <memory>

class QMessageBox;

namespace kit {

enum class MessageKind { Plain, Confirmation };

void showMessage(const QString &text);
// True for "&Yes"; "&No", Escape and closing the box answer false.
bool confirm(const QString &text);

// The boxes themselves, not yet shown, for callers that want to run them their own way.
std::unique_ptr<QMessageBox> makePlainBox(const QString &text);
std::unique_ptr<QMessageBox> makeConfirmationBox(const QString &text);

// Receives every box instead of the user; its result is the answer to a confirmation (ignored
// for the plain box). An empty function brings the real boxes back.
using MessageBoxHandler = std::function<bool(MessageKind kind, const QString &text)>;
void setMessageBoxHandler(MessageBoxHandler handler);

}  // namespace kit
