#pragma once

#include "platform/Installations.h"

namespace varrow::platform::fake {

// No installation besides bundles, as the base; the test may name where the system says Claude
// is, ahead of the bundle folders.
class FakeInstallations : public Installations {
    Q_OBJECT
public:
    using Installations::Installations;

    QStringList registered;

    QStringList claudeLocations() override { return registered + Installations::claudeLocations(); }
};

}  // namespace varrow::platform::fake
