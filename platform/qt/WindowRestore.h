// Bringing a minimised window back in the state it had before: a maximised window comes back
// maximised, not at its normal size (which is all showNormal() knows).
#pragma once

class QWidget;

namespace kestrano {

// Makes window remember its state whenever it is minimised.
void rememberStateBeforeMinimized(QWidget& window);
// Un-minimises window into the state it had before it was minimised; nothing when it is not.
void showRestored(QWidget& window);

} // namespace kestrano
