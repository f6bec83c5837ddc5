#include "shell/resources/Resources.h"

#include <QString>

static void initKestranoResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace kestrano {

void initResources()
{
    static const bool done = (initKestranoResources(), true);
    (void)done;
}

QIcon resourceIcon(const char* name)
{
    initResources();
    return QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(name));
}

QIcon programIcon()
{
    return resourceIcon("kestrano.svg");
}

} // namespace kestrano
