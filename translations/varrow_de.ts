<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AppCloner</name>
    <message>
        <source>Couldn&apos;t create the folder “%1”: %2.</source>
        <translation>Der Ordner „%1“ konnte nicht angelegt werden: %2.</translation>
    </message>
    <message>
        <source>Couldn&apos;t prepare this account&apos;s copy of Claude (%1).</source>
        <translation>Die Claude-Kopie dieses Kontos konnte nicht vorbereitet werden (%1).</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>Varrow is already running for %1 but does not answer.</source>
        <translation>Varrow läuft bereits für %1, antwortet aber nicht.</translation>
    </message>
</context>
<context>
    <name>AsarRewrite</name>
    <message>
        <source>the disk is full</source>
        <translation>der Datenträger ist voll</translation>
    </message>
    <message>
        <source>the archive ended early</source>
        <translation>das Archiv endet vorzeitig</translation>
    </message>
    <message>
        <source>the index entry “%1” is damaged</source>
        <translation>der Indexeintrag „%1“ ist beschädigt</translation>
    </message>
    <message>
        <source>the archive has no package.json</source>
        <translation>das Archiv enthält keine package.json</translation>
    </message>
    <message>
        <source>the archive&apos;s index is not a JSON object</source>
        <translation>der Index des Archivs ist kein JSON-Objekt</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <source>the disk is full</source>
        <translation>der Datenträger ist voll</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>“%1”</source>
        <comment>a quoted name or path</comment>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>“%1” takes no names.</source>
        <translation>„%1“ nimmt keine Namen an.</translation>
    </message>
    <message>
        <source>“open” needs at least one account name.</source>
        <translation>„open“ braucht mindestens einen Kontonamen.</translation>
    </message>
    <message>
        <source>“quit” takes one account name; quote a name with spaces.</source>
        <translation>„quit“ nimmt genau einen Kontonamen an; setzen Sie einen Namen mit Leerzeichen in Anführungszeichen.</translation>
    </message>
    <message>
        <source>“command” takes exactly one account name.</source>
        <translation>„command“ nimmt genau einen Kontonamen an.</translation>
    </message>
    <message>
        <source>“code” needs an account name.</source>
        <translation>„code“ braucht einen Kontonamen.</translation>
    </message>
    <message>
        <source>“open-link” takes exactly one link.</source>
        <translation>„open-link“ nimmt genau einen Link an.</translation>
    </message>
    <message>
        <source>Varrow only passes on claude: links; “%1” is not one.</source>
        <translation>Varrow gibt nur claude:-Links weiter; „%1“ ist keiner.</translation>
    </message>
    <message>
        <source>“cycle” takes only --back.</source>
        <translation>„cycle“ nimmt nur --back an.</translation>
    </message>
    <message>
        <source>“%1” is not a Varrow command; see varrow --help.</source>
        <translation>„%1“ ist kein Befehl von Varrow; siehe varrow --help.</translation>
    </message>
    <message>
        <source>Varrow is not running.</source>
        <translation>Varrow läuft nicht.</translation>
    </message>
    <message>
        <source>There is no account named %1.</source>
        <translation>Es gibt kein Konto namens %1.</translation>
    </message>
    <message>
        <source>Varrow %1</source>
        <translation>Varrow %1</translation>
    </message>
    <message>
        <source>Varrow is not running and could not be started.</source>
        <translation>Varrow läuft nicht und konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Varrow&apos;s account list %1 cannot be read.</source>
        <translation>Die Kontenliste von Varrow, %1, kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Varrow&apos;s account list %1 cannot be read: %2.</source>
        <translation>Die Kontenliste von Varrow, %1, kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>There is no account named %1. The accounts are:</source>
        <translation>Es gibt kein Konto namens %1. Vorhandene Konten:</translation>
    </message>
    <message>
        <source>Claude Code is not installed here: there is no “claude” command on your PATH.</source>
        <translation>Claude Code ist hier nicht installiert: In Ihrem PATH gibt es keinen Befehl „claude“.</translation>
    </message>
    <message>
        <source>Claude Code could not be started: %1.</source>
        <translation>Claude Code konnte nicht gestartet werden: %1.</translation>
    </message>
    <message>
        <source>“login” takes an account name and on or off.</source>
        <translation>„login“ erwartet einen Kontonamen und on oder off.</translation>
    </message>
    <message>
        <source>Usage: varrow [COMMAND]
Keeps several Claude accounts open side by side. Without a command, starts Varrow
(or shows the accounts window of the one already running).

