// Shows on a pattern field whether its pattern is valid: an invalid one turns the field red with
// PCRE2's message as its tool tip.
#pragma once

class QLineEdit;

namespace kestrano {

struct PatternError;

void showPatternError(QLineEdit& field, const PatternError& error);
// Whether the field shows an error now.
bool showsPatternError(const QLineEdit& field);

} // namespace kestrano
