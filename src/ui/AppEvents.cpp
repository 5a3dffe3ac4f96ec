#include "ui/AppEvents.h"

namespace varrow::ui {

AppEvents& AppEvents::instance() {
    static AppEvents events;
    return events;
}

}  // namespace varrow::ui
