// The alert sound played when a new message reaches the sound threshold.
#pragma once

namespace kestrano {

class AlertSound {
public:
    virtual ~AlertSound() = default;
    // Starts the sound and returns at once; does nothing while the previous alert still plays.
    virtual void play() = 0;
};

} // namespace kestrano
