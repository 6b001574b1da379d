#include "Dialcove/Services/ContactOutputAdapter.hpp"
#include "Platform/UrlOpener.hpp"
#include "tests/support/AwaitTask.hpp"
#include "tests/support/QtPrinters.hpp"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

using Dialcove::ContactOutputAdapter;
using DialcoveCore::ActionRequest;
using DialcoveCore::ContactID;
using TestSupport::awaitTask;

namespace {

// Records what it is asked to open; says an application handles the chat scheme when told so.
class RecordingWorkspace final : public Dialcove::ExternalWorkspace {
public:
    bool hasApplication(const QString& url) override {
        asked << url;
        return chatAppInstalled && url.startsWith("whatsapp:");
    }
    QCoro::Task<bool> open(QString url) override {
        opened << url;
        co_return opens;
    }

    bool chatAppInstalled = false;
    bool opens = true;
    QStringList asked;
    QStringList opened;
};

struct OutputFixture {
    std::shared_ptr<RecordingWorkspace> workspace = std::make_shared<RecordingWorkspace>();
    ContactOutputAdapter output{workspace};
};

} // namespace

TEST(ContactOutputAdapterTest, OpensOneWellFormedUrlPerRequest) {
    using Kind = ActionRequest::Kind;
    const struct {
        const char* name;
        ActionRequest request;
        bool chatApp;
        std::optional<QString> url; // none: nothing is opened
    } cases[] = {
        {"chat app", ActionRequest::whatsapp("+4915112345678"), true, "whatsapp://send?phone=4915112345678"},
        {"chat web link", ActionRequest::whatsapp("+4915112345678"), false, "https://wa.me/4915112345678"},
        {"all leading plus signs go", ActionRequest::whatsapp("++351912345678"), true,
         "whatsapp://send?phone=351912345678"},
        {"a later plus sign stays", ActionRequest::whatsapp("+351+912345678"), false,
         "https://wa.me/351+912345678"},
        {"chat number that would add to the query", ActionRequest::whatsapp("+49151&text=hi"), true,
         std::nullopt},
        {"chat number with a fragment", ActionRequest::whatsapp("+49151#x"), false, std::nullopt},
        {"chat number with a space", ActionRequest::whatsapp("+49 151"), true, std::nullopt},
        {"chat number of plus signs only", ActionRequest::whatsapp("++"), true, std::nullopt},
        {"message", ActionRequest::message("+1 (555) 010-9999"), false, "sms:+1%20(555)%20010-9999"},
        {"call", ActionRequest::call("+1 (555) 010-9999"), true, "tel:+1%20(555)%20010-9999"},
        {"call with an extension", ActionRequest::call("+15550100", "9"), false, "tel:+15550100;ext=9"},
        {"an extension that is not digits", ActionRequest::call("+15550100", "9&x=1"), false, std::nullopt},
        {"e-mail keeps at, plus and dots", ActionRequest::email("first.last+tag@example.com"), false,
         "mailto:first.last+tag@example.com"},
        {"e-mail space, question mark, number sign", ActionRequest::email("a b?c#d@example.com"), false,
         "mailto:a%20b%3Fc%23d@example.com"},
        {"e-mail with a non-ASCII letter", ActionRequest::email("jos\xC3\xA9@example.com"), false,
         "mailto:jos%C3%A9@example.com"},
        {"percent sign, newline, tab", ActionRequest::email("100%\n\tx@example.com"), false,
         "mailto:100%25%0A%09x@example.com"},
        // One value, one recipient.
        {"e-mail with a comma", ActionRequest::email("a@b.c,evil@x.y"), false, "mailto:a@b.c%2Cevil@x.y"},
        {"e-mail with a semicolon", ActionRequest::email("a@b.c;evil@x.y"), false, "mailto:a@b.c%3Bevil@x.y"},
        {"a value that starts with a dash", ActionRequest::call("-h --version"), false, "tel:-h%20--version"},
        {"query-like text stays in the path", ActionRequest::message("1?body=hi&x=y"), false,
         "sms:1%3Fbody=hi&x=y"},
        {"empty text", ActionRequest::call(""), false, std::nullopt},
        {"text that is not UTF-8", ActionRequest::message(std::string{'1', '2', '\xFF', '3'}), false,
         std::nullopt},
        {"copy opens nothing", ActionRequest::copy("+4915112345678"), true, std::nullopt},
    };
    for (const auto& c : cases) {
        OutputFixture fixture;
        fixture.workspace->chatAppInstalled = c.chatApp;
        EXPECT_EQ(awaitTask(fixture.output.open(c.request)), c.url.has_value()) << c.name;
        EXPECT_EQ(fixture.workspace->opened, c.url ? QStringList{*c.url} : QStringList()) << c.name;
        for (const QString& url : fixture.workspace->opened)
            EXPECT_TRUE(Platform::UrlOpener::isWellFormed(url)) << c.name;
        if (c.request.kind != Kind::whatsapp) {
            EXPECT_TRUE(fixture.workspace->asked.isEmpty()) << c.name; // no application check
        }
    }
}

TEST(ContactOutputAdapterTest, OpensTheCardLinkOfAContact) {
    const struct {
        const char* id;
        std::optional<QString> url;
    } cases[] = {
        {"A1B2-C3:ABPerson", "addressbook://A1B2-C3:ABPerson"},
        {"urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1",
         "addressbook://urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1"},
        {"a b?c#d%e\n", "addressbook://a%20b%3Fc%23d%25e%0A"},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        OutputFixture fixture;
        EXPECT_EQ(awaitTask(fixture.output.openContact(ContactID(c.id))), c.url.has_value()) << c.id;
        EXPECT_EQ(fixture.workspace->opened, c.url ? QStringList{*c.url} : QStringList()) << c.id;
    }
}

TEST(ContactOutputAdapterTest, ReportsTheWorkspacesFailure) {
    OutputFixture fixture;
    fixture.workspace->opens = false;
    EXPECT_EQ(awaitTask(fixture.output.open(ActionRequest::email("a@example.com"))), false);
    EXPECT_EQ(awaitTask(fixture.output.open(ActionRequest::whatsapp("+4915112345678"))), false);
    EXPECT_EQ(awaitTask(fixture.output.openContact(ContactID("A1B2"))), false);
    EXPECT_EQ(fixture.workspace->opened.size(), 3);
}

TEST(ContactOutputAdapterTest, CopyReplacesWhateverTheClipboardHeld) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* image = new QMimeData;
    image->setImageData(QImage(4, 4, QImage::Format_RGB32));
    image->setHtml("<b>old</b>");
    clipboard->setMimeData(image, QClipboard::Clipboard);

    OutputFixture fixture;
    EXPECT_TRUE(fixture.output.copy("+49 151 1234\xC3\xA9"));
    EXPECT_EQ(clipboard->text(QClipboard::Clipboard), QString::fromUtf8("+49 151 1234\xC3\xA9"));
    const QMimeData* now = clipboard->mimeData(QClipboard::Clipboard);
    ASSERT_NE(now, nullptr);
    EXPECT_FALSE(now->hasImage());
    EXPECT_FALSE(now->hasHtml());

    EXPECT_TRUE(fixture.output.copy("second"));
    EXPECT_EQ(clipboard->text(QClipboard::Clipboard), "second");
    EXPECT_TRUE(fixture.workspace->opened.isEmpty());

    // Pasted elsewhere, the text reads in its own order.
    EXPECT_TRUE(fixture.output.copy("\u202Eevil\u202C +1 555\u2067 0100\u2069"));
    EXPECT_EQ(clipboard->text(QClipboard::Clipboard), "evil +1 555 0100");
}
