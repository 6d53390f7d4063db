<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>CommandLine</name>
    <message>
        <source>does not exist</source>
        <translation>non esiste</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>non è leggibile</translation>
    </message>
    <message>
        <source>1 path could not be added:</source>
        <translation>Non è stato possibile aggiungere 1 percorso:</translation>
    </message>
    <message>
        <source>%1 paths could not be added:</source>
        <translation>Non è stato possibile aggiungere %1 percorsi:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>e altri %1.</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>Application Error</source>
        <translation>Errore dell&apos;applicazione</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Immagine non valida</translation>
    </message>
    <message>
        <source>at line %1</source>
        <translation>alla riga %1</translation>
    </message>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Invia uno screenshot di questo messaggio via e-mail a %1</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Chiamata di routine o argomento non validi</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Overflow</translation>
    </message>
    <message>
        <source>Subscript out of range</source>
        <translation>Indice non compreso nell&apos;intervallo</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Tipo non corrispondente</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>File non trovato</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Autorizzazione negata</translation>
    </message>
    <message>
        <source>Path not found</source>
        <translation>Percorso non trovato</translation>
    </message>
    <message>
        <source>Invalid property value</source>
        <translation>Valore della proprietà non valido</translation>
    </message>
    <message>
        <source>Application-defined or object-defined error</source>
        <translation>Errore definito dall&apos;applicazione o dall&apos;oggetto</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Memoria insufficiente</translation>
    </message>
    <message>
        <source>Cannot load skin: %1</source>
        <translation>Impossibile caricare il tema: %1</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>il file è troppo grande</translation>
    </message>
    <message>
        <source>the file is not UTF-8 text</source>
        <translation>il file non è testo UTF-8</translation>
    </message>
    <message>
        <source>the file is not a style sheet</source>
        <translation>il file non è un foglio di stile</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>All Files (*)</source>
        <translation>Tutti i file (*)</translation>
    </message>
    <message>
        <source>Add File(s) - Hold Ctrl to select multiple files</source>
        <translation>Aggiungi file – tieni premuto Ctrl per selezionarne più di uno</translation>
    </message>
    <message>
        <source>was not added because it has bad characters in the filename.</source>
        <translation>non è stato aggiunto perché il nome contiene caratteri non validi.</translation>
    </message>
    <message>
        <source>Enter file extension to load:<byte value="xd"/><byte value="xd"/>(* for all files, txt for all txt files, doc for all doc files, etc.)</source>
        <translation>Estensione dei file da caricare:<byte value="xd"/><byte value="xd"/>(* per tutti i file, txt per tutti i file txt, doc per tutti i file doc e così via)</translation>
    </message>
    <message>
        <source>Please select folder:</source>
        <translation>Seleziona una cartella:</translation>
    </message>
    <message>
        <source>All File(s)</source>
        <translation>Tutti i file</translation>
    </message>
    <message>
        <source>Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation>Trascina qui i file. Fai doppio clic su una voce per rimuoverla. Sposta la linea | a destra, fuori dalla finestra, per vedere i nomi completi.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Options</source>
        <translation>Opzioni</translation>
    </message>
    <message>
        <source>Save Results To This Folder</source>
        <translation>Salva i risultati in questa cartella</translation>
    </message>
    <message>
        <source>Stamp settings</source>
        <translation>Impostazioni del timbro orario</translation>
    </message>
    <message>
        <source>Undo Run</source>
        <translation>Annulla l&apos;operazione</translation>
    </message>
    <message>
        <source>Would you like this software to open the folder where these sample files are stored (so that you can view them before working with them)?</source>
        <translation>Vuoi che questo programma apra la cartella in cui si trovano questi file di esempio (per poterli vedere prima di lavorarci)?</translation>
    </message>
    <message>
        <source>&amp;Add File(s)</source>
        <translation>&amp;Aggiungi file</translation>
    </message>
    <message>
        <source>Add All Files In &amp;Folder</source>
        <translation>Aggiungi &amp;cartella intera</translation>
    </message>
    <message>
        <source>&amp;Start Changing</source>
        <translation>A&amp;vvia la copia</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Interrompi</translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <translation>&amp;Svuota l&apos;elenco</translation>
    </message>
    <message>
        <source>&amp;Load Sample/Example Files</source>
        <translation>Carica i file di &amp;esempio</translation>
    </message>
    <message>
        <source>&amp;Open Folder</source>
        <translation>&amp;Apri la cartella</translation>
    </message>
