// Questions and error reports to the user, in boxes owned by the main window and captioned "Kestrano".
// The core's texts come by identity (the desktop shows them translated); a text of the caller's own
// comes as the argument of CoreText::None.
#pragma once

#include "core/text/CoreText.h"

namespace kestrano {

class MessageBox {
public:
    virtual ~MessageBox() = default;

    // Yes and No buttons, question icon; true for Yes.
    virtual bool askYesNo(const ShownText& text) = 0;
    // The same with a warning icon, for a choice that may do harm.
    virtual bool warnYesNo(const ShownText& text) = 0;
    // OK button, error icon.
    virtual void showError(const ShownText& text) = 0;

    // A text of the caller's own, shown as it stands.
    bool askYesNo(const char* text) { return askYesNo(ShownText {CoreText::None, text}); }
    bool warnYesNo(const char* text) { return warnYesNo(ShownText {CoreText::None, text}); }
    void showError(const char* text) { showError(ShownText {CoreText::None, text}); }
};

} // namespace kestrano
