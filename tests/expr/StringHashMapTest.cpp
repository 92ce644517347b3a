// The string hash map, its traits, and the hash and set contexts built on it.
#include "ExprTestSupport.h"

#include <vector>

namespace qrv::test
{
namespace
{

struct HashRow {
    const char* name;
    std::string key;
    std::uint32_t sensitive;
    std::uint32_t insensitive;
};

class TraitsHash : public ::testing::TestWithParam<HashRow>
{
};

TEST_P(TraitsHash, ElfHash)
{
    EXPECT_EQ(CaseSensitiveTraits().Hash(GetParam().key), GetParam().sensitive);
    EXPECT_EQ(CaseInsensitiveTraits().Hash(GetParam().key), GetParam().insensitive);
}

// The long key exercises the high-nibble fold: after eight bytes bits 28..31
// are in use and are folded back into bits 4..7.
INSTANTIATE_TEST_SUITE_P(StringHashMap, TraitsHash,
                         ::testing::Values(HashRow{"Empty", "", 0, 0}, HashRow{"OneByte", "A", 65, 65},
                                           HashRow{"TwoBytes", "AB", 1106, 1106},
                                           HashRow{"LowerFoldsToUpper", "ab", 97 * 16 + 98, 1106},
                                           HashRow{"HighBytesNotFolded", "\xE9", 0xE9, 0xE9},
                                           HashRow{"LongKeyFolds", "abcdefghij", 0x0ABAA66A, 0x089EEAAA}),
                         RowName{});

struct CompareRow {
    const char* name;
    std::string a, b;
    int sensitive, insensitive;
};

class TraitsCompare : public ::testing::TestWithParam<CompareRow>
{
};

TEST_P(TraitsCompare, ByteDifferenceOrLengthDifference)
{
    EXPECT_EQ(CaseSensitiveTraits().Compare(GetParam().a, GetParam().b), GetParam().sensitive);
    EXPECT_EQ(CaseInsensitiveTraits().Compare(GetParam().a, GetParam().b), GetParam().insensitive);
}

INSTANTIATE_TEST_SUITE_P(StringHashMap, TraitsCompare,
                         ::testing::Values(CompareRow{"Equal", "pi", "pi", 0, 0},
                                           CompareRow{"CaseOnly", "pi", "PI", 'p' - 'P', 0},
                                           CompareRow{"FirstDifference", "abc", "abd", -1, -1},
                                           CompareRow{"PrefixIsShorter", "ab", "abcd", -2, -2},
                                           CompareRow{"LongerAfterPrefix", "abc", "a", 2, 2},
                                           CompareRow{"UnsignedBytes", "\xE9", "a", 0xE9 - 'a', 0xE9 - 'A'}),
                         RowName{});

// Keys and values seen by Iterate, in visiting order.
std::vector<std::string> Keys(TStringHashMap& map)
{
    std::vector<std::string> keys;
    map.Iterate(&keys, [](void* out, const std::string& key, void*&) {
        static_cast<std::vector<std::string>*>(out)->push_back(key);
        return true;
    });
    return keys;
}

int gValues[8];

TEST(StringHashMap, AddFindAndDuplicates)
{
    TStringHashMap map(&CaseInsensitiveTraits(), 7);
    map.Add("pi", &gValues[0]);
    map.Add("e", &gValues[1]);
    void* value = nullptr;
    ASSERT_TRUE(map.Find("PI", value));
    EXPECT_EQ(value, &gValues[0]);
    EXPECT_FALSE(map.Find("p", value));
    EXPECT_EQ(MessageOf<EQrvStringHashMapError>([&] { map.Add("Pi", &gValues[2]); }),
              "Duplicate hash list entry: Pi");
    EXPECT_EQ(map.Count(), 2u);
    ASSERT_TRUE(map.Find("pi", value));
    EXPECT_EQ(value, &gValues[0]); // the first entry stays
}

TEST(StringHashMap, OneBucketIsAnOrderedTreeVisitedInPreOrder)
{
    TStringHashMap map(&CaseSensitiveTraits(), 1);
    for (const char* key : {"m", "c", "x", "a", "e", "z"})
        map.Add(key, nullptr);
    EXPECT_EQ(Keys(map), (std::vector<std::string>{"m", "c", "a", "e", "x", "z"}));
}

TEST(StringHashMap, IterateStopsWhenTheFunctionSaysSo)
{
    TStringHashMap map(&CaseSensitiveTraits(), 3);
    for (const char* key : {"a", "b", "c", "d"})
        map.Add(key, nullptr);
    int visits = 0;
    map.Iterate(&visits, [](void* n, const std::string&, void*&) {
        ++*static_cast<int*>(n);
        return false;
    });
    EXPECT_EQ(visits, 1);
}

TEST(StringHashMap, IterateCanRewriteValues)
{
    TStringHashMap map(&CaseSensitiveTraits(), 3);
    map.Add("a", &gValues[0]);
    map.Iterate(nullptr, [](void*, const std::string&, void*& value) {
        value = &gValues[5];
        return true;
    });
    void* value = nullptr;
    ASSERT_TRUE(map.Find("a", value));
    EXPECT_EQ(value, &gValues[5]);
}

TEST(StringHashMap, ResizeKeepsEveryEntry)
{
    TStringHashMap map(&CaseSensitiveTraits(), 1);
    for (int i = 0; i < 8; ++i)
        map.Add("k" + std::to_string(i), &gValues[i]);
    map.SetHashSize(13);
    EXPECT_EQ(map.HashSize(), 13u);
    EXPECT_EQ(map.Count(), 8u);
    for (int i = 0; i < 8; ++i) {
        void* value = nullptr;
        ASSERT_TRUE(map.Find("k" + std::to_string(i), value)) << i;
        EXPECT_EQ(value, &gValues[i]);
    }
}

TEST(StringHashMap, SizeZeroOnlyWhenEmpty)
{
    TStringHashMap map(&CaseSensitiveTraits(), 5);
    map.Add("a", nullptr);
    EXPECT_EQ(MessageOf<EQrvStringHashMapError>([&] { map.SetHashSize(0); }),
              "HashList: must be empty to set size to zero");
    EXPECT_EQ(map.HashSize(), 5u);
    void* value;
    EXPECT_TRUE(map.Find("a", value));

    map.Clear();
    EXPECT_EQ(map.Count(), 0u);
    EXPECT_FALSE(map.Find("a", value));
    map.SetHashSize(0);
    EXPECT_EQ(map.HashSize(), 0u);
    EXPECT_FALSE(map.Find("a", value));
    EXPECT_THROW(map.Add("a", nullptr), EDivByZero);
    map.SetHashSize(2);
    map.Add("a", nullptr);
    EXPECT_EQ(map.Count(), 1u);
}

TEST(StringHashMap, NeedsTraits)
{
    std::string message = MessageOf<EAssertionFailed>([] { TStringHashMap map(nullptr, 3); });
    EXPECT_EQ(message.rfind("HashList must have traits (", 0), 0u) << message;
}

// Keys added in sorted order make one bucket a list as deep as the map is
// large; lookups, iteration, clearing and destruction must not recurse.
TEST(StringHashMap, DegenerateTreeOfManyKeys)
{
    constexpr int kKeys = 10000;
    std::vector<std::string> keys;
    for (int i = 0; i < kKeys; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "%08d", i);
        keys.emplace_back(text);
    }
    TStringHashMap map(&CaseSensitiveTraits(), 1);
    for (const auto& key : keys)
        map.Add(key, nullptr);
    void* value;
    EXPECT_TRUE(map.Find(keys.back(), value));
    EXPECT_EQ(Keys(map).size(), std::size_t(kKeys));
    map.SetHashSize(2);
    EXPECT_EQ(map.Count(), std::uint32_t(kKeys));
    // destruction frees the remaining degenerate trees
}

// A map that counts node allocations, to show that Clear and destruction
// release every entry through FreeNode.
class CountingMap final : public TStringHashMap
{
public:
    using TStringHashMap::TStringHashMap;
    ~CountingMap() override { Clear(); }
    int live = 0;

protected:
    THashNode* AllocateNode() override
    {
        ++live;
        return TStringHashMap::AllocateNode();
    }
    void FreeNode(THashNode* node) override
    {
        --live;
        TStringHashMap::FreeNode(node);
    }
};

TEST(StringHashMap, ClearFreesEveryNode)
{
    CountingMap map(&CaseSensitiveTraits(), 3);
    for (const char* key : {"d", "b", "f", "a", "c", "e", "g", "h"})
        map.Add(key, nullptr);
    EXPECT_EQ(map.live, 8);
    map.Clear();
    EXPECT_EQ(map.live, 0);
}

// ---- contexts --------------------------------------------------------------

TEST(ExprContexts, CaseInsensitiveHashContext)
{
    TExprHashContext context(false, 100);
    context.Add(std::make_unique<TExprConstSym>("pi", 3));
    EXPECT_NE(context.Find("PI"), nullptr);
    EXPECT_NE(context.Find("Pi"), nullptr);
    auto rejected = std::unique_ptr<TExprSym>(std::make_unique<TExprConstSym>("PI", 4));
    EXPECT_EQ(MessageOf<EQrvStringHashMapError>([&] { context.Add(std::move(rejected)); }),
              "Duplicate hash list entry: PI");
    ASSERT_NE(rejected, nullptr); // still the caller's
    EXPECT_EQ(context.Find("pi")->Evaluate(), 3);
}

TEST(ExprContexts, CaseSensitiveHashContextKeepsBothSpellings)
{
    TExprHashContext context(true, 100);
    context.Add(std::make_unique<TExprConstSym>("pi", 3));
    context.Add(std::make_unique<TExprConstSym>("PI", 4));
    EXPECT_EQ(context.Find("pi")->Evaluate(), 3);
    EXPECT_EQ(context.Find("PI")->Evaluate(), 4);
    EXPECT_EQ(context.Find("Pi"), nullptr);
}

TEST(ExprContexts, SetSearchesLastAddedFirst)
{
    TExprHashContext a(false, 7), b(false, 7);
    a.Add(std::make_unique<TExprConstSym>("both", 1));
    a.Add(std::make_unique<TExprConstSym>("onlyA", 10));
    b.Add(std::make_unique<TExprConstSym>("both", 2));
    TExprSetContext inner(false);
    inner.Add(&a);
    TExprSetContext set(false);
    set.Add(&inner); // a set may hold a set
    set.Add(&b);
    EXPECT_EQ(set.Find("both")->Evaluate(), 2);
    EXPECT_EQ(set.Find("ONLYA")->Evaluate(), 10);
    EXPECT_EQ(set.Find("none"), nullptr);
    EXPECT_EQ(set.Count(), 2u);
    EXPECT_EQ(set.Contexts(1), &b);
}

TEST(ExprContexts, OwningSetFreesItsMembers)
{
    auto set = std::make_unique<TExprSetContext>(true);
    set->Add(new TExprHashContext(false, 3)); // freed with the set (checked by the leak sanitizer)
    EXPECT_TRUE(set->OwnsContexts());
}

TEST(ExprContexts, SymbolsNeedTheirTarget)
{
    auto startsWithAssertion = [](const std::string& message) {
        return message.rfind("Assertion failure (", 0) == 0;
    };
    EXPECT_TRUE(startsWithAssertion(MessageOf<EAssertionFailed>([] { TExprVar64Sym("x", nullptr); })));
    EXPECT_TRUE(startsWithAssertion(MessageOf<EAssertionFailed>([] { TExprUnaryFuncSym("f", nullptr); })));
    EXPECT_TRUE(startsWithAssertion(MessageOf<EAssertionFailed>([] { TExprBinaryFuncSym("g", nullptr); })));
}

} // namespace
} // namespace qrv::test
