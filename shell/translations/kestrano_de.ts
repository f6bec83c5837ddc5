<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Kestrano</name>
    <message>
        <source>Font</source>
        <translation>Schrift</translation>
    </message>
</context>
<context>
    <name>PatternField</name>
    <message>
        <source>%1 (at offset %2)</source>
        <translation>%1 (an Stelle %2)</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
</context>
<context>
    <name>QtNotifier</name>
    <message>
        <source>Kestrano: %1</source>
        <translation>Kestrano: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n more fatal errors in %1</source>
        <translation>
            <numerusform>%n weiterer fataler Fehler in %1</numerusform>
            <numerusform>%n weitere fatale Fehler in %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more errors in %1</source>
        <translation>
            <numerusform>%n weiterer Fehler in %1</numerusform>
            <numerusform>%n weitere Fehler in %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more warnings in %1</source>
        <translation>
            <numerusform>%n weitere Warnung in %1</numerusform>
            <numerusform>%n weitere Warnungen in %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more messages in %1</source>
        <translation>
            <numerusform>%n weitere Meldung in %1</numerusform>
            <numerusform>%n weitere Meldungen in %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>kestrano</name>
    <message>
        <source>cannot open the display (%1)</source>
        <translation>die Anzeige kann nicht geöffnet werden (%1)</translation>
    </message>
</context>
<context>
    <name>kestrano::AboutDialog</name>
    <message>
        <source>Kestrano Version %1</source>
        <translation>Kestrano Version %1</translation>
    </message>
    <message>
        <source>About Kestrano</source>
        <translation>Über Kestrano</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>kestrano::CanberraAlertSound</name>
    <message>
        <source>Kestrano alert</source>
        <translation>Kestrano-Alarm</translation>
    </message>
</context>
<context>
    <name>kestrano::ChildFrame</name>
    <message>
        <source>Journal</source>
        <translation>Journal</translation>
    </message>
    <message>
        <source>Journal: %1</source>
        <translation>Journal: %1</translation>
    </message>
    <message>
        <source>Standard Input</source>
        <translation>Standardeingabe</translation>
    </message>
    <message>
        <source>%1 (new)</source>
        <translation>%1 (neu)</translation>
    </message>
    <message>
        <source>Save Messages As</source>
        <translation>Meldungen speichern unter</translation>
    </message>
    <message>
        <source>-messages.txt</source>
        <translation>-meldungen.txt</translation>
    </message>
    <message>
        <source>Text files (*.txt);;All Files (*)</source>
        <translation>Textdateien (*.txt);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>%1 kann nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <source>%1: Journal %2</source>
        <translation>%1: Journal %2</translation>
    </message>
</context>
<context>
    <name>kestrano::ChildView</name>
    <message>
        <source>Error: Cannot read from log file. Still trying...</source>
        <translation>Fehler: Die Protokolldatei kann nicht gelesen werden. Es wird weiter versucht...</translation>
    </message>
    <message>
        <source>Error: Cannot read from log file (%1). Still trying...</source>
        <translation>Fehler: Die Protokolldatei kann nicht gelesen werden (%1). Es wird weiter versucht...</translation>
    </message>