</context>
<context>
    <name>NewName</name>
    <message>
        <source>New Name</source>
        <translation>Nuovo nome</translation>
    </message>
    <message>
        <source>New Name (n = %1)</source>
        <translation>Nuovo nome (n = %1)</translation>
    </message>
    <message>
        <source>New Name (n not yet given)</source>
        <translation>Nuovo nome (n non ancora indicato)</translation>
    </message>
    <message>
        <source>%1 (replaces the file of that name)</source>
        <translation>%1 (sostituisce il file con lo stesso nome)</translation>
    </message>
    <message>
        <source>not copied: %1</source>
        <translation>non copiato: %1</translation>
    </message>
    <message>
        <source>reading…</source>
        <translation>lettura…</translation>
    </message>
</context>
<context>
    <name>RenameOption</name>
    <message>
        <source>Add current time to beginning of filename</source>
        <translation>Aggiungi l&apos;ora attuale all&apos;inizio del nome</translation>
    </message>
    <message>
        <source>Add current time to end of filename</source>
        <translation>Aggiungi l&apos;ora attuale alla fine del nome</translation>
    </message>
    <message>
        <source>Add current time after nth character in filename</source>
        <translation>Aggiungi l&apos;ora attuale dopo l&apos;n-esimo carattere</translation>
    </message>
    <message>
        <source>Add current date to beginning of filename</source>
        <translation>Aggiungi la data attuale all&apos;inizio del nome</translation>
    </message>
    <message>
        <source>Add current date to end of filename</source>
        <translation>Aggiungi la data attuale alla fine del nome</translation>
    </message>
    <message>
        <source>Add current date after nth character in filename</source>
        <translation>Aggiungi la data attuale dopo l&apos;n-esimo carattere</translation>
    </message>
    <message>
        <source>Add current time and date to beginning of filename</source>
        <translation>Aggiungi l&apos;ora e la data attuali all&apos;inizio del nome</translation>
    </message>
    <message>
        <source>Add current time and date to end of filename</source>
        <translation>Aggiungi l&apos;ora e la data attuali alla fine del nome</translation>
    </message>
    <message>
        <source>Add current time and date after nth character in filename</source>
        <translation>Aggiungi l&apos;ora e la data attuali dopo l&apos;n-esimo carattere</translation>
    </message>
    <message>
        <source>Add file creation time to beginning of filename</source>
        <translation>Aggiungi l&apos;ora di creazione all&apos;inizio del nome</translation>
    </message>
    <message>
        <source>Add file creation time to end of filename</source>
        <translation>Aggiungi l&apos;ora di creazione alla fine del nome</translation>
    </message>
    <message>
        <source>Add file creation time after nth character in filename</source>
        <translation>Aggiungi l&apos;ora di creazione dopo l&apos;n-esimo carattere</translation>
    </message>
    <message>
        <source>Add file creation date to beginning of filename</source>
        <translation>Aggiungi la data di creazione all&apos;inizio del nome</translation>
    </message>
    <message>
        <source>Add file creation date to end of filename</source>
        <translation>Aggiungi la data di creazione alla fine del nome</translation>
    </message>
    <message>
        <source>Add file creation date after nth character in filename</source>
        <translation>Aggiungi la data di creazione dopo l&apos;n-esimo carattere</translation>
    </message>
    <message>
        <source>Add file creation time and date to beginning of filename</source>
        <translation>Aggiungi l&apos;ora e la data di creazione all&apos;inizio del nome</translation>
    </message>
    <message>
        <source>Add file creation time and date to end of filename</source>
        <translation>Aggiungi l&apos;ora e la data di creazione alla fine del nome</translation>
    </message>
    <message>
        <source>Add file creation time and date after nth character in filename</source>
        <translation>Aggiungi l&apos;ora e la data di creazione dopo l&apos;n-esimo carattere</translation>
    </message>
    <message>
        <source>Add last modified time to beginning of filename</source>
        <translation>Aggiungi l&apos;ora di modifica all&apos;inizio del nome</translation>
    </message>
    <message>
        <source>Add last modification time to end of filename</source>
        <translation>Aggiungi l&apos;ora di modifica alla fine del nome</translation>
    </message>
    <message>
        <source>Add last modified time after nth character in filename</source>
        <translation>Aggiungi l&apos;ora di modifica dopo l&apos;n-esimo carattere</translation>
    </message>
    <message>
        <source>Add last modified date to beginning of filename</source>
        <translation>Aggiungi la data di modifica all&apos;inizio del nome</translation>
    </message>
    <message>
        <source>Add last modified date to end of filename</source>
        <translation>Aggiungi la data di modifica alla fine del nome</translation>
    </message>
    <message>
        <source>Add last modified date after nth character in filename</source>
        <translation>Aggiungi la data di modifica dopo l&apos;n-esimo carattere</translation>
    </message>
    <message>
        <source>Add last modified time and date to beginning of filename</source>
        <translation>Aggiungi l&apos;ora e la data di modifica all&apos;inizio del nome</translation>
    </message>
    <message>
        <source>Add last modified time and date to end of filename</source>
        <translation>Aggiungi l&apos;ora e la data di modifica alla fine del nome</translation>
    </message>
    <message>
        <source>Add last modified time and date after nth character in filename</source>
        <translation>Aggiungi l&apos;ora e la data di modifica dopo l&apos;n-esimo carattere</translation>
    </message>
    <message>
        <source>Add last accessed time to beginning of filename</source>
        <translation>Aggiungi l&apos;ora dell&apos;ultimo accesso all&apos;inizio del nome</translation>
    </message>
    <message>
        <source>Add last accessed time to end of filename</source>
        <translation>Aggiungi l&apos;ora dell&apos;ultimo accesso alla fine del nome</translation>
    </message>
    <message>
        <source>Add last accessed time after nth character in filename</source>
        <translation>Aggiungi l&apos;ora dell&apos;ultimo accesso dopo l&apos;n-esimo carattere</translation>
    </message>
    <message>
        <source>Add last accessed date to beginning of filename</source>
        <translation>Aggiungi la data dell&apos;ultimo accesso all&apos;inizio del nome</translation>
    </message>
    <message>
        <source>Add last accessed date to end of filename</source>
        <translation>Aggiungi la data dell&apos;ultimo accesso alla fine del nome</translation>
    </message>
    <message>
        <source>Add last accessed date after nth character in filename</source>
        <translation>Aggiungi la data dell&apos;ultimo accesso dopo l&apos;n-esimo carattere</translation>
    </message>
    <message>
        <source>Add last accessed time and date to beginning of filename</source>
        <translation>Aggiungi l&apos;ora e la data dell&apos;ultimo accesso all&apos;inizio del nome</translation>
    </message>
    <message>
        <source>Add last accessed time and date to end of filename</source>
        <translation>Aggiungi l&apos;ora e la data dell&apos;ultimo accesso alla fine del nome</translation>
    </message>
    <message>
        <source>Add last accessed time and date after nth character in filename</source>
        <translation>Aggiungi l&apos;ora e la data dell&apos;ultimo accesso dopo l&apos;n-esimo carattere</translation>
    </message>
