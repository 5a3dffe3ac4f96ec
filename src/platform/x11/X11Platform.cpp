#include "platform/x11/X11Platform.h"

#include "platform/x11/X11Connection.h"
#include "platform/x11/X11HotKeys.h"
#include "platform/x11/X11WindowServer.h"

namespace varrow::platform::x11 {

void addWindowServices(Services& services) {
    auto connection = std::make_shared<X11Connection>();
    services.windowServer = std::make_unique<X11WindowServer>(connection);
    services.hotKeys = std::make_unique<X11HotKeys>(connection);
}

}  // namespace varrow::platform::x11
