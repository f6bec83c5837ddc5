#include "shell/dialogs/MergeDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kestrano {

MergeDialog::MergeDialog(const QStringList& logs, QWidget* parent)
    : QDialog(parent)
    , all(new QCheckBox(tr("&All"), this))
    , buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("Merge Logs"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(tr("Show these logs in one window, in time order:"), this);
    layout->addWidget(prompt);
    layout->addWidget(all);

    // Many open logs scroll.
    auto* list = new QWidget;
    auto* listLayout = new QVBoxLayout(list);
    for (const QString& log : logs) {
        auto* box = new QCheckBox(log, list);
        listLayout->addWidget(box);
        boxes.push_back(box);
        connect(box, &QCheckBox::toggled, this, &MergeDialog::updateButtons);
    }
    listLayout->addStretch();
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(list);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setAccessibleName(tr("Open logs"));
    layout->addWidget(scroll, 1);
    layout->addWidget(buttons);

    connect(all, &QCheckBox::clicked, this, [this](bool on) {
        for (QCheckBox* box : boxes)
            box->setChecked(on);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateButtons();
    if (!boxes.empty())
        boxes.front()->setFocus();
}

std::vector<int> MergeDialog::chosen() const
{
    std::vector<int> checked;
    for (size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i]->isChecked())
            checked.push_back(static_cast<int>(i));
    return checked;
}

void MergeDialog::updateButtons()
{
    const size_t checked = chosen().size();
    buttons->button(QDialogButtonBox::Ok)->setEnabled(checked >= 2);
    all->setChecked(!boxes.empty() && checked == boxes.size());
}

} // namespace kestrano
