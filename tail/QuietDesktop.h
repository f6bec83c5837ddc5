// What a terminal has none of: windows to bring to the front, toolbars, an alert sound, dialogs and
// message boxes. One object answers every such call of the core by doing nothing.
#pragma once

#include "core/ports/LogFrame.h"
#include "core/ports/MessageBox.h"
#include "core/ports/MessageDetails.h"
#include "core/ports/Notifier.h"

namespace kestrano::tail {

class QuietDesktop : public LogFrame, public Notifier, public MessageDetails, public MessageBox {
public:
    void UpdateToolbarChecks() override { }
    void showNews() override { }
    void askForAttention() override { }
    void playAlertSound() override { }
    void announce(const char*, int32_t, const char*, int32_t) override { }
    void show(const Message&) override { }
    bool askYesNo(const ShownText&) override { return false; }
    bool warnYesNo(const ShownText&) override { return false; }
    void showError(const ShownText&) override { }
};

} // namespace kestrano::tail
