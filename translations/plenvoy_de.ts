<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CommandLine</name>
    <message>
        <source>does not exist</source>
        <translation>existiert nicht</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>1 path could not be added:</source>
        <translation>1 Pfad konnte nicht hinzugefügt werden:</translation>
    </message>
    <message>
        <source>%1 paths could not be added:</source>
        <translation>%1 Pfade konnten nicht hinzugefügt werden:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>und %1 weitere.</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>Application Error</source>
        <translation>Anwendungsfehler</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Ungültiges Bild</translation>
    </message>
    <message>
        <source>at line %1</source>
        <translation>in Zeile %1</translation>
    </message>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Bitte senden Sie ein Bildschirmfoto dieser Meldung per E-Mail an %1</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Ungültiger Prozeduraufruf oder ungültiges Argument</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Überlauf</translation>
    </message>
    <message>
        <source>Subscript out of range</source>
        <translation>Index außerhalb des gültigen Bereichs</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Typen unverträglich</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>Path not found</source>
        <translation>Pfad nicht gefunden</translation>
    </message>
    <message>
        <source>Invalid property value</source>
        <translation>Ungültiger Eigenschaftswert</translation>
    </message>
    <message>
        <source>Application-defined or object-defined error</source>
        <translation>Anwendungs- oder objektdefinierter Fehler</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <source>Cannot load skin: %1</source>
        <translation>Das Design kann nicht geladen werden: %1</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>die Datei ist zu groß</translation>
    </message>
    <message>
        <source>the file is not UTF-8 text</source>
        <translation>die Datei ist kein UTF-8-Text</translation>
    </message>
    <message>
        <source>the file is not a style sheet</source>
        <translation>die Datei ist kein Stylesheet</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Add File(s) - Hold Ctrl to select multiple files</source>
        <translation>Dateien hinzufügen – mit Strg lassen sich mehrere auswählen</translation>
    </message>
    <message>
        <source>was not added because it has bad characters in the filename.</source>
        <translation>wurde nicht hinzugefügt, weil der Dateiname ungültige Zeichen enthält.</translation>
    </message>
    <message>
        <source>Enter file extension to load:<byte value="xd"/><byte value="xd"/>(* for all files, txt for all txt files, doc for all doc files, etc.)</source>
        <translation>Dateiendung der zu ladenden Dateien:<byte value="xd"/><byte value="xd"/>(* für alle Dateien, txt für alle txt-Dateien, doc für alle doc-Dateien usw.)</translation>
    </message>
    <message>
        <source>Please select folder:</source>
        <translation>Bitte einen Ordner wählen:</translation>
    </message>
    <message>
        <source>All File(s)</source>
        <translation>Alle Dateien</translation>
    </message>
    <message>
        <source>Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation>Dateien hierher ziehen. Ein Doppelklick auf einen Eintrag entfernt ihn. Die Linie | nach rechts aus dem Fenster ziehen, um die vollen Namen zu sehen.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Save Results To This Folder</source>
        <translation>Ergebnisse in diesem Ordner speichern</translation>
    </message>
    <message>
        <source>Stamp settings</source>
        <translation>Zeitstempel einstellen</translation>
    </message>
    <message>
        <source>Undo Run</source>
        <translation>Vorgang rückgängig machen</translation>
    </message>
    <message>
        <source>Would you like this software to open the folder where these sample files are stored (so that you can view them before working with them)?</source>
        <translation>Soll das Programm den Ordner öffnen, in dem diese Beispieldateien liegen (damit Sie sie ansehen können, bevor Sie damit arbeiten)?</translation>
    </message>
    <message>
        <source>&amp;Add File(s)</source>
        <translation>Dateien &amp;hinzufügen</translation>
    </message>
    <message>
        <source>Add All Files In &amp;Folder</source>
        <translation>Ganzen &amp;Ordner hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Start Changing</source>
        <translation>Kopieren &amp;starten</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <translation>Liste &amp;leeren</translation>
    </message>
    <message>
        <source>&amp;Load Sample/Example Files</source>
        <translation>&amp;Beispieldateien laden</translation>
    </message>
    <message>
        <source>&amp;Open Folder</source>
        <translation>&amp;Ordner öffnen</translation>
    </message>