</context>
<context>
    <name>kestrano::Command</name>
    <message>
        <source>&amp;Open...	Ctrl+O</source>
        <translation>Ö&amp;ffnen...	Strg+O</translation>
    </message>
    <message>
        <source>Open an existing document.</source>
        <translation>Ein vorhandenes Dokument öffnen.</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>&amp;Delete File...	Shift+Del</source>
        <translation>Datei &amp;löschen...	Umschalt+Entf</translation>
    </message>
    <message>
        <source>Delete the file, but keep the window open.</source>
        <translation>Die Datei löschen, das Fenster aber offen lassen.</translation>
    </message>
    <message>
        <source>Delete file</source>
        <translation>Datei löschen</translation>
    </message>
    <message>
        <source>Delete all open files, but keep the windows open.</source>
        <translation>Alle geöffneten Dateien löschen, die Fenster aber offen lassen.</translation>
    </message>
    <message>
        <source>Delete all open files</source>
        <translation>Alle geöffneten Dateien löschen</translation>
    </message>
    <message>
        <source>O&amp;ptions...	F10</source>
        <translation>O&amp;ptionen...	F10</translation>
    </message>
    <message>
        <source>Set up the application.</source>
        <translation>Die Anwendung einrichten.</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Einrichten</translation>
    </message>
    <message>
        <source>E&amp;xit	Alt+X</source>
        <translation>&amp;Beenden	Alt+X</translation>
    </message>
    <message>
        <source>Quit the application.</source>
        <translation>Die Anwendung beenden.</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Set To &amp;Debugs	D</source>
        <translation>Ab &amp;Debug-Meldungen	D</translation>
    </message>
    <message>
        <source>Shows debug messages.</source>
        <translation>Zeigt Debug-Meldungen.</translation>
    </message>
    <message>
        <source>Show debug messages or higher</source>
        <translation>Debug-Meldungen und höher zeigen</translation>
    </message>
    <message>
        <source>Set To &amp;Informations	I</source>
        <translation>Ab &amp;Informationen	I</translation>
    </message>
    <message>
        <source>Shows information messages.</source>
        <translation>Zeigt Informationen.</translation>
    </message>
    <message>
        <source>Show information messages or higher</source>
        <translation>Informationen und höher zeigen</translation>
    </message>
    <message>
        <source>Set To &amp;Warnings	W</source>
        <translation>Ab &amp;Warnungen	W</translation>
    </message>
    <message>
        <source>Shows warning messages.</source>
        <translation>Zeigt Warnungen.</translation>
    </message>
    <message>
        <source>Show warning messages or higher</source>
        <translation>Warnungen und höher zeigen</translation>
    </message>
    <message>
        <source>Set To &amp;Errors	E</source>
        <translation>Ab F&amp;ehlern	E</translation>
    </message>
    <message>
        <source>Shows error messages.</source>
        <translation>Zeigt Fehler.</translation>
    </message>
    <message>
        <source>Show error messages or higher</source>
        <translation>Fehler und höher zeigen</translation>
    </message>
    <message>
        <source>Set To &amp;Fatals	F</source>
        <translation>Nur &amp;schwere Fehler	F</translation>
    </message>
    <message>
        <source>Shows fatal messages only.</source>
        <translation>Zeigt nur schwere Fehler.</translation>
    </message>
    <message>
        <source>Show fatal messages only</source>
        <translation>Nur schwere Fehler zeigen</translation>
    </message>
    <message>
        <source>Toggle &amp;Unknowns	U</source>
        <translation>&amp;Unbekannte ein/aus	U</translation>
    </message>
    <message>
        <source>Shows unknown severity messages.</source>
        <translation>Zeigt Meldungen unbekannter Schwere.</translation>
    </message>
    <message>
        <source>Show unknown severity messages</source>
        <translation>Meldungen unbekannter Schwere zeigen</translation>
    </message>
    <message>
        <source>Let the view follow the end of the log.</source>
        <translation>Die Ansicht folgt dem Ende des Protokolls.</translation>
    </message>
    <message>
        <source>View follows end of log</source>
        <translation>Ansicht folgt dem Ende des Protokolls</translation>
    </message>
    <message>
        <source>T&amp;oggle Reload On Change</source>
        <translation>&amp;Neu laden bei Änderung ein/aus</translation>
    </message>
    <message>
        <source>Reload the whole file when it changes.</source>
        <translation>Die ganze Datei neu laden, wenn sie sich ändert.</translation>
    </message>
    <message>
        <source>Reload on change</source>
        <translation>Bei Änderung neu laden</translation>
    </message>
    <message>
        <source>&amp;Clear	Del</source>
        <translation>&amp;Leeren	Entf</translation>
    </message>
    <message>
        <source>Clear the window, but do not modify the file.</source>
        <translation>Das Fenster leeren, die Datei aber nicht ändern.</translation>
    </message>
    <message>
        <source>Clear windows</source>
        <translation>Fenster leeren</translation>
    </message>
    <message>
        <source>Clear &amp;All</source>
        <translation>&amp;Alle leeren</translation>
    </message>
    <message>
        <source>Clear all windows, but do not modify the files.</source>
        <translation>Alle Fenster leeren, die Dateien aber nicht ändern.</translation>
    </message>
    <message>
        <source>Clear all windows</source>
        <translation>Alle Fenster leeren</translation>
    </message>
    <message>
        <source>&amp;Refresh	F5</source>
        <translation>A&amp;ktualisieren	F5</translation>
    </message>
    <message>
        <source>Refresh the view.</source>
        <translation>Die Ansicht aktualisieren.</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Werkzeugleiste</translation>
    </message>
    <message>
        <source>Show or hide the toolbar.</source>
        <translation>Die Werkzeugleiste ein- oder ausblenden.</translation>
    </message>
    <message>
        <source>Toggle tool bar</source>
        <translation>Werkzeugleiste ein/aus</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>&amp;Statusleiste</translation>
    </message>
    <message>
        <source>Show or hide the status bar.</source>
        <translation>Die Statusleiste ein- oder ausblenden.</translation>
    </message>
    <message>
        <source>Toggle status bar</source>
        <translation>Statusleiste ein/aus</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>Ü&amp;berlappend</translation>
    </message>
    <message>
        <source>Arrange windows so they overlap.</source>
        <translation>Die Fenster überlappend anordnen.</translation>
    </message>
    <message>
        <source>Cascade Windows</source>
        <translation>Fenster überlappend anordnen</translation>
    </message>
    <message>
        <source>Tile &amp;Horizontally</source>
        <translation>&amp;Horizontal anordnen</translation>
    </message>
    <message>
        <source>Arrange windows as non-overlapping tiles horizontally.</source>
        <translation>Die Fenster horizontal nebeneinander anordnen, ohne Überlappung.</translation>
    </message>
    <message>
        <source>Tile Windows horizontally</source>
        <translation>Fenster horizontal anordnen</translation>
    </message>
    <message>
        <source>&amp;Tile Vertically</source>
        <translation>&amp;Vertikal anordnen</translation>
    </message>
    <message>
        <source>Arrange windows as non-overlapping tiles vertically.</source>
        <translation>Die Fenster vertikal nebeneinander anordnen, ohne Überlappung.</translation>
    </message>
    <message>
        <source>Tile Windows vertically</source>
        <translation>Fenster vertikal anordnen</translation>
    </message>
    <message>
        <source>&amp;Arrange Icons</source>
        <translation>&amp;Symbole anordnen</translation>
    </message>
    <message>
        <source>Arrange icons at the bottom of the window.</source>
        <translation>Die Symbole am unteren Rand des Fensters anordnen.</translation>
    </message>
    <message>
        <source>Arrange Icons</source>
        <translation>Symbole anordnen</translation>
    </message>
    <message>
        <source>&amp;Help...	F1</source>
        <translation>&amp;Hilfe...	F1</translation>
    </message>
    <message>
        <source>Open the help of Kestrano.</source>
        <translation>Die Hilfe von Kestrano öffnen.</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>&amp;Terms and Conditions</source>
        <translation>&amp;Nutzungsbedingungen</translation>
    </message>
    <message>
        <source>Open the Terms and Conditions.</source>
        <translation>Die Nutzungsbedingungen öffnen.</translation>
    </message>
    <message>
        <source>Terms and Conditions</source>
        <translation>Nutzungsbedingungen</translation>
    </message>
    <message>
        <source>&amp;Web Site of Kestrano</source>
        <translation>&amp;Website von Kestrano</translation>
    </message>
    <message>
        <source>Open the web site of Kestrano.</source>
        <translation>Die Website von Kestrano öffnen.</translation>
    </message>
    <message>
        <source>Web Site</source>
        <translation>Website</translation>
    </message>
    <message>
        <source>Display program information.</source>
        <translation>Programminformationen anzeigen.</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Werkzeuge</translation>
    </message>
    <message>
        <source>&amp;Find...	Ctrl+F</source>
        <translation>&amp;Suchen...	Strg+F</translation>
    </message>
    <message>
        <source>Find text in the log window.</source>
        <translation>Text im Protokollfenster suchen.</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Find &amp;Next	F3</source>
        <translation>&amp;Weitersuchen	F3</translation>
    </message>
    <message>
        <source>Go to the next row with the text.</source>
        <translation>Zur nächsten Zeile mit dem Text gehen.</translation>
    </message>
    <message>
        <source>Find next</source>
        <translation>Weitersuchen</translation>
    </message>
    <message>
        <source>Find &amp;Previous	Shift+F3</source>
        <translation>&amp;Rückwärts suchen	Umschalt+F3</translation>
    </message>
    <message>
        <source>Go to the previous row with the text.</source>
        <translation>Zur vorigen Zeile mit dem Text gehen.</translation>
    </message>
    <message>
        <source>Find previous</source>
        <translation>Rückwärts suchen</translation>
    </message>
    <message>
        <source>&amp;Text Filter	Ctrl+Shift+F</source>
        <translation>&amp;Textfilter	Strg+Umschalt+F</translation>
    </message>
    <message>
        <source>Show only the messages with a text, or hide them.</source>
        <translation>Nur die Meldungen mit einem Text zeigen oder sie ausblenden.</translation>
    </message>
    <message>
        <source>Text filter</source>
        <translation>Textfilter</translation>
    </message>
    <message>
        <source>&amp;Details...	Enter</source>
        <translation>&amp;Details...	Eingabe</translation>
    </message>
    <message>
        <source>Show the selected message in full.</source>
        <translation>Die gewählte Meldung vollständig zeigen.</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>&amp;Copy	Ctrl+C</source>
        <translation>&amp;Kopieren	Strg+C</translation>
    </message>
    <message>
        <source>Copy the selected message to the clipboard.</source>
        <translation>Die gewählte Meldung in die Zwischenablage kopieren.</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Open &amp;Journal...</source>
        <translation>&amp;Journal öffnen...</translation>
    </message>
    <message>
        <source>Follow the systemd journal, or one unit's entries.</source>
        <translation>Dem systemd-Journal folgen, oder den Einträgen einer Unit.</translation>
    </message>
    <message>
        <source>Open the journal</source>
        <translation>Das Journal öffnen</translation>
    </message>
    <message>
        <source>T&amp;ime Column</source>
        <translation>&amp;Zeitspalte</translation>
    </message>
    <message>
        <source>Show the time each message states before its text.</source>
        <translation>Die Zeit, die jede Meldung nennt, vor ihrem Text zeigen.</translation>
    </message>
    <message>
        <source>Time column</source>
        <translation>Zeitspalte</translation>
    </message>
    <message>
        <source>Delete &amp;All Files...</source>
        <translation>&amp;Alle Dateien löschen...</translation>
    </message>
    <message>
        <source>Toggle &amp;Follow	L</source>
        <translation>Ende &amp;folgen ein/aus	L</translation>
    </message>
    <message>
        <source>&amp;About Kestrano...	Shift+F1</source>
        <translation>Ü&amp;ber Kestrano...	Umschalt+F1</translation>
    </message>
    <message>
        <source>Open &amp;Remote Log...</source>
        <translation>&amp;Entferntes Protokoll öffnen...</translation>
    </message>
    <message>
        <source>Follow a file or the journal of another host through ssh.</source>
        <translation>Einer Datei oder dem Journal eines anderen Rechners über ssh folgen.</translation>
    </message>
    <message>
        <source>Open a remote log</source>
        <translation>Entferntes Protokoll öffnen</translation>
    </message>
    <message>
        <source>&amp;Save Messages As...</source>
        <translation>Meldungen &amp;speichern unter...</translation>
    </message>
    <message>
        <source>Save the messages the window shows to a file.</source>
        <translation>Die Meldungen, die das Fenster zeigt, in eine Datei speichern.</translation>
    </message>
    <message>
        <source>Save messages</source>
        <translation>Meldungen speichern</translation>
    </message>
    <message>
        <source>Te&amp;xt Filter Row</source>
        <translation>Te&amp;xtfilter-Zeile</translation>
    </message>
    <message>
        <source>Show or hide the text filter in the log windows.</source>
        <translation>Den Textfilter in den Protokollfenstern zeigen oder verbergen.</translation>
    </message>
    <message>
        <source>Toggle text filter row</source>
        <translation>Textfilter-Zeile ein/aus</translation>
    </message>
    <message>
        <source>&amp;Wrap Long Rows</source>
        <translation>Lange Zeilen &amp;umbrechen</translation>
    </message>
    <message>
        <source>Wrap long rows instead of scrolling them sideways.</source>
        <translation>Lange Zeilen umbrechen, statt sie seitwärts zu rollen.</translation>
    </message>
    <message>
        <source>Wrap long rows</source>
        <translation>Lange Zeilen umbrechen</translation>
    </message>
    <message>
        <source>Time&amp;line</source>
        <translation>Zeit&amp;leiste</translation>
    </message>
    <message>
        <source>Show the messages over time in a strip above the list.</source>
        <translation>Zeigt die Meldungen über die Zeit in einem Streifen über der Liste.</translation>
    </message>
    <message>
        <source>Timeline</source>
        <translation>Zeitleiste</translation>
    </message>
    <message>
        <source>&amp;Go to Time...	Ctrl+G</source>
        <translation>&amp;Gehe zu Zeit...	Strg+G</translation>
    </message>
    <message>
        <source>Go to the first message at or after a time.</source>
        <translation>Geht zur ersten Meldung zu oder nach einer Zeit.</translation>
    </message>
    <message>
        <source>Go to time</source>
        <translation>Gehe zu Zeit</translation>
    </message>
    <message>
        <source>&amp;Merge Logs...</source>
        <translation>Logs &amp;zusammenführen...</translation>
    </message>
    <message>
        <source>Show the messages of several open logs in one window in time order.</source>
        <translation>Die Meldungen mehrerer geöffneter Logs in einem Fenster in zeitlicher Reihenfolge anzeigen.</translation>
    </message>
    <message>
        <source>Merge Logs</source>
        <translation>Logs zusammenführen</translation>
    </message>
    <message>
        <source>&amp;History</source>
        <translation>Ver&amp;lauf</translation>
    </message>
    <message>
        <source>Show the whole file's messages before the kept ones.</source>
        <translation>Zeigt die Meldungen der ganzen Datei vor den behaltenen.</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>Inclu&amp;de Rotated Files</source>
        <translation>Rotierte Dateien einbe&amp;ziehen</translation>
    </message>
    <message>
        <source>Let the history go on into the rotated files beside the log.</source>
        <translation>Setzt den Verlauf in den rotierten Dateien neben dem Protokoll fort.</translation>
    </message>
    <message>
        <source>Include rotated files</source>
        <translation>Rotierte Dateien einbeziehen</translation>
    </message>
