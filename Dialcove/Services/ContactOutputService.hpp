#pragma once

#include "DialcoveCore/ActionRequest.hpp"
#include "DialcoveCore/ContactID.hpp"

#include <qcoro/qcorotask.h>
#include <string>

namespace Dialcove {

// Where contact actions end: text on the clipboard, or a URL handed to the desktop.
// Failures are the result false; nothing throws.
class ContactOutputService {
public:
    virtual ~ContactOutputService() = default;

    // Whether `text` (UTF-8) is now on the clipboard.
    virtual bool copy(const std::string& text) = 0;
    // Whether the request's URL was opened. A copy request opens nothing and gives false.
    virtual QCoro::Task<bool> open(DialcoveCore::ActionRequest request) = 0;
    // Whether the contact's card was opened.
    virtual QCoro::Task<bool> openContact(DialcoveCore::ContactID id) = 0;
};

} // namespace Dialcove