Commands:
  list              the accounts; running=true for each one that is open
  open NAME...      opens each named account, or brings it to the front
                    (starts Varrow first when it is not running)
  quit NAME         quits the named account&apos;s Claude (&quot;quit&quot; alone quits Varrow)
  command NAME      prints the terminal command for Claude Code with that account
  code NAME [ARGS]  runs Claude Code (claude) with that account&apos;s configuration,
                    passing ARGS on unchanged
  open-link URL     passes a claude: sign-in link to the account that asked for it
  cycle [--back]    brings the next (or previous) open account forward, as Ctrl+` does;
                    nothing happens unless Claude is in front
  login NAME on|off whether the named account opens when Varrow starts at login
  show              shows the accounts window
  front             prints the account in front, or &quot;-&quot;
  uninstall         quits Varrow and takes out of your desktop what it put there: its
                    login entry, the accounts&apos; copies of Claude and their launcher
                    entries, its sign-in link handler and GNOME Shell extension;
                    your accounts and their data stay
  --help            shows this text
  --version         shows Varrow&apos;s version

Names match exactly; quote a name that holds spaces: varrow open &quot;Side Project&quot;.
Exit status: 0 done, 1 no such account (or the link was not passed on), 2 wrong usage, 3 Varrow is not running or could not be started, 127 claude is not on PATH.
</source>
        <translation>Aufruf: varrow [BEFEHL]
Hält mehrere Claude-Konten nebeneinander geöffnet. Ohne Befehl startet Varrow
(oder zeigt das Kontenfenster des bereits laufenden Varrow).

Befehle:
  list              die Konten; running=true bei jedem, das geöffnet ist
  open NAME...      öffnet jedes genannte Konto oder holt es nach vorne
                    (startet vorher Varrow, wenn es nicht läuft)
  quit NAME         beendet das Claude des genannten Kontos („quit“ allein beendet Varrow)
  command NAME      gibt den Terminalbefehl für Claude Code mit diesem Konto aus
  code NAME [ARGS]  startet Claude Code (claude) mit der Konfiguration dieses Kontos
                    und reicht ARGS unverändert weiter
  open-link URL     gibt einen claude:-Anmeldelink an das Konto weiter, das ihn angefordert hat
  cycle [--back]    holt das nächste (oder vorherige) offene Konto nach vorne, wie Strg+`;
                    wirkt nur, solange Claude im Vordergrund ist
  login NAME on|off ob das genannte Konto öffnet, wenn Varrow bei der Anmeldung startet
  show              zeigt das Kontenfenster
  front             gibt das Konto im Vordergrund aus, sonst „-“
  uninstall         beendet Varrow und nimmt aus der Arbeitsumgebung, was es dort
                    eingerichtet hat: den Anmeldeeintrag, die Kopien von Claude für die
                    Konten mit ihren Starter-Einträgen, sein Programm für Anmeldelinks
                    und seine GNOME-Shell-Erweiterung; Konten und Daten bleiben
  --help            zeigt diesen Text
  --version         zeigt die Version von Varrow

Namen müssen genau übereinstimmen; Namen mit Leerzeichen in Anführungszeichen setzen:
varrow open &quot;Side Project&quot;.
Rückgabewert: 0 erledigt, 1 kein solches Konto (oder der Link wurde nicht weitergegeben),
2 falscher Aufruf, 3 Varrow läuft nicht oder konnte nicht gestartet werden, 127 claude ist nicht im PATH.
</translation>
    </message>
    <message>
        <source>Varrow did not quit, so nothing was removed.</source>
        <translation>Varrow hat sich nicht beendet, daher wurde nichts entfernt.</translation>
    </message>
    <message>
        <source>Varrow had nothing in your desktop to take away.</source>
        <translation>Varrow hatte nichts in Ihrer Arbeitsumgebung, das zu entfernen war.</translation>
    </message>
    <message>
        <source>Your accounts and their data stay in %1; delete that folder to remove them too.</source>
        <translation>Ihre Konten und ihre Daten bleiben in %1; löschen Sie diesen Ordner, um auch sie zu entfernen.</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>Varrow cannot pass links on yet.</source>
        <translation>Varrow kann noch keine Links weitergeben.</translation>
    </message>
</context>
<context>
    <name>DesktopConfig</name>
    <message>
        <source>“%1”</source>
        <comment>a quoted account name</comment>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>doesn&apos;t exist</source>
        <comment>the settings file</comment>
        <translation>existiert nicht</translation>
    </message>
    <message>
        <source>can&apos;t be read (%1)</source>
        <comment>the settings file</comment>
        <translation>kann nicht gelesen werden (%1)</translation>
    </message>
    <message>
        <source>isn&apos;t valid JSON</source>
        <comment>the settings file</comment>
        <translation>ist kein gültiges JSON</translation>
    </message>
    <message>
        <source>The data folder of %1 %2.</source>
        <comment>%2: what is wrong with it</comment>
        <translation>Der Datenordner von %1 %2.</translation>
    </message>
    <message>
        <source>has an unusable name</source>
        <comment>the data folder</comment>
        <translation>hat einen unbrauchbaren Namen</translation>
    </message>
    <message>
        <source>is a link, so Varrow won&apos;t write into it</source>
        <comment>the data folder</comment>
        <translation>ist ein Link, daher schreibt Varrow nicht hinein</translation>
    </message>
    <message>
        <source>couldn&apos;t be created</source>
        <comment>the data folder</comment>
        <translation>konnte nicht angelegt werden</translation>
    </message>
    <message>
        <source>lies outside Varrow&apos;s accounts folder</source>
        <comment>the data folder</comment>
        <translation>liegt außerhalb des Kontenordners von Varrow</translation>
    </message>
    <message>
        <source>My Claude&apos;s settings file %1, so %2 starts without My Claude&apos;s MCP servers and settings.</source>
        <comment>%1: what is wrong with the file</comment>
        <translation>Die Einstellungsdatei von My Claude %1, daher startet %2 ohne die MCP-Server und Einstellungen von My Claude.</translation>
    </message>
    <message>
        <source>The settings file of %1 is a link, so Varrow left it alone.</source>
        <translation>Die Einstellungsdatei von %1 ist ein Link, daher hat Varrow sie nicht angerührt.</translation>
    </message>
    <message>
        <source>My Claude&apos;s settings couldn&apos;t be copied (%1), so %2 starts without My Claude&apos;s MCP servers and settings.</source>
        <translation>Die Einstellungen von My Claude konnten nicht kopiert werden (%1), daher startet %2 ohne die MCP-Server und Einstellungen von My Claude.</translation>
    </message>
    <message>
        <source>My Claude&apos;s settings file %1, so there are no MCP servers to copy.</source>
        <comment>%1: what is wrong with the file</comment>
        <translation>Die Einstellungsdatei von My Claude %1, daher gibt es keine MCP-Server zum Kopieren.</translation>
    </message>
    <message>
        <source>My Claude has no MCP servers to copy.</source>
        <translation>My Claude hat keine MCP-Server, die sich kopieren ließen.</translation>
    </message>
    <message>
        <source>The settings file of %1 is a link, so Varrow won&apos;t write through it.</source>
        <translation>Die Einstellungsdatei von %1 ist ein Link, daher schreibt Varrow nicht über ihn.</translation>
    </message>
    <message>
        <source>The settings file of %1 %2, so Varrow didn&apos;t change it.</source>
        <comment>%2: what is wrong with the file</comment>
        <translation>Die Einstellungsdatei von %1 %2, daher hat Varrow sie nicht geändert.</translation>
    </message>
    <message>
        <source>The MCP servers of %1 aren&apos;t in a form Varrow can merge into, so it didn&apos;t change them.</source>
        <translation>Die MCP-Server von %1 liegen in keiner Form vor, mit der Varrow sie zusammenführen kann, daher wurden sie nicht geändert.</translation>
    </message>
    <message>
        <source>The settings file is now a link, so Varrow didn&apos;t write through it.</source>
        <translation>Die Einstellungsdatei ist inzwischen ein Link, daher hat Varrow nicht über ihn geschrieben.</translation>
    </message>
    <message>
        <source>The old settings couldn&apos;t be kept as a backup (%1), so nothing was changed.</source>
        <translation>Die alten Einstellungen konnten nicht als Sicherung aufbewahrt werden (%1), daher wurde nichts geändert.</translation>
    </message>
    <message>
        <source>The settings file couldn&apos;t be written (%1); it is unchanged.</source>
        <translation>Die Einstellungsdatei konnte nicht geschrieben werden (%1); sie ist unverändert.</translation>
    </message>