</context>
<context>
    <name>kestrano::DesktopNotifications</name>
    <message>
        <source>Show</source>
        <translation>Zeigen</translation>
    </message>
</context>
<context>
    <name>kestrano::Document</name>
    <message>
        <source>Error: Cannot delete %1.</source>
        <translation>Fehler: %1 kann nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>Sure to delete the log file?

%1</source>
        <translation>Die Protokolldatei wirklich löschen?

%1</translation>
    </message>
</context>
<context>
    <name>kestrano::ErrorGuard</name>
    <message>
        <source>Out of memory.</source>
        <translation>Nicht genug Arbeitsspeicher.</translation>
    </message>
    <message>
        <source>Unexpected error.</source>
        <translation>Unerwarteter Fehler.</translation>
    </message>
</context>
<context>
    <name>kestrano::FileSource</name>
    <message>
        <source>%1 was rotated; following the new file</source>
        <translation>%1 wurde rotiert; die neue Datei wird verfolgt</translation>
    </message>
    <message>
        <source>Skipped the first %1 bytes of the new content.</source>
        <translation>Die ersten %1 Bytes des neuen Inhalts wurden übersprungen.</translation>
    </message>
    <message>
        <source>Too many open files: this log is opened for each read and may miss lines at a rotation.</source>
        <translation>Zu viele offene Dateien: Dieses Log wird für jedes Lesen geöffnet und kann bei einer Rotation Zeilen verpassen.</translation>
    </message>
