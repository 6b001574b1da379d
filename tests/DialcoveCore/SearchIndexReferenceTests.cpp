// The index prepares a lot at build time and skips work at query time; this compares it with a
// plain reading of the ranking rules over a varied address book, so no shortcut changes a result.
#include "DialcoveCore/FuzzyMatching.hpp"
#include "DialcoveCore/SearchIndex.hpp"
#include "DialcoveCore/TextFolding.hpp"
#include "DialcoveCore/UnicodeText.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using namespace DialcoveCore;

namespace {

bool onBoundary(std::string_view text, std::size_t offset) {
    const auto boundaries = graphemeBoundaries(text);
    return std::find(boundaries.begin(), boundaries.end(), offset) != boundaries.end();
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.starts_with(prefix) && onBoundary(text, prefix.size());
}

bool contains(std::string_view text, std::string_view needle) {
    for (std::size_t at = text.find(needle); at != std::string_view::npos; at = text.find(needle, at + 1))
        if (onBoundary(text, at) && onBoundary(text, at + needle.size()))
            return true;
    return false;
}

int referenceScore(const Contact& contact, const std::string& q) {
    const std::string name = foldedForm(contact.displayName());
    const auto nameWords = searchWords(contact.displayName());
    const std::string company = foldedForm(contact.organization());
    const auto combined = searchWords(contact.displayName() + " " + contact.organization());
    const auto queryWords = searchWords(q);
    const auto anyOf = [](const auto& list, auto predicate) {
        return std::any_of(list.begin(), list.end(), predicate);
    };
    const auto allOf = [](const auto& list, auto predicate) {
        return std::all_of(list.begin(), list.end(), predicate);
    };

    if (startsWith(name, q))
        return 0;
    if (anyOf(nameWords, [&](const std::string& w) { return startsWith(w, q); }))
        return 1;
    if (queryWords.size() >= 2 && allOf(queryWords, [&](const std::string& qw) {
            return anyOf(combined, [&](const std::string& w) { return startsWith(w, qw); });
        }))
        return 2;
    if (contains(name, q) || contains(company, q))
        return 3;
    for (const auto& field : contact.fields())
        if (field.kind == FieldKind::email && contains(foldedForm(field.value), q))
            return 4;
    if (!queryWords.empty() && allOf(queryWords, [&](const std::string& qw) {
            return anyOf(nameWords, [&](const std::string& w) {
                return isFuzzyMatch(FuzzyWord(qw).view(), FuzzyWord(w).view());
            });
        }))
        return 6;
    return -1;
}

std::vector<std::string> referenceSearch(const std::vector<Contact>& contacts, std::string_view raw) {
    const std::string q = foldedForm(trimmedWhitespace(raw));
    if (q.empty())
        return {};
    const std::string queryDigits = digits(q);
    const bool phoneMode = !queryDigits.empty() && !containsLetter(q);
    if (phoneMode && queryDigits.size() < 3)
        return {};
    std::vector<std::pair<int, std::size_t>> hits;
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        int score = -1;
        if (phoneMode) {
            for (const auto& field : contacts[i].fields())
                if (field.kind == FieldKind::phone &&
                    digits(field.value).find(queryDigits) != std::string::npos)
                    score = 5;
        } else {
            score = referenceScore(contacts[i], q);
        }
        if (score >= 0)
            hits.emplace_back(score, i);
    }
    std::sort(hits.begin(), hits.end());
    std::vector<std::string> ids;
    for (std::size_t i = 0; i < hits.size() && i < 8; ++i)
        ids.push_back(contacts[hits[i].second].id().rawValue);
    return ids;
}

std::vector<Contact> variedContacts() {
    const char* names[] = {"Ana Silva",
                           "Anabela Sousa",
                           "João Ânderson",
                           "Émile Zola",
                           "Zoë O'Neil-Smith",
                           "Łukasz Kowalski",
                           "Søren Kierkegaard",
                           "किरण शर्मा",
                           "कि",
                           "Ｆｕｌｌ Ｗｉｄｔｈ",
                           "Catherine Earnshaw",
                           "Katharine Hepburn",
                           "Philip Glass",
                           "Filipa Reis",
                           "Michelle Yeoh",
                           "Micheal Caine",
                           "Andrew Daniel",
                           "Daniel Andrews",
                           "Ιωάννης Παπαδόπουλος",
                           "Иван Петров",
                           "   ",
                           "",
                           "ＡＣＭＥ",
                           "Straße Weiß",
                           "Ñandú Pérez",
                           "Nguyễn Văn An",
                           "가나 다라",
                           "José\u0301"};
    const char* companies[] = {"",          "Acme Labs", "Café Lumière", "Globex", "\u0301Odd Mark",
                               "शर्मा & Co", "Acme"};
    std::mt19937 random(7);
    std::vector<Contact> contacts;
    for (int i = 0; i < 400; ++i) {
        const auto pick = [&](auto& list) { return list[random() % std::size(list)]; };
        std::vector<ContactField> fields;
        if (random() % 4 != 0)
            fields.push_back({FieldID("p" + std::to_string(i)), FieldKind::phone, "mobile",
                              "+55 11 9" + std::to_string(1000 + random() % 9000) + "-" +
                                  std::to_string(1000 + random() % 9000)});
        if (random() % 2 == 0)
            fields.push_back(
                {FieldID("e" + std::to_string(i)), FieldKind::email, "home",
                 std::string(random() % 2 ? "zoë" : "ana") + std::to_string(i % 17) + "@Example.org"});
        contacts.emplace_back(ContactID("c" + std::to_string(i % 390)), pick(names), "", "", pick(companies),
                              "", std::move(fields));
    }
    return contacts;
}

TEST(SearchIndexReference, AgreesWithThePlainRules) {
    const auto contacts = variedContacts();
    // The index keeps the first of duplicate identifiers; so does the reference list given to it.
    std::vector<Contact> unique;
    std::vector<std::string> seen;
    for (const auto& contact : contacts)
        if (std::find(seen.begin(), seen.end(), contact.id().rawValue) == seen.end()) {
            seen.push_back(contact.id().rawValue);
            unique.push_back(contact);
        }
    const SearchIndex index(contacts);
    const char* queries[] = {
        "a",       "an",     "ana s",    "ana silva", "silva",    "joao",    "ander",   "émile",
        "zoe",     "o'neil", "neil smi", "lukasz",    "łuk",      "soren",   "क",       "कि",
        "शर्मा",    "full",   "ｆｕｌｌ", "filip",     "katerine", "michele", "micheal", "andrea",
        "danile",  "acme",   "acme ana", "lumi",      "cafe",     "example", "zoe3@",   "@example.org",
        "9123",    "+55 11", "12",       "ana 2",     "...",      "-",       "ιωαννης", "иван",
        "strasse", "weiss",  "nandu",    "nguyen",    "가나",     "다",      "odd",     "mark",
        "jose",    "qqq",    "ab cd ef", "silva ana"};
    for (const char* query : queries) {
        std::vector<std::string> found;
        for (const auto& id : index.search(query))
            found.push_back(id.rawValue);
        EXPECT_EQ(found, referenceSearch(unique, query)) << "query: " << query;
    }
}

} // namespace