</context>
<context>
    <name>DesktopWords</name>
    <message>
        <source>Ctrl+%1</source>
        <comment>a key pressed with Control</comment>
        <translation>Strg+%1</translation>
    </message>
    <message>
        <source>Shift+Ctrl+%1</source>
        <comment>a key pressed with Shift and Control</comment>
        <translation>Umschalt+Strg+%1</translation>
    </message>
    <message>
        <source>Each account gets its own coloured Claude icon and name, like “Claude Work”, in the dash and Alt+Tab.</source>
        <translation>Jedes Konto bekommt ein eigenes farbiges Claude-Symbol und einen eigenen Namen wie „Claude Arbeit“, im Dash und bei Alt+Tab.</translation>
    </message>
    <message>
        <source>Each account gets its own coloured Claude icon and name, like “Claude Work”, in the taskbar and Alt+Tab.</source>
        <translation>Jedes Konto bekommt ein eigenes farbiges Claude-Symbol und einen eigenen Namen wie „Claude Arbeit“, in der Fensterleiste und bei Alt+Tab.</translation>
    </message>
    <message>
        <source>Want an account in your favourites? Right-click it here and choose Add to Favorites. It shows up as “Claude Work” in its own colour.</source>
        <translation>Ein Konto in den Favoriten? Klicken Sie es hier mit der rechten Maustaste an und wählen Sie „Zu Favoriten hinzufügen“. Es erscheint dann als „Claude Arbeit“ in seiner eigenen Farbe.</translation>
    </message>
    <message>
        <source>Add “%1” to Favorites</source>
        <comment>GNOME Shell&apos;s own words</comment>
        <translation>„%1“ zu Favoriten hinzufügen</translation>
    </message>
    <message>
        <source>Want an account in your task manager? Right-click it here and choose Pin to Task Manager. It shows up as “Claude Work” in its own colour.</source>
        <translation>Ein Konto in der Fensterleiste? Klicken Sie es hier mit der rechten Maustaste an und wählen Sie „An Fensterleiste anheften“. Es erscheint dann als „Claude Arbeit“ in seiner eigenen Farbe.</translation>
    </message>
    <message>
        <source>Pin “%1” to Task Manager</source>
        <comment>KDE Plasma&apos;s own words</comment>
        <translation>„%1“ an Fensterleiste anheften</translation>
    </message>
    <message>
        <source>Each account gets its own coloured Claude icon and name, like “Claude Work”, in the task manager and Alt+Tab.</source>
        <translation>Jedes Konto bekommt ein eigenes farbiges Claude-Symbol und einen eigenen Namen wie „Claude Arbeit“, in der Fensterleiste und bei Alt+Tab.</translation>
    </message>
</context>
<context>
    <name>GnomeExtensionOffer</name>
    <message>
        <source>Native switching starts at your next login</source>
        <translation>Natives Umschalten beginnt mit Ihrer nächsten Anmeldung</translation>
    </message>
    <message>
        <source>Varrow added its extension to GNOME Shell. After you log out and in again, Claude opens as a sharp native window, and Ctrl+` and the switcher work there. Until then Claude opens through Xwayland, where switching works as it does now.</source>
        <translation>Varrow hat GNOME Shell seine Erweiterung hinzugefügt. Nachdem Sie sich ab- und wieder angemeldet haben, öffnet sich Claude als scharfes natives Fenster, und Strg+` und der Umschalter funktionieren dort. Bis dahin öffnet sich Claude über Xwayland, wo das Umschalten wie bisher funktioniert.</translation>
    </message>
    <message>
        <source>GNOME Shell extensions are turned off</source>
        <translation>GNOME-Shell-Erweiterungen sind ausgeschaltet</translation>
    </message>
    <message>
        <source>GNOME&apos;s setting “disable-user-extensions” keeps every extension off, Varrow&apos;s too, so Claude keeps opening through Xwayland. Turn extensions on in the Extensions app, then log in again, for native windows.</source>
        <translation>Die GNOME-Einstellung „disable-user-extensions“ hält alle Erweiterungen aus, auch die von Varrow, daher öffnet sich Claude weiter über Xwayland. Schalten Sie Erweiterungen in der Anwendung „Erweiterungen“ ein und melden Sie sich dann erneut an, um native Fenster zu erhalten.</translation>
    </message>