</context>
<context>
    <name>NewName</name>
    <message>
        <source>New Name</source>
        <translation>Neuer Name</translation>
    </message>
    <message>
        <source>New Name (n = %1)</source>
        <translation>Neuer Name (n = %1)</translation>
    </message>
    <message>
        <source>New Name (n not yet given)</source>
        <translation>Neuer Name (n noch nicht angegeben)</translation>
    </message>
    <message>
        <source>%1 (replaces the file of that name)</source>
        <translation>%1 (ersetzt die gleichnamige Datei)</translation>
    </message>
    <message>
        <source>not copied: %1</source>
        <translation>nicht kopiert: %1</translation>
    </message>
    <message>
        <source>reading…</source>
        <translation>wird gelesen…</translation>
    </message>
</context>
<context>
    <name>RenameOption</name>
    <message>
        <source>Add current time to beginning of filename</source>
        <translation>Aktuelle Uhrzeit vor den Dateinamen setzen</translation>
    </message>
    <message>
        <source>Add current time to end of filename</source>
        <translation>Aktuelle Uhrzeit an den Dateinamen anhängen</translation>
    </message>
    <message>
        <source>Add current time after nth character in filename</source>
        <translation>Aktuelle Uhrzeit nach dem n-ten Zeichen einfügen</translation>
    </message>
    <message>
        <source>Add current date to beginning of filename</source>
        <translation>Aktuelles Datum vor den Dateinamen setzen</translation>
    </message>
    <message>
        <source>Add current date to end of filename</source>
        <translation>Aktuelles Datum an den Dateinamen anhängen</translation>
    </message>
    <message>
        <source>Add current date after nth character in filename</source>
        <translation>Aktuelles Datum nach dem n-ten Zeichen einfügen</translation>
    </message>
    <message>
        <source>Add current time and date to beginning of filename</source>
        <translation>Aktuelle Uhrzeit und Datum vor den Dateinamen setzen</translation>
    </message>
    <message>
        <source>Add current time and date to end of filename</source>
        <translation>Aktuelle Uhrzeit und Datum an den Dateinamen anhängen</translation>
    </message>
    <message>
        <source>Add current time and date after nth character in filename</source>
        <translation>Aktuelle Uhrzeit und Datum nach dem n-ten Zeichen einfügen</translation>
    </message>
    <message>
        <source>Add file creation time to beginning of filename</source>
        <translation>Erstellungszeit vor den Dateinamen setzen</translation>
    </message>
    <message>
        <source>Add file creation time to end of filename</source>
        <translation>Erstellungszeit an den Dateinamen anhängen</translation>
    </message>
    <message>
        <source>Add file creation time after nth character in filename</source>
        <translation>Erstellungszeit nach dem n-ten Zeichen einfügen</translation>
    </message>
    <message>
        <source>Add file creation date to beginning of filename</source>
        <translation>Erstellungsdatum vor den Dateinamen setzen</translation>
    </message>
    <message>
        <source>Add file creation date to end of filename</source>
        <translation>Erstellungsdatum an den Dateinamen anhängen</translation>
    </message>
    <message>
        <source>Add file creation date after nth character in filename</source>
        <translation>Erstellungsdatum nach dem n-ten Zeichen einfügen</translation>
    </message>
    <message>
        <source>Add file creation time and date to beginning of filename</source>
        <translation>Erstellungszeit und -datum vor den Dateinamen setzen</translation>
    </message>
    <message>
        <source>Add file creation time and date to end of filename</source>
        <translation>Erstellungszeit und -datum an den Dateinamen anhängen</translation>
    </message>
    <message>
        <source>Add file creation time and date after nth character in filename</source>
        <translation>Erstellungszeit und -datum nach dem n-ten Zeichen einfügen</translation>
    </message>
    <message>
        <source>Add last modified time to beginning of filename</source>
        <translation>Änderungszeit vor den Dateinamen setzen</translation>
    </message>
    <message>
        <source>Add last modification time to end of filename</source>
        <translation>Änderungszeit an den Dateinamen anhängen</translation>
    </message>
    <message>
        <source>Add last modified time after nth character in filename</source>
        <translation>Änderungszeit nach dem n-ten Zeichen einfügen</translation>
    </message>
    <message>
        <source>Add last modified date to beginning of filename</source>
        <translation>Änderungsdatum vor den Dateinamen setzen</translation>
    </message>
    <message>
        <source>Add last modified date to end of filename</source>
        <translation>Änderungsdatum an den Dateinamen anhängen</translation>
    </message>
    <message>
        <source>Add last modified date after nth character in filename</source>
        <translation>Änderungsdatum nach dem n-ten Zeichen einfügen</translation>
    </message>
    <message>
        <source>Add last modified time and date to beginning of filename</source>
        <translation>Änderungszeit und -datum vor den Dateinamen setzen</translation>
    </message>
    <message>
        <source>Add last modified time and date to end of filename</source>
        <translation>Änderungszeit und -datum an den Dateinamen anhängen</translation>
    </message>
    <message>
        <source>Add last modified time and date after nth character in filename</source>
        <translation>Änderungszeit und -datum nach dem n-ten Zeichen einfügen</translation>
    </message>
    <message>
        <source>Add last accessed time to beginning of filename</source>
        <translation>Zugriffszeit vor den Dateinamen setzen</translation>
    </message>
    <message>
        <source>Add last accessed time to end of filename</source>
        <translation>Zugriffszeit an den Dateinamen anhängen</translation>
    </message>
    <message>
        <source>Add last accessed time after nth character in filename</source>
        <translation>Zugriffszeit nach dem n-ten Zeichen einfügen</translation>
    </message>
    <message>
        <source>Add last accessed date to beginning of filename</source>
        <translation>Zugriffsdatum vor den Dateinamen setzen</translation>
    </message>
    <message>
        <source>Add last accessed date to end of filename</source>
        <translation>Zugriffsdatum an den Dateinamen anhängen</translation>
    </message>
    <message>
        <source>Add last accessed date after nth character in filename</source>
        <translation>Zugriffsdatum nach dem n-ten Zeichen einfügen</translation>
    </message>
    <message>
        <source>Add last accessed time and date to beginning of filename</source>
        <translation>Zugriffszeit und -datum vor den Dateinamen setzen</translation>
    </message>
    <message>
        <source>Add last accessed time and date to end of filename</source>
        <translation>Zugriffszeit und -datum an den Dateinamen anhängen</translation>
    </message>
    <message>
        <source>Add last accessed time and date after nth character in filename</source>
        <translation>Zugriffszeit und -datum nach dem n-ten Zeichen einfügen</translation>
    </message>
