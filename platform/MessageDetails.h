// Shows one message in full, modally (the details dialog).
#pragma once

namespace kestrano {

class Message;

class MessageDetails {
public:
    virtual ~MessageDetails() = default;

    // Returns when the user closed the dialog.
    virtual void show(const Message& message) = 0;
};

} // namespace kestrano
