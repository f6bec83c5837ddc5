#include "config/ConfigSection.h"

#include "foundation/Exception.h"

#include <cstdlib>
#include <memory>

namespace haspel {

namespace {

// Inserts a new entry, destroying it again if the map can't take it.
template <class T> T& Insert(StringKeyHashMap<T>& map, const char* key, std::unique_ptr<T> entry)
{
    map.Put(key, entry.get());
    return *entry.release();
}

// The parameter of that name; a missing one is created, given its default by setDefault, and inserted.
template <class SetDefault>
ConfigParameter& FindOrCreate(
    StringKeyHashMap<ConfigParameter>& parameters, const char* name, SetDefault setDefault)
{
    if (ConfigParameter* found = parameters.Get(name))
        return *found;
    auto created = std::make_unique<ConfigParameter>();
    setDefault(*created);
    return Insert(parameters, name, std::move(created));
}

} // namespace

ConfigSection::ConfigSection(const char* name)
    : name(name)
{ }

ConfigSection::~ConfigSection() = default;

ConfigSection& ConfigSection::GetSection(const char* sectionName)
{
    if (ConfigSection* found = sections.Get(sectionName))
        return *found;
    return Insert(sections, sectionName, std::make_unique<ConfigSection>(sectionName));
}

ConfigParameter& ConfigSection::GetParameter(const char* parameterName)
{
    return FindOrCreate(parameters, parameterName, [](ConfigParameter&) {});
}

bool ConfigSection::GetBool(const char* parameterName, bool defaultValue)
{
    return FindOrCreate(parameters, parameterName, [=](ConfigParameter& p) {
        p.SetBool(defaultValue);
    }).ToBool();
}

int32_t ConfigSection::GetInt(const char* parameterName, int32_t defaultValue)
{
    return FindOrCreate(parameters, parameterName, [=](ConfigParameter& p) {
        p.SetInt(defaultValue);
    }).ToInt();
}

const char* ConfigSection::GetString(const char* parameterName, const char* defaultValue)
{
    return FindOrCreate(parameters, parameterName, [=](ConfigParameter& p) {
        p.SetString(defaultValue);
    }).ToString();
}

void ConfigSection::RemoveSection(const char* sectionName)
{
    sections.Remove(sectionName);
}

void ConfigSection::ClearParameters()
{
    parameters.Clear();
}

void ConfigSection::ClearSections()
{
    sections.Clear();
}

} // namespace haspel