</context>
<context>
    <name>Run</name>
    <message>
        <source>the name is too long for any folder</source>
        <translation>der Name ist für jeden Ordner zu lang</translation>
    </message>
    <message>
        <source>it no longer exists</source>
        <translation>existiert nicht mehr</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>the output folder is full</source>
        <translation>der Zielordner ist voll</translation>
    </message>
    <message>
        <source>a read-only file of that name is in the way</source>
        <translation>eine schreibgeschützte Datei dieses Namens steht im Weg</translation>
    </message>
    <message>
        <source>the name is too long for the output folder</source>
        <translation>der Name ist für den Zielordner zu lang</translation>
    </message>
    <message>
        <source>it changed while it was copied</source>
        <translation>wurde während des Kopierens geändert</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>the new name is the file itself</source>
        <translation>der neue Name ist die Datei selbst</translation>
    </message>
    <message>
        <source>another listed file has that name</source>
        <translation>eine andere Datei der Liste hat diesen Namen</translation>
    </message>
    <message>
        <source>something that is not a file has that name</source>
        <translation>etwas, das keine Datei ist, trägt diesen Namen</translation>
    </message>
    <message>
        <source>the output folder does not accept a character of the name</source>
        <translation>der Zielordner lässt ein Zeichen des Namens nicht zu</translation>
    </message>
    <message>
        <source>every numbered name is taken</source>
        <translation>alle nummerierten Namen sind vergeben</translation>
    </message>
    <message>
        <source>the copy was stopped</source>
        <translation>das Kopieren wurde abgebrochen</translation>
    </message>
    <message>
        <source>%1 of %2 files was not copied:</source>
        <translation>%1 von %2 Dateien wurde nicht kopiert:</translation>
    </message>
    <message>
        <source>%1 of %2 files were not copied:</source>
        <translation>%1 von %2 Dateien wurden nicht kopiert:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>und %1 weitere.</translation>
    </message>
    <message>
        <source>1 file was renamed to avoid a clash.</source>
        <translation>1 Datei wurde umbenannt, um einen Namenskonflikt zu vermeiden.</translation>
    </message>
    <message>
        <source>%1 files were renamed to avoid a clash.</source>
        <translation>%1 Dateien wurden umbenannt, um Namenskonflikte zu vermeiden.</translation>
    </message>
    <message>
        <source>Copied: %1, numbered: %2, replaced: %3, not copied: %4</source>
        <translation>Kopiert: %1, nummeriert: %2, ersetzt: %3, nicht kopiert: %4</translation>
    </message>
    <message>
        <source>the output folder no longer exists</source>
        <translation>der Zielordner existiert nicht mehr</translation>
    </message>
    <message>
        <source>This run cannot be taken back: its record could not be written</source>
        <translation>Dieser Vorgang lässt sich nicht rückgängig machen: Sein Protokoll konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>No files added.</source>
        <translation>Keine Dateien hinzugefügt.</translation>
    </message>
    <message>
        <source>Folder does not exist. Please select another folder.</source>
        <translation>Der Ordner existiert nicht. Bitte einen anderen Ordner wählen.</translation>
    </message>
    <message>
        <source>Enter n:</source>
        <translation>n eingeben:</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Fertig.</translation>
    </message>
    <message>
        <source>Stopped after %1 of %2 files.</source>
        <translation>Nach %1 von %2 Dateien angehalten.</translation>
    </message>
    <message>
        <source>copied before</source>
        <translation>schon früher kopiert</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>%1 – %2 of %3</source>
        <translation>%1 – %2 von %3</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Your settings could not be read; Plenvoy starts with its defaults.</source>
        <translation>Ihre Einstellungen konnten nicht gelesen werden; Plenvoy startet mit den Standardwerten.</translation>
    </message>
    <message>
        <source>Your settings will not be saved: the settings file cannot be written.</source>
        <translation>Ihre Einstellungen werden nicht gespeichert: Die Einstellungsdatei kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Your settings file could not be read and was kept as %1; Plenvoy starts with its defaults.</source>
        <translation>Ihre Einstellungsdatei konnte nicht gelesen werden und wurde als %1 aufbewahrt; Plenvoy startet mit den Standardwerten.</translation>
    </message>
