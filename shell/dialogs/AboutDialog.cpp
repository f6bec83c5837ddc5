#include "shell/dialogs/AboutDialog.h"

#include "ProgramVersion.h"
#include "platform/qt/resources/Resources.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace kestrano {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent)
    , icon(new QLabel(this))
    , version(new QLabel(tr("Kestrano Version %1").arg(QString::fromLatin1(ProgramVersion)), this))
{
    setWindowTitle(tr("About Kestrano"));
    icon->setPixmap(programIcon().pixmap(32, 32));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0);
    layout->addWidget(version, 0, 1);
    layout->addWidget(buttons, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace kestrano
