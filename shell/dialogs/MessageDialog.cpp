#include "shell/dialogs/MessageDialog.h"

#include "core/text/Message.h"
#include "core/text/StructuredFields.h"
#include "platform/qt/CoreTexts.h"
#include "platform/qt/LogFont.h"
#include "platform/qt/LogText.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/SeverityIcons.h"
#include "platform/qt/TimeText.h"
#include "shell/widgets/LongTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kestrano {

namespace {

bool isShort(const QString& text)
{
    if (text.size() > MessageDialog::ShortText)
        return false;
    qsizetype start = 0;
    for (qsizetype end; (end = text.indexOf(QLatin1Char('\n'), start)) >= 0; start = end + 1) {
        if (end - start > MessageDialog::ShortLine)
            return false;
    }
    return text.size() - start <= MessageDialog::ShortLine;
}

} // namespace

MessageDialog::MessageDialog(const Message& message, QWidget* parent)
    : QDialog(parent)
    , text(message.getText(), message.getTextLength())
    , severity(message.getSeverity())
    , icon(new QLabel(this))
{
    setWindowTitle(tr("Message details"));

    const QIcon& picture = severityIcon(severity);
    if (!picture.isNull())
        icon->setPixmap(picture.pixmap(32, 32));
    icon->setFixedSize(32, 32);

    QString shown = visibleLogText(text.constData(), text.size());
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // A plain text box lays out a long line in quadratic time, and costs per line: long texts go to
    // the view that lays out only what is on screen.
    const QString body = translatedRowText(message, shown);
    if (isShort(body)) {
        auto* box = new QPlainTextEdit(this);
        box->setReadOnly(true);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setFont(logFont());
        box->setPlainText(body);
        textView = box;
    } else {
        auto* view = new LongTextView(this);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        view->setFont(logFont());
        view->setPlainText(body);
        textView = view;
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* copy = buttons->addButton(tr("&Copy to clipboard"), QDialogButtonBox::ActionRole);
    QPushButton* ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    copy->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this, &MessageDialog::copyToClipboard);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    int row = 0;
    const QString time = shownTime(message.getTime());
    if (!time.isEmpty()) {
        timeLabel = new QLabel(tr("Time: %1").arg(time), this);
        timeLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(timeLabel, row++, 1, 1, 2);
    }
    layout->addWidget(textView, row, 1);
    // JSON and logfmt lines: each field on its own line, beside the raw text.
    const auto fields = fieldsOfLine(message.getText(), message.getTextLength());
    if (!fields.empty()) {
        QString listed;
        for (const auto& [key, value] : fields)
            listed += QStringLiteral("  ") + logText(key.data(), static_cast<qsizetype>(key.size()))
                + QStringLiteral(": ") + logText(value.data(), static_cast<qsizetype>(value.size()))
                + QLatin1Char('\n');
        fieldsBox = new QPlainTextEdit(this);
        fieldsBox->setReadOnly(true);
        fieldsBox->setLineWrapMode(QPlainTextEdit::NoWrap);
        fieldsBox->setFont(logFont());
        fieldsBox->setPlainText(listed);
        fieldsBox->setAccessibleName(tr("Fields"));
        layout->addWidget(fieldsBox, row, 2);
        layout->setColumnStretch(2, 1);
    }
    layout->addWidget(buttons, row + 1, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    resize(fields.empty() ? 560 : 900, 320);
    ok->setFocus();
}

QString MessageDialog::shownText() const
{
    if (auto* box = qobject_cast<QPlainTextEdit*>(textView))
        return box->toPlainText();
    return static_cast<LongTextView*>(textView)->toPlainText();
}

void MessageDialog::copyToClipboard()
{
    if (QClipboard* clipboard = QApplication::clipboard())
        clipboard->setText(logText(text.constData(), text.size()), QClipboard::Clipboard);
}

void MessageDialogLauncher::show(const Message& message)
{
    MessageDialog dialog(message, owner.owner());
    dialog.exec();
}

} // namespace kestrano
