#include "MurvelCommerceUpdatesCore/AppVersion.hpp"

#include <gtest/gtest.h>

using namespace MurvelCommerceUpdatesCore;

namespace {

TEST(AppVersion, ParsesOnlyPlainDottedNumbers) {
    const struct {
        std::string_view text;
        std::optional<std::vector<std::int64_t>> parts; // nothing: refused
    } cases[] = {
        {"1", {{1}}},
        {"1.2", {{1, 2}}},
        {"1.2.3", {{1, 2, 3}}},
        {"1.2.3.4", {{1, 2, 3, 4}}},
        {"1.2.3.4.5", std::nullopt}, // five components
        {"999999.0", {{999999, 0}}},
        {"999999.999999.999999.999999", {{999999, 999999, 999999, 999999}}},
        {"1234567", std::nullopt}, // seven digits
        {"1000000", std::nullopt},
        {"007", {{7}}},
        {"01.2", {{1, 2}}},
        {"", std::nullopt},
        {".", std::nullopt},
        {"1.", std::nullopt},
        {".1", std::nullopt},
        {"1..2", std::nullopt},
        {"v1.2", std::nullopt},
        {"1.2-beta", std::nullopt},
        {"1.2 ", std::nullopt},
        {" 1", std::nullopt},
        {"+1", std::nullopt},
        {"-1", std::nullopt},
        {"1.2\n", std::nullopt},
        {"1,2", std::nullopt},
        {"0x1", std::nullopt},
        {"1e3", std::nullopt},
        {"\xEF\xBC\x91.\xEF\xBC\x92", std::nullopt}, // full-width 1.2
        {"\xD9\xA1.\xD9\xA2", std::nullopt},         // Arabic-Indic 1.2
        {std::string_view("1\0", 2), std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<AppVersion> version = AppVersion::parsed(c.text);
        ASSERT_EQ(version.has_value(), c.parts.has_value()) << '"' << c.text << '"';
        if (version) {
            EXPECT_EQ(version->parts(), *c.parts) << c.text;
            EXPECT_EQ(version->description(), c.text) << "the text stays as it came";
        }
    }
}

AppVersion v(std::string_view text) {
    const std::optional<AppVersion> version = AppVersion::parsed(text);
    EXPECT_TRUE(version) << text;
    return version.value_or(*AppVersion::parsed("0"));
}

TEST(AppVersion, ComparesByNumbersPaddedWithZeros) {
    const struct {
        std::string_view left;
        std::string_view right;
        std::strong_ordering order;
    } cases[] = {
        {"1.2", "1.2.0", std::strong_ordering::equal},
        {"1.2", "1.02", std::strong_ordering::equal},
        {"01.2", "1.2", std::strong_ordering::equal},
        {"1.2", "1.2.0.0", std::strong_ordering::equal},
        {"1.2", "1.2.0.1", std::strong_ordering::less},
        {"1.10", "1.9", std::strong_ordering::greater},
        {"2", "1.99.99", std::strong_ordering::greater},
        {"1.2.9", "1.3", std::strong_ordering::less},
        {"0", "0.0.0.0", std::strong_ordering::equal},
        {"999999.999999.999999.999999", "999999.999999.999999.999998", std::strong_ordering::greater},
    };
    for (const auto& c : cases) {
        const AppVersion left = v(c.left);
        const AppVersion right = v(c.right);
        EXPECT_EQ(left <=> right, c.order) << c.left << " vs " << c.right;
        // Every operator agrees with the order, both ways round.
        EXPECT_EQ(left == right, c.order == 0) << c.left << " vs " << c.right;
        EXPECT_EQ(left < right, c.order < 0) << c.left << " vs " << c.right;
        EXPECT_EQ(left <= right, c.order <= 0) << c.left << " vs " << c.right;
        EXPECT_EQ(left > right, c.order > 0) << c.left << " vs " << c.right;
        EXPECT_EQ(left >= right, c.order >= 0) << c.left << " vs " << c.right;
        EXPECT_EQ(right <=> left, 0 <=> c.order) << c.left << " vs " << c.right;
    }
}

TEST(AppVersion, TheBuiltVersionParses) {
    // The version the app reports is its CMake project version.
    const std::optional<AppVersion> built = AppVersion::parsed(DIALCOVE_VERSION);
    ASSERT_TRUE(built) << DIALCOVE_VERSION;
    EXPECT_GT(*built, *AppVersion::parsed("0"));
}

} // namespace