</context>
<context>
    <name>LauncherEntries</name>
    <message>
        <source>Claude for the account %1</source>
        <translation>Claude für das Konto %1</translation>
    </message>
    <message>
        <source>cannot create %1</source>
        <translation>%1 kann nicht angelegt werden</translation>
    </message>
</context>
<context>
    <name>LinkHandlers</name>
    <message>
        <source>This program’s path cannot be written to a desktop entry.</source>
        <translation>Der Pfad dieses Programms lässt sich nicht in einen Desktop-Eintrag schreiben.</translation>
    </message>
    <message>
        <source>The folder %1 could not be created.</source>
        <translation>Der Ordner %1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The desktop entry %1 could not be written.</source>
        <translation>Der Desktop-Eintrag %1 konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>%1 could not be read.</source>
        <translation>%1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>%1 could not be written.</source>
        <translation>%1 konnte nicht geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>LoginItems</name>
    <message>
        <source>The login item %1 could not be removed.</source>
        <translation>Der Autostart-Eintrag %1 konnte nicht entfernt werden.</translation>
    </message>
    <message>
        <source>This program’s path cannot be written to a login item.</source>
        <translation>Der Pfad dieses Programms lässt sich nicht in einen Autostart-Eintrag schreiben.</translation>
    </message>
    <message>
        <source>The folder %1 could not be created.</source>
        <translation>Der Ordner %1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The login item %1 could not be written.</source>
        <translation>Der Autostart-Eintrag %1 konnte nicht geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>McpCopyPrompt</name>
    <message>
        <source>Adds: %1</source>
        <translation>Neu: %1</translation>
    </message>
    <message>
        <source>Replaces (same name): %1</source>
        <translation>Ersetzt (gleicher Name): %1</translation>
    </message>
    <message>
        <source>“%1” already has My Claude&apos;s MCP servers.</source>
        <translation>„%1“ hat die MCP-Server von My Claude bereits.</translation>
    </message>
    <message>
        <source>Copy MCP servers from My Claude to “%1”?</source>
        <translation>MCP-Server von My Claude nach „%1“ kopieren?</translation>
    </message>
    <message>
        <source>

The current file is kept as %1%2.</source>
        <translation>

Die bisherige Datei bleibt als %1%2 erhalten.</translation>
    </message>
    <message>
        <source>
Claude reads it the next time “%1” opens.</source>
        <translation>
Claude liest sie, wenn „%1“ das nächste Mal geöffnet wird.</translation>
    </message>
    <message>
        <source>Copy</source>
        <comment>copy the MCP servers</comment>
        <translation>Kopieren</translation>
    </message>
</context>
<context>
    <name>MenuModel</name>
    <message>
        <source>Download Claude…</source>
        <translation>Claude herunterladen …</translation>
    </message>
    <message>
        <source>%1  ·  open</source>
        <comment>an account that is open</comment>
        <translation>%1  ·  geöffnet</translation>
    </message>
    <message>
        <source>Add Account…</source>
        <translation>Konto hinzufügen …</translation>
    </message>
    <message>
        <source>Manage Accounts…</source>
        <translation>Konten verwalten …</translation>
    </message>
    <message>
        <source>Switcher in Claude</source>
        <translation>Umschalter in Claude</translation>
    </message>
    <message>
        <source>%1 Switches Accounts</source>
        <translation>Konten mit %1 wechseln</translation>
    </message>
    <message>
        <source>Show Switch Log</source>
        <translation>Wechselprotokoll anzeigen</translation>
    </message>
    <message>
        <source>Quit Varrow</source>
        <translation>Varrow beenden</translation>
    </message>
    <message>
        <source>%1  ·  asleep</source>
        <comment>an account that Varrow let sleep</comment>
        <translation>%1  ·  schläft</translation>
    </message>
</context>
<context>
    <name>Paths</name>
    <message>
        <source>a file is in the way</source>
        <translation>eine Datei ist im Weg</translation>
    </message>
</context>
<context>
    <name>Processes</name>
    <message>
        <source>The application %1 could not be opened because its folder holds no application.</source>
        <translation>Die Anwendung %1 konnte nicht geöffnet werden, weil ihr Ordner keine Anwendung enthält.</translation>
    </message>
    <message>
        <source>The application %1 could not be opened because its executable is missing.</source>
        <translation>Die Anwendung %1 konnte nicht geöffnet werden, weil ihre ausführbare Datei fehlt.</translation>
    </message>
    <message>
        <source>The application %1 could not be opened because its executable is not executable.</source>
        <translation>Die Anwendung %1 konnte nicht geöffnet werden, weil ihre ausführbare Datei nicht ausführbar ist.</translation>
    </message>
    <message>
        <source>The application %1 could not be launched.</source>
        <translation>Die Anwendung %1 konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>The application %1 quit as soon as it was launched.</source>
        <translation>Die Anwendung %1 hat sich gleich nach dem Start beendet.</translation>
    </message>
