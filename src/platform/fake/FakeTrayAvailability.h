#pragma once

#include "platform/TrayAvailability.h"

namespace varrow::platform::fake {

// A tray that tests switch on and off.
class FakeTrayAvailability : public TrayAvailability {
    Q_OBJECT
public:
    bool isAvailable() const override { return available_; }

    void setAvailable(bool available) {
        const bool changed = available != available_;
        available_ = available;
        if (changed) emit availableChanged(available);
        if (available) emit hostAppeared();
    }

private:
    bool available_ = true;
};

}  // namespace varrow::platform::fake
