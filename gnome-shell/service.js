// What the extension does for Varrow, the same in every shell version: the entry files give it the
// shell's modules (Gio, GLib, Meta, Shell, Main) and call enable() and disable().
//
// Varrow owns the bus name VARROW_NAME; only that owner's calls are served and only it hears the
// signals. No titles leave the shell, only process ids.

const VARROW_NAME = 'io.github.varrow.Varrow';
const SERVICE_NAME = 'io.github.varrow.GnomeShell';
const SERVICE_PATH = '/io/github/varrow/GnomeShell';
const SERVICE_INTERFACE = `<node>
  <interface name="io.github.varrow.GnomeShell">
    <method name="Watch">
      <arg name="pids" type="au" direction="in"/>
      <arg name="focused" type="u" direction="out"/>
      <arg name="withWindows" type="au" direction="out"/>
    </method>
    <method name="Activate">
      <arg name="pid" type="u" direction="in"/>
      <arg name="found" type="b" direction="out"/>
    </method>
    <method name="GrabKeys">
      <arg name="keys" type="a{ss}" direction="in"/>
      <arg name="grabbed" type="as" direction="out"/>
    </method>
    <signal name="FocusChanged"><arg name="pid" type="u"/></signal>
    <signal name="WindowsChanged"><arg name="withWindows" type="au"/></signal>
    <signal name="KeyPressed"><arg name="id" type="s"/></signal>
  </interface>
</node>`;

// Enough for the cycle keys and their reverse, with room to spare; anything else is refused.
const MAX_KEYS = 4;
const MAX_PIDS = 256;
const KEY_ID = /^[a-z][a-z0-9-]{0,31}$/;
const ACCELERATOR = /^(<(Control|Shift|Alt|Super)>){0,4}[A-Za-z0-9]{1,16}$/;

class VarrowShellService {
    constructor(shell) {
        this._shell = shell;
        this._owner = null;       // Varrow's unique name while it runs
        this._watched = new Set(); // the processes Varrow named
        this._keys = new Map();    // id -> accelerator, as asked
        this._grabs = new Map();   // action -> {id, name}, while held
        this._withWindows = '';
        this._signals = [];
        this._windowSignals = new Map();
        this._windowsIdle = 0;
    }

    enable() {
        const {Gio} = this._shell;
        this._exported = Gio.DBusExportedObject.wrapJSObject(SERVICE_INTERFACE, this);
        this._exported.export(Gio.DBus.session, SERVICE_PATH);
        this._nameId = Gio.bus_own_name_on_connection(Gio.DBus.session, SERVICE_NAME,
            Gio.BusNameOwnerFlags.NONE, null, null);
        this._watchId = Gio.bus_watch_name_on_connection(Gio.DBus.session, VARROW_NAME,
            Gio.BusNameWatcherFlags.NONE,
            (_connection, _name, owner) => this._varrowChanged(owner),
            () => this._varrowChanged(null));
        const display = global.display;
        this._signals.push(display.connect('notify::focus-window', () => this._focusChanged()));
        this._signals.push(display.connect('window-created', (_d, window) => this._windowAdded(window)));
        this._signals.push(display.connect('accelerator-activated',
            (_d, action) => this._accelerator(action)));
        for (const actor of global.get_window_actors()) this._windowAdded(actor.meta_window);
    }

    disable() {
        const {Gio, GLib} = this._shell;
        this._varrowChanged(null);
        if (this._windowsIdle) GLib.source_remove(this._windowsIdle);
        this._windowsIdle = 0;
        for (const id of this._signals) global.display.disconnect(id);
        this._signals = [];
        for (const [window, id] of this._windowSignals) window.disconnect(id);
        this._windowSignals.clear();
        Gio.bus_unwatch_name(this._watchId);
        Gio.bus_unown_name(this._nameId);
        this._exported.unexport();
        this._exported = null;
    }

    // A new Varrow, or none: nothing the last one asked for outlives it.
    _varrowChanged(owner) {
        this._owner = owner;
        this._watched.clear();
        this._keys.clear();
        this._withWindows = '';
        this._updateGrabs();
    }

    _fromVarrow(invocation) {
        if (this._owner !== null && invocation.get_sender() === this._owner) return true;
        invocation.return_dbus_error('org.freedesktop.DBus.Error.AccessDenied',
            'Only Varrow is served here');
        return false;
    }

    _emit(name, signature, values) {
        if (this._owner === null) return;
        const {Gio, GLib} = this._shell;
        Gio.DBus.session.emit_signal(this._owner, SERVICE_PATH, 'io.github.varrow.GnomeShell', name,
            new GLib.Variant(signature, values));
    }

    _pid(window) {
        const pid = window ? window.get_pid() : 0;
        return pid > 0 ? pid : 0;
    }

    _isNormal(window) {
        return window.get_window_type() === this._shell.Meta.WindowType.NORMAL;
    }