</context>
<context>
    <name>Profile</name>
    <message>
        <source>an entry is not an object</source>
        <translation>ein Eintrag ist kein Objekt</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is missing or not text</source>
        <translation>„%1“ fehlt oder ist kein Text</translation>
    </message>
    <message>
        <source>&quot;id&quot; is not a UUID</source>
        <translation>„id“ ist keine UUID</translation>
    </message>
    <message>
        <source>unknown colour &quot;%1&quot;</source>
        <translation>unbekannte Farbe „%1“</translation>
    </message>
    <message>
        <source>&quot;isDefault&quot; is missing or not a boolean</source>
        <translation>„isDefault“ fehlt oder ist kein Wahrheitswert</translation>
    </message>
    <message>
        <source>&quot;createdAt&quot; is not a date</source>
        <translation>„createdAt“ ist kein Datum</translation>
    </message>
    <message>
        <source>&quot;lastOpenedAt&quot; is not a date</source>
        <translation>„lastOpenedAt“ ist kein Datum</translation>
    </message>
</context>
<context>
    <name>ProfileStore</name>
    <message>
        <source>the top level is not a list</source>
        <translation>die oberste Ebene ist keine Liste</translation>
    </message>
</context>
<context>
    <name>StatusLine</name>
    <message>
        <source>Opening…</source>
        <translation>Wird geöffnet …</translation>
    </message>
    <message>
        <source>Click to switch</source>
        <translation>Zum Wechseln klicken</translation>
    </message>
    <message>
        <source>Open</source>
        <comment>an account that is open</comment>
        <translation>Geöffnet</translation>
    </message>
    <message>
        <source>Click to open</source>
        <translation>Zum Öffnen klicken</translation>
    </message>
    <message>
        <source>Not open</source>
        <translation>Nicht geöffnet</translation>
    </message>
</context>
<context>
    <name>SwitcherStyle</name>
    <message>
        <source>Pull-out tab</source>
        <translation>Lasche am Rand</translation>
    </message>
    <message>
        <source>Floating bar</source>
        <translation>Schwebende Leiste</translation>
    </message>
    <message>
        <source>Off</source>
        <comment>no switcher</comment>
        <translation>Aus</translation>
    </message>
</context>
<context>
    <name>varrow::app::MainWindow</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>New Account…</source>
        <translation>Neues Konto …</translation>
    </message>
    <message>
        <source>Quit Varrow</source>
        <translation>Varrow beenden</translation>
    </message>
    <message>
        <source>Accounts</source>
        <translation>Konten</translation>
    </message>
</context>
<context>
    <name>varrow::app::Uninstall</name>
    <message>
        <source>Varrow no longer opens at login.</source>
        <translation>Varrow öffnet sich nicht mehr bei der Anmeldung.</translation>
    </message>
    <message>
        <source>Sign-in links go to Claude again, not to Varrow.</source>
        <translation>Anmeldelinks gehen wieder an Claude, nicht an Varrow.</translation>
    </message>
    <message>
        <source>Varrow&apos;s GNOME Shell extension is turned off and removed for you.</source>
        <translation>Die GNOME-Shell-Erweiterung von Varrow ist für Sie ausgeschaltet und entfernt.</translation>
    </message>
    <message>
        <source>%1 is still open; quit it and run this again to remove its copy.</source>
        <translation>%1 ist noch geöffnet; beenden Sie es und führen Sie dies erneut aus, um seine Kopie zu entfernen.</translation>
    </message>
    <message numerus="yes">
        <source>Removed %n copies of Claude and their launcher entries.</source>
        <translation>
            <numerusform>%n Kopie von Claude mit ihrem Starter-Eintrag entfernt.</numerusform>
            <numerusform>%n Kopien von Claude mit ihren Starter-Einträgen entfernt.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>varrow::claude::ClaudeController</name>
    <message>
        <source>Claude isn&apos;t installed on this computer yet. Download it, then try again.</source>
        <translation>Claude ist auf diesem Computer noch nicht installiert. Laden Sie es herunter und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>the folder name “%1” is not usable</source>
        <translation>der Ordnername „%1“ ist nicht verwendbar</translation>
    </message>
    <message>
        <source>Couldn&apos;t create the folder for %1: %2</source>
        <translation>Der Ordner für %1 konnte nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>Claude didn&apos;t open: %1</source>
        <translation>Claude hat sich nicht geöffnet: %1</translation>
    </message>
    <message>
        <source>Couldn&apos;t add %1 to your favourite applications.</source>
        <translation>%1 konnte nicht zu Ihren Favoriten hinzugefügt werden.</translation>
    </message>
    <message>
        <source>Couldn&apos;t pin %1 to the task manager.</source>
        <translation>%1 konnte nicht an die Fensterleiste angeheftet werden.</translation>
    </message>
</context>
<context>
    <name>varrow::claude::LinkRouter</name>
    <message>
        <source>Only claude: links are passed on.</source>
        <translation>Weitergegeben werden nur claude:-Links.</translation>
    </message>
    <message>
        <source>There is no account to pass the link to.</source>
        <translation>Es gibt kein Konto, an das der Link gehen könnte.</translation>
    </message>
    <message>
        <source>Claude isn&apos;t installed, so the link can&apos;t be passed on.</source>
        <translation>Claude ist nicht installiert, daher kann der Link nicht weitergegeben werden.</translation>
    </message>
