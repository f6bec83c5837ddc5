#include "shell/dialogs/RemoteLogDialog.h"

#include "core/sources/RemoteName.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kestrano {

RemoteLogDialog::RemoteLogDialog(const std::vector<std::string>& names, QWidget* parent)
    : QDialog(parent)
    , recent(new QComboBox(this))
    , host(new QLineEdit(this))
    , file(new QRadioButton(tr("&File:"), this))
    , path(new QLineEdit(this))
    , journal(new QRadioButton(tr("&Journal, unit:"), this))
    , unit(new QLineEdit(this))
    , buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("Open Remote Log"));
    for (const std::string& name : names)
        recent->addItem(QString::fromLocal8Bit(name.c_str()));
    recent->setCurrentIndex(-1);
    recent->setEnabled(!names.empty());
    recent->setPlaceholderText(names.empty() ? tr("none yet") : tr("choose one to fill in the fields"));
    recent->setMinimumContentsLength(40);
    host->setPlaceholderText(tr("[user@]host[:port], or an alias of ~/.ssh/config"));
    path->setPlaceholderText(tr("/var/log/syslog"));
    unit->setPlaceholderText(tr("all entries, or a unit such as nginx"));
    file->setChecked(true);

    auto* layout = new QFormLayout(this);
    auto* recentLabel = new QLabel(tr("&Recent:"), this);
    recentLabel->setBuddy(recent);
    layout->addRow(recentLabel, recent);
    auto* hostLabel = new QLabel(tr("&Host:"), this);
    hostLabel->setBuddy(host);
    layout->addRow(hostLabel, host);
    layout->addRow(file, path);
    layout->addRow(journal, unit);
    layout->addRow(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(recent, &QComboBox::activated, this, [this](int index) { takeRecent(recent->itemText(index)); });
    for (QLineEdit* field : {host, path, unit})
        connect(field, &QLineEdit::textChanged, this, [this] { updateButtons(); });
    // Typing in a field picks its choice.
    connect(path, &QLineEdit::textEdited, file, [this] { file->setChecked(true); });
    connect(unit, &QLineEdit::textEdited, journal, [this] { journal->setChecked(true); });
    connect(file, &QRadioButton::toggled, this, [this] { updateButtons(); });
    updateButtons();
}

std::string RemoteLogDialog::name() const
{
    const std::string where = host->text().trimmed().toLocal8Bit().toStdString();
    std::string rest;
    if (file->isChecked()) {
        rest = path->text().trimmed().toLocal8Bit().toStdString();
        if (rest.empty() || rest[0] != '/')
            return std::string(); // a path of the remote host, absolute
    } else {
        const std::string chosen = unit->text().trimmed().toLocal8Bit().toStdString();
        rest = chosen.empty() ? "/?journal" : "/?journal=" + chosen;
    }
    const std::string name = RemotePrefix + where + rest;
    RemoteName remote;
    return parseRemoteName(name.c_str(), remote) ? name : std::string();
}

void RemoteLogDialog::takeRecent(const QString& name)
{
    RemoteName remote;
    if (!parseRemoteName(name.toLocal8Bit().constData(), remote))
        return;
    // The host part as it stands in the name.
    const QString rest = name.mid(QString::fromLatin1(RemotePrefix).size());
    host->setText(rest.left(rest.indexOf(QLatin1Char('/'))));
    (remote.journal ? journal : file)->setChecked(true);
    path->setText(remote.journal ? QString() : QString::fromLocal8Bit(remote.path.c_str()));
    unit->setText(QString::fromLocal8Bit(remote.unit.c_str()));
}

void RemoteLogDialog::updateButtons()
{
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!name().empty());
}

} // namespace kestrano
