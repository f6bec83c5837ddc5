#include "shell/dialogs/GoToTimeDialog.h"

#include "core/text/LogTime.h"
#include "core/text/TimeInput.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrano {

namespace {

// The locale's formats of a time of day, long ones first, with and without their zone.
QStringList timeFormats(const QLocale& locale)
{
    QStringList formats;
    for (const QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
        QString format = locale.timeFormat(type);
        formats << format;
        format.remove(QLatin1Char('t'));
        formats << format.trimmed();
    }
    formats.removeDuplicates();
    return formats;
}

std::optional<int64_t> localDateTime(const QLocale& locale, const QString& text)
{
    for (const QLocale::FormatType dateType : {QLocale::ShortFormat, QLocale::LongFormat}) {
        for (const QString& time : timeFormats(locale)) {
            QDateTime at = locale.toDateTime(text, locale.dateFormat(dateType) + QLatin1Char(' ') + time);
            if (!at.isValid())
                continue;
            // A year of two digits is read as 19yy.
            if (at.date().year() < 1970)
                at = at.addYears(100);
            return at.toMSecsSinceEpoch() * 1000;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<int64_t> readTypedTime(const QString& text, int64_t newestMicroseconds)
{
    const QString typed = text.simplified();
    if (const auto iso = readTimeInput(typed.toStdString(), newestMicroseconds))
        return iso;
    const QLocale locale;
    if (const auto at = localDateTime(locale, typed))
        return at;
    for (const QString& format : timeFormats(locale)) {
        const QTime time = locale.toTime(typed, format);
        if (time.isValid())
            return lastTimeOfDay(
                time.hour(), time.minute(), time.second(), time.msec() * 1000, newestMicroseconds);
    }
    return std::nullopt;
}

GoToTimeDialog::GoToTimeDialog(int64_t startPacked, QWidget* parent)
    : QDialog(parent)
    , line(new QLineEdit(this))
{
    setWindowTitle(tr("Go to Time"));
    auto* label = new QLabel(tr("&Time:"), this);
    label->setBuddy(line);
    char start[32];
    LogTime::formatMilliseconds(startPacked, start);
    line->setText(QString::fromLatin1(start));
    line->selectAll();
    line->setMinimumWidth(line->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 32);
    line->setAccessibleName(tr("Time"));
    const QLocale locale;
    const QDateTime example = QDateTime::fromMSecsSinceEpoch(LogTime::microseconds(startPacked) / 1000);
    auto* hint = new QLabel(tr("As %1, %2 or a time of day alone (%3), which means its last occurrence.")
                                .arg(locale.toString(example, QLocale::ShortFormat),
                                    example.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")),
                                    locale.toString(example.time(), QLocale::ShortFormat)),
        this);
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* go = buttons->addButton(tr("Go"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    go->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(line);
    layout->addWidget(hint);
    layout->addWidget(buttons);
}

} // namespace kestrano