</context>
<context>
    <name>varrow::install::NoPinnedApps</name>
    <message>
        <source>This desktop keeps no list of applications Varrow can add to.</source>
        <translation>Diese Arbeitsumgebung führt keine Anwendungsliste, zu der Varrow etwas hinzufügen kann.</translation>
    </message>
</context>
<context>
    <name>varrow::install::PlasmaLaunchers</name>
    <message>
        <source>Plasma&apos;s panel could not be reached.</source>
        <translation>Die Plasma-Kontrollleiste war nicht erreichbar.</translation>
    </message>
    <message>
        <source>This copy of Claude has no launcher entry yet.</source>
        <translation>Diese Claude-Kopie hat noch keinen Starter-Eintrag.</translation>
    </message>
    <message>
        <source>Plasma&apos;s panel has no task manager to keep it in.</source>
        <translation>Die Plasma-Kontrollleiste hat keine Fensterleiste, an die es sich anheften ließe.</translation>
    </message>
</context>
<context>
    <name>varrow::install::ShellExtensionInstaller</name>
    <message>
        <source>Couldn&apos;t read GNOME&apos;s setting %1.</source>
        <translation>Die GNOME-Einstellung %1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>GNOME&apos;s list of extensions could not be read.</source>
        <translation>Die Liste der GNOME-Erweiterungen konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Couldn&apos;t make the folder %1.</source>
        <translation>Der Ordner %1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Varrow&apos;s extension for GNOME Shell %1 is missing.</source>
        <translation>Die Varrow-Erweiterung für GNOME Shell %1 fehlt.</translation>
    </message>
    <message>
        <source>GNOME Shell %1 is older than Varrow&apos;s extension supports.</source>
        <translation>GNOME Shell %1 ist älter als die Versionen, die die Varrow-Erweiterung unterstützt.</translation>
    </message>
    <message>
        <source>Couldn&apos;t enable the extension in GNOME&apos;s settings.</source>
        <translation>Die Erweiterung konnte in den GNOME-Einstellungen nicht aktiviert werden.</translation>
    </message>
    <message>
        <source>Couldn&apos;t remove %1.</source>
        <translation>%1 konnte nicht entfernt werden.</translation>
    </message>
    <message>
        <source>Couldn&apos;t disable the extension in GNOME&apos;s settings.</source>
        <translation>Die Erweiterung konnte in den GNOME-Einstellungen nicht ausgeschaltet werden.</translation>
    </message>
</context>
<context>
    <name>varrow::install::ShellFavourites</name>
    <message>
        <source>The desktop&apos;s settings tool is not installed.</source>
        <translation>Das Einstellungswerkzeug der Arbeitsumgebung ist nicht installiert.</translation>
    </message>
    <message>
        <source>The desktop&apos;s settings could not be changed.</source>
        <translation>Die Einstellungen der Arbeitsumgebung ließen sich nicht ändern.</translation>
    </message>
    <message>
        <source>The desktop&apos;s settings tool could not be started.</source>
        <translation>Das Einstellungswerkzeug der Arbeitsumgebung ließ sich nicht starten.</translation>
    </message>
    <message>
        <source>The list of favourite applications is not in a form Varrow can change.</source>
        <translation>Die Liste der Favoriten liegt in keiner Form vor, die Varrow ändern kann.</translation>
    </message>
    <message>
        <source>This copy of Claude has no launcher entry yet.</source>
        <translation>Diese Claude-Kopie hat noch keinen Starter-Eintrag.</translation>
    </message>
</context>
<context>
    <name>varrow::switcher::SwitcherPanel</name>
    <message>
        <source>Varrow Switcher</source>
        <translation>Varrow-Umschalter</translation>
    </message>
</context>
<context>
    <name>varrow::system::CycleHotKey</name>
    <message>
        <source>Switch to the next Claude account</source>
        <translation>Zum nächsten Claude-Konto wechseln</translation>
    </message>
    <message>
        <source>Switch to the previous Claude account</source>
        <translation>Zum vorherigen Claude-Konto wechseln</translation>
    </message>
</context>
<context>
    <name>varrow::system::LinkHandlerChoice</name>
    <message>
        <source>Couldn&apos;t make Varrow the handler of sign-in links: %1</source>
        <translation>Varrow konnte nicht als Programm für Anmeldelinks eingetragen werden: %1</translation>
    </message>
    <message>
        <source>Couldn&apos;t give sign-in links back to their previous handler: %1</source>
        <translation>Anmeldelinks konnten nicht an ihr vorheriges Programm zurückgegeben werden: %1</translation>
    </message>
</context>
<context>
    <name>varrow::ui::AccountsView</name>
    <message>
        <source>Click an account to open it. Each one keeps its own sign-in and chats.</source>
        <translation>Ein Klick öffnet ein Konto. Jedes hat seine eigene Anmeldung und eigene Chats.</translation>
    </message>
    <message>
        <source>Add Account</source>
        <translation>Konto hinzufügen</translation>
    </message>
    <message>
        <source>Add another Claude account (%1)</source>
        <translation>Ein weiteres Claude-Konto hinzufügen (%1)</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Tip: %1 switches accounts while you&apos;re in Claude</source>
        <translation>Tipp: In Claude wechselt %1 das Konto</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Quit %1</source>
        <translation>%1 beenden</translation>
    </message>
    <message>
        <source>Edit…</source>
        <translation>Bearbeiten …</translation>
    </message>
    <message>
        <source>Claude %1</source>
        <comment>an account&apos;s copy of Claude</comment>
        <translation>Claude %1</translation>
    </message>
    <message>
        <source>Copy Claude Code Terminal Command</source>
        <translation>Terminalbefehl für Claude Code kopieren</translation>
    </message>
    <message>
        <source>Copy MCP Servers from My Claude…</source>
        <translation>MCP-Server von My Claude kopieren …</translation>
    </message>
    <message>
        <source>Show Data in Files</source>
        <translation>Daten in der Dateiverwaltung zeigen</translation>
    </message>
    <message>
        <source>Remove…</source>
        <translation>Entfernen …</translation>
    </message>
    <message>
        <source>Remove “%1”?</source>
        <translation>„%1“ entfernen?</translation>
    </message>
    <message>
        <source>This signs that account out on this computer and moves its local data to the Trash. Your chats are saved in your Claude account online, so you can sign in again any time.</source>
        <translation>Damit wird das Konto auf diesem Computer abgemeldet und seine lokalen Daten wandern in den Papierkorb. Ihre Chats liegen online in Ihrem Claude-Konto, Sie können sich also jederzeit wieder anmelden.</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Open at Login</source>
        <translation>Bei Anmeldung öffnen</translation>
    </message>
