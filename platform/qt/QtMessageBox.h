// MessageBox through QMessageBox, the one place that makes the program's boxes: captioned "Kestrano",
// owned by the open modal dialog or else the main window.
#pragma once

#include "core/ports/MessageBox.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace kestrano {

class QtMessageBox : public MessageBox {
public:
    // The owner may be set later (the main window is created after the application object).
    void setOwner(QWidget* window) { mainWindow = window; }
    QWidget* owner() const { return mainWindow; }

    // The core's texts are shown translated, any other text as it is.
    bool askYesNo(const ShownText& text) override;
    bool warnYesNo(const ShownText& text) override;
    void showError(const ShownText& text) override;
    using MessageBox::askYesNo;
    using MessageBox::showError;
    using MessageBox::warnYesNo;

private:
    QWidget* currentOwner() const;

    QPointer<QWidget> mainWindow;
};

// A box of the program owned by the window given: Yes and No (No the default) with the question or
// warning icon, true for Yes; OK alone with any other icon.
bool showBox(QWidget* owner, QMessageBox::Icon icon, const QString& text);

} // namespace kestrano
