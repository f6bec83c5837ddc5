#include "shell/app/DisplayOpening.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace kestrano {

namespace {

QtMessageHandler previousHandler = nullptr;
std::function<void()> cleanUpBeforeExit;
std::string displayReason; // Qt's first warning about the display

void handleDisplayMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        reportNoDisplay(displayReason.empty() ? text.toLocal8Bit().constData() : displayReason.c_str());
        if (cleanUpBeforeExit)
            cleanUpBeforeExit();
        std::fflush(nullptr);
        _exit(1);
    }
    // Qt's own words about the display: the first warning is the reason, the rest says no more.
    if (context.category && std::strncmp(context.category, "qt.qpa", 6) == 0) {
        if (displayReason.empty() && type != QtDebugMsg && type != QtInfoMsg)
            displayReason = text.toLocal8Bit().toStdString();
        return;
    }
    previousHandler(type, context, text);
}

bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

} // namespace

DisplayOpening::DisplayOpening(std::function<void()> cleanUp)
{
    cleanUpBeforeExit = std::move(cleanUp);
    displayReason.clear();
    previousHandler = qInstallMessageHandler(handleDisplayMessage);
}

DisplayOpening::~DisplayOpening()
{
    qInstallMessageHandler(previousHandler);
    cleanUpBeforeExit = nullptr;
}

const char* missingDisplayReason(int argc, char** argv)
{
    if (isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM"))
        return nullptr;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return nullptr;
    return "DISPLAY and WAYLAND_DISPLAY are unset";
}

void reportNoDisplay(const char* reason)
{
    std::fprintf(stderr, "kestrano: %s\n",
        QCoreApplication::translate("kestrano", "cannot open the display (%1)")
            .arg(QString::fromLocal8Bit(reason))
            .toLocal8Bit()
            .constData());
}

} // namespace kestrano
