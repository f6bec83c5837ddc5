// The packed severities of the history's index against a plain list of them.
#include "core/sources/SeverityIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace kestrano::test {
namespace {

// Severities drawn from a few at a time, so blocks pack to every width.
std::vector<int32_t> randomSeverities(std::mt19937& random, size_t count)
{
    std::vector<int32_t> severities;
    int32_t kinds = 1;
    for (size_t i = 0; i < count; ++i) {
        if (i % SeverityIndex::BlockSize == 0)
            kinds = 1 + static_cast<int32_t>(random() % SeverityIndex::Severities);
        severities.push_back(Severity::Unknown + static_cast<int32_t>(random() % kinds));
    }
    return severities;
}

void expectModel(const SeverityIndex& index, const std::vector<int32_t>& model)
{
    ASSERT_EQ(index.getCount(), static_cast<int64_t>(model.size()));
    for (size_t i = 0; i < model.size(); ++i)
        ASSERT_EQ(index.getSeverity(static_cast<int64_t>(i)), model[i]) << i;
    for (int32_t minimum = Severity::DebugInformation; minimum <= Severity::Never; ++minimum) {
        for (const bool unknown : {false, true}) {
            const SeverityFilter filter {minimum, unknown};
            int64_t passing = 0;
            for (size_t i = 0; i <= model.size(); i += 1 + i % 97) {
                passing = 0;
                for (size_t j = 0; j < i; ++j)
                    passing += filter.passes(model[j]);
                ASSERT_EQ(index.countPassing(filter, static_cast<int64_t>(i)), passing) << i;
            }
            int64_t rank = 0;
            for (size_t i = 0; i < model.size(); ++i) {
                if (filter.passes(model[i]) && rank % 53 == 0) {
                    ASSERT_EQ(index.findPassing(filter, rank), static_cast<int64_t>(i));
                }
                rank += filter.passes(model[i]);
            }
            EXPECT_EQ(index.findPassing(filter, rank), -1);
        }
    }
}

TEST(SeverityIndexTest, PacksBlocksAndAnswersAsTheList)
{
    std::mt19937 random(3);
    const std::vector<int32_t> model = randomSeverities(random, 7 * SeverityIndex::BlockSize + 123);
    SeverityIndex index;
    for (size_t i = 0; i < model.size(); ++i)
        index.append({0, i * 10}, model[i]);
    expectModel(index, model);
    // A block of one severity takes no bits; the open one a byte a message.
    EXPECT_LT(index.getMemoryBytes(), static_cast<int64_t>(model.size()) / 2 + 8 * 4096);
    EXPECT_EQ(index.getBlockPlace(index.blockOf(SeverityIndex::BlockSize + 5)).offset,
        SeverityIndex::BlockSize * 10u);
}

TEST(SeverityIndexTest, RunsOfMessagesFillBlocksAsSingleMessagesDo)
{
    std::mt19937 random(9);
    const std::vector<int32_t> model = randomSeverities(random, 5 * SeverityIndex::BlockSize + 77);
    const size_t secondFile = 2 * SeverityIndex::BlockSize + 10;
    SeverityIndex one;
    for (size_t i = 0; i < model.size(); ++i)
        one.append({i < secondFile ? 0 : 1, i}, model[i]);
    // Runs of any length across block ends; a run holds one file's messages.
    SeverityIndex runs;
    for (size_t i = 0; i < model.size();) {
        const size_t end
            = std::min({model.size(), i + 1 + random() % 3000, i < secondFile ? secondFile : model.size()});
        std::vector<MessageStarts::Start> starts;
        for (size_t k = i; k < end; ++k)
            starts.push_back({static_cast<int32_t>(k - i), model[k], false});
        runs.appendStarts(i < secondFile ? 0 : 1, i, starts.data(), starts.size());
        i = end;
    }
    expectModel(runs, model);
    ASSERT_EQ(runs.getBlockCount(), one.getBlockCount());
    for (int32_t block = 0; block < one.getBlockCount(); ++block) {
        EXPECT_EQ(runs.getBlockFirst(block), one.getBlockFirst(block));
        EXPECT_EQ(runs.getBlockPlace(block).file, one.getBlockPlace(block).file);
        EXPECT_EQ(runs.getBlockPlace(block).offset, one.getBlockPlace(block).offset);
    }
}

TEST(SeverityIndexTest, StartsABlockWithEachFileAndTruncatesToAFile)
{
    std::mt19937 random(5);
    std::vector<int32_t> model = randomSeverities(random, 3 * SeverityIndex::BlockSize);
    SeverityIndex index;
    const size_t second = 5000;
    for (size_t i = 0; i < model.size(); ++i)
        index.append({i < second ? 0 : 1, i < second ? i : i - second}, model[i]);
    const int32_t block = index.firstBlockOf(1);
    EXPECT_EQ(index.getBlockFirst(block), static_cast<int64_t>(second));
    EXPECT_EQ(index.getBlockPlace(block).offset, 0u);
    expectModel(index, model);

    // The second file again, shorter, its last message raised.
    index.truncate(static_cast<int64_t>(second));
    model.resize(second);
    for (int32_t severity : {Severity::Information, Severity::Unknown}) {
        index.append({1, model.size() - second}, severity);
        model.push_back(severity);
    }
    index.raiseLast(Severity::Error);
    model.back() = Severity::Error;
    expectModel(index, model);
    // Cut inside a packed block.
    index.truncate(100);
    model.resize(100);
    index.append({0, 100}, Severity::Fatal);
    model.push_back(Severity::Fatal);
    expectModel(index, model);
}

} // namespace
} // namespace kestrano::test
