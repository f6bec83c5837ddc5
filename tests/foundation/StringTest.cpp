#include "foundation/String.h"

#include "foundation/Exception.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using haspel::String;

TEST(StringTest, CapacityIsAMultipleOfFourAboveTheRequest)
{
    EXPECT_EQ(String().GetCapacity(), 4);
    EXPECT_EQ(String().Length(), 0);
    EXPECT_EQ(String("0123456789").GetCapacity(), 12);
    EXPECT_EQ(String('x').GetCapacity(), 4);
    EXPECT_STREQ(String('x').GetText(), "x");
    EXPECT_STREQ(String("abcdef", 3).GetText(), "abc");
    EXPECT_EQ(String("ab\0cd", 5).Length(), 2);
}

TEST(StringTest, AppendingGrowsByDoublingThenByHalf)
{
    String s;
    std::vector<int32_t> capacities {s.GetCapacity()};
    for (int i = 0; i < 100; ++i) {
        s.AppendChar('a');
        if (s.GetCapacity() != capacities.back())
            capacities.push_back(s.GetCapacity());
    }
    EXPECT_EQ(capacities, (std::vector<int32_t> {4, 20, 44, 92, 188}));
    EXPECT_EQ(s.Length(), 100);
    EXPECT_EQ(std::string(s.GetText()), std::string(100, 'a'));

    String small;
    small.Reserve(8188, false);
    EXPECT_EQ(small.GetCapacity(), 8192);
    small.Reserve(8193, false);
    EXPECT_EQ(small.GetCapacity(), 16388); // doubled below 16 KiB
    String large;
    large.Reserve(16380, false);
    EXPECT_EQ(large.GetCapacity(), 16384);
    large.Reserve(16385, false);
    EXPECT_EQ(large.GetCapacity(), 24580); // one and a half from 16 KiB on
}

TEST(StringTest, CopiesShareUntilOneChanges)
{
    String a("shared text");
    String b(a);
    String c;
    c = b;
    EXPECT_TRUE(a.SharesBufferWith(b));
    EXPECT_TRUE(a.SharesBufferWith(c));
    EXPECT_EQ(c.Length(), 11);

    b.Append("!");
    EXPECT_FALSE(b.SharesBufferWith(a));
    EXPECT_STREQ(b.GetText(), "shared text!");
    EXPECT_STREQ(a.GetText(), "shared text");
    EXPECT_TRUE(a.SharesBufferWith(c));

    {
        String* clone = c.Clone();
        EXPECT_TRUE(clone->SharesBufferWith(a));
        delete clone; // leaves the chain; a and c keep the buffer
    }
    c.Assign(a); // same buffer: nothing changes
    EXPECT_TRUE(c.SharesBufferWith(a));
    EXPECT_STREQ(c.GetText(), "shared text");
}

TEST(StringTest, EveryChangeMakesTheBufferPrivate)
{
    const String original("Hello World");
    auto changed = [&](void (*change)(String&)) {
        String copy(original);
        change(copy);
        EXPECT_FALSE(copy.SharesBufferWith(original));
        EXPECT_STREQ(original.GetText(), "Hello World");
        return std::string(copy.GetText());
    };
    EXPECT_EQ(changed([](String& s) { s.Truncate(5); }), "Hello");
    EXPECT_EQ(changed([](String& s) { s.DropTail(6); }), "Hello");
    EXPECT_EQ(changed([](String& s) { s.ToLower(); }), "hello world");
    EXPECT_EQ(changed([](String& s) { s.AppendInt(-2147483647 - 1); }), "Hello World-2147483648");
    EXPECT_EQ(changed([](String& s) { s.AppendChar('?'); }), "Hello World?");
    EXPECT_EQ(changed([](String& s) { s.Assign("new"); }), "new");
    EXPECT_EQ(changed([](String& s) { s.Format("%d", 42); }), "42");
}

TEST(StringTest, ChainSurvivesDestructionInAnyOrder)
{
    auto* first = new String("chain");
    auto* second = new String(*first);
    auto* third = new String(*second);
    auto* fourth = new String(*first); // joins between first and second
    delete second;
    delete first;
    EXPECT_STREQ(third->GetText(), "chain");
    EXPECT_TRUE(third->SharesBufferWith(*fourth));
    third->Append("s");
    EXPECT_STREQ(fourth->GetText(), "chain");
    delete fourth;
    delete third;
}

TEST(StringTest, FailedReserveKeepsTheSharedBuffer)
{
    String a("kept");
    String b(a);
    EXPECT_THROW(b.Reserve(INT_MAX, true), haspel::EOutOfMemory);
    EXPECT_TRUE(b.SharesBufferWith(a));
    b.Append("!");
    EXPECT_STREQ(a.GetText(), "kept");
    EXPECT_STREQ(b.GetText(), "kept!");
}

