#include "DialcoveCore/MenuStatus.hpp"
#include "DialcoveCore/PermissionAction.hpp"

#include <gtest/gtest.h>

using namespace DialcoveCore;
using namespace std::chrono_literals;
using R = ShortcutRegistration;

namespace {

TEST(MenuStatus, FirstRuleThatAppliesWins) {
    const auto now = std::chrono::steady_clock::time_point{} + 100s;
    const auto future = now + 1s;
    const auto past = now - 1s;
    const struct {
        bool enabled, authorized;
        ShortcutRegistration registration;
        std::optional<std::chrono::steady_clock::time_point> copiedUntil;
        MenuStatus status;
    } cases[] = {
        {true, false, R::conflict, future, MenuStatus::needsPermission},
        {false, true, R::conflict, future, MenuStatus::shortcutConflict},
        {false, true, R::registered, future, MenuStatus::copied}, // copied shows even while off
        {true, true, R::registered, now, MenuStatus::ready},      // a deadline equal to now has passed
        {true, true, R::registered, past, MenuStatus::ready},
        {true, true, R::disabled, std::nullopt, MenuStatus::disabled},
        {false, true, R::registered, std::nullopt, MenuStatus::disabled},
        {true, true, R::registered, std::nullopt, MenuStatus::ready},
    };
    for (const auto& c : cases)
        EXPECT_EQ(deriveMenuStatus(c.enabled, c.authorized, c.registration, c.copiedUntil, now), c.status)
            << "enabled " << c.enabled << ", authorized " << c.authorized << ", registration "
            << static_cast<int>(c.registration);
}

TEST(MenuStatus, SymbolNamesAndCopiedDuration) {
    const std::string base = "person.crop.rectangle";
    EXPECT_EQ(symbolName(base, MenuStatus::ready), "person.crop.rectangle.fill");
    EXPECT_EQ(symbolName(base, MenuStatus::disabled), "person.crop.rectangle");
    EXPECT_EQ(symbolName(base, MenuStatus::needsPermission), "exclamationmark.triangle.fill");
    EXPECT_EQ(symbolName(base, MenuStatus::shortcutConflict), "exclamationmark.triangle.fill");
    EXPECT_EQ(symbolName(base, MenuStatus::copied), "checkmark");
    EXPECT_EQ(copiedDuration, 1500ms);
}

TEST(ContactsPermission, ActionsAndRawValues) {
    EXPECT_EQ(permissionAction(ContactsPermission::notDetermined), PermissionAction::request);
    EXPECT_EQ(permissionAction(ContactsPermission::authorized), PermissionAction::none);
    EXPECT_EQ(permissionAction(ContactsPermission::denied), PermissionAction::openSystemSettings);
    EXPECT_EQ(permissionAction(ContactsPermission::restricted), PermissionAction::none);

    const char* const names[] = {"notDetermined", "authorized", "denied", "restricted"};
    for (std::size_t i = 0; i < allContactsPermissions.size(); ++i) {
        EXPECT_EQ(rawValue(allContactsPermissions[i]), names[i]);
        EXPECT_EQ(contactsPermissionFromRaw(names[i]), allContactsPermissions[i]);
    }
    EXPECT_EQ(contactsPermissionFromRaw("Authorized"), std::nullopt);
}

} // namespace
