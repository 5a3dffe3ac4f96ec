#pragma once

namespace varrow::app::requests {

// The words the command line and the running Varrow exchange over the local socket: one request
// per connection ("word", or "word<TAB>argument"), then the reply text.
constexpr auto kShow = "show";                         // brings the accounts window to the front
constexpr auto kList = "list";                         // the status report, one line per account
constexpr auto kFront = "front";                       // the account in front, or "-"
constexpr auto kOpen = "open";                         // NAME: opens or brings forward that account
constexpr auto kQuit = "quit";                         // quits Varrow
constexpr auto kQuitAccount = "quit-account";          // NAME: quits that account's Claude
constexpr auto kTerminalCommand = "terminal-command";  // NAME: the Claude Code command for it
constexpr auto kCycle = "cycle";                       // "back" or nothing: as the cycle hot key
constexpr auto kOpenLink = "open-link";                // URL: to the account that asked for it
constexpr auto kLoginOn = "login-on";                  // NAME: that account opens at login
constexpr auto kLoginOff = "login-off";                // NAME: that account no longer does

constexpr auto kCycleBackwards = "back";
// The reply to a NAME that matches no account starts with this.
constexpr auto kNoAccountPrefix = "no account named ";

}  // namespace varrow::app::requests
