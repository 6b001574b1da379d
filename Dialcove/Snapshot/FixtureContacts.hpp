#pragma once

#include "DialcoveCore/Contact.hpp"

#include <vector>

namespace Dialcove {

// The eight made-up people snapshot mode shows, "fixture-0" to "fixture-7", all of one company.
// Each has a mobile, a toll-free service number and a work e-mail, with labels and job title from
// the app's string table. The long variant gives the first a 63-character name and ten more phones.
struct FixtureContacts {
    FixtureContacts() = delete;

    // A word of the shared company name: a query for it finds all eight.
    static constexpr const char* kCompanyWord = "Aurora";
    // A query that finds nobody, not even by a typo or by sound.
    static constexpr const char* kUnmatchedQuery = "Inexistente";

    static std::vector<DialcoveCore::Contact> make(bool longVariant = false);
};

} // namespace Dialcove
