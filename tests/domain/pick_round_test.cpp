#include "domain/pick_round.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace velmo {
namespace {

std::vector<QuotationKey> KeysOf(std::initializer_list<TextView> texts) {
    return QuotationKeys(std::vector<TextView>(texts));
}

std::vector<int> All(size_t count) {
    std::vector<int> all(count);
    for (size_t i = 0; i < count; ++i)
        all[i] = static_cast<int>(i);
    return all;
}

// Draws the first, or the last, of what is offered.
const UniformBelow kFirst = [](int) { return 0; };
const UniformBelow kLast = [](int count) { return count - 1; };

std::vector<int> Picks(PickRound& round, const std::vector<QuotationKey>& keys,
                       const std::vector<int>& candidates, const UniformBelow& draw, int times) {
    std::vector<int> picks;
    for (int i = 0; i < times; ++i)
        picks.push_back(PickInRound(round, keys, candidates, draw).value_or(-1));
    return picks;
}

TEST(PickRoundTest, KeysTellEqualTextsApartByTheirPlace) {
    const std::vector<QuotationKey> keys = KeysOf({U"a", U"b", U"a", U"", U""});
    EXPECT_EQ(std::set<QuotationKey>(keys.begin(), keys.end()).size(), 5u);
    // A text's key does not depend on what stands around it.
    EXPECT_EQ(KeysOf({U"x", U"a"})[1], keys[0]);
    EXPECT_EQ(KeysOf({U"a", U"x", U"a"})[2], keys[2]);
    // Nor on the build or platform: a stored round is read by the next version.
    EXPECT_EQ(KeysOf({U"Grüße"})[0], 0x567e1c0319169175ULL);
}

TEST(PickRoundTest, Table) {
    const std::vector<QuotationKey> abc = KeysOf({U"a", U"b", U"c"});
    const struct {
        const char* what;
        std::vector<QuotationKey> used;  // the round before
        std::vector<QuotationKey> keys;  // the list now
        std::vector<int> candidates;
        UniformBelow draw;
        std::vector<int> picks;
    } rows[] = {
        {"each once, then a new round not starting with the last",
         {},
         abc,
         All(3),
         kFirst,
         {0, 1, 2, 0, 1, 2, 0}},
        {"the same, drawn from the other end", {}, abc, All(3), kLast, {2, 1, 0, 2, 1, 0}},
        {"a round under way goes on", {abc[1]}, abc, All(3), kFirst, {0, 2, 0, 1}},
        {"one quotation comes every time", {}, KeysOf({U"only"}), All(1), kLast, {0, 0, 0}},
        {"two alternate", {}, KeysOf({U"a", U"b"}), All(2), kFirst, {0, 1, 0, 1}},
        {"an edited quotation is unused, a deleted one forgotten",
         {abc[0], abc[1], abc[2]},
         KeysOf({U"a", U"b, edited", U"d"}),
         All(3),
         kFirst,
         {1, 2, 0, 1}},
        {"entries moved keep their place in the round",
         {abc[2], abc[0]},
         KeysOf({U"c", U"b", U"a"}),
         All(3),
         kFirst,
         {1, 0, 1, 2}},
        {"duplicates are each picked once",
         {},
         KeysOf({U"a", U"a", U"a"}),
         All(3),
         kLast,
         {2, 1, 0, 2}},
        {"a candidate all used is taken again within the round, not the latest",
         {abc[0], abc[1]},
         abc,
         {0, 1},
         kLast,
         {0, 1, 0}},
        {"a used candidate only when no unused one is among them",
         {abc[0]},
         abc,
         {0, 2},
         kFirst,
         {2, 0, 2}},
        {"no candidates, no pick", {}, abc, {}, kFirst, {-1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        PickRound round{row.used};
        EXPECT_EQ(
            Picks(round, row.keys, row.candidates, row.draw, static_cast<int>(row.picks.size())),
            row.picks);
    }
}

// Over many rounds of real random picks: every quotation once a round, never
// the same twice in a row, and each as likely as any other to open a round.
TEST(PickRoundTest, RoundsOfRandomPicks) {
    std::mt19937_64 engine(20261208);
    const UniformBelow uniform = [&engine](int count) {
        return std::uniform_int_distribution<int>(0, count - 1)(engine);
    };
    for (const size_t n : {2u, 3u, 7u, 30u}) {
        SCOPED_TRACE(n);
        std::vector<Text> texts;
        for (size_t i = 0; i < n; ++i)
            texts.push_back(ToText(static_cast<long long>(i)));
        const std::vector<QuotationKey> keys =
            QuotationKeys(std::vector<TextView>(texts.begin(), texts.end()));
        const size_t rounds = n == 7 ? 7000 : 500;
        PickRound round;
        std::vector<int> firsts(n);
        int previous = -1;
        for (size_t r = 0; r < rounds; ++r) {
            std::set<int> seen;
            for (size_t i = 0; i < n; ++i) {
                const int pick = *PickInRound(round, keys, All(n), uniform);
                ASSERT_NE(pick, previous) << "round " << r;
                ASSERT_TRUE(seen.insert(pick).second) << "round " << r;
                if (i == 0)
                    ++firsts[static_cast<size_t>(pick)];
                previous = pick;
            }
            // The stored form keeps the round as it is.
            ASSERT_EQ(ParsePickRound(FormatPickRound(round)), round);
        }
        if (n == 7) {
            // Pearson's chi-square with 6 degrees of freedom: above 38.26 one
            // time in a million for a uniform pick.
            const double expected = static_cast<double>(rounds) / 7;
            double chi2 = 0;
            for (const int count : firsts)
                chi2 += (count - expected) * (count - expected) / expected;
            EXPECT_LT(chi2, 38.26);
        }
    }
}

TEST(PickRoundTest, StoredForm) {
    const PickRound round{{0x0123456789abcdefULL, 0, ~0ULL}};
    const std::string stored = FormatPickRound(round);
    EXPECT_EQ(stored, "Velmo pick round 1\n0123456789abcdef\n0000000000000000\nffffffffffffffff\n");
    EXPECT_EQ(ParsePickRound(stored), round);
    EXPECT_EQ(ParsePickRound("Velmo pick round 1\n"), PickRound{});

    std::string tooLong = "Velmo pick round 1\n";
    for (int i = 0; i < 1001; ++i)
        tooLong += "0000000000000001\n";
    for (const std::string& bad : {
             std::string(),
             std::string("Velmo pick round 1"),
             std::string("Velmo pick round 2\n"),
             std::string("velmo pick round 1\n"),
             std::string("Velmo pick round 1\r\n0123456789abcdef\r\n"),
             std::string("Velmo pick round 1\n0123456789ABCDEF\n"),
             std::string("Velmo pick round 1\n0123456789abcde\n"),
             std::string("Velmo pick round 1\n0123456789abcdef0\n"),
             std::string("Velmo pick round 1\n0123456789abcdeg\n"),
             std::string("Velmo pick round 1\n0123456789abcdef"),
             std::string("Velmo pick round 1\n\n"),
             std::string("Velmo pick round 1\n0123456789abcdef\0\n", 37),
             tooLong,
         }) {
        EXPECT_FALSE(ParsePickRound(bad)) << bad;
    }
}

}  // namespace
}  // namespace velmo
