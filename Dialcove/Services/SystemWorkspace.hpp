#pragma once

#include "Dialcove/Services/ExternalWorkspace.hpp"
#include "DialcoveCore/ContactID.hpp"
#include "Platform/UrlOpener.hpp"

#include <QString>
#include <chrono>
#include <functional>
#include <optional>

namespace Dialcove {

// The desktop as the contact output sees it: the XDG scheme handlers and `xdg-open`.
// Main thread only.
//
// The card link "addressbook://" + percent-encoded identifier stands for the contact's vCard file,
// which `cardFile` finds; that file is what opens. Without `cardFile`, or when it finds nothing, a
// card link fails.
class SystemWorkspace final : public ExternalWorkspace {
public:
    using CardFileLookup = std::function<std::optional<QString>(const DialcoveCore::ContactID&)>;

    explicit SystemWorkspace(CardFileLookup cardFile = {},
                             std::chrono::milliseconds openTimeout = Platform::UrlOpener::defaultTimeout);

    // True when a desktop file is the default for, or declares, the URL's scheme.
    bool hasApplication(const QString& url) override;
    // True once `xdg-open` exits with status 0, or is still running the handler at the timeout.
    QCoro::Task<bool> open(QString url) override;

private:
    CardFileLookup cardFile_;
    std::chrono::milliseconds openTimeout_;
};

} // namespace Dialcove
