#pragma once

#include "Dialcove/Services/ContactPermissionService.hpp"
#include "tests/Dialcove/Support/FakeAnswer.hpp"

#include <vector>

// A permission service whose status the test sets and whose access requests it answers.
class FakeContactPermissionService final : public Dialcove::ContactPermissionService {
public:
    explicit FakeContactPermissionService(
        Dialcove::ContactPermission status = Dialcove::ContactPermission::allowed)
        : current(status) {}
    ~FakeContactPermissionService() override { failPending(); }

    Dialcove::ContactPermission current;
    std::vector<FakeAnswer<void>> requests;
    bool settingsOpen = true; // what openSettings answers
    int settingsOpened = 0;

    void failPending() {
        for (const auto& request : requests)
            request.failIfPending();
    }

    Dialcove::ContactPermission status() const override { return current; }

    QFuture<void> request() override {
        requests.emplace_back();
        return requests.back().future();
    }

    bool openSettings() override {
        ++settingsOpened;
        return settingsOpen;
    }
};
