// MessageBox through QMessageBox: owned by the main window, captioned "Kestrano".
#pragma once

#include "core/ports/MessageBox.h"

#include <QPointer>
#include <QWidget>

namespace kestrano {

class QtMessageBox : public MessageBox {
public:
    // The owner may be set later (the main window is created after the application object).
    void setOwner(QWidget* window) { owner = window; }
    QWidget* getOwner() const { return owner; }

    bool askYesNo(const char* text) override;
    void showError(const char* text) override;

private:
    QPointer<QWidget> owner;
};

// The standard boxes of the program, for callers in the shell that hold QStrings.
bool askYesNo(QWidget* owner, const QString& text);
void showError(QWidget* owner, const QString& text);

} // namespace kestrano
