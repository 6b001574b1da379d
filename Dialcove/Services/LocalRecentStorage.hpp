#pragma once

#include "Dialcove/Services/ContactRecentStorage.hpp"

#include <QString>
#include <memory>

namespace Platform {
class UserDefaults;
} // namespace Platform

namespace Dialcove {

// The recent contacts in the user defaults, as a list of identifier strings under
// "recentContactIDs", at most five. Main thread only.
class LocalRecentStorage final : public ContactRecentStorage {
public:
    static inline const QString key = QStringLiteral("recentContactIDs");
    static constexpr std::size_t capacity = 5;

    explicit LocalRecentStorage(std::shared_ptr<Platform::UserDefaults> defaults);

    // Nothing stored, or a value that is not a list of strings, gives an empty list.
    std::vector<DialcoveCore::ContactID> ids() const override;
    // Keeps the first five, without de-duplicating.
    void setIds(const std::vector<DialcoveCore::ContactID>& ids) override;

private:
    std::shared_ptr<Platform::UserDefaults> defaults_;
};

} // namespace Dialcove
