#include "platform/qt/SeverityIcons.h"

#include "core/text/Severity.h"
#include "platform/qt/resources/Resources.h"

#include <QCoreApplication>

#include <array>

namespace kestrano {

const QIcon& severityIcon(int32_t severity)
{
    static const std::array<QIcon, Severity::ListCount> icons = [] {
        std::array<QIcon, Severity::ListCount> all;
        for (int32_t i = 0; i < Severity::ListCount; ++i)
            all[static_cast<size_t>(i)] = resourceIcon(Severity::Table[i].icon);
        return all;
    }();
    static const QIcon none;
    if (!Severity::isNamed(severity))
        return none;
    return icons[static_cast<size_t>(severity)];
}

QColor severityColour(int32_t severity)
{
    static constexpr QRgb colours[Severity::ListCount] = {0x8a8a8a, 0x1f5fd1, 0xffd21f, 0xd41111, 0x7a0000};
    return QColor::fromRgb(Severity::isNamed(severity) ? colours[severity] : 0xc8c8c8);
}

QString severityName(int32_t severity)
{
    static constexpr const char* names[Severity::ListCount] = {
        QT_TRANSLATE_NOOP("kestrano::Severity", "Debug"),
        QT_TRANSLATE_NOOP("kestrano::Severity", "Information"),
        QT_TRANSLATE_NOOP("kestrano::Severity", "Warning"),
        QT_TRANSLATE_NOOP("kestrano::Severity", "Error"),
        QT_TRANSLATE_NOOP("kestrano::Severity", "Fatal"),
    };
    return QCoreApplication::translate("kestrano::Severity",
        Severity::isNamed(severity) ? names[severity] : QT_TRANSLATE_NOOP("kestrano::Severity", "Unknown"));
}

} // namespace kestrano
