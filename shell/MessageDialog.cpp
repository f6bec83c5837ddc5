#include "shell/MessageDialog.h"

#include "core/Message.h"
#include "platform/qt/CoreTexts.h"
#include "platform/qt/LogFont.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/SeverityIcons.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kestrano {

MessageDialog::MessageDialog(const Message& message, QWidget* parent)
    : QDialog(parent)
    , text(message.getText(), message.getTextLength())
    , severity(message.getSeverity())
    , icon(new QLabel(this))
    , textView(new QPlainTextEdit(this))
{
    setWindowTitle(tr("Message details"));

    const QIcon& picture = severityIcon(severity);
    if (!picture.isNull())
        icon->setPixmap(picture.pixmap(32, 32));
    icon->setFixedSize(32, 32);

    textView->setReadOnly(true);
    textView->setFont(logFont());
    textView->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    textView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QString shown = QString::fromLocal8Bit(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    textView->setPlainText(translatedRowText(shown));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* copy = buttons->addButton(tr("&Copy to clipboard"), QDialogButtonBox::ActionRole);
    QPushButton* ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    copy->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this, &MessageDialog::copyToClipboard);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addWidget(textView, 0, 1);
    layout->addWidget(buttons, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    resize(560, 320);
    ok->setFocus();
}

void MessageDialog::copyToClipboard()
{
    if (QClipboard* clipboard = QApplication::clipboard())
        clipboard->setText(QString::fromLocal8Bit(text), QClipboard::Clipboard);
}

void MessageDialogLauncher::show(const Message& message)
{
    MessageDialog dialog(message, owner.getOwner());
    dialog.exec();
}

} // namespace kestrano
