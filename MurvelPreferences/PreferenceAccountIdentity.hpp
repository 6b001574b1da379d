#pragma once

#include <QByteArray>

namespace MurvelPreferences {

// Whose data the local records hold: an account, known by its marker; no account signed in; or a
// host with no notion of accounts, where nothing is ever reconciled against one.
class PreferenceAccountIdentity {
public:
    enum class Kind { account, unavailable, isolated };

    static PreferenceAccountIdentity account(QByteArray marker) {
        return PreferenceAccountIdentity(Kind::account, std::move(marker));
    }
    static PreferenceAccountIdentity unavailable() {
        return PreferenceAccountIdentity(Kind::unavailable, {});
    }
    static PreferenceAccountIdentity isolated() { return PreferenceAccountIdentity(Kind::isolated, {}); }

    Kind kind() const { return kind_; }
    bool isAccount() const { return kind_ == Kind::account; }
    // The account marker; empty unless this is an account.
    const QByteArray& marker() const { return marker_; }

    friend bool operator==(const PreferenceAccountIdentity&, const PreferenceAccountIdentity&) = default;

private:
    PreferenceAccountIdentity(Kind kind, QByteArray marker) : kind_(kind), marker_(std::move(marker)) {}

    Kind kind_;
    QByteArray marker_;
};

} // namespace MurvelPreferences
