#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace MurvelPreferencesCore {

// One versioned value of a synced preference, as kept in both the local and the cloud store.
//
// A record is the key's `revision`-th write, made by the installation `writer`; `payload` holds the
// JSON of the value, or nothing for a deletion (a tombstone). Bytes are carried in std::string.
class PreferenceRecord {
public:
    static constexpr std::int64_t currentVersion = 1;
    static constexpr std::size_t maximumWriterBytes = 128;
    static constexpr std::size_t maximumPayloadBytes = 32768;

    PreferenceRecord(std::uint64_t revision, std::string writer, std::optional<std::string> payload);

    std::int64_t version() const { return version_; }
    std::uint64_t revision() const { return revision_; }
    const std::string& writer() const { return writer_; }
    const std::optional<std::string>& payload() const { return payload_; }

    // Version 1, a revision above 0, a writer of 1 to 128 UTF-8 bytes and a payload of at most
    // 32,768 bytes.
    bool isValid() const;

    // The winner of this record and `other`: the higher revision, then the greater writer, then a
    // tombstone, then the greater payload bytes. Two installations settle on the same winner
    // whichever record each holds as its own.
    PreferenceRecord resolved(const PreferenceRecord& other) const;

    // Compact UTF-8 JSON with the keys "version", "revision", "writer" and "payload" (Base64) in
    // that order; "payload" is left out for a tombstone. Nothing when the writer is not UTF-8.
    std::optional<std::string> encoded() const;

    // The record of any JSON text that carries the same values, keys in any order and unknown keys
    // ignored. Nothing when the text is not such a record; validity is not checked here.
    static std::optional<PreferenceRecord> decoded(std::string_view json);

    // Writers compare as canonically equivalent text, so that two installations agree that two
    // records are the same even when their writer bytes differ only in normalisation.
    friend bool operator==(const PreferenceRecord&, const PreferenceRecord&);

private:
    PreferenceRecord(std::int64_t version, std::uint64_t revision, std::string writer,
                     std::optional<std::string> payload);

    std::int64_t version_;
    std::uint64_t revision_;
    std::string writer_;
    std::optional<std::string> payload_;
};

} // namespace MurvelPreferencesCore