</context>
<context>
    <name>Run</name>
    <message>
        <source>the name is too long for any folder</source>
        <translation>il nome è troppo lungo per qualsiasi cartella</translation>
    </message>
    <message>
        <source>it no longer exists</source>
        <translation>non esiste più</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>autorizzazione negata</translation>
    </message>
    <message>
        <source>the output folder is full</source>
        <translation>la cartella di destinazione è piena</translation>
    </message>
    <message>
        <source>a read-only file of that name is in the way</source>
        <translation>esiste già un file di sola lettura con questo nome</translation>
    </message>
    <message>
        <source>the name is too long for the output folder</source>
        <translation>il nome è troppo lungo per la cartella di destinazione</translation>
    </message>
    <message>
        <source>it changed while it was copied</source>
        <translation>è cambiato durante la copia</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>non è un file normale</translation>
    </message>
    <message>
        <source>the new name is the file itself</source>
        <translation>il nuovo nome è il file stesso</translation>
    </message>
    <message>
        <source>another listed file has that name</source>
        <translation>un altro file dell&apos;elenco ha questo nome</translation>
    </message>
    <message>
        <source>something that is not a file has that name</source>
        <translation>qualcosa che non è un file ha questo nome</translation>
    </message>
    <message>
        <source>the output folder does not accept a character of the name</source>
        <translation>la cartella di destinazione non accetta un carattere del nome</translation>
    </message>
    <message>
        <source>every numbered name is taken</source>
        <translation>tutti i nomi numerati sono già in uso</translation>
    </message>
    <message>
        <source>the copy was stopped</source>
        <translation>la copia è stata interrotta</translation>
    </message>
    <message>
        <source>%1 of %2 files was not copied:</source>
        <translation>%1 file su %2 non è stato copiato:</translation>
    </message>
    <message>
        <source>%1 of %2 files were not copied:</source>
        <translation>%1 file su %2 non sono stati copiati:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>e altri %1.</translation>
    </message>
    <message>
        <source>1 file was renamed to avoid a clash.</source>
        <translation>1 file è stato rinominato per evitare un conflitto di nomi.</translation>
    </message>
    <message>
        <source>%1 files were renamed to avoid a clash.</source>
        <translation>%1 file sono stati rinominati per evitare conflitti di nomi.</translation>
    </message>
    <message>
        <source>Copied: %1, numbered: %2, replaced: %3, not copied: %4</source>
        <translation>Copiati: %1, numerati: %2, sostituiti: %3, non copiati: %4</translation>
    </message>
    <message>
        <source>the output folder no longer exists</source>
        <translation>la cartella di destinazione non esiste più</translation>
    </message>
    <message>
        <source>This run cannot be taken back: its record could not be written</source>
        <translation>Questa operazione non potrà essere annullata: non è stato possibile scriverne il registro</translation>
    </message>
    <message>
        <source>No files added.</source>
        <translation>Nessun file aggiunto.</translation>
    </message>
    <message>
        <source>Folder does not exist. Please select another folder.</source>
        <translation>La cartella non esiste. Selezionane un&apos;altra.</translation>
    </message>
    <message>
        <source>Enter n:</source>
        <translation>Inserisci n:</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Fatto.</translation>
    </message>
    <message>
        <source>Stopped after %1 of %2 files.</source>
        <translation>Interrotto dopo %1 file su %2.</translation>
    </message>
    <message>
        <source>copied before</source>
        <translation>già copiato in precedenza</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>%1 – %2 of %3</source>
        <translation>%1 – %2 di %3</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Your settings could not be read; Plenvoy starts with its defaults.</source>
        <translation>Non è stato possibile leggere le impostazioni; Plenvoy si avvia con i valori predefiniti.</translation>
    </message>
    <message>
        <source>Your settings will not be saved: the settings file cannot be written.</source>
        <translation>Le impostazioni non verranno salvate: impossibile scrivere il file delle impostazioni.</translation>
    </message>
    <message>
        <source>Your settings file could not be read and was kept as %1; Plenvoy starts with its defaults.</source>
        <translation>Non è stato possibile leggere il file delle impostazioni, che è stato conservato come %1; Plenvoy si avvia con i valori predefiniti.</translation>
    </message>
