#include "Platform/SchemeHandlerLookup.hpp"
#include "tests/support/QtPrinters.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QFile>
#include <gtest/gtest.h>
#include <map>
#include <optional>

using Platform::SchemeHandlerLookup;

namespace {

// A desktop entry for the chat scheme; `extra` adds lines or, coming first, overrides them.
QByteArray chatEntry(const QByteArray& extra = {},
                     const QByteArray& mimeType = "x-scheme-handler/whatsapp;") {
    return "[Desktop Entry]\n" + extra + "Type=Application\nName=Chat\nExec=chat %u\n" +
           (mimeType.isEmpty() ? QByteArray() : "MimeType=" + mimeType + "\n");
}

QByteArray defaultsList(const QByteArray& ids) {
    return "[Default Applications]\nx-scheme-handler/whatsapp=" + ids + "\n";
}

class SchemeHandlerLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(xdg.isValid());
        xdg.setVariable("PATH", QFile::encodeName(xdg.path("bin")));
    }

    TestSupport::XdgSandbox xdg;
};

} // namespace

TEST_F(SchemeHandlerLookupTest, FollowsTheXdgDefaultAndAssociationRules) {
    const struct {
        const char* name;
        std::map<QString, QByteArray> files;
        const char* desktop; // XDG_CURRENT_DESKTOP
        std::optional<QString> expected;
    } cases[] = {
        {"nothing installed", {}, "", std::nullopt},
        {"an unrelated application",
         {{"share1/applications/editor.desktop", chatEntry({}, "text/plain;")}},
         "",
         std::nullopt},
        {"declared by an installed desktop file",
         {{"share2/applications/chat.desktop", chatEntry()}},
         "",
         "chat.desktop"},
        {"the user's default beats a declaring application",
         {{"config/mimeapps.list", defaultsList("other.desktop")},
          {"share1/applications/other.desktop", chatEntry({}, {})},
          {"share1/applications/chat.desktop", chatEntry()}},
         "",
         "other.desktop"},
        {"a default that is not installed is skipped",
         {{"config/mimeapps.list", defaultsList("gone.desktop;chat.desktop;")},
          {"share1/applications/chat.desktop", chatEntry({}, {})}},
         "",
         "chat.desktop"},
        {"the desktop's own list comes first",
         {{"config/mimeapps.list", defaultsList("generic.desktop")},
          {"config/xfce-mimeapps.list", defaultsList("xfce.desktop")},
          {"share1/applications/generic.desktop", chatEntry()},
          {"share1/applications/xfce.desktop", chatEntry()}},
         "XFCE",
         "xfce.desktop"},
        {"a system default under XDG_CONFIG_DIRS",
         {{"etc/mimeapps.list", defaultsList("chat.desktop")},
          {"share2/applications/chat.desktop", chatEntry({}, {})}},
         "",
         "chat.desktop"},
        {"an added association",
         {{"config/mimeapps.list", "[Added Associations]\nx-scheme-handler/whatsapp=chat.desktop;\n"},
          {"share1/applications/chat.desktop", chatEntry({}, {})}},
         "",
         "chat.desktop"},
        {"a removed association hides the declaration",
         {{"config/mimeapps.list", "[Removed Associations]\nx-scheme-handler/whatsapp=chat.desktop;\n"},
          {"share1/applications/chat.desktop", chatEntry()}},
         "",
         std::nullopt},
        {"a desktop ID from a vendor folder",
         {{"config/mimeapps.list", defaultsList("vendor-chat.desktop")},
          {"share1/applications/vendor/chat.desktop", chatEntry({}, {})}},
         "",
         "vendor-chat.desktop"},
        {"the user's hidden copy shadows the system's",
         {{"data/applications/chat.desktop", "[Desktop Entry]\nHidden=true\n"},
          {"share1/applications/chat.desktop", chatEntry()}},
         "",
         std::nullopt},
        {"a hidden entry",
         {{"share1/applications/chat.desktop", chatEntry("Hidden=true\n")}},
         "",
         std::nullopt},
        {"not an application",
         {{"share1/applications/chat.desktop", chatEntry("Type=Link\n")}},
         "",
         std::nullopt},
        {"a TryExec program that is missing",
         {{"share1/applications/chat.desktop", chatEntry("TryExec=chat\n")}},
         "",
         std::nullopt},
        {"a TryExec program on PATH",
         {{"share1/applications/chat.desktop", chatEntry("TryExec=chat\n")}, {"bin/chat", "#!/bin/sh\n"}},
         "",
         "chat.desktop"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(xdg.clear());
        for (const auto& [path, contents] : c.files)
            ASSERT_TRUE(xdg.write(path, contents));
        QFile::setPermissions(xdg.path("bin/chat"), QFile::ReadOwner | QFile::ExeOwner);
        xdg.setVariable("XDG_CURRENT_DESKTOP", c.desktop);
        EXPECT_EQ(SchemeHandlerLookup::applicationFor(u"whatsapp"), c.expected) << c.name;
    }
}

TEST_F(SchemeHandlerLookupTest, MatchesTheSchemeCaseInsensitivelyAndRefusesOtherText) {
    ASSERT_TRUE(xdg.write("share1/applications/chat.desktop", chatEntry()));
    EXPECT_EQ(SchemeHandlerLookup::applicationFor(u"WhatsApp"), "chat.desktop");
    for (const char16_t* text : {u"", u"whats app", u"whatsapp/../x", u"1whatsapp"})
        EXPECT_EQ(SchemeHandlerLookup::applicationFor(text), std::nullopt);
}