</context>
<context>
    <name>kestrano::FilterBar</name>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Show matching</source>
        <translation>Treffer zeigen</translation>
    </message>
    <message>
        <source>Hide matching</source>
        <translation>Treffer ausblenden</translation>
    </message>
    <message>
        <source>Show only the messages that match, or hide them</source>
        <translation>Nur die passenden Meldungen zeigen oder sie ausblenden</translation>
    </message>
    <message>
        <source>Aa</source>
        <translation>Aa</translation>
    </message>
    <message>
        <source>Match case</source>
        <translation>Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>.*</source>
        <translation>.*</translation>
    </message>
    <message>
        <source>Regular expression</source>
        <translation>Regulärer Ausdruck</translation>
    </message>
</context>
<context>
    <name>kestrano::FindBar</name>
    <message>
        <source>Match case</source>
        <translation>Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Regular expression</source>
        <translation>Regulärer Ausdruck</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Close the find bar</source>
        <translation>Suchleiste schließen</translation>
    </message>
    <message>
        <source>Previous match (Shift+F3)</source>
        <translation>Voriger Treffer (Umschalt+F3)</translation>
    </message>
    <message>
        <source>Next match (F3)</source>
        <translation>Nächster Treffer (F3)</translation>
    </message>
    <message>
        <source>Invalid expression</source>
        <translation>Ungültiger Ausdruck</translation>
    </message>
    <message>
        <source>No match</source>
        <translation>Kein Treffer</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>Passed the end, continued from the top</source>
        <translation>Ende erreicht, oben fortgesetzt</translation>
    </message>
    <message>
        <source>Passed the top, continued from the end</source>
        <translation>Anfang erreicht, unten fortgesetzt</translation>
    </message>
    <message>
        <source>1 match</source>
        <translation>1 Treffer</translation>
    </message>
    <message>
        <source>%1 matches</source>
        <translation>%1 Treffer</translation>
    </message>
    <message>
        <source>Matches</source>
        <translation>Treffer</translation>
    </message>
    <message>
        <source>Aa</source>
        <translation>Aa</translation>
    </message>
    <message>
        <source>.*</source>
        <translation>.*</translation>
    </message>
    <message>
        <source>Searching the file...</source>
        <translation>Die Datei wird durchsucht …</translation>
    </message>
    <message>
        <source>Counting...</source>
        <translation>Zählen …</translation>
    </message>
