#include "platform/qt/TimeText.h"

#include "core/text/LogTime.h"

#include <QCoreApplication>
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

QString unitText(const char* text, int64_t count)
{
    return QCoreApplication::translate("kestrano::TimeText", text, nullptr, static_cast<int>(count));
}

} // namespace

QString spanText(int64_t microseconds)
{
    if (microseconds < 0)
        microseconds = -microseconds;
    if (microseconds < 1000000)
        return unitText(QT_TRANSLATE_N_NOOP("kestrano::TimeText", "%n ms"), microseconds / 1000);
    const int64_t seconds = microseconds / 1000000;
    const int64_t parts[] = {seconds / 86400, seconds / 3600 % 24, seconds / 60 % 60, seconds % 60};
    static constexpr const char* units[] = {QT_TRANSLATE_N_NOOP("kestrano::TimeText", "%n d"),
        QT_TRANSLATE_N_NOOP("kestrano::TimeText", "%n h"),
        QT_TRANSLATE_N_NOOP("kestrano::TimeText", "%n min"),
        QT_TRANSLATE_N_NOOP("kestrano::TimeText", "%n s")};
    size_t largest = 0;
    while (parts[largest] == 0)
        ++largest;
    QString text = unitText(units[largest], parts[largest]);
    if (largest + 1 < std::size(parts) && parts[largest + 1] != 0)
        text += QLatin1Char(' ') + unitText(units[largest + 1], parts[largest + 1]);
    return text;
}

QString distanceToEndText(int64_t microseconds)
{
    if (microseconds <= 0)
        return QCoreApplication::translate("kestrano::TimeText", "at the end");
    return QCoreApplication::translate("kestrano::TimeText", "%1 before the end").arg(spanText(microseconds));
}

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
