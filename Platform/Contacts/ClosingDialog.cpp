#include "Platform/Contacts/ClosingDialog.hpp"

namespace Platform {

void ClosingDialog::done(int result) {
    if (isVisible())
        emit closing();
    QDialog::done(result);
}

} // namespace Platform
