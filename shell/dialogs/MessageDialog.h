// The details of one message: its severity icon, its stated time, its whole text with each line on its
// own line (beside it, for a JSON or logfmt line, each field on its own line), and a button that copies
// the text to the clipboard. The dialog keeps its own copy of text and severity, so
// the view may drop the message while the dialog is open. A short text is shown in a plain text box
// (selectable); a long one in a LongTextView, which shows text of any length at once.
#pragma once

#include "core/ports/MessageDetails.h"

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

    // Texts up to this many characters with no line longer than ShortLine go to a plain text box.
    static constexpr qsizetype ShortText = 64 * 1024;
    static constexpr qsizetype ShortLine = 4096;

    // The text box: a read-only QPlainTextEdit or a LongTextView.
    QWidget& textBox() const { return *textView; }
    // The text shown, lines separated by LF.
    QString shownText() const;
    QLabel& iconLabel() const { return *icon; }
    // The stated time's label and the fields' box; nullptr where the message has none.
    QLabel* timeText() const { return timeLabel; }
    QPlainTextEdit* fieldsText() const { return fieldsBox; }

private:
    QByteArray text;
    int32_t severity;
    QLabel* icon;
    QWidget* textView;
    QLabel* timeLabel = nullptr;
    QPlainTextEdit* fieldsBox = nullptr;
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