</context>
<context>
    <name>StampSettings</name>
    <message>
        <source>Stamp Settings</source>
        <translation>Timbro orario</translation>
    </message>
    <message>
        <source>Stamp form</source>
        <translation>Formato</translation>
    </message>
    <message>
        <source>As this computer writes dates</source>
        <translation>Come questo computer scrive le date</translation>
    </message>
    <message>
        <source>Sortable (2026-12-07 14-05-09)</source>
        <translation>Ordinabile (2026-12-07 14-05-09)</translation>
    </message>
    <message>
        <source>Compact (20261207-140509)</source>
        <translation>Compatto (20261207-140509)</translation>
    </message>
    <message>
        <source>Creation time of photos and videos</source>
        <translation>Data di creazione di foto e video</translation>
    </message>
    <message>
        <source>When the file was created on this computer</source>
        <translation>Quando il file è stato creato su questo computer</translation>
    </message>
    <message>
        <source>When the photo or video was taken</source>
        <translation>Quando è stata scattata la foto o girato il video</translation>
    </message>
    <message>
        <source>Example: %1</source>
        <translation>Esempio: %1</translation>
    </message>
    <message>
        <source>Holiday.jpg</source>
        <translation>Vacanze.jpg</translation>
    </message>
</context>
<context>
    <name>Undo</name>
    <message>
        <source>a link was put in its place</source>
        <translation>al suo posto è stato messo un collegamento</translation>
    </message>
    <message>
        <source>another file was put in its place</source>
        <translation>al suo posto è stato messo un altro file</translation>
    </message>
    <message>
        <source>its size changed</source>
        <translation>la sua dimensione è cambiata</translation>
    </message>
    <message>
        <source>it was modified</source>
        <translation>è stata modificata</translation>
    </message>
    <message>
        <source>its status changed (permissions, links or name)</source>
        <translation>il suo stato è cambiato (permessi, collegamenti o nome)</translation>
    </message>
    <message>
        <source>left: its folder no longer exists</source>
        <translation>lasciata: la sua cartella non esiste più</translation>
    </message>
    <message>
        <source>left: its folder is no longer the one the run wrote into</source>
        <translation>lasciata: la sua cartella non è più quella in cui ha scritto l&apos;operazione</translation>
    </message>
    <message>
        <source>left: it was moved or removed since</source>
        <translation>lasciata: è stata spostata o rimossa nel frattempo</translation>
    </message>
    <message>
        <source>left: %1</source>
        <translation>lasciata: %1</translation>
    </message>
    <message>
        <source>Remove the %1 copy this run made in %2?</source>
        <translation>Rimuovere %1 copia creata da questa operazione in %2?</translation>
    </message>
    <message>
        <source>Remove the %1 copies this run made in %2?</source>
        <translation>Rimuovere le %1 copie create da questa operazione in %2?</translation>
    </message>
    <message>
        <source>%1 copy was removed.</source>
        <translation>%1 copia è stata rimossa.</translation>
    </message>
    <message>
        <source>%1 copies were removed.</source>
        <translation>%1 copie sono state rimosse.</translation>
    </message>
    <message>
        <source>%1 copy was left:</source>
        <translation>%1 copia è stata lasciata:</translation>
    </message>
    <message>
        <source>%1 copies were left:</source>
        <translation>%1 copie sono state lasciate:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>e altri %1.</translation>
    </message>
    <message>
        <source>kept: it replaced an earlier file</source>
        <translation>conservata: ha sostituito un file precedente</translation>
    </message>