</context>
<context>
    <name>varrow::ui::AddAccountCard</name>
    <message>
        <source>Add account</source>
        <translation>Konto hinzufügen</translation>
    </message>
    <message>
        <source>Work, personal, a client…</source>
        <translation>Arbeit, privat, Kunden …</translation>
    </message>
</context>
<context>
    <name>varrow::ui::ClaudeMissingBanner</name>
    <message>
        <source>Claude isn&apos;t installed yet</source>
        <translation>Claude ist noch nicht installiert</translation>
    </message>
    <message>
        <source>Install the Claude app first, then come back here.</source>
        <translation>Installieren Sie zuerst die Claude-App.</translation>
    </message>
    <message>
        <source>Download Claude</source>
        <translation>Claude herunterladen</translation>
    </message>
</context>
<context>
    <name>varrow::ui::ErrorBanner</name>
    <message>
        <source>Dismiss</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>varrow::ui::HelpView</name>
    <message>
        <source>Click an account to open it. If it&apos;s already open, it comes to the front.</source>
        <translation>Klicken Sie auf ein Konto, um es zu öffnen. Ist es schon offen, kommt es nach vorne.</translation>
    </message>
    <message>
        <source>Accounts can be open side by side. Each one has its own sign-in, chats, settings and connectors.</source>
        <translation>Konten können nebeneinander geöffnet sein. Jedes hat seine eigene Anmeldung, eigene Chats, Einstellungen und Konnektoren.</translation>
    </message>
    <message>
        <source>A new account opens to the Claude sign-in screen. Sign in once with the email you want for it.</source>
        <translation>Ein neues Konto öffnet sich mit der Anmeldeseite von Claude. Melden Sie sich dort einmal mit der gewünschten E-Mail-Adresse an.</translation>
    </message>
    <message>
        <source>While you&apos;re in Claude, %1 jumps to the next open account. The switcher tab on the screen edge works too.</source>
        <translation>In Claude springt %1 zum nächsten offenen Konto. Die Lasche des Umschalters am Bildschirmrand geht ebenso.</translation>
    </message>
    <message>
        <source>How it works</source>
        <translation>So funktioniert’s</translation>
    </message>
</context>
<context>
    <name>varrow::ui::ProfileCard</name>
    <message>
        <source>Reopen it from Varrow to switch to it</source>
        <translation>Zum Wechseln erneut aus Varrow öffnen</translation>
    </message>
    <message>
        <source>Your original Claude sign-in</source>
        <translation>Ursprüngliche Anmeldung</translation>
    </message>
    <message>
        <source>Separate sign-in</source>
        <translation>Eigene Anmeldung</translation>
    </message>
    <message>
        <source>Switch to %1</source>
        <translation>Zu %1 wechseln</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>%1 öffnen</translation>
    </message>
    <message>
        <source>%1, open</source>
        <translation>%1, geöffnet</translation>
    </message>
    <message>
        <source>%1, not open</source>
        <translation>%1, nicht geöffnet</translation>
    </message>
    <message>
        <source>Asleep</source>
        <translation>Schläft</translation>
    </message>
</context>
<context>
    <name>varrow::ui::ProfileEditor</name>
    <message>
        <source>New Claude account</source>
        <translation>Neues Claude-Konto</translation>
    </message>
    <message>
        <source>Edit account</source>
        <translation>Konto bearbeiten</translation>
    </message>
    <message>
        <source>e.g. Work, Personal, Acme Co.</source>
        <translation>z. B. Arbeit, Privat, Muster GmbH</translation>
    </message>
    <message>
        <source>So you remember which sign-in goes here</source>
        <translation>Welche Anmeldung gehört hierher?</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Email (optional)</source>
        <translation>E-Mail (optional)</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Start with My Claude&apos;s MCP servers and settings</source>
        <translation>Mit den MCP-Servern und Einstellungen von My Claude beginnen</translation>
    </message>
    <message>
        <source>Claude will open to its sign-in screen. Sign in with the account you want here. You only need to do this once.</source>
        <translation>Claude öffnet sich mit seiner Anmeldeseite. Melden Sie sich dort mit dem gewünschten Konto an. Das ist nur einmal nötig.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Create and Open</source>
        <translation>Anlegen und öffnen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