</context>
<context>
    <name>StampSettings</name>
    <message>
        <source>Stamp Settings</source>
        <translation>Zeitstempel</translation>
    </message>
    <message>
        <source>Stamp form</source>
        <translation>Schreibweise</translation>
    </message>
    <message>
        <source>As this computer writes dates</source>
        <translation>Wie dieser Computer Datumsangaben schreibt</translation>
    </message>
    <message>
        <source>Sortable (2026-12-07 14-05-09)</source>
        <translation>Sortierbar (2026-12-07 14-05-09)</translation>
    </message>
    <message>
        <source>Compact (20261207-140509)</source>
        <translation>Kompakt (20261207-140509)</translation>
    </message>
    <message>
        <source>Creation time of photos and videos</source>
        <translation>Erstellungszeit von Fotos und Videos</translation>
    </message>
    <message>
        <source>When the file was created on this computer</source>
        <translation>Wann die Datei auf diesem Computer angelegt wurde</translation>
    </message>
    <message>
        <source>When the photo or video was taken</source>
        <translation>Wann das Foto oder Video aufgenommen wurde</translation>
    </message>
    <message>
        <source>Example: %1</source>
        <translation>Beispiel: %1</translation>
    </message>
    <message>
        <source>Holiday.jpg</source>
        <translation>Urlaub.jpg</translation>
    </message>
