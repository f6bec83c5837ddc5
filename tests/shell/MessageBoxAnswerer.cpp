#include "tests/shell/MessageBoxAnswerer.h"

#include <QAbstractButton>
#include <QApplication>

namespace kestrano::test {

MessageBoxAnswerer::MessageBoxAnswerer(QMessageBox::StandardButton answer)
    : answer(answer)
{
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        texts << box->text();
        icons << box->icon();
        captions << box->windowTitle();
        QAbstractButton* button = box->button(this->answer);
        if (!button)
            button = box->buttons().value(0);
        button->click();
    });
    timer.start();
}

} // namespace kestrano::test
