#include "platform/qt/CanberraAlertSound.h"

#include "config/Path.h"

#include <QApplication>
#include <QMetaObject>
#include <canberra.h>

#include <filesystem>
#include <string>

namespace kestrano {

namespace {

void beepLater()
{
    if (auto* application = qApp)
        QMetaObject::invokeMethod(
            application, [] { QApplication::beep(); }, Qt::QueuedConnection);
}

// Runs on libcanberra's thread when a sound ends or fails.
void soundFinished(ca_context*, uint32_t, int errorCode, void* userdata)
{
    auto* state = static_cast<std::shared_ptr<CanberraAlertSound::State>*>(userdata);
    (*state)->playing = false;
    if (errorCode != CA_SUCCESS && errorCode != CA_ERROR_CANCELED) {
        (*state)->failed = true;
        beepLater();
    }
    delete state;
}

} // namespace

bool hasSoundOutput(const char* runtimeFolder, const char* deviceFolder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (const char* server = std::getenv("PULSE_SERVER"); server && *server)
        return true;
    if (runtimeFolder && *runtimeFolder) {
        const fs::path runtime(runtimeFolder);
        for (const char* socket : {"pulse/native", "pipewire-0"})
            if (fs::exists(runtime / socket, error))
                return true;
    }
    // ALSA names a playback device pcmC<card>D<device>p.
    for (const fs::directory_entry& entry : fs::directory_iterator(deviceFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("pcmC", 0) == 0 && name.back() == 'p')
            return true;
    }
    return false;
}

CanberraAlertSound::CanberraAlertSound(const char* runtimeFolder, const char* deviceFolder)
    : state(std::make_shared<State>())
{
    if (!hasSoundOutput(runtimeFolder, deviceFolder))
        return;
    if (ca_context_create(&context) != CA_SUCCESS) {
        context = nullptr;
        return;
    }
    ca_context_change_props(context, CA_PROP_APPLICATION_NAME, haspel::kApplicationName,
        CA_PROP_APPLICATION_ID, "kestrano", nullptr);
}

CanberraAlertSound::~CanberraAlertSound()
{
    if (context)
        ca_context_destroy(context);
}

void CanberraAlertSound::play()
{
    if (state->playing)
        return;
    if (!usesSoundTheme()) {
        QApplication::beep();
        return;
    }
    ca_proplist* properties = nullptr;
    if (ca_proplist_create(&properties) != CA_SUCCESS) {
        QApplication::beep();
        return;
    }
    ca_proplist_sets(properties, CA_PROP_EVENT_ID, "dialog-error");
    ca_proplist_sets(properties, CA_PROP_EVENT_DESCRIPTION,
        QCoreApplication::translate("kestrano::CanberraAlertSound", "Kestrano alert").toUtf8().constData());
    state->playing = true;
    auto* userdata = new std::shared_ptr<State>(state);
    if (ca_context_play_full(context, 0, properties, soundFinished, userdata) != CA_SUCCESS) {
        delete userdata;
        state->playing = false;
        state->failed = true;
        QApplication::beep();
    }
    ca_proplist_destroy(properties);
}

} // namespace kestrano
