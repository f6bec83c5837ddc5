// The commands a log view and its document handle: filters, switches, clear, refresh, delete file.
#pragma once

#include "shell/commands/CommandTarget.h"

namespace kestrano {

class ChildView;
class Document;
class MergedView;

class ViewCommands : public CommandTarget {
public:
    explicit ViewCommands(ChildView& view);
};

// A merged window's view: the filters and the switches a log's view has but Reload on Change.
class MergedViewCommands : public CommandTarget {
public:
    explicit MergedViewCommands(MergedView& view);
};

class DocumentCommands : public CommandTarget {
public:
    // A log that is no file (the journal, standard input) can't be deleted.
    explicit DocumentCommands(Document& document);
};

} // namespace kestrano