</context>
<context>
    <name>kestrano::GoToTimeDialog</name>
    <message>
        <source>Go to Time</source>
        <translation>Gehe zu Zeit</translation>
    </message>
    <message>
        <source>&amp;Time:</source>
        <translation>&amp;Zeit:</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>As %1, %2 or a time of day alone (%3), which means its last occurrence.</source>
        <translation>Als %1, %2 oder nur als Uhrzeit (%3), die ihr letztes Vorkommen meint.</translation>
    </message>
    <message>
        <source>Go</source>
        <translation>Gehe zu</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>kestrano::HelpDocuments</name>
    <message>
        <source>No program could open it. Open it with a web browser:

%1</source>
        <translation>Kein Programm konnte es öffnen. Öffnen Sie es mit einem Webbrowser:

%1</translation>
    </message>
    <message>
        <source>%1 is not installed.</source>
        <translation>%1 ist nicht installiert.</translation>
    </message>
</context>
<context>
    <name>kestrano::JournalDialog</name>
    <message>
        <source>&amp;All entries</source>
        <translation>&amp;Alle Einträge</translation>
    </message>
    <message>
        <source>One &amp;unit:</source>
        <translation>&amp;Eine Unit:</translation>
    </message>
    <message>
        <source>Open Journal</source>
        <translation>Journal öffnen</translation>
    </message>
    <message>
        <source>a unit, such as ssh.service</source>
        <translation>eine Unit, etwa ssh.service</translation>
    </message>
</context>
<context>
    <name>kestrano::JournalSource</name>
    <message>
        <source>Only your own journal entries are readable: members of the group systemd-journal see all.</source>
        <translation>Nur Ihre eigenen Journaleinträge sind lesbar: Mitglieder der Gruppe systemd-journal sehen alle.</translation>
    </message>
</context>
<context>
    <name>kestrano::Kestrano</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Log files (*.log);;All Files (*)</source>
        <translation>Protokolldateien (*.log);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Usual log names (%1)</source>
        <translation>Übliche Protokollnamen (%1)</translation>
    </message>
</context>
<context>
    <name>kestrano::LogList</name>
    <message>
        <source>Messages</source>
        <translation>Meldungen</translation>
    </message>
</context>
<context>
    <name>kestrano::LogListModel</name>
    <message>
        <source>%1 earlier message in the file so far, counting...</source>
        <translation>Bisher %1 frühere Meldung in der Datei, es wird gezählt …</translation>
    </message>
    <message>
        <source>%1 earlier messages in the file so far, counting...</source>
        <translation>Bisher %1 frühere Meldungen in der Datei, es wird gezählt …</translation>
    </message>
    <message>
        <source>%1 earlier message in the file</source>
        <translation>%1 frühere Meldung in der Datei</translation>
    </message>
    <message>
        <source>%1 earlier messages in the file</source>
        <translation>%1 frühere Meldungen in der Datei</translation>
    </message>
