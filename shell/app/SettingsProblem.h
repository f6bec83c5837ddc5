// The message about a configuration file that could not be loaded, in the user's language: what is
// wrong, where, and which settings the program starts with.
#pragma once

#include "config/ConfigProblem.h"

#include <QString>

namespace kestrano {

QString settingsProblemText(const haspel::ConfigProblem& problem);

} // namespace kestrano
