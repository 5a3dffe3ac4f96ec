#pragma once

namespace varrow::app {

// The whole program: start-up, the event loop, and the headless run when there is no display.
int run(int argc, char** argv);

}  // namespace varrow::app
