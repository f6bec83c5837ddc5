#include "platform/qt/LogFont.h"

#include <QFontDatabase>

namespace kestrano {

namespace {

QString& chosen()
{
    static QString description;
    return description;
}

} // namespace

QFont logFont()
{
    QFont font;
    if (!chosen().isEmpty() && font.fromString(chosen()))
        return font;
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

void setLogFont(const QString& description)
{
    QFont font;
    chosen() = !description.isEmpty() && font.fromString(description) ? description : QString();
}

QString logFontDescription()
{
    return chosen();
}

} // namespace kestrano
