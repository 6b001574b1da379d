#pragma once

#include "MurvelPreferences/PreferenceCloudIssue.hpp"
#include "MurvelPreferences/PreferenceStorage.hpp"

#include <QSet>
#include <QString>
#include <functional>
#include <optional>

namespace MurvelPreferences {

// A store shared with other machines, which tells when they changed it.
class PreferenceCloudStorage : public PreferenceStorage {
public:
    // Runs on the main thread with the storage keys another machine changed.
    using ExternalChangeHandler = std::function<void(const QSet<QString>& keys)>;

    virtual const ExternalChangeHandler& onExternalChange() const = 0;
    virtual void setOnExternalChange(ExternalChangeHandler handler) = 0;
    // The condition that the latest external change reported.
    virtual std::optional<PreferenceCloudIssue> issue() const = 0;
    // Exchange values with the other machines now.
    virtual void synchronize() = 0;
};

} // namespace MurvelPreferences
