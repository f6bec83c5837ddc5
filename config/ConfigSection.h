// haspel::ConfigSection: a named node of the configuration tree holding parameters and sub-sections by
// name (byte-exact, case-sensitive). Lookups by name create what is missing.
#pragma once

#include "config/ConfigParameter.h"
#include "config/ConfigWriter.h"
#include "foundation/HashMap.h"
#include "foundation/RawAllocated.h"
#include "foundation/String.h"

#include <cstdint>

namespace haspel {

class ConfigSection : public RawAllocated {
public:
    explicit ConfigSection(const char* name);
    ~ConfigSection();
    ConfigSection(const ConfigSection&) = delete;
    ConfigSection& operator=(const ConfigSection&) = delete;

    const char* GetName() const { return name.GetText(); }

    // The sub-section or parameter of that name, inserted empty (type None) when missing.
    ConfigSection& GetSection(const char* sectionName);
    ConfigParameter& GetParameter(const char* parameterName);
    // A stored value wins; a missing parameter is inserted holding the default, typed as the read.
    bool GetBool(const char* parameterName, bool defaultValue);
    int32_t GetInt(const char* parameterName, int32_t defaultValue);
    const char* GetString(const char* parameterName, const char* defaultValue);

    // Lookups that never create; nullptr when missing.
    ConfigSection* FindSection(const char* sectionName) const { return sections.Get(sectionName); }
    ConfigParameter* FindParameter(const char* parameterName) const { return parameters.Get(parameterName); }
    const StringKeyHashMap<ConfigParameter>& GetParameters() const { return parameters; }
    const StringKeyHashMap<ConfigSection>& GetSections() const { return sections; }

    // Destroys the sub-section with its whole subtree; nothing when there is none.
    void RemoveSection(const char* sectionName);
    void ClearParameters();
    void ClearSections();

    // Writes the content (not the section's own tags) in file syntax at the given nesting depth:
    // parameters, then sub-sections, each in case-insensitive name order.
    bool Write(ConfigWriter& writer, int32_t depth) const;

private:
    String name;
    StringKeyHashMap<ConfigParameter> parameters;
    StringKeyHashMap<ConfigSection> sections;
};

} // namespace haspel