</context>
<context>
    <name>kestrano::MainFrame</name>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>F&amp;enster</translation>
    </message>
    <message>
        <source>Fil&amp;ter</source>
        <translation>&amp;Filter</translation>
    </message>
    <message>
        <source>Sure to delete all open log files?</source>
        <translation>Wirklich alle geöffneten Protokolldateien löschen?</translation>
    </message>
    <message>
        <source>Choose the font of the log lists.</source>
        <translation>Die Schrift der Protokolllisten wählen.</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Fo&amp;nt...</source>
        <translation>Sch&amp;rift...</translation>
    </message>
    <message>
        <source>1 file:</source>
        <translation>1 Datei:</translation>
    </message>
    <message>
        <source>%1 files:</source>
        <translation>%1 Dateien:</translation>
    </message>
    <message>
        <source>Time of the selected message</source>
        <translation>Zeit der ausgewählten Meldung</translation>
    </message>
</context>
<context>
    <name>kestrano::MergeDialog</name>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Alle</translation>
    </message>
    <message>
        <source>Merge Logs</source>
        <translation>Logs zusammenführen</translation>
    </message>
    <message>
        <source>Show these logs in one window, in time order:</source>
        <translation>Diese Logs in einem Fenster in zeitlicher Reihenfolge anzeigen:</translation>
    </message>
    <message>
        <source>Open logs</source>
        <translation>Geöffnete Logs</translation>
    </message>
</context>
<context>
    <name>kestrano::MergedFrame</name>
    <message>
        <source>Merged: %1</source>
        <translation>Zusammengeführt: %1</translation>
    </message>
    <message>
        <source>%1 (new)</source>
        <translation>%1 (neu)</translation>
    </message>
</context>
<context>
    <name>kestrano::MessageDialog</name>
    <message>
        <source>Message details</source>
        <translation>Meldungsdetails</translation>
    </message>
    <message>
        <source>&amp;Copy to clipboard</source>
        <translation>In die Zwischenablage &amp;kopieren</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Time: %1</source>
        <translation>Zeit: %1</translation>
    </message>
    <message>
        <source>Fields</source>
        <translation>Felder</translation>
    </message>
</context>
<context>
    <name>kestrano::OptionsDialog</name>
    <message>
        <source>&amp;Debug information keywords:</source>
        <translation>Schlüsselwörter für &amp;Debug-Meldungen:</translation>
    </message>
    <message>
        <source>&amp;Information keywords:</source>
        <translation>Schlüsselwörter für &amp;Informationen:</translation>
    </message>
    <message>
        <source>&amp;Warning keywords:</source>
        <translation>Schlüsselwörter für &amp;Warnungen:</translation>
    </message>
    <message>
        <source>&amp;Error keywords:</source>
        <translation>Schlüsselwörter für &amp;Fehler:</translation>
    </message>
    <message>
        <source>&amp;Fatal keywords:</source>
        <translation>Schlüsselwörter für &amp;schwere Fehler:</translation>
    </message>
    <message>
        <source>on any message</source>
        <translation>bei jeder Meldung</translation>
    </message>
    <message>
        <source>on debug informations or higher</source>
        <translation>ab Debug-Meldungen</translation>
    </message>
    <message>
        <source>on informations or higher</source>
        <translation>ab Informationen</translation>
    </message>
    <message>
        <source>on warnings or higher</source>
        <translation>ab Warnungen</translation>
    </message>
    <message>
        <source>on errors or higher</source>
        <translation>ab Fehlern</translation>
    </message>
    <message>
        <source>on fatals only</source>
        <translation>nur bei schweren Fehlern</translation>
    </message>
    <message>
        <source>never</source>
        <translation>nie</translation>
    </message>
    <message>
        <source>&amp;Treat lines with leading spaces as multi-line messages</source>
        <translation>&amp;Zeilen mit führenden Leerzeichen als mehrzeilige Meldungen behandeln</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Log analyzer</source>
        <translation>Protokollanalyse</translation>
    </message>
    <message>
        <source>&amp;Update the views every</source>
        <translation>&amp;Ansichten aktualisieren alle</translation>
    </message>
    <message>
        <source>milli seconds</source>
        <translation>Millisekunden</translation>
    </message>
    <message>
        <source>Log sizes</source>
        <translation>Protokollgrößen</translation>
    </message>
    <message>
        <source>Initially, &amp;read the last</source>
        <translation>Anfangs die &amp;letzten</translation>
    </message>
    <message>
        <source>bytes of the log file</source>
        <translation>Bytes der Protokolldatei lesen</translation>
    </message>
    <message>
        <source>&amp;Keep</source>
        <translation>&amp;Je Ansicht</translation>
    </message>
    <message>
        <source>lines of unfiltered log in each view</source>
        <translation>ungefilterte Protokollzeilen behalten</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Benachrichtigungen</translation>
    </message>
    <message>
        <source>&amp;Bring log window on top:</source>
        <translation>Protokollfenster &amp;nach vorn holen:</translation>
    </message>
    <message>
        <source>&amp;Play sound:</source>
        <translation>&amp;Ton abspielen:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The update interval may not be less than 100 milli seconds.</source>
        <translation>Das Aktualisierungsintervall darf nicht kleiner als 100 Millisekunden sein.</translation>
    </message>
    <message>
        <source>Settings the update interval to less than 500 milli seconds
