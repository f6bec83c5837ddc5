#include "shell/app/SessionEnd.h"

#include "shell/app/Kestrano.h"

#include <QGuiApplication>
#include <QSessionManager>

#include <cstdlib>
#include <utility>

namespace kestrano {

namespace {

Kestrano* savedAtExit = nullptr;
QMetaObject::Connection commitData;

void saveAtExit()
{
    if (Kestrano* app = std::exchange(savedAtExit, nullptr))
        app->SaveState();
}

} // namespace

SessionEnd::SessionEnd(Kestrano& app)
{
    static const bool registered = std::atexit(saveAtExit) == 0;
    (void)registered;
    savedAtExit = &app;
    commitData = QObject::connect(
        qGuiApp, &QGuiApplication::commitDataRequest, qGuiApp, [&app](QSessionManager&) { app.SaveState(); },
        Qt::DirectConnection);
}

SessionEnd::~SessionEnd()
{
    savedAtExit = nullptr;
    QObject::disconnect(commitData);
}

} // namespace kestrano
