// Questions and error reports to the user, in boxes owned by the main window and captioned "Kestrano".
#pragma once

namespace kestrano {

class MessageBox {
public:
    virtual ~MessageBox() = default;

    // Yes and No buttons, question icon; true for Yes.
    virtual bool askYesNo(const char* text) = 0;
    // The same with a warning icon, for a choice that may do harm.
    virtual bool warnYesNo(const char* text) = 0;
    // OK button, error icon.
    virtual void showError(const char* text) = 0;
};

} // namespace kestrano
