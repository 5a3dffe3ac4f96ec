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

    Result<> set(bool on) override {
        ++setCalls;
        if (!failure.isEmpty()) return Failure{failure, {}};
        enabled = on;
        return {};
    }
    bool isEnabled() override { return enabled; }
    bool launchedAsLoginItem() override { return launchedAtLogin; }
};

}  // namespace varrow::platform::fake
