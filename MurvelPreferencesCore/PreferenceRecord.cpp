#include "MurvelPreferencesCore/PreferenceRecord.hpp"

#include <algorithm>
#include <limits>

#include <nlohmann/json.hpp>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include "MurvelPreferencesCore/Base64.hpp"

namespace MurvelPreferencesCore {

namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// NFC as UTF-8. UTF-8 byte order is code point order, so comparing these bytes compares the text by
// its Unicode scalars. Malformed UTF-8 reads as U+FFFD.
std::string canonical(std::string_view text) {
    if (isAscii(text))
        return std::string(text);
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    const icu::UnicodeString source =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    if (U_FAILURE(status))
        return std::string(text);
    const icu::UnicodeString normalized = nfc->normalize(source, status);
    if (U_FAILURE(status))
        return std::string(text);
    std::string out;
    normalized.toUTF8String(out);
    return out;
}

// Negative, zero or positive as `a` sorts below, with or above `b` as text.
int compareWriters(std::string_view a, std::string_view b) {
    if (isAscii(a) && isAscii(b))
        return a.compare(b);
    return canonical(a).compare(canonical(b));
}

bool bytesGreater(std::string_view a, std::string_view b) {
    const auto asByte = [](char c) { return static_cast<unsigned char>(c); };
    return std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                        [&](char x, char y) { return asByte(x) < asByte(y); });
}

} // namespace

PreferenceRecord::PreferenceRecord(std::uint64_t revision, std::string writer,
                                   std::optional<std::string> payload)
    : PreferenceRecord(currentVersion, revision, std::move(writer), std::move(payload)) {}

PreferenceRecord::PreferenceRecord(std::int64_t version, std::uint64_t revision, std::string writer,
                                   std::optional<std::string> payload)
    : version_(version), revision_(revision), writer_(std::move(writer)), payload_(std::move(payload)) {}

bool PreferenceRecord::isValid() const {
    return version_ == currentVersion && revision_ != 0 && !writer_.empty() &&
           writer_.size() <= maximumWriterBytes && (!payload_ || payload_->size() <= maximumPayloadBytes);
}

PreferenceRecord PreferenceRecord::resolved(const PreferenceRecord& other) const {
    if (revision_ != other.revision_)
        return revision_ > other.revision_ ? *this : other;
    if (const int order = compareWriters(writer_, other.writer_); order != 0)
        return order > 0 ? *this : other;
    if (!payload_)
        return *this;
    if (!other.payload_)
        return other;
    return bytesGreater(*other.payload_, *payload_) ? other : *this;
}

std::optional<std::string> PreferenceRecord::encoded() const {
    nlohmann::ordered_json json;
    json["version"] = version_;
    json["revision"] = revision_;
    json["writer"] = writer_;
    if (payload_)
        json["payload"] = base64Encoded(*payload_);
    try {
        return json.dump();
    } catch (const nlohmann::json::exception&) {
        return std::nullopt; // a writer that is not UTF-8
    }
}

std::optional<PreferenceRecord> PreferenceRecord::decoded(std::string_view text) {
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (!json.is_object())
        return std::nullopt;

    const auto version = json.find("version");
    const auto revision = json.find("revision");
    const auto writer = json.find("writer");
    if (version == json.end() || revision == json.end() || writer == json.end() || !writer->is_string())
        return std::nullopt;

    std::int64_t versionValue = 0;
    if (version->is_number_integer() && !version->is_number_unsigned())
        versionValue = version->get<std::int64_t>();
    else if (version->is_number_unsigned() &&
             version->get<std::uint64_t>() <=
                 static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        versionValue = static_cast<std::int64_t>(version->get<std::uint64_t>());
    else
        return std::nullopt;

    // Non-negative integers parse as unsigned; a negative or fractional revision is refused.
    if (!revision->is_number_unsigned())
        return std::nullopt;

    std::optional<std::string> payload;
    if (const auto found = json.find("payload"); found != json.end() && !found->is_null()) {
        if (!found->is_string())
            return std::nullopt;
        payload = base64Decoded(found->get_ref<const std::string&>());
        if (!payload)
            return std::nullopt;
    }
    return PreferenceRecord(versionValue, revision->get<std::uint64_t>(), writer->get<std::string>(),
                            std::move(payload));
}

bool operator==(const PreferenceRecord& a, const PreferenceRecord& b) {
    return a.version_ == b.version_ && a.revision_ == b.revision_ && a.payload_ == b.payload_ &&
           compareWriters(a.writer_, b.writer_) == 0;
}

} // namespace MurvelPreferencesCore
