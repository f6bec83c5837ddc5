#include "config/Config.h"

#include <memory>

namespace haspel {

Config::Config()
    : root("Root")
{ }

Config::~Config()
{
    registry.Clear();
}

void Config::Clear()
{
    root.ClearParameters();
    root.ClearSections();
}

void Config::Register(const char* sectionName, Configurable* object)
{
    registry.Put(sectionName, object);
}

void Config::ExchangeAll(bool store)
{
    const std::unique_ptr<PointeredList> names(registry.GetKeys());
    const std::unique_ptr<PointeredList> objects(registry.GetValues());
    const PointeredListItem* object = objects->GetHead();
    for (const PointeredListItem* name = names->GetHead(); name && object;
         name = name->GetNext(), object = object->GetNext()) {
        ConfigSection& section = root.GetSection(static_cast<const char*>(name->GetPointer()));
        static_cast<Configurable*>(object->GetPointer())->Exchange(section, store);
    }
}

} // namespace haspel
