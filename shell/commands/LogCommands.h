// The commands a log view and its document handle: filters, switches, clear, refresh, delete file.
#pragma once

#include "shell/commands/CommandTarget.h"

namespace kestrano {

class ChildView;
class Document;

class ViewCommands : public CommandTarget {
public:
    explicit ViewCommands(ChildView& view);
};

class DocumentCommands : public CommandTarget {
public:
    // A log that is no file (the journal, standard input) can't be deleted.
    explicit DocumentCommands(Document& document);
};

} // namespace kestrano
