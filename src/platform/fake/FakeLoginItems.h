#pragma once

#include "platform/LoginItems.h"

namespace varrow::platform::fake {

class FakeLoginItems : public LoginItems {
    Q_OBJECT
public:
    using LoginItems::LoginItems;

    bool enabled = false;
    bool launchedAtLogin = false;
    QString failure;  // non-empty: set() fails with this description
    int setCalls = 0;

    bool set(bool on, QString* error) override {
        ++setCalls;
        if (!failure.isEmpty()) {
            if (error) *error = failure;
            return false;
        }
        enabled = on;
        return true;
    }
    bool isEnabled() override { return enabled; }
    bool launchedAsLoginItem() override { return launchedAtLogin; }
};

}  // namespace varrow::platform::fake
