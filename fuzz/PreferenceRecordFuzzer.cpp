// Feeds arbitrary bytes to the synced preference record, as a synced folder would bring them: up
// to three records, NUL-separated. Besides crashes and sanitizer reports it stops on a broken
// promise: a decoded record whose stored form does not decode back to it or is not stable, or a
// conflict rule that two machines could apply to valid records with different winners (not the
// same whichever record each holds as its own, not one of the two, not settled again by the same
// rule, or depending on the order three records meet in).
#include "MurvelPreferencesCore/PreferenceRecord.hpp"
#include "fuzz/BrokenPromise.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

using MurvelPreferencesCore::PreferenceRecord;

using Fuzz::require;

void checkStoredForm(const PreferenceRecord& record) {
    const std::optional<std::string> stored = record.encoded();
    require(stored.has_value(), "a decoded record encodes"); // its writer came from JSON, so it is UTF-8
    const std::optional<PreferenceRecord> again = PreferenceRecord::decoded(*stored);
    require(again && *again == record, "the stored form decodes back");
    require(again->encoded() == stored, "the stored form is stable");
    require(again->isValid() == record.isValid(), "validity survives storing");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<PreferenceRecord> records;
    for (int part = 0; part < 3 && !bytes.empty(); ++part) {
        const size_t end = bytes.find('\0');
        if (std::optional<PreferenceRecord> record = PreferenceRecord::decoded(bytes.substr(0, end))) {
            checkStoredForm(*record);
            // The sync takes an invalid record for none, so the rule only ever meets valid ones.
            if (record->isValid())
                records.push_back(std::move(*record));
        }
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    }
    for (const PreferenceRecord& a : records) {
        require(a.resolved(a) == a, "a record settles with itself on itself");
        for (const PreferenceRecord& b : records) {
            const PreferenceRecord winner = a.resolved(b);
            require(winner == b.resolved(a), "the same winner on either machine");
            require(winner == a || winner == b, "the winner is one of the two");
            require(winner.resolved(a) == winner && winner.resolved(b) == winner,
                    "the winner stays the winner");
        }
    }
    if (records.size() == 3) {
        const PreferenceRecord& a = records[0];
        const PreferenceRecord& b = records[1];
        const PreferenceRecord& c = records[2];
        require(a.resolved(b).resolved(c) == a.resolved(b.resolved(c)),
                "the order of meeting does not matter");
    }
    return 0;
}