</context>
<context>
    <name>Undo</name>
    <message>
        <source>a link was put in its place</source>
        <translation>an ihrer Stelle liegt jetzt ein Link</translation>
    </message>
    <message>
        <source>another file was put in its place</source>
        <translation>an ihrer Stelle liegt jetzt eine andere Datei</translation>
    </message>
    <message>
        <source>its size changed</source>
        <translation>ihre Größe hat sich geändert</translation>
    </message>
    <message>
        <source>it was modified</source>
        <translation>sie wurde verändert</translation>
    </message>
    <message>
        <source>its status changed (permissions, links or name)</source>
        <translation>ihr Status hat sich geändert (Rechte, Links oder Name)</translation>
    </message>
    <message>
        <source>left: its folder no longer exists</source>
        <translation>belassen: ihr Ordner existiert nicht mehr</translation>
    </message>
    <message>
        <source>left: its folder is no longer the one the run wrote into</source>
        <translation>belassen: ihr Ordner ist nicht mehr der, in den der Vorgang geschrieben hat</translation>
    </message>
    <message>
        <source>left: it was moved or removed since</source>
        <translation>belassen: sie wurde inzwischen verschoben oder gelöscht</translation>
    </message>
    <message>
        <source>left: %1</source>
        <translation>belassen: %1</translation>
    </message>
    <message>
        <source>Remove the %1 copy this run made in %2?</source>
        <translation>%1 Kopie entfernen, die dieser Vorgang in %2 angelegt hat?</translation>
    </message>
    <message>
        <source>Remove the %1 copies this run made in %2?</source>
        <translation>Die %1 Kopien entfernen, die dieser Vorgang in %2 angelegt hat?</translation>
    </message>
    <message>
        <source>%1 copy was removed.</source>
        <translation>%1 Kopie wurde entfernt.</translation>
    </message>
    <message>
        <source>%1 copies were removed.</source>
        <translation>%1 Kopien wurden entfernt.</translation>
    </message>
    <message>
        <source>%1 copy was left:</source>
        <translation>%1 Kopie wurde belassen:</translation>
    </message>
    <message>
        <source>%1 copies were left:</source>
        <translation>%1 Kopien wurden belassen:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>und %1 weitere.</translation>
    </message>
    <message>
        <source>kept: it replaced an earlier file</source>
        <translation>behalten: sie hat eine frühere Datei ersetzt</translation>
    </message>
</context>
<context>
    <name>plenvoy::MainWindow</name>
    <message>
        <source>Stop after the current file?</source>
        <translation>Nach der aktuellen Datei anhalten?</translation>
    </message>
    <message>
        <source>Stop the run and close Plenvoy?</source>
        <translation>Vorgang abbrechen und Plenvoy schließen?</translation>
    </message>
    <message>
        <source>About Plenvoy</source>
        <translation>Über Plenvoy</translation>
    </message>
    <message>
        <source>Browse for the output folder</source>
        <translation>Zielordner auswählen</translation>
    </message>
    <message>
        <source>Files to copy</source>
        <translation>Zu kopierende Dateien</translation>
    </message>
    <message>
        <source>Stamp settings</source>
        <translation>Zeitstempel einstellen</translation>
    </message>
    <message>
        <source>Each file is copied into the output folder under its new name</source>
        <translation>Jede Datei wird unter ihrem neuen Namen in den Zielordner kopiert</translation>
    </message>
    <message>
        <source>Progress of the run</source>
        <translation>Fortschritt des Vorgangs</translation>
    </message>
    <message>
        <source>Time-stamped copies of files</source>
        <translation>Kopien von Dateien mit Zeitstempel</translation>
    </message>
    <message>
        <source>Released under the MIT License.</source>
        <translation>Veröffentlicht unter der MIT-Lizenz.</translation>
    </message>
    <message>
        <source>Uses Qt %1 and libexiv2 %2.</source>
        <translation>Verwendet Qt %1 und libexiv2 %2.</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Plenvoy</source>
        <translation>Ü&amp;ber Plenvoy</translation>
    </message>
</context>
<context>
    <name>plenvoy::RunProgressBar</name>
    <message>
        <source>%1 of %2 files</source>
        <translation>%1 von %2 Dateien</translation>
    </message>
    <message>
        <source>this file: %1 of %2</source>
        <translation>diese Datei: %1 von %2</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>noch %1</translation>
    </message>
