#include "DialcoveCore/FuzzyMatching.hpp"
#include "DialcoveCore/SearchIndex.hpp"

#include <gtest/gtest.h>

using namespace DialcoveCore;

namespace {

Contact contact(std::string id, std::string name, std::string organization = "",
                std::vector<std::string> phones = {}, std::vector<std::string> emails = {}) {
    std::vector<ContactField> fields;
    int n = 0;
    for (auto& phone : phones)
        fields.push_back(
            {FieldID(id + "-" + std::to_string(n++)), FieldKind::phone, "mobile", std::move(phone)});
    for (auto& email : emails)
        fields.push_back(
            {FieldID(id + "-" + std::to_string(n++)), FieldKind::email, "work", std::move(email)});
    return Contact(ContactID(std::move(id)), std::move(name), "", "", std::move(organization), "",
                   std::move(fields));
}

std::vector<std::string> ids(const std::vector<ContactID>& found) {
    std::vector<std::string> out;
    for (const auto& id : found)
        out.push_back(id.rawValue);
    return out;
}

using Ids = std::vector<std::string>;

// One address book that reaches every score class; each query names the contacts it must find, in order.
class SearchIndexRanking : public testing::Test {
protected:
    SearchIndex index{std::vector<Contact>{
        contact("anna", "Anna Smith", "", {"+55 11 91234-5678"}, {"anna@example.org"}),
        contact("john", "John Smith", "Acme Labs", {"(415) 555-2671"}),
        contact("emile", "Émile Zola", "", {}, {"ez@paris.fr"}),
        contact("philip", "Philip Marlowe", "", {"202"}),
        contact("catherine", "Catherine Earnshaw"),
        contact("michelle", "Michelle Obama"),
        contact("andrew", "Andrew Daniel"),
        contact("acme", "Road Runner", "Acme"),
        contact("joanna", "Joanna Lumley", "", {}, {"smith.fan@example.org"}),
    }};
};

TEST_F(SearchIndexRanking, ScoreClassesAndTieBreak) {
    const struct {
        const char* query;
        Ids expected;
    } cases[] = {
        {"anna", {"anna", "joanna"}},          // name prefix (0), then substring (3)
        {"smith", {"anna", "john", "joanna"}}, // name-word prefix (1), then e-mail substring (4)
        {"ann smi", {"anna"}},                 // every word a prefix of a name word (2)
        {"smith acme", {"john"}},              // words across name and organization (2)
        {"acme", {"john", "acme"}},            // company substring (3), tie kept in index order
        {"example.org", {"anna", "joanna"}},   // e-mail substring (4)
        {"emile", {"emile"}},                  // folded on both sides
        {"ÉMILE", {"emile"}},
        {"filip", {"philip"}}, // phonetic codes (6)
        {"katerine", {"catherine"}},
        {"michele", {"michelle"}}, // collapsed double letter
        {"andrea", {"andrew"}},    // one replacement
        {"danile", {"andrew"}},    // one swap
        {"andra", {}},             // too short for edits, no shared code
        {"zzzqqq", {}},
        {"...", {}}, // no query words: only whole-query classes can hold
        {"  \n ", {}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ids(index.search(c.query)), c.expected) << "query: " << c.query;
}

TEST_F(SearchIndexRanking, DigitQueriesSearchPhonesOnlyFromThreeDigits) {
    const struct {
        const char* query;
        Ids expected;
    } cases[] = {
        {"12", {}}, // one or two digits: nothing, not even a text match
        {"1234", {"anna"}},  {"(11) 9123", {"anna"}}, {"555", {"john"}},
        {"202", {"philip"}}, {"anna 2", {}}, // letters make a text query; phone digits are not searched
    };
    for (const auto& c : cases)
        EXPECT_EQ(ids(index.search(c.query)), c.expected) << "query: " << c.query;
}

TEST(SearchIndex, FirstContactPerIdentifierAndEightResultsAtMost) {
    std::vector<Contact> contacts{contact("dup", "Zed First"), contact("dup", "Zed Second")};
    for (int i = 0; i < 12; ++i)
        contacts.push_back(contact("z" + std::to_string(i), "Zed " + std::to_string(i)));
    const SearchIndex index(contacts);
    EXPECT_EQ(index.size(), 13u);
    EXPECT_EQ(ids(index.search("zed second")), Ids{});
    EXPECT_EQ(ids(index.search("zed")), (Ids{"dup", "z0", "z1", "z2", "z3", "z4", "z5", "z6"}));
}

TEST(SearchIndex, MatchesWholeCharactersOnly) {
    const SearchIndex index(std::vector<Contact>{contact("kiran", "किरण"), contact("ka", "क"),
                                                 contact("combining", "Jose\u0301 Ana")});
    EXPECT_EQ(ids(index.search("क")), Ids{"ka"}); // "क" is not the first character of "कि"
    EXPECT_EQ(ids(index.search("कि")), Ids{"kiran"});
    EXPECT_EQ(ids(index.search("jose ana")), Ids{"combining"});
}

TEST(FuzzyMatching, PhoneticCodes) {
    const struct {
        const char* word;
        const char* base;
        const char* soft;
    } cases[] = {
        {"philip", "filip", "filip"},      {"catherine", "katerine", "katerine"},
        {"cecilia", "kekilia", "sesilia"}, {"church", "xurx", "xurx"},
        {"michelle", "mixele", "mixele"},  {"quick", "kik", "kik"},
        {"wyatt", "viat", "viat"},
    };
    for (const auto& c : cases) {
        const PhoneticCodes codes = phoneticCodes(c.word);
        EXPECT_EQ(codes.base, c.base) << c.word;
        EXPECT_EQ(codes.soft, c.soft) << c.word;
    }
}

// The rules apply one after another, each over the whole word: every word of up to four letters
// drawn from those the rules name (and two they leave alone) gives the codes that order gives.
TEST(FuzzyMatching, PhoneticRulesApplyInTheirOrder) {
    const auto replacedAll = [](std::string text, std::string_view from, std::string_view to) {
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
        return text;
    };
    const auto collapsed = [](std::string code) {
        std::replace(code.begin(), code.end(), 'c', 'k');
        code.erase(std::unique(code.begin(), code.end()), code.end());
        return code;
    };
    const std::string letters = "thpcskquywea";
    std::vector<std::string> words{""};
    for (std::size_t from = 0; from < words.size(); ++from)
        if (words[from].size() < 4)
            for (const char letter : letters)
                words.push_back(words[from] + letter);
    for (const std::string& word : words) {
        std::string base = word;
        for (const auto& [from, to] : {std::pair("th", "t"),
                                       {"ph", "f"},
                                       {"ch", "x"},
                                       {"sh", "x"},
                                       {"ck", "k"},
                                       {"qu", "k"},
                                       {"y", "i"},
                                       {"w", "v"}})
            base = replacedAll(base, from, to);
        const std::string soft = replacedAll(replacedAll(base, "ce", "se"), "ci", "si");
        const PhoneticCodes codes = phoneticCodes(word);
        ASSERT_EQ(codes.base, collapsed(base)) << word;
        ASSERT_EQ(codes.soft, collapsed(soft)) << word;
    }
}

TEST(FuzzyMatching, OneEditRule) {
    const struct {
        const char* query;
        const char* name;
        bool match;
    } cases[] = {
        {"and", "andrew", true}, // prefix
        {"an", "andrew", true},
        {"andrea", "andrew", true},        // replacement
        {"danile", "daniel", true},        // swap
        {"gabriella", "gabriela", true},   // query one longer
        {"gabiela", "gabriela", true},     // query one shorter
        {"gabrielaxy", "gabriela", false}, // two longer
        {"andra", "andrew", false},        // five characters: no edits
        {"xndrex", "andrew", false},       // two replacements
        {"roberto", "robert", true},       // one extra at the end
        {"zé", "zeca", false},             // query too short for phonetics, not a prefix
        {"łukasz", "lukasz", true},        // one replacement of a whole two-byte character
    };
    for (const auto& c : cases)
        EXPECT_EQ(isFuzzyMatch(FuzzyWord(c.query).view(), FuzzyWord(c.name).view()), c.match)
            << c.query << " ~ " << c.name;
}

} // namespace