May slow down your system. Are you sure you want to do this?</source>
        <translation>Ein Aktualisierungsintervall unter 500 Millisekunden
kann Ihr System verlangsamen. Wollen Sie das wirklich?</translation>
    </message>
    <message>
        <source>Invalid keep lines value.</source>
        <translation>Ungültige Zahl zu behaltender Zeilen.</translation>
    </message>
    <message>
        <source>Show desktop &amp;notifications for:</source>
        <translation>Des&amp;ktop-Benachrichtigungen zeigen für:</translation>
    </message>
    <message>
        <source>Let the &amp;level a line states decide its severity</source>
        <translation>Die Stufe, die eine Zeile nennt, &amp;bestimmt ihren Schweregrad</translation>
    </message>
    <message>
        <source>The quiet gap may not be less than 0 seconds.</source>
        <translation>Die ruhige Lücke darf nicht kleiner als 0 Sekunden sein.</translation>
    </message>
    <message>
        <source>Log list</source>
        <translation>Protokollliste</translation>
    </message>
    <message>
        <source>Mark &amp;quiet gaps of more than</source>
        <translation>&amp;Ruhige Lücken markieren von mehr als</translation>
    </message>
    <message>
        <source>seconds between messages (0: none)</source>
        <translation>Sekunden zwischen Meldungen (0: keine)</translation>
    </message>
    <message>
        <source>The history size may not be negative.</source>
        <translation>Die Größe für den Verlauf darf nicht negativ sein.</translation>
    </message>
    <message>
        <source>Show the &amp;history of plain files up to</source>
        <translation>&amp;Verlauf einfacher Dateien zeigen bis</translation>
    </message>
    <message>
        <source>MiB (View &gt; History)</source>
        <translation>MiB (Ansicht &gt; Verlauf)</translation>
    </message>
</context>
<context>
    <name>kestrano::ProgramArguments</name>
    <message>
        <source>Usage: %1 [--log LEVEL] [--journal[=UNIT]] [--journal-file FILE] [LOGFILE...]
Watches text log files while other programs write them.

  LOGFILE           a log file to open in a window of its own (may be given several times);
                    - reads standard input, a name ending in .gz or .xz is decompressed
      --journal[=UNIT]  follow the systemd journal, or one unit's entries
      --journal-file FILE  read the journal from FILE (may be given several times)
      --log LEVEL   write the diagnostic log from LEVEL on: debug, info, warn, error,
                    exception or fatal (also written /log LEVEL)
  -h, --help        show this help and exit
      --version     show the version and exit
  --                every argument after it is a log file
Long options may be abbreviated while they stay unambiguous.
</source>
        <translation>Aufruf: %1 [--log STUFE] [--journal[=UNIT]] [--journal-file DATEI] [PROTOKOLLDATEI...]
Beobachtet Textprotokolldateien, während andere Programme sie schreiben.

  PROTOKOLLDATEI      eine Protokolldatei, die ein eigenes Fenster bekommt (auch mehrere);
                      - liest die Standardeingabe, ein Name auf .gz oder .xz wird entpackt
      --journal[=UNIT]  dem systemd-Journal folgen, oder den Einträgen einer Unit
      --journal-file DATEI  das Journal aus DATEI lesen (auch mehrere)
      --log STUFE     das Diagnoseprotokoll ab STUFE schreiben: debug, info, warn, error,
                      exception oder fatal (auch als /log STUFE)
  -h, --help          diese Hilfe zeigen und beenden
      --version       die Version zeigen und beenden
  --                  jedes Argument danach ist eine Protokolldatei
Lange Optionen dürfen abgekürzt werden, solange sie eindeutig bleiben.
</translation>
    </message>
</context>
<context>
    <name>kestrano::RemoteLogDialog</name>
    <message>
        <source>&amp;File:</source>
        <translation>&amp;Datei:</translation>
    </message>
    <message>
        <source>&amp;Journal, unit:</source>
        <translation>&amp;Journal, Unit:</translation>
    </message>
    <message>
        <source>Open Remote Log</source>
        <translation>Entferntes Protokoll öffnen</translation>
    </message>
    <message>
        <source>none yet</source>
        <translation>noch keine</translation>
    </message>
    <message>
        <source>choose one to fill in the fields</source>
        <translation>eines wählen, um die Felder zu füllen</translation>
    </message>
    <message>
        <source>[user@]host[:port], or an alias of ~/.ssh/config</source>
        <translation>[benutzer@]rechner[:port] oder ein Alias aus ~/.ssh/config</translation>
    </message>
    <message>
        <source>/var/log/syslog</source>
        <translation>/var/log/syslog</translation>
    </message>
    <message>
        <source>all entries, or a unit such as nginx</source>
        <translation>alle Einträge oder eine Unit wie nginx</translation>
    </message>
    <message>
        <source>&amp;Recent:</source>
        <translation>&amp;Zuletzt:</translation>
    </message>
    <message>
        <source>&amp;Host:</source>
        <translation>&amp;Rechner:</translation>
    </message>
