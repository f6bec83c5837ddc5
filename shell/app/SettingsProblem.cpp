#include "shell/app/SettingsProblem.h"

#include <QCoreApplication>

#include <cstring>
#include <iterator>

namespace kestrano {
namespace {

// By haspel::SyntaxFault, None first.
constexpr const char* FaultTexts[] = {
    "",
    QT_TRANSLATE_NOOP("kestrano::SettingsProblem", "a value outside any section"),
    QT_TRANSLATE_NOOP("kestrano::SettingsProblem", "a closing tag without an open section"),
    QT_TRANSLATE_NOOP("kestrano::SettingsProblem", "a closing tag names another section than the open one"),
    QT_TRANSLATE_NOOP("kestrano::SettingsProblem", "sections nested too deeply"),
    QT_TRANSLATE_NOOP("kestrano::SettingsProblem", "a section is not closed"),
};
static_assert(std::size(FaultTexts) == static_cast<size_t>(haspel::SyntaxFault::Unclosed) + 1);

QString translated(const char* text)
{
    return QCoreApplication::translate("kestrano::SettingsProblem", text);
}

} // namespace

QString settingsProblemText(const haspel::ConfigProblem& problem)
{
    using Kind = haspel::ConfigProblem::Kind;
    const QString file = QString::fromLocal8Bit(problem.file);
    QString what;
    if (problem.kind == Kind::Unparsable) {
        what = translated(
            QT_TRANSLATE_NOOP("kestrano::SettingsProblem", "The settings file %1 is damaged at line %2: %3."))
                   .arg(file)
                   .arg(problem.line)
                   .arg(translated(FaultTexts[static_cast<size_t>(problem.fault)]));
    } else {
        const QString reason = problem.error
            ? QString::fromLocal8Bit(std::strerror(problem.error))
            : translated(QT_TRANSLATE_NOOP("kestrano::SettingsProblem", "not a regular file"));
        what = translated(
            QT_TRANSLATE_NOOP("kestrano::SettingsProblem", "Cannot read the settings file %1: %2."))
                   .arg(file, reason);
    }
    return what + QStringLiteral("\n\n")
        + (problem.backupLoaded ? translated(QT_TRANSLATE_NOOP("kestrano::SettingsProblem",
                                                 "Kestrano starts with the settings saved before (%1.old)."))
                                      .arg(file)
                                : translated(QT_TRANSLATE_NOOP("kestrano::SettingsProblem",
                                    "Kestrano starts with the default settings.")));
}

} // namespace kestrano