</context>
<context>
    <name>plenvoy::StampSettingsDialog</name>
    <message>
        <source>Where copies go</source>
        <translation>Wohin die Kopien kommen</translation>
    </message>
    <message>
        <source>All directly in the output folder</source>
        <translation>Alle direkt in den Zielordner</translation>
    </message>
    <message>
        <source>In the folders they were added through</source>
        <translation>In die Ordner, über die sie hinzugefügt wurden</translation>
    </message>
    <message>
        <source>In year and day folders (2026/2026-12-07)</source>
        <translation>In Jahres- und Tagesordner (2026/2026-12-07)</translation>
    </message>
    <message>
        <source>Skip files copied before</source>
        <translation>Bereits kopierte Dateien überspringen</translation>
    </message>
    <message>
        <source>Own pattern:</source>
        <translation>Eigenes Muster:</translation>
    </message>
    <message>
        <source>A stamp cannot hold &quot;/&quot; or a NUL character.</source>
        <translation>Ein Zeitstempel darf weder „/“ noch ein NUL-Zeichen enthalten.</translation>
    </message>
    <message>
        <source>A stamp cannot hold a control character (a tab or a line break).</source>
        <translation>Ein Zeitstempel darf keine Steuerzeichen (Tabulator oder Zeilenumbruch) enthalten.</translation>
    </message>
    <message>
        <source>A stamp cannot hold &quot;%1&quot;: names on some drives refuse \ : * ? &quot; &lt; &gt; |</source>
        <translation>Ein Zeitstempel darf „%1“ nicht enthalten: Manche Laufwerke lehnen \ : * ? &quot; &lt; &gt; | in Namen ab.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a token: use %Y %y %m %d %e %H %I %M %S %p %b %B %a %A %j %V %G %u, or %% for &quot;%&quot;.</source>
        <translation>„%1“ ist kein Platzhalter: %Y %y %m %d %e %H %I %M %S %p %b %B %a %A %j %V %G %u verwenden, oder %% für „%“.</translation>
    </message>
    <message>
        <source>The stamp could take %1 bytes, more than 64.</source>
        <translation>Der Zeitstempel könnte %1 Byte lang werden, mehr als 64.</translation>
    </message>
    <message>
        <source>The stamp would be empty.</source>
        <translation>Der Zeitstempel wäre leer.</translation>
    </message>
    <message>
        <source>Shift taken times by</source>
        <translation>Aufnahmezeiten verschieben um</translation>
    </message>
    <message>
        <source> days</source>
        <translation> Tage</translation>
    </message>
    <message>
        <source>Presets</source>
        <translation>Voreinstellungen</translation>
    </message>
    <message>
        <source>Pr&amp;eset:</source>
        <translation>&amp;Voreinstellung:</translation>
    </message>
    <message>
        <source>Saved presets</source>
        <translation>Gespeicherte Voreinstellungen</translation>
    </message>
    <message>
        <source>A&amp;pply</source>
        <translation>&amp;Anwenden</translation>
    </message>
    <message>
        <source>Apply the preset</source>
        <translation>Voreinstellung anwenden</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete the preset</source>
        <translation>Voreinstellung löschen</translation>
    </message>
    <message>
        <source>Preset &amp;name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>Preset name</source>
        <translation>Name der Voreinstellung</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>S&amp;peichern</translation>
    </message>
    <message>
        <source>Save the current setup as a preset</source>
        <translation>Aktuelle Einstellungen als Voreinstellung speichern</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>Rename the preset</source>
        <translation>Voreinstellung umbenennen</translation>
    </message>
    <message>
        <source>A preset name holds at most %1 characters.</source>
        <translation>Der Name einer Voreinstellung hat höchstens %1 Zeichen.</translation>
    </message>
    <message>
        <source>A preset name cannot hold &quot;/&quot; or &quot;\&quot;.</source>
        <translation>Der Name einer Voreinstellung darf weder „/“ noch „\“ enthalten.</translation>
    </message>
    <message>
        <source>A preset name cannot hold a control character (a tab or a line break).</source>
        <translation>Der Name einer Voreinstellung darf kein Steuerzeichen (Tabulator oder Zeilenumbruch) enthalten.</translation>
    </message>
    <message>
        <source>The preset could not be saved: the settings file cannot be written.</source>
        <translation>Die Voreinstellung konnte nicht gespeichert werden: Die Einstellungsdatei ist nicht beschreibbar.</translation>
    </message>
    <message>
        <source>A preset named &quot;%1&quot; exists already.</source>
        <translation>Eine Voreinstellung namens „%1“ gibt es schon.</translation>
    </message>
    <message>
        <source>The preset could not be renamed: the settings file cannot be written.</source>
        <translation>Die Voreinstellung konnte nicht umbenannt werden: Die Einstellungsdatei ist nicht beschreibbar.</translation>
    </message>
    <message>
        <source>The preset could not be deleted: the settings file cannot be written.</source>
        <translation>Die Voreinstellung konnte nicht gelöscht werden: Die Einstellungsdatei ist nicht beschreibbar.</translation>
    </message>
    <message>
        <source>Replace the preset &quot;%1&quot;?</source>
        <translation>Die Voreinstellung „%1“ ersetzen?</translation>
    </message>
    <message>
        <source>Delete the preset &quot;%1&quot;?</source>
        <translation>Die Voreinstellung „%1“ löschen?</translation>
    </message>
</context>
</TS>
