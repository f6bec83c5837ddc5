// The details of one message: its severity icon, its whole text with each line on its own line, and a
// button that copies the text to the clipboard. The dialog keeps its own copy of text and severity, so
// the view may drop the message while the dialog is open.
#pragma once

#include "platform/MessageDetails.h"

#include <QByteArray>
#include <QDialog>

#include <cstdint>

class QLabel;
class QPlainTextEdit;

namespace kestrano {

class QtMessageBox;

class MessageDialog : public QDialog {
    Q_OBJECT

public:
    MessageDialog(const Message& message, QWidget* parent);

    // Places the text on the clipboard as plain text, lines joined by CR LF.
    void copyToClipboard();

    QPlainTextEdit& textBox() const { return *textView; }
    QLabel& iconLabel() const { return *icon; }

private:
    QByteArray text;
    int32_t severity;
    QLabel* icon;
    QPlainTextEdit* textView;
};

// Opens the dialog modally over the main window.
class MessageDialogLauncher : public MessageDetails {
public:
    explicit MessageDialogLauncher(QtMessageBox& owner)
        : owner(owner)
    { }
    void show(const Message& message) override;

private:
    QtMessageBox& owner;
};

} // namespace kestrano
