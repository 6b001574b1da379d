#pragma once

#include <stdexcept>

namespace Platform {

// The address book cannot be read at all: no consent, or the folder cannot be listed. A single
// unreadable file or card is never this error; it is skipped and logged.
class AddressBookError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace Platform
