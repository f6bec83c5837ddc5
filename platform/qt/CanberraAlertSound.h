// AlertSound through libcanberra's "dialog-error" theme sound, with the display's beep as fallback: on a
// machine without a sound output (checked once), and for good after a sound failed, so that the sound
// library's complaints reach standard error at most once.
#pragma once

#include "platform/qt/AlertSound.h"

#include <atomic>
#include <cstdlib>
#include <memory>

struct ca_context;

namespace kestrano {

class CanberraAlertSound : public AlertSound {
public:
    // runtimeFolder and deviceFolder: where sound servers and ALSA devices are looked for (tests name
    // their own).
    explicit CanberraAlertSound(
        const char* runtimeFolder = std::getenv("XDG_RUNTIME_DIR"), const char* deviceFolder = "/dev/snd");
    ~CanberraAlertSound() override;
    CanberraAlertSound(const CanberraAlertSound&) = delete;
    CanberraAlertSound& operator=(const CanberraAlertSound&) = delete;

    void play() override;
    // Whether the theme's sound is tried at all.
    bool usesSoundTheme() const { return context && !state->failed; }

    // Shared with libcanberra's worker thread, which reports the end of a sound.
    struct State {
        std::atomic<bool> playing {false};
        std::atomic<bool> failed {false};
    };

private:
    ca_context* context = nullptr;
    std::shared_ptr<State> state;
};

// Whether the machine has somewhere to play a sound: a sound server's socket in the session's runtime
// folder (PulseAudio's, PipeWire's, or PULSE_SERVER set) or an ALSA playback device.
bool hasSoundOutput(const char* runtimeFolder, const char* deviceFolder);

} // namespace kestrano
