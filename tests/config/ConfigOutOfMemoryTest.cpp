#include "config/ConfigParameter.h"
#include "config/ConfigSection.h"
#include "tests/support/FailingAllocations.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace haspel;
using kestrano::test::failEachAllocation;

namespace {

// "p3" and the like; appended, since GCC 12 at -O3 warns falsely (-Wrestrict) on "p" + std::string.
std::string numbered(const char* prefix, int i)
{
    std::string name(prefix);
    name.append(std::to_string(i));
    return name;
}

} // namespace

// A text that can't be copied for want of memory leaves the parameter's old value, whatever its type.
TEST(ConfigOutOfMemoryTest, FailedSetStringKeepsTheOldValue)
{
    std::unique_ptr<ConfigParameter> parameter;
    auto fresh = [&] { parameter = std::make_unique<ConfigParameter>(); };
    auto setNew = [&] { parameter->SetString("the new text"); };

    auto oldText = [&] {
        fresh();
        parameter->SetString("old");
    };
    auto keptText = [&] {
        EXPECT_EQ(parameter->GetType(), ValueType::String);
        EXPECT_STREQ(parameter->ToString(), "old");
    };
    EXPECT_EQ(failEachAllocation(oldText, setNew, keptText), 1);
    EXPECT_STREQ(parameter->ToString(), "the new text");
    // Its own text again.
    EXPECT_EQ(failEachAllocation(
                  oldText, [&] { parameter->SetString(parameter->ToString()); }, keptText),
        1);
    EXPECT_STREQ(parameter->ToString(), "old");

    EXPECT_EQ(failEachAllocation([&] { fresh(), parameter->SetInt(42); }, setNew,
                  [&] {
                      EXPECT_EQ(parameter->GetType(), ValueType::Int);
                      EXPECT_EQ(parameter->ToInt(), 42);
                  }),
        1);
    EXPECT_EQ(
        failEachAllocation(fresh, setNew, [&] { EXPECT_EQ(parameter->GetType(), ValueType::None); }), 1);
}

// A lookup that can't create its entry for want of memory inserts nothing, even when only the
// rebucketing of the map that was to hold it fails; the section goes on working.
TEST(ConfigOutOfMemoryTest, FailedLookupInsertsNothing)
{
    std::unique_ptr<ConfigSection> section;
    auto sixteenOfEach = [&] {
        section = std::make_unique<ConfigSection>("Root");
        for (int i = 0; i < 16; ++i) {
            section->GetInt(numbered("p", i).c_str(), i);
            section->GetSection(numbered("s", i).c_str());
        }
    };
    auto unchanged = [&] {
        EXPECT_EQ(section->GetParameters().GetSize(), 16);
        EXPECT_EQ(section->GetSections().GetSize(), 16);
        EXPECT_EQ(section->FindParameter("p16"), nullptr);
        EXPECT_EQ(section->FindSection("s16"), nullptr);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(section->GetInt(numbered("p", i).c_str(), -1), i);
            EXPECT_NE(section->FindSection(numbered("s", i).c_str()), nullptr);
        }
        EXPECT_STREQ(section->GetString("p16", "after"), "after");
        EXPECT_STREQ(section->GetSection("s16").GetName(), "s16");
    };

    // The parameter, its default's copy, the key's copy, the map's lists and items, the rebucketing.
    EXPECT_GE(failEachAllocation(
                  sixteenOfEach, [&] { section->GetString("p16", "default"); }, unchanged),
        6);
    EXPECT_STREQ(section->GetString("p16", "other"), "default");
    EXPECT_EQ(section->GetParameters().GetBucketCount(), 34);
    EXPECT_GE(failEachAllocation(
                  sixteenOfEach, [&] { section->GetSection("s16"); }, unchanged),
        6);
    EXPECT_EQ(section->GetSections().GetBucketCount(), 34);
}
