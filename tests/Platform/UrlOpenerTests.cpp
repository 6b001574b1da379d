#include "Platform/UrlOpener.hpp"
#include "tests/support/AwaitTask.hpp"
#include "tests/support/FakeXdgOpen.hpp"
#include "tests/support/QtPrinters.hpp"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using Platform::UrlOpener;
using TestSupport::awaitTask;
using Outcome = UrlOpener::Outcome;

TEST(UrlOpenerTest, AcceptsOnlyAbsoluteUrlsWithoutRawSpacesOrControls) {
    const struct {
        const char* url;
        bool wellFormed;
    } cases[] = {
        {"whatsapp://send?phone=4915112345678", true},
        {"https://wa.me/49+151", true},
        {"sms:+1%20(555)%20010-9999", true},
        {"mailto:a.b+c@example.com", true},
        {"addressbook://A1B2-C3:ABPerson", true},
        {"file:///tmp/a%20b/c%23d.vcf", true},
        {"x-scheme.v2+a:x#fragment/?", true},
        {"", false},
        {"no scheme", false},
        {":empty-scheme", false},
        {"-h", false},
        {"--help:x", false},
        {"1tel:123", false},
        {"sms:a b", false},
        {"sms:a\nb", false},
        {"sms:a\tb", false},
        {"tel:%zz", false},
        {"tel:%2", false},
        {"x:#a#b", false},
        {"mailto:a\"b@example.com", false},
        {"https://[::1]/", false},
        {"mailto:jos\xC3\xA9@example.com", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UrlOpener::isWellFormed(QString::fromUtf8(c.url)), c.wellFormed) << c.url;
}

TEST(UrlOpenerTest, TakesTheVerdictFromTheExitStatusAndPassesTheUrlAsOneArgument) {
    const QString url = "sms:-x%20y&z=1;rm%20-rf";
    const struct {
        const char* name;
        std::function<void(TestSupport::FakeXdgOpen&)> arrange;
        Outcome expected;
    } cases[] = {
        {"exit 0", [](auto& fake) { fake.exitWith(0); }, Outcome::opened},
        {"no method available", [](auto& fake) { fake.exitWith(3); }, Outcome::failed},
        {"operation failed", [](auto& fake) { fake.exitWith(4); }, Outcome::failed},
        {"killed", [](auto& fake) { fake.crash(); }, Outcome::failed},
        {"not installed", [](auto& fake) { fake.uninstall(); }, Outcome::failed},
    };
    for (const auto& c : cases) {
        TestSupport::FakeXdgOpen fake;
        c.arrange(fake);
        EXPECT_EQ(awaitTask(UrlOpener::open(url)), c.expected) << c.name;
        if (c.expected == Outcome::opened) {
            EXPECT_EQ(fake.calls(), (std::vector<QStringList>{{url}})) << c.name;
        }
    }
}

TEST(UrlOpenerTest, RefusesAMalformedUrlWithoutRunningAnything) {
    TestSupport::FakeXdgOpen fake;
    for (const char* url : {"--help", "sms:a b", "sms:a\n--version"})
        EXPECT_EQ(awaitTask(UrlOpener::open(url)), Outcome::failed) << url;
    EXPECT_TRUE(fake.calls().empty());
}

TEST(UrlOpenerTest, AnOpenerStillRunningAtTheTimeoutIsLeftToFinish) {
    TestSupport::FakeXdgOpen fake;
    fake.hang();
    EXPECT_EQ(awaitTask(UrlOpener::open("https://wa.me/4915112345678", std::chrono::milliseconds(200))),
              Outcome::stillRunning);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return fake.calls().size() == 1; }));

    // Not killed: it ends when its handler does.
    fake.release();
    EXPECT_EQ(fake.calls(), (std::vector<QStringList>{{"https://wa.me/4915112345678"}}));
}

TEST(UrlOpenerTest, TheFileUrlOfAnyFileNameIsOneTheOpenerTakes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"Ana Lima #1.vcf", "Work [old].vcf", "[x]", "a?b&c=d%20e.vcf", "50% ~'$;@:.vcf",
                             "\xF0\x9F\x93\x87 \xE2\x80\xAE.vcf", "-h"}) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name;
        file.close();
        const std::optional<QString> url = UrlOpener::fileUrl(path);
        ASSERT_TRUE(url.has_value()) << name;
        EXPECT_TRUE(UrlOpener::isWellFormed(*url)) << url->toStdString();
        EXPECT_EQ(QUrl(*url, QUrl::StrictMode).toLocalFile(), path) << url->toStdString();
    }
    EXPECT_FALSE(UrlOpener::fileUrl(dir.path()).has_value());
    EXPECT_FALSE(UrlOpener::fileUrl(dir.filePath("missing.vcf")).has_value());
}
