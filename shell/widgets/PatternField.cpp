#include "shell/widgets/PatternField.h"

#include "core/search/TextMatcher.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QToolButton>

namespace kestrano {

namespace {

const char* const ErrorProperty = "patternError";

} // namespace

void setUpPatternField(QLineEdit& field, const QString& name)
{
    field.setPlaceholderText(name);
    field.setAccessibleName(name);
    field.setClearButtonEnabled(true);
    for (QToolButton* button : field.findChildren<QToolButton*>()) {
        button->setAccessibleName(QCoreApplication::translate("PatternField", "Clear"));
        button->setToolTip(QCoreApplication::translate("PatternField", "Clear"));
    }
}

void showPatternError(QLineEdit& field, const PatternError& error)
{
    const bool invalid = !error.message.empty();
    if (!invalid && !showsPatternError(field))
        return; // nothing to undo
    field.setProperty(ErrorProperty, invalid);
    if (!invalid) {
        field.setStyleSheet(QString());
        field.setToolTip(QString());
        return;
    }
    field.setStyleSheet(QStringLiteral("QLineEdit { background-color: #f2b8b5; color: black; }"));
    field.setToolTip(QCoreApplication::translate("PatternField", "%1 (at offset %2)")
                         .arg(QString::fromUtf8(error.message.c_str()))
                         .arg(error.offset));
}

bool showsPatternError(const QLineEdit& field)
{
    return field.property(ErrorProperty).toBool();
}

} // namespace kestrano
