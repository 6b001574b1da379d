#pragma once

#include <optional>

#include <QString>

namespace Platform {

// File names of the sync folder. A key's file is the key's UTF-8 with every byte other than an
// ASCII letter, digit, "-" or "_" written as "%XX" (upper-case hex), followed by ".dckv". The
// mapping is one-to-one, and the names a sync tool makes of ours (conflict copies, temp files,
// dotfiles) never match it, so they are never taken for records.
inline constexpr const char* syncRecordSuffix = ".dckv";
inline constexpr const char* syncIdentityFileName = "dialcove-identity";

QString syncFileName(const QString& key);

// The key whose file has exactly this name, or nothing for any other name.
std::optional<QString> syncKey(const QString& fileName);

} // namespace Platform
