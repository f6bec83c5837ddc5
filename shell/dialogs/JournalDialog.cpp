#include "shell/dialogs/JournalDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kestrano {

JournalDialog::JournalDialog(const std::vector<std::string>& names, QWidget* parent)
    : QDialog(parent)
    , all(new QRadioButton(tr("&All entries"), this))
    , one(new QRadioButton(tr("One &unit:"), this))
    , units(new QComboBox(this))
    , buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("Open Journal"));
    units->setEditable(true);
    units->setInsertPolicy(QComboBox::NoInsert);
    units->setMinimumContentsLength(30);
    for (const std::string& name : names)
        units->addItem(QString::fromLocal8Bit(name.c_str()));
    units->setCurrentIndex(-1);
    units->lineEdit()->setPlaceholderText(tr("a unit, such as ssh.service"));
    all->setChecked(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(all);
    layout->addWidget(one);
    layout->addWidget(units);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(all, &QRadioButton::toggled, this, [this] { updateButtons(); });
    connect(one, &QRadioButton::clicked, units, [this] { units->setFocus(); });
    // Choosing or typing a unit means one unit.
    connect(units, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (!text.isEmpty())
            one->setChecked(true);
        updateButtons();
    });
    updateButtons();
}

std::string JournalDialog::unit() const
{
    if (all->isChecked())
        return std::string();
    return units->currentText().trimmed().toLocal8Bit().toStdString();
}

void JournalDialog::updateButtons()
{
    buttons->button(QDialogButtonBox::Ok)
        ->setEnabled(all->isChecked() || !units->currentText().trimmed().isEmpty());
}

} // namespace kestrano