TEST(StringTest, CachedLengthFollowsEveryChange)
{
    String s("abc");
    s.AppendInt(12345);
    EXPECT_EQ(s.Length(), 8);
    s.Format("%s/%s", "x", "yz");
    EXPECT_EQ(s.Length(), 4);
    s.DropTail(1);
    EXPECT_EQ(s.Length(), 3);
    s.AppendBytes("12345", 2);
    EXPECT_STREQ(s.GetText(), "x/y12");
    EXPECT_EQ(s.Length(), 5);
}

TEST(StringTest, TruncateAndDropTailBounds)
{
    String s("abc");
    s.Truncate(10);
    EXPECT_STREQ(s.GetText(), "abc");
    s.DropTail(-1);
    EXPECT_STREQ(s.GetText(), "abc");
    s.DropTail(5);
    EXPECT_STREQ(s.GetText(), "");
    String t("abc");
    t.Truncate(-3);
    EXPECT_TRUE(t.IsEmpty());
}

TEST(StringTest, Searching)
{
    const String s("abcabc");
    EXPECT_TRUE(s.EndsWith(""));
    EXPECT_TRUE(s.EndsWith("cabc"));
    EXPECT_FALSE(s.EndsWith("xabcabc"));
    EXPECT_FALSE(s.EndsWith("ab"));
    EXPECT_EQ(s.IndexOf('c'), 2);
    EXPECT_EQ(s.IndexOf('z'), -1);
    EXPECT_EQ(s.Find("bc", -5), 1);
    EXPECT_EQ(s.Find("bc", 2), 4);
    EXPECT_EQ(s.Find("bc", 5), -1);
    EXPECT_EQ(String("abc").Find("a", 3), -1);
    EXPECT_EQ(String("abc").Find("a", 4), -1);
    EXPECT_TRUE(s.Equals("abcabc"));
    EXPECT_FALSE(s.Equals("abc"));
}

TEST(StringTest, ToLowerCoversAsciiAndLatin1CapitalsOnly)
{
    String s("AZ\xC0\xC9\xD6\xD7\xD8\xDE\xDF[@");
    s.ToLower();
    EXPECT_STREQ(s.GetText(), "az\xE0\xE9\xF6\xD7\xF8\xFE\xDF[@");
}

TEST(StringTest, FormatDoublesUntilTheExpansionFits)
{
    String s;
    s.Format("%s", std::string(100, 'x').c_str());
    EXPECT_EQ(s.Length(), 100);
    EXPECT_EQ(s.GetCapacity(), 188); // 4, 20, 44, 92, 188

    // An expansion of exactly capacity - 1 characters does not count as complete.
    String fits;
    fits.Format("%s", std::string(18, 'y').c_str());
    EXPECT_EQ(fits.GetCapacity(), 20);
    String oneMore;
    oneMore.Format("%s", std::string(19, 'y').c_str());
    EXPECT_EQ(oneMore.GetCapacity(), 44);
    EXPECT_EQ(oneMore.Length(), 19);
}

TEST(StringTest, FormatMayReadItsOwnText)
{
    String s("ab");
    for (int i = 0; i < 6; ++i)
        s.Format("%s-%s", s.GetText(), s.GetText());
    EXPECT_EQ(s.Length(), 2 * 64 + 63);
    s.Append(s.GetText());
    EXPECT_EQ(s.Length(), 2 * (2 * 64 + 63));
    s.Assign(s.GetText() + s.Length() - 2);
    EXPECT_STREQ(s.GetText(), "ab");
}

TEST(StringTest, FormatBeyondHalfAGigabyteEmptiesTheStringAndThrows)
{
    // 402653179 characters do not fit the last capacity below 512 MiB (402653180 bytes).
    String s("previous");
    String sharer(s);
    try {
        s.Format("%*s", 402653179, "");
        FAIL() << "no exception";
    } catch (const haspel::EIllegalArgument& e) {
        EXPECT_STREQ(e.GetMessage(), "Formatted string requires too much space (>512MB)");
        EXPECT_STREQ(e.GetOrigin(), "haspel::String::FormatFromVargs");
        EXPECT_EQ(e.GetLine(), 1147);
    }
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.Length(), 0);
    EXPECT_STREQ(sharer.GetText(), "previous");
}

TEST(StringTest, FormatIntoABufferOfHalfAGigabyteThrowsEvenForShortText)
{
    String s("previous");
    s.Reserve(536870912, true); // never written beyond its text, so it costs address space only
    EXPECT_THROW(s.Format("%d items", 3), haspel::EIllegalArgument);
    EXPECT_TRUE(s.IsEmpty());
    // One byte below the limit, a short expansion fits.
    String t;
    t.Reserve(536870907, false);
    ASSERT_LT(t.GetCapacity(), 536870912);
    t.Format("%d items", 3);
    EXPECT_STREQ(t.GetText(), "3 items");
}
