#include "platform/qt/SeverityIcons.h"

#include "platform/qt/resources/Resources.h"

#include <array>

namespace kestrano {

const QIcon& severityIcon(int32_t severity)
{
    static const std::array<QIcon, 5> icons = {
        resourceIcon("debug.svg"),
        resourceIcon("information.svg"),
        resourceIcon("warning.svg"),
        resourceIcon("error.svg"),
        resourceIcon("fatal.svg"),
    };
    static const QIcon none;
    if (severity < 0 || severity >= static_cast<int32_t>(icons.size()))
        return none;
    return icons[static_cast<size_t>(severity)];
}

} // namespace kestrano
