#include "foundation/Exception.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace haspel;

namespace {

struct Record {
    std::string origin;
    int32_t line;
    int32_t level;
    std::string text;
};
std::vector<Record> records;

void RecordingSink(const char* origin, int32_t line, int32_t level, const char* text)
{
    records.push_back({origin, line, level, text});
}

class ExceptionTest : public testing::Test {
protected:
    void SetUp() override
    {
        records.clear();
        SetExceptionSink(RecordingSink);
    }
    void TearDown() override { SetExceptionSink(nullptr); }
};

} // namespace

TEST_F(ExceptionTest, LocatedExceptionHandsTwoLineRecordToSink)
{
    EIllegalState e(
        "The __argv[0] does not denote a valid path", "haspel::Path::CreateApplicationLikePathInternal", 875);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].origin, "haspel::Path::CreateApplicationLikePathInternal");
    EXPECT_EQ(records[0].line, 875);
    EXPECT_EQ(records[0].level, 5);
    EXPECT_EQ(records[0].text, "EIllegalState.\nMessage: The __argv[0] does not denote a valid path");
    EXPECT_STREQ(e.GetClassName(), "EIllegalState");
    EXPECT_STREQ(e.GetMessage(), "The __argv[0] does not denote a valid path");
}

TEST_F(ExceptionTest, NoRecordWithoutOriginOrLineOrSink)
{
    EIllegalArgument noLine("m", "o", 0);
    EIllegalArgument noOrigin("m", nullptr, 12);
    SetExceptionSink(nullptr);
    EIllegalArgument noSink("m", "o", 12);
    EXPECT_TRUE(records.empty());
    EXPECT_STREQ(noSink.GetOrigin(), "o");
    EXPECT_EQ(noSink.GetLine(), 12);
}

TEST_F(ExceptionTest, OriginKeepsOnlyTextAfterLastBackslash)
{
    EIllegalArgument path("m", "C:\\src\\foundation\\Logger.cpp", 39);
    EIllegalArgument plain("m", "haspel::Logger::Logger", 39);
    EXPECT_STREQ(path.GetOrigin(), "Logger.cpp");
    EXPECT_STREQ(plain.GetOrigin(), "haspel::Logger::Logger");
    // The sink receives the origin before its reduction.
    EXPECT_EQ(records[0].origin, "C:\\src\\foundation\\Logger.cpp");
}

TEST_F(ExceptionTest, OutOfMemoryCarriesOnlyItsClassNameAndIsNeverLogged)
{
    EOutOfMemory e;
    EXPECT_STREQ(e.GetClassName(), "EOutOfMemory");
    EXPECT_EQ(e.GetMessage(), nullptr);
    EXPECT_EQ(e.GetOrigin(), nullptr);
    EXPECT_EQ(e.GetLine(), 0);
    EXPECT_TRUE(records.empty());
}

TEST_F(ExceptionTest, CopiesOwnTheirTexts)
{
    auto* original = new EIllegalState("message", "origin", 3);
    EIllegalState copy(*original);
    EXPECT_NE(copy.GetMessage(), original->GetMessage());
    delete original;
    EXPECT_STREQ(copy.GetMessage(), "message");
    EXPECT_STREQ(copy.GetOrigin(), "origin");
    EIllegalState assigned("other", "place", 4);
    assigned = copy;
    EXPECT_STREQ(assigned.GetMessage(), "message");
    EXPECT_EQ(assigned.GetLine(), 3);
}

TEST_F(ExceptionTest, FamilyIsCatchableByItsBases)
{
    try {
        throw EIllegalArgument("bad", "f", 1);
    } catch (const EAutoBreaking& e) {
        EXPECT_STREQ(e.GetClassName(), "EIllegalArgument");
    }
    EXPECT_THROW(throw EOutOfMemory(), Exception);
}
