// Search index build and query times over generated address books.
#include "DialcoveCore/SearchIndex.hpp"

#include <benchmark/benchmark.h>
#include <map>
#include <random>

using namespace DialcoveCore;

namespace {

const char* const kGiven[] = {"Ana",      "João",      "Émile", "Zoë",    "Łukasz", "Søren",
                              "François", "Müller",    "Chloé", "Ingrid", "Mateo",  "Aiyana",
                              "Nguyễn",   "Katarzyna", "José",  "Björn",  "Αλέξης", "Иван",
                              "Renée",    "Siobhán",   "Yusuf", "Maëlle", "Dvořák", "Ольга"};
const char* const kFamily[] = {"Silva", "Smith",        "García",  "Müller",    "Kowalski", "Dubois",
                               "Rossi", "Nakamura",     "Ødegård", "Fernández", "O'Neil",   "Jensen",
                               "Novák", "Papadopoulos", "Ivanova", "Lefèvre",   "Åkesson",  "Santos",
                               "Çelik", "Nowak",        "Horváth", "Costa",     "Brontë",   "Weiß"};
const char* const kCompanies[] = {"Acme Labs",
                                  "Café Lumière",
                                  "Nordisk Værk",
                                  "Globex",
                                  "Initech",
                                  "Umbrella",
                                  "Søndergaard & Co",
                                  "Bäckerei Groß",
                                  "",
                                  "",
                                  "",
                                  ""};

// Appends instead of operator+, which trips a false -Wrestrict in g++ 12 at -O3.
template <typename... Parts> std::string concat(const Parts&... parts) {
    std::string out;
    (out.append(parts), ...);
    return out;
}

std::vector<Contact> generateContacts(std::size_t count) {
    std::mt19937 random(20261210);
    const auto pick = [&](auto& list) -> const char* {
        return list[std::uniform_int_distribution<std::size_t>(0, std::size(list) - 1)(random)];
    };
    const auto number = [&](int digitCount) {
        std::string out;
        for (int i = 0; i < digitCount; ++i)
            out.push_back(static_cast<char>('0' + std::uniform_int_distribution<int>(0, 9)(random)));
        return out;
    };
    std::vector<Contact> contacts;
    contacts.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string given = pick(kGiven);
        const std::string family = pick(kFamily);
        std::vector<ContactField> fields;
        const int phones = std::uniform_int_distribution<int>(1, 3)(random);
        for (int p = 0; p < phones; ++p)
            fields.push_back({FieldID(concat("f", std::to_string(i), "p", std::to_string(p))),
                              FieldKind::phone, "mobile", concat("+55 (11) 9", number(4), "-", number(4))});
        const int emails = std::uniform_int_distribution<int>(0, 2)(random);
        for (int e = 0; e < emails; ++e)
            fields.push_back(
                {FieldID(concat("f", std::to_string(i), "e", std::to_string(e))), FieldKind::email, "home",
                 concat("user", std::to_string(i), ".", std::to_string(e), "@mail.example.com")});
        contacts.emplace_back(ContactID(concat("c", std::to_string(i))), concat(given, " ", family), given,
                              family, pick(kCompanies), "", std::move(fields));
    }
    return contacts;
}

const std::vector<Contact>& contactsOf(std::size_t count) {
    static std::map<std::size_t, std::vector<Contact>> cache;
    auto& contacts = cache[count];
    if (contacts.empty())
        contacts = generateContacts(count);
    return contacts;
}

const SearchIndex& indexOf(std::size_t count) {
    static std::map<std::size_t, SearchIndex> cache;
    auto found = cache.find(count);
    if (found == cache.end())
        found = cache.emplace(count, SearchIndex(contactsOf(count))).first;
    return found->second;
}

void BM_BuildIndex(benchmark::State& state) {
    const auto& contacts = contactsOf(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        SearchIndex index(contacts);
        benchmark::DoNotOptimize(index);
    }
}
BENCHMARK(BM_BuildIndex)->Arg(1000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

void searchWith(benchmark::State& state, const char* query) {
    const auto& index = indexOf(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(index.search(query));
}

#define SEARCH_BENCHMARK(name, query)                                                                        \
    void BM_Search_##name(benchmark::State& state) {                                                         \
        searchWith(state, query);                                                                            \
    }                                                                                                        \
    BENCHMARK(BM_Search_##name)->Arg(1000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMicrosecond)

SEARCH_BENCHMARK(NamePrefix, "emi");
SEARCH_BENCHMARK(WordPrefix, "kowal");
SEARCH_BENCHMARK(TwoWords, "zoe nak");
SEARCH_BENCHMARK(CompanySubstring, "lumi");
SEARCH_BENCHMARK(EmailFragment, "user123");
SEARCH_BENCHMARK(PhoneDigits, "9123");
SEARCH_BENCHMARK(MisspeltName, "katarzina");
SEARCH_BENCHMARK(NoMatch, "qqxyzzy wvut");

} // namespace
