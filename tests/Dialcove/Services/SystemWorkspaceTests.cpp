#include "Dialcove/Services/ContactOutputAdapter.hpp"
#include "Dialcove/Services/SystemWorkspace.hpp"
#include "tests/support/AwaitTask.hpp"
#include "tests/support/FakeXdgOpen.hpp"
#include "tests/support/QtPrinters.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QUrl>
#include <gtest/gtest.h>

using Dialcove::ContactOutputAdapter;
using Dialcove::SystemWorkspace;
using DialcoveCore::ActionRequest;
using DialcoveCore::ContactID;
using TestSupport::awaitTask;

namespace {

class SystemWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(xdg.isValid()); }

    void installChatApp() {
        ASSERT_TRUE(xdg.write("share1/applications/chat.desktop",
                              "[Desktop Entry]\nType=Application\nName=Chat\nExec=chat %u\n"
                              "MimeType=x-scheme-handler/whatsapp;\n"));
    }

    TestSupport::XdgSandbox xdg;
    TestSupport::FakeXdgOpen xdgOpen;
};

} // namespace

TEST_F(SystemWorkspaceTest, ChatRequestsGoToTheAppOnlyWhenAHandlerIsInstalled) {
    auto workspace = std::make_shared<SystemWorkspace>();
    ContactOutputAdapter output(workspace);
    EXPECT_FALSE(workspace->hasApplication("whatsapp://send?phone=4915112345678"));
    EXPECT_EQ(awaitTask(output.open(ActionRequest::whatsapp("+4915112345678"))), true);

    installChatApp();
    EXPECT_TRUE(workspace->hasApplication("whatsapp://send?phone=4915112345678"));
    EXPECT_FALSE(workspace->hasApplication("whatsapp with spaces:x"));
    EXPECT_EQ(awaitTask(output.open(ActionRequest::whatsapp("+4915112345678"))), true);

    EXPECT_EQ(xdgOpen.calls(), (std::vector<QStringList>{{"https://wa.me/4915112345678"},
                                                         {"whatsapp://send?phone=4915112345678"}}));
}

TEST_F(SystemWorkspaceTest, HostileValuesReachTheOpenerAsExactlyOneUrl) {
    ContactOutputAdapter output(std::make_shared<SystemWorkspace>());
    const struct {
        ActionRequest request;
        QString url;
    } cases[] = {
        {ActionRequest::message("--help & rm -rf ~; #x"), "sms:--help%20&%20rm%20-rf%20~;%20%23x"},
        {ActionRequest::call("+1 555\n--version"), "tel:+1%20555%0A--version"},
        {ActionRequest::email("a?b=c&d#e@example.com"), "mailto:a%3Fb=c&d%23e@example.com"},
        {ActionRequest::email("$(touch pwned)`id`@x"), "mailto:$(touch%20pwned)%60id%60@x"},
    };
    std::vector<QStringList> expected;
    for (const auto& c : cases) {
        EXPECT_EQ(awaitTask(output.open(c.request)), true) << c.url.toStdString();
        expected.push_back({c.url});
    }
    EXPECT_EQ(xdgOpen.calls(), expected);
}

TEST_F(SystemWorkspaceTest, TheCardLinkOpensTheContactsCardFile) {
    ASSERT_TRUE(xdg.write("cards/Ana Lima #1.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ana\r\nEND:VCARD\r\n"));
    const QString card = xdg.path("cards/Ana Lima #1.vcf");
    std::vector<ContactID> asked;
    auto workspace = std::make_shared<SystemWorkspace>([&](const ContactID& id) -> std::optional<QString> {
        asked.push_back(id);
        if (id.rawValue == "urn:uuid:1")
            return card;
        if (id.rawValue == "gone")
            return xdg.path("cards/gone.vcf");
        return std::nullopt;
    });
    ContactOutputAdapter output(workspace);

    EXPECT_EQ(awaitTask(output.openContact(ContactID("urn:uuid:1"))), true);
    EXPECT_EQ(awaitTask(output.openContact(ContactID("unknown id"))), false);
    EXPECT_EQ(awaitTask(output.openContact(ContactID("gone"))), false);
    EXPECT_EQ(asked,
              (std::vector<ContactID>{ContactID("urn:uuid:1"), ContactID("unknown id"), ContactID("gone")}));
    EXPECT_EQ(xdgOpen.calls(),
              (std::vector<QStringList>{{QUrl::fromLocalFile(card).toString(QUrl::FullyEncoded)}}));
    EXPECT_TRUE(xdgOpen.calls().front().front().endsWith("/cards/Ana%20Lima%20%231.vcf"));

    // Without a way to find card files there is nothing to open.
    EXPECT_EQ(awaitTask(SystemWorkspace().open("addressbook://urn:uuid:1")), false);
    EXPECT_EQ(xdgOpen.calls().size(), 1);
}

TEST_F(SystemWorkspaceTest, SuccessIsTheOpenersExitStatusOrAHandlerStillRunning) {
    const struct {
        const char* name;
        std::function<void(TestSupport::FakeXdgOpen&)> arrange;
        bool opened;
    } cases[] = {
        {"exit 0", [](auto& fake) { fake.exitWith(0); }, true},
        {"no handler", [](auto& fake) { fake.exitWith(3); }, false},
        {"handler failed", [](auto& fake) { fake.exitWith(4); }, false},
        {"handler running in the foreground", [](auto& fake) { fake.hang(); }, true},
        {"no xdg-open", [](auto& fake) { fake.uninstall(); }, false},
    };
    for (const auto& c : cases) {
        TestSupport::FakeXdgOpen fake;
        c.arrange(fake);
        SystemWorkspace workspace({}, std::chrono::milliseconds(200));
        EXPECT_EQ(awaitTask(workspace.open("tel:+4915112345678")), c.opened) << c.name;
    }
    EXPECT_EQ(awaitTask(SystemWorkspace().open("tel:a b")), false);
    EXPECT_TRUE(xdgOpen.calls().empty());
}
