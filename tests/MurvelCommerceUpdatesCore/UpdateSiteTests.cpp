#include "MurvelCommerceUpdatesCore/UpdateSite.hpp"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

using namespace MurvelCommerceUpdatesCore;

namespace {

TEST(UpdateSite, AcceptsOnlySchemeHostAndPort) {
    std::ifstream table(UPDATE_SITES_TABLE);
    ASSERT_TRUE(table) << UPDATE_SITES_TABLE;
    int checked = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t blank = line.find(' ');
        const std::string verdict = line.substr(0, blank);
        const std::string value = line.substr(blank + 1);
        EXPECT_EQ(UpdateSite::isValid(value), verdict == "yes") << '"' << value << '"';
        ++checked;
    }
    EXPECT_GT(checked, 20);
    EXPECT_FALSE(UpdateSite::isValid(std::string_view("https://a.example\0", 18)));
    EXPECT_TRUE(UpdateSite::isValid(UpdateSite::builtIn())) << UpdateSite::builtIn();
}

// The environment, restored when the case ends.
class SiteEnvironment : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* value = std::getenv(UpdateSite::environmentVariable))
            saved_ = value;
    }
    void TearDown() override {
        if (saved_)
            setenv(UpdateSite::environmentVariable, saved_->c_str(), 1);
        else
            unsetenv(UpdateSite::environmentVariable);
    }

private:
    std::optional<std::string> saved_;
};

// Names reserved never to resolve; the built-in default is one of them.
TEST(UpdateSite, KnowsTheReservedNames) {
    const std::pair<const char*, bool> cases[] = {
        {"https://murvelworks.example", true}, {"https://a.b.EXAMPLE:8443", true},
        {"https://x.invalid", true},           {"https://test", true},
        {"https://murvel.works", false},       {"https://example.com", false},
        {"https://127.0.0.1:9", false},        {"http://x.example", false},
        {"https://x.testing", false},
    };
    for (const auto& [site, reserved] : cases)
        EXPECT_EQ(UpdateSite::isReserved(site), reserved) << site;
}

TEST_F(SiteEnvironment, EnvironmentOverridesTheBuiltInSiteWhenValid) {
    unsetenv(UpdateSite::environmentVariable);
    EXPECT_EQ(UpdateSite::current().site, UpdateSite::builtIn());
    EXPECT_EQ(UpdateSite::current().refusedOverride, std::nullopt);

    setenv(UpdateSite::environmentVariable, "https://127.0.0.1:4443", 1);
    EXPECT_EQ(UpdateSite::current().site, "https://127.0.0.1:4443");
    EXPECT_EQ(UpdateSite::current().refusedOverride, std::nullopt);

    for (const char* bad : {"https://127.0.0.1/evil?x=", "http://127.0.0.1", "", "file:///etc/passwd"}) {
        setenv(UpdateSite::environmentVariable, bad, 1);
        EXPECT_EQ(UpdateSite::current().site, UpdateSite::builtIn()) << bad;
        EXPECT_EQ(UpdateSite::current().refusedOverride, bad);
    }
}

TEST(UpdateSite, AddressesOnTheSite) {
    EXPECT_EQ(UpdateSite::manifestAddress("https://a.example:8443"),
              "https://a.example:8443/downloads/versions.json");
    EXPECT_EQ(UpdateSite::downloadLink("https://a.example", "dialcove"),
              "https://a.example/downloads/dialcove-latest.tar.gz");
    EXPECT_EQ(UpdateSite::downloadsPage("https://a.example"), "https://a.example/downloads/");
}

TEST(UpdateSite, ADefaultBuildPointsAtAReservedName) {
    // ".example" never resolves, so a build nobody configured asks no one and offers nothing.
    const std::string site = UpdateSite::builtIn();
    if (site != "https://murvelworks.example")
        GTEST_SKIP() << "configured with " << site;
    EXPECT_TRUE(site.ends_with(".example"));
}

} // namespace
