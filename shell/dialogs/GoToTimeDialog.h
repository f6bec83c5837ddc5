// The dialog of Edit > "Go to Time...": a line for the moment as the user types it, in the locale's
// format or as ISO 8601, a time of day alone meaning its last occurrence up to the newest message.
#pragma once

#include <QDialog>

#include <cstdint>
#include <optional>

class QLineEdit;

namespace kestrano {

class GoToTimeDialog : public QDialog {
    Q_OBJECT

public:
    // The field starts with the packed time given (the selected or the newest message's).
    GoToTimeDialog(int64_t startPacked, QWidget* parent);

    QLineEdit& field() const { return *line; }

private:
    QLineEdit* line;
};

// The moment the text names, microseconds since the epoch: ISO 8601 first, then the locale's date and time
// formats; a time of day alone is its last occurrence not after newestMicroseconds. std::nullopt when
// the text names none.
std::optional<int64_t> readTypedTime(const QString& text, int64_t newestMicroseconds);

} // namespace kestrano
