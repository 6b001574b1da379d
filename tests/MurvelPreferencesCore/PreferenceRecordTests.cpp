#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "MurvelPreferencesCore/Base64.hpp"
#include "MurvelPreferencesCore/PreferenceRecord.hpp"

using namespace MurvelPreferencesCore;

namespace {

constexpr std::uint64_t maxRevision = std::numeric_limits<std::uint64_t>::max();
const std::string writerA = "0A1B2C3D-0000-4000-8000-000000000001";
const std::string writerF = "F0000000-0000-4000-8000-000000000001";

PreferenceRecord record(std::uint64_t revision, std::string writer, std::optional<std::string> payload) {
    return PreferenceRecord(revision, std::move(writer), std::move(payload));
}

// Same winner, and all four fields from the same record, byte for byte.
void expectSame(const PreferenceRecord& actual, const PreferenceRecord& expected) {
    EXPECT_EQ(actual.revision(), expected.revision());
    EXPECT_EQ(actual.writer(), expected.writer());
    EXPECT_EQ(actual.payload(), expected.payload());
    EXPECT_EQ(actual.version(), expected.version());
}

} // namespace

TEST(Base64, EncodesAndDecodesStandardPaddedForm) {
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"\xFF\xFE", "//4="},
        {std::string("\0\x80", 2), "AIA="},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(base64Encoded(c.bytes), c.text);
        EXPECT_EQ(base64Decoded(c.text), c.bytes) << c.text;
    }
}

TEST(Base64, RefusesAnythingButTheStandardPaddedForm) {
    for (const char* text : {"Zg", "Zg=", "Z===", "Zm9v\n", "Zm 9", "Zg==Zg==", "Zm9-", "Zm9_", "=Zg="})
        EXPECT_FALSE(base64Decoded(text).has_value()) << text;
}

TEST(PreferenceRecordCodec, EncodesCompactJsonWithKeysInOrder) {
    const struct {
        PreferenceRecord record;
        std::string json;
    } cases[] = {
        {record(1, writerA, "true"),
         R"({"version":1,"revision":1,"writer":"0A1B2C3D-0000-4000-8000-000000000001","payload":"dHJ1ZQ=="})"},
        {record(7, "w", std::nullopt), R"({"version":1,"revision":7,"writer":"w"})"},
        {record(maxRevision, "w", ""),
         R"({"version":1,"revision":18446744073709551615,"writer":"w","payload":""})"},
        {record(2, "\xC3\xA9\"\\", R"("brazil")"),
         "{\"version\":1,\"revision\":2,\"writer\":\"\xC3\xA9\\\"\\\\\",\"payload\":\"ImJyYXppbCI=\"}"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.record.encoded(), c.json);
        const std::optional<PreferenceRecord> back = PreferenceRecord::decoded(c.json);
        ASSERT_TRUE(back.has_value()) << c.json;
        expectSame(*back, c.record);
    }
}

TEST(PreferenceRecordCodec, WriterThatIsNotUtf8DoesNotEncode) {
    EXPECT_FALSE(record(1, "\xFF", "1").encoded().has_value());
}

TEST(PreferenceRecordCodec, DecodesAnyJsonWithTheSameValues) {
    const struct {
        const char* json;
        PreferenceRecord expected;
    } cases[] = {
        {R"( { "payload" : "dHJ1ZQ==", "writer" : "w", "extra" : [1], "revision" : 3, "version" : 1 } )",
         record(3, "w", "true")},
        {R"({"version":1,"revision":3,"writer":"w","payload":null})", record(3, "w", std::nullopt)},
        {R"({"version":1,"revision":3,"writer":"\u0041"})", record(3, "A", std::nullopt)},
    };
    for (const auto& c : cases) {
        const std::optional<PreferenceRecord> decoded = PreferenceRecord::decoded(c.json);
        ASSERT_TRUE(decoded.has_value()) << c.json;
        expectSame(*decoded, c.expected);
    }
    // Decoding does not judge validity.
    const auto other = PreferenceRecord::decoded(R"({"version":2,"revision":0,"writer":"w"})");
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(other->version(), 2);
    EXPECT_EQ(other->revision(), 0u);
}

