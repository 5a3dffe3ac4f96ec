# Types keys into headless mutter through its remote-desktop D-Bus service. Reads one key
# combination a line ("ctrl+grave", "shift") from stdin; prints "ready" once the session runs and
# "sent MS" (milliseconds since the epoch, just before the key goes down) after each combination.
import sys
import time

from gi.repository import Gio, GLib

KEYSYMS = {"ctrl": 0xFFE3, "shift": 0xFFE1, "alt": 0xFFE9, "grave": 0x60, "tab": 0xFF09}

bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)


def call(path, interface, method, args=None, reply=None):
    return bus.call_sync("org.gnome.Mutter.RemoteDesktop", path, interface, method, args,
                         reply and GLib.VariantType(reply), Gio.DBusCallFlags.NONE, -1, None)


session = call("/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop", "CreateSession",
               reply="(o)")[0]
SESSION = "org.gnome.Mutter.RemoteDesktop.Session"
call(session, SESSION, "Start")


def press(keys):
    syms = [KEYSYMS.get(k, None) or ord(k) for k in keys.split("+")]
    sent = int(time.time() * 1000)
    for sym in syms:
        call(session, SESSION, "NotifyKeyboardKeysym", GLib.Variant("(ub)", (sym, True)))
    for sym in reversed(syms):
        call(session, SESSION, "NotifyKeyboardKeysym", GLib.Variant("(ub)", (sym, False)))
    return sent


press("shift")  # the first event of a session can be lost
print("ready", flush=True)
for line in sys.stdin:
    if line.strip():
        print("sent", press(line.strip()), flush=True)
