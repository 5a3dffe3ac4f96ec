#include "platform/macos/SkyLight.h"

#include "platform/Platform.h"

#include <dlfcn.h>

namespace varrow::platform::macos::SkyLight {

namespace {

using SetFrontFn = qint32 (*)(ProcessSerialNumber*, quint32 window, quint32 options);
using PostEventFn = qint32 (*)(ProcessSerialNumber*, const quint8* record);
using PsnForPidFn = qint32 (*)(pid_t, ProcessSerialNumber*);

// Lazy binding, the value macOS also uses for RTLD_LAZY.
constexpr int kLazy = 1;
static_assert(RTLD_LAZY == kLazy);

struct EntryPoints {
    void* handle = nullptr;
    SetFrontFn setFront = nullptr;
    PostEventFn postEvent = nullptr;
    PsnForPidFn psnForPid = nullptr;

    EntryPoints() {
        handle = ::dlopen("/System/Library/PrivateFrameworks/SkyLight.framework/SkyLight", kLazy);
        if (handle) {
            setFront = reinterpret_cast<SetFrontFn>(::dlsym(handle, "_SLPSSetFrontProcessWithOptions"));
            postEvent = reinterpret_cast<PostEventFn>(::dlsym(handle, "SLPSPostEventRecordTo"));
        }
        if (void* services = ::dlopen(
                "/System/Library/Frameworks/ApplicationServices.framework/ApplicationServices", kLazy))
            psnForPid = reinterpret_cast<PsnForPidFn>(::dlsym(services, "GetProcessForPID"));
    }
};

// Looked up once, on first use, whether found or not.
const EntryPoints& entryPoints() {
    static const EntryPoints points;
    return points;
}

}  // namespace

bool isAvailable() {
    return entryPoints().setFront && entryPoints().psnForPid;
}

bool setFront(pid_t pid) {
    const EntryPoints& points = entryPoints();
    if (!points.setFront || !points.psnForPid) return false;
    ProcessSerialNumber psn;
    if (points.psnForPid(pid, &psn) != 0) return false;
    if (const auto window = frontWindow(pid)) {
        points.setFront(&psn, *window, 0x200);
        makeKey(psn, *window);
    } else {
        points.setFront(&psn, 0, 0x100);
    }
    return true;
}

void makeKey(ProcessSerialNumber& psn, quint32 window) {
    const EntryPoints& points = entryPoints();
    if (!points.postEvent) return;
    const EventRecord first = eventRecord(0x01, window);
    const EventRecord second = eventRecord(0x02, window);
    points.postEvent(&psn, first.data());
    points.postEvent(&psn, second.data());
}

std::optional<quint32> frontWindow(pid_t pid) {
    // The window list is the platform's: on-screen, front to back, normal layer only.
    if (!Platform::isInstalled()) return std::nullopt;
    return Platform::windowServer().frontWindow(pid);
}

}  // namespace varrow::platform::macos::SkyLight
