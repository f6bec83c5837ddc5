// The text filter's toolbar of a log window: the pattern field, the show or hide choice, match case and
// regular expression. Every change hands the whole filter to its handler.
#pragma once

#include "core/settings/WorkspaceStore.h"

#include <QToolBar>

#include <functional>

class QComboBox;
class QLineEdit;
class QToolButton;

namespace kestrano {

struct PatternError;

class FilterBar : public QToolBar {
    Q_OBJECT

public:
    using ChangeHandler = std::function<void(const TextFilter&)>;

    FilterBar(ChangeHandler changed, QWidget* parent = nullptr);

    // Shows the filter as given (after a workspace restore, say) without calling the handler.
    void showFilter(const TextFilter& filter, const PatternError& error);
    // Marks the field red with the reason while the pattern is invalid.
    void showError(const PatternError& error);
    // Shows the bar and puts the focus in its field, its text selected.
    void focusField();

    QLineEdit& field() const { return *text; }
    QComboBox& mode() const { return *hides; }
    QToolButton& caseButton() const { return *matchCase; }
    QToolButton& regexButton() const { return *regex; }

private:
    TextFilter filter() const;

    ChangeHandler changed;
    QLineEdit* text;
    QComboBox* hides;
    QToolButton* matchCase;
    QToolButton* regex;
};

} // namespace kestrano