TEST(PreferenceRecordCodec, RefusesWhatIsNotARecord) {
    for (const char* json : {
             R"({"version":1,"revision":-1,"writer":"w"})",
             R"({"version":1,"revision":1.5,"writer":"w"})",
             R"({"version":1,"revision":"1","writer":"w"})",
             R"({"version":1,"revision":18446744073709551616,"writer":"w"})",
             R"({"version":9223372036854775808,"revision":1,"writer":"w"})",
             R"({"version":true,"revision":1,"writer":"w"})",
             R"({"revision":1,"writer":"w"})",
             R"({"version":1,"writer":"w"})",
             R"({"version":1,"revision":1})",
             R"({"version":1,"revision":1,"writer":5})",
             R"({"version":1,"revision":1,"writer":"w","payload":"abc"})",
             R"({"version":1,"revision":1,"writer":"w","payload":5})",
             R"([1,2])",
             "x",
             "",
             R"({"version":1,"revision":1,"writer":"w")",
         })
        EXPECT_FALSE(PreferenceRecord::decoded(json).has_value()) << json;
}

TEST(PreferenceRecordValidity, ChecksVersionRevisionWriterAndPayloadLimits) {
    const std::string e128 = [] {
        std::string s;
        for (int i = 0; i < 64; ++i)
            s += "\xC3\xA9"; // two bytes each
        return s;
    }();
    const struct {
        const char* name;
        std::optional<PreferenceRecord> record;
        bool valid;
    } cases[] = {
        {"version 2", PreferenceRecord::decoded(R"({"version":2,"revision":1,"writer":"w"})"), false},
        {"revision 0", record(0, "w", "1"), false},
        {"revision max", record(maxRevision, "w", "1"), true},
        {"writer of 128 bytes", record(1, std::string(128, 'w'), "1"), true},
        {"writer of 128 bytes in 64 characters", record(1, e128, "1"), true},
        {"writer of 129 bytes", record(1, std::string(129, 'w'), "1"), false},
        {"writer of 130 bytes in 65 characters", record(1, e128 + "\xC3\xA9", "1"), false},
        {"empty writer", record(1, "", "1"), false},
        {"payload of 32768 bytes", record(1, "w", std::string(32768, 'p')), true},
        {"payload of 32769 bytes", record(1, "w", std::string(32769, 'p')), false},
        {"empty payload", record(1, "w", ""), true},
        {"tombstone", record(1, "w", std::nullopt), true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.record.has_value()) << c.name;
        EXPECT_EQ(c.record->isValid(), c.valid) << c.name;
    }
}

TEST(PreferenceRecordConflict, PicksTheSameWinnerFromEitherSide) {
    const struct {
        const char* name;
        PreferenceRecord a;
        PreferenceRecord b;
        bool aWins;
    } cases[] = {
        {"higher revision, whatever the rest", record(7, writerA, std::nullopt), record(5, writerF, "zz"),
         true},
        {"revision compared as a whole number", record(maxRevision, "A", "1"), record(10, "Z", "1"), true},
        {"greater writer at equal revision", record(5, writerF, "1"), record(5, writerA, "9"), true},
        {"writer starting with B beats A", record(5, "B", "1"), record(5, "A", "1"), true},
        {"letter sorts above digit", record(5, "A0", "1"), record(5, "90", "1"), true},
        {"writers compared after normalisation", record(5, "e\xCC\x81", "1"), record(5, "f", "1"), true},
        {"tombstone beats payload", record(5, "w", std::nullopt), record(5, "w", "zzz"), true},
        {"longer payload beats its prefix", record(5, "w", "abc"), record(5, "w", "ab"), true},
        {"payload bytes compared unsigned", record(5, "w", "\x80"), record(5, "w", "\x7F"), true},
        {"first differing byte decides", record(5, "w", "b"), record(5, "w", "az"), true},
    };
    for (const auto& c : cases) {
        const PreferenceRecord& winner = c.aWins ? c.a : c.b;
        SCOPED_TRACE(c.name);
        expectSame(c.a.resolved(c.b), winner);
        expectSame(c.b.resolved(c.a), winner);
    }
}

TEST(PreferenceRecordConflict, EqualRecordsKeepTheReceiver) {
    const PreferenceRecord composed = record(5, "\xC3\xA9", "1");
    const PreferenceRecord decomposed = record(5, "e\xCC\x81", "1");
    // Canonically equal writers are the same writer, so neither side rewrites the other.
    EXPECT_EQ(composed, decomposed);
    expectSame(composed.resolved(decomposed), composed);
    expectSame(decomposed.resolved(composed), decomposed);
    EXPECT_NE(record(5, "w", "1"), record(5, "w", std::nullopt));
    EXPECT_NE(record(5, "w", "1"), record(6, "w", "1"));
}
