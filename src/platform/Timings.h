#pragma once

#include <algorithm>
#include <chrono>

namespace varrow {

// Every timed step of the system, in one place. Tests may shrink them all at once through
// Timings::setScaleForTests; the logic that uses them never changes.
class Timings {
public:
    using ms = std::chrono::milliseconds;

    static ms frontCheck() { return scaled(180); }        // strategy to its check
    static ms handOverFallback() { return scaled(400); }  // activate-then-hand-over fallback
    static ms focusHandOff() { return scaled(1200); }     // focus hand-off window
    static ms firstWindowPoll() { return scaled(150); }   // polls for a new instance's window
    static constexpr int firstWindowPolls = 60;
    static ms relaunchPoll() { return scaled(100); }  // polls while a wrong copy quits
    static constexpr int relaunchPolls = 40;
    static ms openingTimeout() { return scaled(8000); }        // launch stops counting as opening
    static ms edgeCollapse() { return scaled(350); }           // edge tab collapse after hover ends
    static ms renderDelay() { return scaled(1500); }           // scripted render after start-up
    static ms renderSettle() { return scaled(500); }           // settling before each render
    static ms processScan() { return ms(500); }                // Linux /proc rescan interval (polling)
    static ms processCheck() { return ms(500); }               // Linux: were processes created?
    static constexpr int execLooks = 6;                        // checks of a new process for a late exec
    static ms launchSettle() { return ms(100); }               // a launch laying out its arguments, at most
    static ms launchSettleStep() { return ms(1); }             // looks at those arguments again
    static ms hoverAnimation() { return ms(150); }             // card hover and editor colour ease-out
    static ms pressAnimation() { return ms(100); }             // a pressed card springing back
    static ms spinnerFrame() { return ms(80); }                // "Opening…" spinner step
    static ms commandLinePoll() { return ms(100); }            // command line waiting for Varrow's socket
    static ms commandLineStartWait() { return ms(15000); }     // how long it waits for a started Varrow
    static ms socketTimeout() { return ms(3000); }             // one request on the single-instance socket
    static ms helperToolTimeout() { return ms(3000); }         // a desktop helper tool (gsettings)
    static ms compositorReply() { return ms(2000); }           // a command on the compositor's socket
    static ms fileSettle() { return ms(50); }                  // a watched file's burst of writes
    static ms windowActivationRetry() { return scaled(100); }  // a shown window asks again to be active
    static constexpr int windowActivationRetries = 5;
    static ms extensionGreetingRetry() { return scaled(100); }  // GNOME Shell extension yet to see us
    static constexpr int extensionGreetings = 30;
    static ms loginTrayWait() { return scaled(3000); }   // a login launch waiting for a tray host
    static ms loginOpenNext() { return scaled(30000); }  // at login, the next account opens at the latest
    // How often idle accounts are looked at while sleeping is on: every few minutes, more often
    // for short idle times so an account sleeps close to its time.
    static ms idleCheck(ms sleepAfter) { return std::clamp(sleepAfter / 6, ms(1000), ms(300000)); }
    static ms memoryRefresh() { return ms(5000); }  // the accounts window's memory figures

    // 1.0 in the program; tests may pass e.g. 0.05 to run timed logic quickly.
    static void setScaleForTests(double scale) { scale_ = scale; }
    static double scale() { return scale_; }

private:
    static ms scaled(long long base) { return ms(static_cast<long long>(base * scale_ + 0.5)); }
    static inline double scale_ = 1.0;
};

}  // namespace varrow