</context>
<context>
    <name>plenvoy::MainWindow</name>
    <message>
        <source>Stop after the current file?</source>
        <translation>Interrompere dopo il file corrente?</translation>
    </message>
    <message>
        <source>Stop the run and close Plenvoy?</source>
        <translation>Interrompere l&apos;operazione e chiudere Plenvoy?</translation>
    </message>
    <message>
        <source>About Plenvoy</source>
        <translation>Informazioni su Plenvoy</translation>
    </message>
    <message>
        <source>Browse for the output folder</source>
        <translation>Scegli la cartella di destinazione</translation>
    </message>
    <message>
        <source>Files to copy</source>
        <translation>File da copiare</translation>
    </message>
    <message>
        <source>Stamp settings</source>
        <translation>Impostazioni del timbro orario</translation>
    </message>
    <message>
        <source>Each file is copied into the output folder under its new name</source>
        <translation>Ogni file viene copiato nella cartella di destinazione con il nuovo nome</translation>
    </message>
    <message>
        <source>Progress of the run</source>
        <translation>Avanzamento dell&apos;operazione</translation>
    </message>
    <message>
        <source>Time-stamped copies of files</source>
        <translation>Copie di file con data e ora</translation>
    </message>
    <message>
        <source>Released under the MIT License.</source>
        <translation>Distribuito con licenza MIT.</translation>
    </message>
    <message>
        <source>Uses Qt %1 and libexiv2 %2.</source>
        <translation>Usa Qt %1 e libexiv2 %2.</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Guida</translation>
    </message>
    <message>
        <source>&amp;About Plenvoy</source>
        <translation>&amp;Informazioni su Plenvoy</translation>
    </message>
</context>
<context>
    <name>plenvoy::RunProgressBar</name>
    <message>
        <source>%1 of %2 files</source>
        <translation>%1 file su %2</translation>
    </message>
    <message>
        <source>this file: %1 of %2</source>
        <translation>questo file: %1 su %2</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>mancano %1</translation>
    </message>
