#pragma once

#include "Dialcove/Services/ContactOutputService.hpp"
#include "Dialcove/Services/ExternalWorkspace.hpp"

#include <memory>

namespace Dialcove {

// The live output: the CLIPBOARD selection, and URLs built from the request and opened through the
// workspace. Main thread only.
//
// URLs: "whatsapp://send?phone=" + digits when an application handles it, else the web link
// "https://wa.me/" + digits (digits: the number without its leading "+" signs); "sms:", "tel:" and
// "mailto:" + the percent-encoded text, "tel:" with ";ext=" + the extension when the request has
// one; "addressbook://" + the percent-encoded identifier. Text is encoded as UTF-8, every byte
// outside the RFC 3986 path characters as "%XX", and in "mailto:" "," and ";" as well.
class ContactOutputAdapter final : public ContactOutputService {
public:
    static inline const QString chatLinkHost = QStringLiteral("wa.me");

    explicit ContactOutputAdapter(std::shared_ptr<ExternalWorkspace> workspace);

    // Replaces whatever the clipboard held, then reads it back to confirm. Bidi embedding, override
    // and isolate controls are left out of the copy.
    bool copy(const std::string& text) override;
    // A WhatsApp number holding anything but digits and "+" opens nothing: it would add to the query.
    QCoro::Task<bool> open(DialcoveCore::ActionRequest request) override;
    QCoro::Task<bool> openContact(DialcoveCore::ContactID id) override;

private:
    std::shared_ptr<ExternalWorkspace> workspace_;
};

} // namespace Dialcove
