// The commands a log view and its document handle: filters, switches, clear, refresh, delete file.
#pragma once

#include "shell/CommandTarget.h"

namespace kestrano {

class ChildView;
class Document;

class ViewCommands : public CommandTarget {
public:
    explicit ViewCommands(ChildView& view)
        : view(view)
    { }
    bool handlesCommand(Command command) const override;
    void runCommand(Command command) override;

private:
    ChildView& view;
};

class DocumentCommands : public CommandTarget {
public:
    explicit DocumentCommands(Document& document)
        : document(document)
    { }
    // A log that is no file (the journal, standard input) can't be deleted.
    bool handlesCommand(Command command) const override;
    void runCommand(Command command) override;

private:
    Document& document;
};

} // namespace kestrano
