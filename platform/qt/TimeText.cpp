#include "platform/qt/TimeText.h"

#include "core/text/LogTime.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

namespace kestrano {
namespace {

// The locale's long time format without its time zone, the fraction following the seconds.
QString timeFormat(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*t+"));
    format.remove(zone);
    return format.trimmed();
}

} // namespace

QString shownTime(int64_t packed)
{
    if (packed == LogTime::None)
        return {};
    const int64_t micros = LogTime::microseconds(packed);
    const int64_t seconds = micros >= 0 ? micros / 1000000 : -((-micros + 999999) / 1000000);
    const auto fraction = static_cast<int32_t>(micros - seconds * 1000000);
    const QDateTime at = QDateTime::fromSecsSinceEpoch(seconds);
    const QLocale locale;
    static const QString format = timeFormat(locale);
    QString time = locale.toString(at.time(), format);
    const int32_t digits = LogTime::digits(packed);
    if (digits > 0) {
        // After the seconds, wherever the format puts them (12:45:42.120 AM).
        const QString whole = locale.toString(at.time(), QStringLiteral("ss"));
        const qsizetype place = time.lastIndexOf(whole);
        const QString part = QString::number(fraction + 1000000).mid(1, digits);
        time.insert(place >= 0 ? place + whole.size() : time.size(), locale.decimalPoint() + part);
    }
    return locale.toString(at.date(), QLocale::ShortFormat) + QLatin1Char(' ') + time;
}

} // namespace kestrano
