// Deal numbers as players type them, and the tableau of the day.
#include "records/DealNumber.h"

#include <gtest/gtest.h>

#include <set>

namespace torvella::records {
namespace {

TEST(DealNumbers, TypedAndPastedNumbersReadAsTheirValue)
{
    const struct {
        const char* text;
        std::optional<uint32_t> number;
    } cases[] = {
        {"0", 0u},
        {"  123456 \n", 123456u},
        {"#42", 42u},
        {"4294967295", 4294967295u},
        {"4.294.967.295", 4294967295u},
        {"1 234 567", 1234567u},
        {"4294967296", std::nullopt},
        {"99999999999", std::nullopt},
        {"-1", std::nullopt},
        {"12a", std::nullopt},
        {"", std::nullopt},
        {"#", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseDealNumber(QString::fromUtf8(c.text)), c.number) << c.text;
}

TEST(DealNumbers, TheTableauOfTheDayIsPinnedAndChangesEveryDay)
{
    // Pinned: a player's "tableau of the day" must be everybody's, in every version.
    EXPECT_EQ(DailyDealNumber(QDate(2026, 12, 10)), 4060879986u);
    EXPECT_EQ(DailyDealNumber(QDate(2000, 1, 1)), 952614573u);
    std::set<uint32_t> year;
    for (QDate d(2027, 1, 1); d.year() == 2027; d = d.addDays(1))
        year.insert(DailyDealNumber(d));
    EXPECT_EQ(year.size(), 365u);
}

} // namespace
} // namespace torvella::records