</context>
<context>
    <name>kestrano::RemoteSource</name>
    <message>
        <source>Connection to %1 lost: %2. Reconnecting…</source>
        <translation>Verbindung zu %1 verloren: %2. Verbinde neu…</translation>
    </message>
    <message>
        <source>Error: Cannot reach %1 (%2). Still trying...</source>
        <translation>Fehler: %1 ist nicht erreichbar (%2). Versuche es weiter...</translation>
    </message>
    <message>
        <source>Error: %1 refused the login (%2): set up a key or an agent for it. Still trying...</source>
        <translation>Fehler: %1 hat die Anmeldung abgelehnt (%2): Richten Sie dafür einen Schlüssel oder einen Agenten ein. Versuche es weiter...</translation>
    </message>
    <message>
        <source>Error: %1 does not exist on %2. Still trying...</source>
        <translation>Fehler: %1 existiert auf %2 nicht. Versuche es weiter...</translation>
    </message>
    <message>
        <source>Error: No permission to read %1 on %2. Still trying...</source>
        <translation>Fehler: Keine Berechtigung, %1 auf %2 zu lesen. Versuche es weiter...</translation>
    </message>
</context>
<context>
    <name>kestrano::SettingsProblem</name>
    <message>
        <source>a value outside any section</source>
        <translation>ein Wert außerhalb jedes Abschnitts</translation>
    </message>
    <message>
        <source>a closing tag without an open section</source>
        <translation>ein schließendes Tag ohne offenen Abschnitt</translation>
    </message>
    <message>
        <source>a closing tag names another section than the open one</source>
        <translation>ein schließendes Tag nennt einen anderen Abschnitt als den offenen</translation>
    </message>
    <message>
        <source>sections nested too deeply</source>
        <translation>zu tief verschachtelte Abschnitte</translation>
    </message>
    <message>
        <source>a section is not closed</source>
        <translation>ein Abschnitt ist nicht geschlossen</translation>
    </message>
    <message>
        <source>The settings file %1 is damaged at line %2: %3.</source>
        <translation>Die Einstellungsdatei %1 ist in Zeile %2 beschädigt: %3.</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>keine reguläre Datei</translation>
    </message>
    <message>
        <source>Cannot read the settings file %1: %2.</source>
        <translation>Die Einstellungsdatei %1 kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>Kestrano starts with the settings saved before (%1.old).</source>
        <translation>Kestrano startet mit den zuvor gespeicherten Einstellungen (%1.old).</translation>
    </message>
    <message>
        <source>Kestrano starts with the default settings.</source>
        <translation>Kestrano startet mit den Standardeinstellungen.</translation>
    </message>
</context>
<context>
    <name>kestrano::Severity</name>
    <message>
        <source>Debug</source>
        <translation>Debug</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Fatal</source>
        <translation>Fatal</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
</context>
<context>
    <name>kestrano::StreamSource</name>
    <message>
        <source>End of input.</source>
        <translation>Ende der Eingabe.</translation>
    </message>
</context>
<context>
    <name>kestrano::TimeNavigation</name>
    <message>
        <source>No message in this window states its time.</source>
        <translation>Keine Meldung in diesem Fenster nennt ihre Zeit.</translation>
    </message>
    <message>
        <source>"%1" is not a time.</source>
        <translation>„%1“ ist keine Zeitangabe.</translation>
    </message>
    <message>
        <source>No message is at or after %1.</source>
        <translation>Keine Meldung liegt bei oder nach %1.</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>kestrano::TimeText</name>
    <message numerus="yes">
        <source>%n ms</source>
        <translation>
            <numerusform>%n ms</numerusform>
            <numerusform>%n ms</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n h</source>
        <translation>
            <numerusform>%n Std.</numerusform>
            <numerusform>%n Std.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n min</source>
        <translation>
            <numerusform>%n Min.</numerusform>
            <numerusform>%n Min.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n s</source>
        <translation>
            <numerusform>%n s</numerusform>
            <numerusform>%n s</numerusform>
        </translation>
    </message>
    <message>
        <source>at the end</source>
        <translation>am Ende</translation>
    </message>
    <message>
        <source>%1 before the end</source>
        <translation>%1 vor dem Ende</translation>
    </message>
    <message numerus="yes">
        <source>%n d</source>
        <translation>
            <numerusform>%n Tag</numerusform>
            <numerusform>%n Tage</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>kestrano::TimelineStrip</name>
    <message>
        <source>Timeline</source>
        <translation>Zeitleiste</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Messages: %1</source>
        <translation>Meldungen: %1</translation>
    </message>
</context>
</TS>
