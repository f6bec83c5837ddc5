// Keeps exceptions out of Qt's event loop: a handler that fails with an exception of the haspel family
// or an allocation failure ends there, and the user sees its message in an error box; the program goes on.
#pragma once

#include <QString>

class QWidget;

namespace kestrano {

// The text shown for the exception being handled; call only inside a catch block.
QString describeCurrentException();

// Shows the exception being handled in an error box owned by owner; call only inside a catch block.
void reportCurrentException(QWidget* owner) noexcept;

// Runs the handler; false if it failed (the error box has been shown).
template <class Handler> bool runGuarded(QWidget* owner, Handler&& handler) noexcept
{
    try {
        handler();
        return true;
    } catch (...) {
        reportCurrentException(owner);
        return false;
    }
}

} // namespace kestrano