</context>
<context>
    <name>plenvoy::StampSettingsDialog</name>
    <message>
        <source>Where copies go</source>
        <translation>Dove vanno le copie</translation>
    </message>
    <message>
        <source>All directly in the output folder</source>
        <translation>Tutte direttamente nella cartella di destinazione</translation>
    </message>
    <message>
        <source>In the folders they were added through</source>
        <translation>Nelle cartelle da cui sono stati aggiunti</translation>
    </message>
    <message>
        <source>In year and day folders (2026/2026-12-07)</source>
        <translation>In cartelle per anno e giorno (2026/2026-12-07)</translation>
    </message>
    <message>
        <source>Skip files copied before</source>
        <translation>Salta i file già copiati</translation>
    </message>
    <message>
        <source>Own pattern:</source>
        <translation>Schema personalizzato:</translation>
    </message>
    <message>
        <source>A stamp cannot hold &quot;/&quot; or a NUL character.</source>
        <translation>Un timbro orario non può contenere «/» né un carattere NUL.</translation>
    </message>
    <message>
        <source>A stamp cannot hold a control character (a tab or a line break).</source>
        <translation>Un timbro orario non può contenere caratteri di controllo (tabulazione o a capo).</translation>
    </message>
    <message>
        <source>A stamp cannot hold &quot;%1&quot;: names on some drives refuse \ : * ? &quot; &lt; &gt; |</source>
        <translation>Un timbro orario non può contenere «%1»: alcune unità rifiutano \ : * ? &quot; &lt; &gt; | nei nomi.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a token: use %Y %y %m %d %e %H %I %M %S %p %b %B %a %A %j %V %G %u, or %% for &quot;%&quot;.</source>
        <translation>«%1» non è un codice: usa %Y %y %m %d %e %H %I %M %S %p %b %B %a %A %j %V %G %u, oppure %% per «%».</translation>
    </message>
    <message>
        <source>The stamp could take %1 bytes, more than 64.</source>
        <translation>Il timbro orario potrebbe occupare %1 byte, più di 64.</translation>
    </message>
    <message>
        <source>The stamp would be empty.</source>
        <translation>Il timbro orario sarebbe vuoto.</translation>
    </message>
    <message>
        <source>Shift taken times by</source>
        <translation>Sposta gli orari di scatto di</translation>
    </message>
    <message>
        <source> days</source>
        <translation> giorni</translation>
    </message>
    <message>
        <source>Presets</source>
        <translation>Preimpostazioni</translation>
    </message>
    <message>
        <source>Pr&amp;eset:</source>
        <translation>&amp;Preimpostazione:</translation>
    </message>
    <message>
        <source>Saved presets</source>
        <translation>Preimpostazioni salvate</translation>
    </message>
    <message>
        <source>A&amp;pply</source>
        <translation>&amp;Applica</translation>
    </message>
    <message>
        <source>Apply the preset</source>
        <translation>Applica la preimpostazione</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Elimina</translation>
    </message>
    <message>
        <source>Delete the preset</source>
        <translation>Elimina la preimpostazione</translation>
    </message>
    <message>
        <source>Preset &amp;name:</source>
        <translation>&amp;Nome:</translation>
    </message>
    <message>
        <source>Preset name</source>
        <translation>Nome della preimpostazione</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Salva</translation>
    </message>
    <message>
        <source>Save the current setup as a preset</source>
        <translation>Salva la configurazione attuale come preimpostazione</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Rinomina</translation>
    </message>
    <message>
        <source>Rename the preset</source>
        <translation>Rinomina la preimpostazione</translation>
    </message>
    <message>
        <source>A preset name holds at most %1 characters.</source>
        <translation>Il nome di una preimpostazione ha al massimo %1 caratteri.</translation>
    </message>
    <message>
        <source>A preset name cannot hold &quot;/&quot; or &quot;\&quot;.</source>
        <translation>Il nome di una preimpostazione non può contenere «/» né «\».</translation>
    </message>
    <message>
        <source>A preset name cannot hold a control character (a tab or a line break).</source>
        <translation>Il nome di una preimpostazione non può contenere un carattere di controllo (una tabulazione o un a capo).</translation>
    </message>
    <message>
        <source>The preset could not be saved: the settings file cannot be written.</source>
        <translation>Impossibile salvare la preimpostazione: il file delle impostazioni non è scrivibile.</translation>
    </message>
    <message>
        <source>A preset named &quot;%1&quot; exists already.</source>
        <translation>Esiste già una preimpostazione di nome «%1».</translation>
    </message>
    <message>
        <source>The preset could not be renamed: the settings file cannot be written.</source>
        <translation>Impossibile rinominare la preimpostazione: il file delle impostazioni non è scrivibile.</translation>
    </message>
    <message>
        <source>The preset could not be deleted: the settings file cannot be written.</source>
        <translation>Impossibile eliminare la preimpostazione: il file delle impostazioni non è scrivibile.</translation>
    </message>
    <message>
        <source>Replace the preset &quot;%1&quot;?</source>
        <translation>Sostituire la preimpostazione «%1»?</translation>
    </message>
    <message>
        <source>Delete the preset &quot;%1&quot;?</source>
        <translation>Eliminare la preimpostazione «%1»?</translation>
    </message>
</context>
</TS>
