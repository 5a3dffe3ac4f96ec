#pragma once

#include <QString>

// Who the stand-in is, decided as Electron decides it from where the program lies: laid out as
// Claude's Linux package (resources/app.asar beside the executable), the app id and window class
// come from the archive's package.json; as a bundle or anywhere else it stays plain "Claude".
struct StandinIdentity {
    enum class Layout { Package, Bundle, Loose };

    Layout layout = Layout::Loose;
    QString executable;   // as /proc/self/exe names it
    QString windowClass;  // X11 WM_CLASS class
    QString appId;        // Wayland app_id

    static StandinIdentity ofThisProcess();
    static StandinIdentity of(const QString& executable);
    // desktopName without ".desktop", else productName; empty when the archive says neither.
    static QString appIdFromPackage(const QString& archivePath);
    QString layoutName() const;
};
