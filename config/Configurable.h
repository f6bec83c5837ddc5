// haspel::Configurable: an object that keeps its settings in one top-level section of the
// configuration; registered with Config, it is handed its section after each load and before each save.
#pragma once

namespace haspel {

class ConfigSection;

class Configurable {
public:
    virtual ~Configurable() = default;
    // store false: read the settings from section; store true: write them into it.
    virtual void Exchange(ConfigSection& section, bool store) = 0;
};

} // namespace haspel
