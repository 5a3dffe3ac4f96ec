#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace varrow::app {

// Varrow itself: the tray, the accounts window and the requests the command line sends it; a
// second start shows the running one's window. The command line's own verbs never reach here.
int run(int argc, char** argv);

}  // namespace varrow::app