</context>
<context>
    <name>varrow::ui::SettingsView</name>
    <message>
        <source>Only while you&apos;re in Claude. %1 goes backwards.</source>
        <translation>Nur solange Sie in Claude sind. %1 geht rückwärts.</translation>
    </message>
    <message>
        <source>Your desktop keeps %1 for Varrow in every app; outside Claude it does nothing. %2 goes backwards. Change either in your desktop&apos;s shortcut settings.</source>
        <translation>Ihre Arbeitsumgebung hält %1 in jeder Anwendung für Varrow frei; außerhalb von Claude bewirkt es nichts. %2 geht rückwärts. Beides lässt sich in den Tastenkürzel-Einstellungen Ihrer Arbeitsumgebung ändern.</translation>
    </message>
    <message>
        <source>Claude opens natively, where Varrow can&apos;t catch keys: bind “varrow cycle” and “varrow cycle --back” to keys in your desktop&apos;s settings.</source>
        <translation>Claude öffnet sich nativ, wo Varrow keine Tasten abfangen kann: Legen Sie „varrow cycle“ und „varrow cycle --back“ in den Einstellungen Ihrer Arbeitsumgebung auf Tasten.</translation>
    </message>
    <message>
        <source>A small bar that floats over Claude. Drag it wherever you like.</source>
        <translation>Eine kleine Leiste, die über Claude schwebt. Ziehen Sie sie, wohin Sie möchten.</translation>
    </message>
    <message>
        <source>A slim tab on the right edge of the screen. Point at it to pick an account.</source>
        <translation>Eine schmale Lasche am rechten Bildschirmrand. Zeigen Sie darauf, um ein Konto zu wählen.</translation>
    </message>
    <message>
        <source>No switcher. Use the tray menu or %1 instead.</source>
        <translation>Kein Umschalter. Nutzen Sie stattdessen das Menü im Systembereich oder %1.</translation>
    </message>
    <message>
        <source>Switcher while you&apos;re in Claude</source>
        <translation>Umschalter in Claude</translation>
    </message>
    <message>
        <source>Pull-out tab</source>
        <translation>Randlasche</translation>
    </message>
    <message>
        <source>Floating bar</source>
        <translation>Leiste</translation>
    </message>
    <message>
        <source>Off</source>
        <comment>no switcher</comment>
        <translation>Aus</translation>
    </message>
    <message>
        <source>%1 switches between open accounts</source>
        <translation>%1 wechselt zwischen offenen Konten</translation>
    </message>
    <message>
        <source>Send sign-in links to the account that asked</source>
        <translation>Anmeldelinks ans anfragende Konto</translation>
    </message>
    <message>
        <source>When you sign in through the browser, the link goes back to the account you were signing in to.</source>
        <translation>Wenn Sie sich über den Browser anmelden, geht der Link an das Konto zurück, bei dem Sie sich gerade anmelden.</translation>
    </message>
    <message>
        <source>Open Claude through Xwayland so switching works</source>
        <translation>Claude über Xwayland öffnen, damit das Wechseln funktioniert</translation>
    </message>
    <message>
        <source>Lets %1 switch accounts while Claude is in front. Without it Claude&apos;s text stays sharp and Varrow still brings accounts forward; %1 becomes your desktop&apos;s own shortcut where it offers them (KDE Plasma), else bind “varrow cycle” to a key in your desktop&apos;s settings. Applies when an account next opens.</source>
        <translation>Damit wechselt %1 die Konten, während Claude im Vordergrund ist. Ohne bleibt der Text in Claude scharf und Varrow holt Konten trotzdem nach vorne; %1 wird dann zu einem Tastenkürzel Ihrer Arbeitsumgebung, wo sie das anbietet (KDE Plasma), sonst legen Sie „varrow cycle“ in deren Einstellungen auf eine Taste. Gilt ab dem nächsten Öffnen eines Kontos.</translation>
    </message>
    <message>
        <source>Lets Varrow bring accounts forward and %1 switch them on this desktop. Text in Claude can look less sharp at fractional scaling. Applies when an account next opens.</source>
        <translation>Damit kann Varrow auf dieser Arbeitsumgebung Konten nach vorne holen und %1 zwischen ihnen wechseln. Bei gebrochener Skalierung kann Text in Claude weniger scharf aussehen. Gilt ab dem nächsten Öffnen eines Kontos.</translation>
    </message>
    <message>
        <source>Open at login</source>
        <translation>Bei der Anmeldung öffnen</translation>
    </message>
    <message>
        <source>Keeps the switcher and %1 ready. Runs quietly in the tray.</source>
        <translation>Hält den Umschalter und %1 bereit. Läuft unauffällig im Systembereich.</translation>
    </message>
    <message>
        <source>Couldn&apos;t change “Open at login”: %1</source>
        <translation>„Bei der Anmeldung öffnen“ ließ sich nicht ändern: %1</translation>
    </message>
    <message>
        <source>Let idle accounts sleep</source>
        <translation>Untätige Konten schlafen lassen</translation>
    </message>
    <message>
        <source>An account left in the background with next to nothing to do quits to free its memory. It stays listed as asleep and opens again as usual.</source>
        <translation>Ein Konto, das im Hintergrund kaum etwas zu tun hat, wird beendet, um seinen Speicher freizugeben. Es bleibt als schlafend aufgeführt und öffnet sich wie gewohnt wieder.</translation>
    </message>
    <message>
        <source>after </source>
        <extracomment>The idle time after which an account sleeps, e.g. &quot;after 4 hours&quot;.</extracomment>
        <translation>nach </translation>
    </message>
    <message>
        <source> hours</source>
        <translation> Stunden</translation>
    </message>
    <message>
        <source>Hours before an idle account sleeps</source>
        <translation>Stunden, bis ein untätiges Konto schläft</translation>
    </message>
</context>
</TS>
