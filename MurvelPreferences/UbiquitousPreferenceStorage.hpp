#pragma once

#include "MurvelPreferences/PreferenceCloudStorage.hpp"
#include "Platform/SyncFolderStore.hpp"

#include <QObject>
#include <memory>

namespace MurvelPreferences {

// Preference bytes kept in the sync folder shared with the user's other machines. Main thread only.
//
// A report of the folder sets `issue` (a quota violation or an account change; anything else clears
// it) and then runs the handler with the changed keys, one turn after the report arrived.
class UbiquitousPreferenceStorage final : public QObject, public PreferenceCloudStorage {
    Q_OBJECT

public:
    explicit UbiquitousPreferenceStorage(std::shared_ptr<Platform::SyncFolderStore> store,
                                         QObject* parent = nullptr);

    std::optional<QByteArray> data(const QString& key) const override;
    void set(const QByteArray& bytes, const QString& key) override;
    void remove(const QString& key) override;

    const ExternalChangeHandler& onExternalChange() const override { return onExternalChange_; }
    void setOnExternalChange(ExternalChangeHandler handler) override {
        onExternalChange_ = std::move(handler);
    }
    std::optional<PreferenceCloudIssue> issue() const override { return issue_; }
    void synchronize() override;

private:
    ExternalChangeHandler onExternalChange_;
    std::optional<PreferenceCloudIssue> issue_;
    std::shared_ptr<Platform::SyncFolderStore> store_;
};

} // namespace MurvelPreferences
