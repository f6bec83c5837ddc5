// AlertSound through libcanberra's "dialog-error" theme sound, with the display's beep as fallback.
#pragma once

#include "platform/qt/AlertSound.h"

#include <atomic>
#include <memory>

struct ca_context;

namespace kestrano {

class CanberraAlertSound : public AlertSound {
public:
    CanberraAlertSound();
    ~CanberraAlertSound() override;
    CanberraAlertSound(const CanberraAlertSound&) = delete;
    CanberraAlertSound& operator=(const CanberraAlertSound&) = delete;

    void play() override;

    // Shared with libcanberra's worker thread, which reports the end of a sound.
    struct State {
        std::atomic<bool> playing {false};
    };

private:
    ca_context* context = nullptr;
    std::shared_ptr<State> state;
};

} // namespace kestrano
