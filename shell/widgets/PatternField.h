// A pattern field (find, text filter): a clear button, names for assistive technology, and whether its
// pattern is valid: an invalid one turns the field red with PCRE2's message as its tool tip.
#pragma once

class QLineEdit;
class QString;

namespace kestrano {

struct PatternError;

// Gives the field its clear button, its name and placeholder, and the button the name "Clear".
void setUpPatternField(QLineEdit& field, const QString& name);
void showPatternError(QLineEdit& field, const PatternError& error);
// Whether the field shows an error now.
bool showsPatternError(const QLineEdit& field);

} // namespace kestrano
