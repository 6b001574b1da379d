#pragma once

#include <QString>
#include <qcoro/qcorotask.h>

namespace Dialcove {

// The little of the desktop that the contact output needs: whether some application opens a URL,
// and opening one. URLs are passed as their encoded text: the card link "addressbook://" followed by
// an identifier is not a URL that QUrl keeps intact (it reads the identifier as a host and port).
class ExternalWorkspace {
public:
    virtual ~ExternalWorkspace() = default;

    // Whether an installed application opens `url`.
    virtual bool hasApplication(const QString& url) = 0;
    // Opens `url` in its application, brought to the front; true once it has opened.
    virtual QCoro::Task<bool> open(QString url) = 0;
};

} // namespace Dialcove
