// Keeps exceptions out of Qt's event loop: a handler that fails with an exception of the haspel family
// or an allocation failure ends there, and the user sees its message in an error box; the program goes on.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace kestrano {

// Runs the handler; false if it failed (the error box has been shown, owned by owner).
bool runGuarded(QWidget* owner, const std::function<void()>& handler) noexcept;

// The text shown for the exception being handled; call only inside a catch block.
QString describeCurrentException();

} // namespace kestrano
