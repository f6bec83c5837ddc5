// Bringing a minimised window back in the state it had before (a maximised window comes back
// maximised, not at its normal size, which is all showNormal() knows), with or without activating it.
#pragma once

class QByteArray;
class QMdiSubWindow;
class QWidget;

namespace kestrano {

// Makes window remember its state whenever it is minimised.
void rememberStateBeforeMinimized(QWidget& window);
// Un-minimises window into the state it had before it was minimised; nothing when it is not.
void showRestored(QWidget& window);
// Un-minimises window as showRestored does, asking the window system not to activate it.
void showRestoredWithoutActivating(QWidget& window);
// A log window with news: restored without activation and raised above the others of its area;
// whether it is not the active one there (so that it is marked as having news).
bool raiseForNews(QMdiSubWindow& window);
// Restores window if minimised, raises it and makes it active: for the user's own request, whose
// activation token (XDG_ACTIVATION_TOKEN of a launcher on Wayland; empty: none) lets the compositor
// grant it.
void bringWindowToFront(QWidget& window, const QByteArray& activationToken);

} // namespace kestrano