    _windowsOf(pid) {
        return global.get_window_actors().map(actor => actor.meta_window)
            .filter(window => this._pid(window) === pid && this._isNormal(window));
    }

    _watchedWithWindows() {
        const pids = new Set();
        for (const actor of global.get_window_actors()) {
            const window = actor.meta_window;
            const pid = this._pid(window);
            if (this._watched.has(pid) && this._isNormal(window) && !window.is_override_redirect())
                pids.add(pid);
        }
        return [...pids].sort((a, b) => a - b);
    }

    _windowAdded(window) {
        if (this._windowSignals.has(window)) return;
        this._windowSignals.set(window, window.connect('unmanaged', () => {
            window.disconnect(this._windowSignals.get(window));
            this._windowSignals.delete(window);
            this._windowsChanged();
        }));
        this._windowsChanged();
    }

    // Told only when the answer differs; a window closes before its actor goes, hence the idle.
    _windowsChanged() {
        const {GLib} = this._shell;
        if (this._windowsIdle) return;
        this._windowsIdle = GLib.idle_add(GLib.PRIORITY_DEFAULT, () => {
            this._windowsIdle = 0;
            const pids = this._watchedWithWindows();
            if (pids.join(' ') !== this._withWindows) {
                this._withWindows = pids.join(' ');
                this._emit('WindowsChanged', '(au)', [pids]);
            }
            return GLib.SOURCE_REMOVE;
        });
    }

    _focusChanged() {
        this._updateGrabs();
        this._emit('FocusChanged', '(u)', [this._pid(global.display.focus_window)]);
    }

    // The keys are held only while a window of a process Varrow named is in front: every other
    // program keeps them.
    _updateGrabs() {
        const {Meta, Shell, Main} = this._shell;
        const wanted = this._keys.size > 0 && this._watched.has(this._pid(global.display.focus_window));
        const held = new Set([...this._grabs.values()].map(grab => grab.id));
        for (const [action, grab] of this._grabs) {
            if (wanted && this._keys.get(grab.id) === grab.accelerator) continue;
            global.display.ungrab_accelerator(action);
            Main.wm.allowKeybinding(grab.name, Shell.ActionMode.NONE);
            this._grabs.delete(action);
            held.delete(grab.id);
        }
        if (!wanted) return;
        for (const [id, accelerator] of this._keys) {
            if (held.has(id)) continue;
            const action = global.display.grab_accelerator(accelerator, Meta.KeyBindingFlags.NONE);
            if (action === Meta.KeyBindingAction.NONE) continue;
            const name = Meta.external_binding_name_for_action(action);
            // Without this the shell drops the binding without a word.
            Main.wm.allowKeybinding(name, Shell.ActionMode.NORMAL);
            this._grabs.set(action, {id, accelerator, name});
        }
    }

    _accelerator(action) {
        const grab = this._grabs.get(action);
        if (grab) this._emit('KeyPressed', '(s)', [grab.id]);
    }

    WatchAsync([pids], invocation) {
        if (!this._fromVarrow(invocation)) return;
        if (pids.length > MAX_PIDS || pids.some(pid => pid <= 0)) {
            invocation.return_dbus_error('org.freedesktop.DBus.Error.InvalidArgs',
                `Watch takes up to ${MAX_PIDS} process ids above 0`);
            return;
        }
        this._watched = new Set(pids);
        this._updateGrabs();
        const withWindows = this._watchedWithWindows();
        this._withWindows = withWindows.join(' ');
        const {GLib} = this._shell;
        invocation.return_value(new GLib.Variant('(uau)',
            [this._pid(global.display.focus_window), withWindows]));
    }

    // The process's window highest in the stacking order, restored when minimized.
    ActivateAsync([pid], invocation) {
        if (!this._fromVarrow(invocation)) return;
        const {GLib, Main} = this._shell;
        const windows = pid > 0 ? global.display.sort_windows_by_stacking(this._windowsOf(pid)) : [];
        const window = windows[windows.length - 1];
        if (window) Main.activateWindow(window, global.get_current_time());
        invocation.return_value(new GLib.Variant('(b)', [window !== undefined]));
    }

    GrabKeysAsync([keys], invocation) {
        if (!this._fromVarrow(invocation)) return;
        const entries = Object.entries(keys);
        if (entries.length > MAX_KEYS ||
            entries.some(([id, accelerator]) => !KEY_ID.test(id) || !ACCELERATOR.test(accelerator))) {
            invocation.return_dbus_error('org.freedesktop.DBus.Error.InvalidArgs',
                `GrabKeys takes up to ${MAX_KEYS} ids with accelerators such as <Control>grave`);
            return;
        }
        this._keys = new Map(entries);
        this._updateGrabs();
        const {GLib} = this._shell;
        invocation.return_value(new GLib.Variant('(as)', [[...this._keys.keys()]]));
    }
}
