#include "platform/qt/LogFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

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
    return fixedPitchFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

QFont fixedPitchFont(const QFont& font)
{
    if (QFontInfo(font).fixedPitch())
        return font;
    QFont fixed(font);
    fixed.setFamily(QStringLiteral("monospace"));
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    if (QFontInfo(fixed).fixedPitch())
        return fixed;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isFixedPitch(family) && !QFontDatabase::isPrivateFamily(family)) {
            fixed.setFamily(family);
            return fixed;
        }
    }
    return font;
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
