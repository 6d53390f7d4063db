<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>CommandLine</name>
    <message>
        <source>does not exist</source>
        <translation>no existe</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>no se puede leer</translation>
    </message>
    <message>
        <source>1 path could not be added:</source>
        <translation>No se pudo añadir 1 ruta:</translation>
    </message>
    <message>
        <source>%1 paths could not be added:</source>
        <translation>No se pudieron añadir %1 rutas:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>y %1 más.</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>Application Error</source>
        <translation>Error de la aplicación</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Imagen no válida</translation>
    </message>
    <message>
        <source>at line %1</source>
        <translation>en la línea %1</translation>
    </message>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Envíe una captura de pantalla de este mensaje por correo electrónico a %1</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Llamada a procedimiento o argumento no válidos</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Desbordamiento</translation>
    </message>
    <message>
        <source>Subscript out of range</source>
        <translation>Subíndice fuera del intervalo</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>No coinciden los tipos</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>No se encontró el archivo</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Permiso denegado</translation>
    </message>
    <message>
        <source>Path not found</source>
        <translation>No se encontró la ruta de acceso</translation>
    </message>
    <message>
        <source>Invalid property value</source>
        <translation>Valor de propiedad no válido</translation>
    </message>
    <message>
        <source>Application-defined or object-defined error</source>
        <translation>Error definido por la aplicación o el objeto</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Memoria insuficiente</translation>
    </message>
    <message>
        <source>Cannot load skin: %1</source>
        <translation>No se puede cargar el tema: %1</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>el archivo es demasiado grande</translation>
    </message>
    <message>
        <source>the file is not UTF-8 text</source>
        <translation>el archivo no es texto UTF-8</translation>
    </message>
    <message>
        <source>the file is not a style sheet</source>
        <translation>el archivo no es una hoja de estilos</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>All Files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
    <message>
        <source>Add File(s) - Hold Ctrl to select multiple files</source>
        <translation>Añadir archivos: mantenga pulsada Ctrl para seleccionar varios</translation>
    </message>
    <message>
        <source>was not added because it has bad characters in the filename.</source>
        <translation>no se ha añadido porque su nombre contiene caracteres no válidos.</translation>
    </message>
    <message>
        <source>Enter file extension to load:<byte value="xd"/><byte value="xd"/>(* for all files, txt for all txt files, doc for all doc files, etc.)</source>
        <translation>Extensión de los archivos que se cargarán:<byte value="xd"/><byte value="xd"/>(* para todos los archivos, txt para todos los archivos txt, doc para todos los archivos doc, etc.)</translation>
    </message>
    <message>
        <source>Please select folder:</source>
        <translation>Seleccione una carpeta:</translation>
    </message>
    <message>
        <source>All File(s)</source>
        <translation>Todos los archivos</translation>
    </message>
    <message>
        <source>Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation>Arrastre y suelte archivos aquí. Haga doble clic en un elemento para quitarlo. Arrastre la línea | hacia la derecha, fuera de la ventana, para ver los nombres completos.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>Save Results To This Folder</source>
        <translation>Guardar los resultados en esta carpeta</translation>
    </message>
    <message>
        <source>Stamp settings</source>
        <translation>Ajustes de la marca de tiempo</translation>
    </message>
    <message>
        <source>Undo Run</source>
        <translation>Deshacer la operación</translation>
    </message>
    <message>
        <source>Would you like this software to open the folder where these sample files are stored (so that you can view them before working with them)?</source>
        <translation>¿Quiere que este programa abra la carpeta donde están guardados estos archivos de ejemplo (para verlos antes de trabajar con ellos)?</translation>
    </message>
    <message>
        <source>&amp;Add File(s)</source>
        <translation>&amp;Añadir archivos</translation>
    </message>
    <message>
        <source>Add All Files In &amp;Folder</source>
        <translation>Añadir una &amp;carpeta entera</translation>
    </message>
    <message>
        <source>&amp;Start Changing</source>
        <translation>&amp;Iniciar la copia</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Detener</translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <translation>&amp;Vaciar la lista</translation>
    </message>
    <message>
        <source>&amp;Load Sample/Example Files</source>
        <translation>Cargar archivos de &amp;ejemplo</translation>
    </message>
    <message>
        <source>&amp;Open Folder</source>
        <translation>&amp;Abrir la carpeta</translation>
    </message>
</context>
<context>
    <name>NewName</name>
    <message>
        <source>New Name</source>
        <translation>Nombre nuevo</translation>
    </message>
    <message>
        <source>New Name (n = %1)</source>
        <translation>Nombre nuevo (n = %1)</translation>
    </message>
    <message>
        <source>New Name (n not yet given)</source>
        <translation>Nombre nuevo (n aún sin indicar)</translation>
    </message>
    <message>
        <source>%1 (replaces the file of that name)</source>
        <translation>%1 (sustituye al archivo con ese nombre)</translation>
    </message>
    <message>
        <source>not copied: %1</source>
        <translation>no se copia: %1</translation>
    </message>
    <message>
        <source>reading…</source>
        <translation>leyendo…</translation>
    </message>
</context>
<context>
    <name>RenameOption</name>
    <message>
        <source>Add current time to beginning of filename</source>
        <translation>Añadir la hora actual al principio del nombre</translation>
    </message>
    <message>
        <source>Add current time to end of filename</source>
        <translation>Añadir la hora actual al final del nombre</translation>
    </message>
    <message>
        <source>Add current time after nth character in filename</source>
        <translation>Añadir la hora actual tras el n-ésimo carácter</translation>
    </message>
    <message>
        <source>Add current date to beginning of filename</source>
        <translation>Añadir la fecha actual al principio del nombre</translation>
    </message>
    <message>
        <source>Add current date to end of filename</source>
        <translation>Añadir la fecha actual al final del nombre</translation>
    </message>
    <message>
        <source>Add current date after nth character in filename</source>
        <translation>Añadir la fecha actual tras el n-ésimo carácter</translation>
    </message>
    <message>
        <source>Add current time and date to beginning of filename</source>
        <translation>Añadir la hora y la fecha actuales al principio del nombre</translation>
    </message>
    <message>
        <source>Add current time and date to end of filename</source>
        <translation>Añadir la hora y la fecha actuales al final del nombre</translation>
    </message>
    <message>
        <source>Add current time and date after nth character in filename</source>
        <translation>Añadir la hora y la fecha actuales tras el n-ésimo carácter</translation>
    </message>
    <message>
        <source>Add file creation time to beginning of filename</source>
        <translation>Añadir la hora de creación al principio del nombre</translation>
    </message>
    <message>
        <source>Add file creation time to end of filename</source>
        <translation>Añadir la hora de creación al final del nombre</translation>
    </message>
    <message>
        <source>Add file creation time after nth character in filename</source>
        <translation>Añadir la hora de creación tras el n-ésimo carácter</translation>
    </message>
    <message>
        <source>Add file creation date to beginning of filename</source>
        <translation>Añadir la fecha de creación al principio del nombre</translation>
    </message>
    <message>
        <source>Add file creation date to end of filename</source>
        <translation>Añadir la fecha de creación al final del nombre</translation>
    </message>
    <message>
        <source>Add file creation date after nth character in filename</source>
        <translation>Añadir la fecha de creación tras el n-ésimo carácter</translation>
    </message>
    <message>
        <source>Add file creation time and date to beginning of filename</source>
        <translation>Añadir la hora y la fecha de creación al principio del nombre</translation>
    </message>
    <message>
        <source>Add file creation time and date to end of filename</source>
        <translation>Añadir la hora y la fecha de creación al final del nombre</translation>
    </message>
    <message>
        <source>Add file creation time and date after nth character in filename</source>
        <translation>Añadir la hora y la fecha de creación tras el n-ésimo carácter</translation>
    </message>
    <message>
        <source>Add last modified time to beginning of filename</source>
        <translation>Añadir la hora de modificación al principio del nombre</translation>
    </message>
    <message>
        <source>Add last modification time to end of filename</source>
        <translation>Añadir la hora de modificación al final del nombre</translation>
    </message>
    <message>
        <source>Add last modified time after nth character in filename</source>
        <translation>Añadir la hora de modificación tras el n-ésimo carácter</translation>
    </message>
    <message>
        <source>Add last modified date to beginning of filename</source>
        <translation>Añadir la fecha de modificación al principio del nombre</translation>
    </message>
    <message>
        <source>Add last modified date to end of filename</source>
        <translation>Añadir la fecha de modificación al final del nombre</translation>
    </message>
    <message>
        <source>Add last modified date after nth character in filename</source>
        <translation>Añadir la fecha de modificación tras el n-ésimo carácter</translation>
    </message>
    <message>
        <source>Add last modified time and date to beginning of filename</source>
        <translation>Añadir la hora y la fecha de modificación al principio del nombre</translation>
    </message>
    <message>
        <source>Add last modified time and date to end of filename</source>
        <translation>Añadir la hora y la fecha de modificación al final del nombre</translation>
    </message>
    <message>
        <source>Add last modified time and date after nth character in filename</source>
        <translation>Añadir la hora y la fecha de modificación tras el n-ésimo carácter</translation>
    </message>
    <message>
        <source>Add last accessed time to beginning of filename</source>
        <translation>Añadir la hora del último acceso al principio del nombre</translation>
    </message>
    <message>
        <source>Add last accessed time to end of filename</source>
        <translation>Añadir la hora del último acceso al final del nombre</translation>
    </message>
    <message>
        <source>Add last accessed time after nth character in filename</source>
        <translation>Añadir la hora del último acceso tras el n-ésimo carácter</translation>
    </message>
    <message>
        <source>Add last accessed date to beginning of filename</source>
        <translation>Añadir la fecha del último acceso al principio del nombre</translation>
    </message>
    <message>
        <source>Add last accessed date to end of filename</source>
        <translation>Añadir la fecha del último acceso al final del nombre</translation>
    </message>
    <message>
        <source>Add last accessed date after nth character in filename</source>
        <translation>Añadir la fecha del último acceso tras el n-ésimo carácter</translation>
    </message>
    <message>
        <source>Add last accessed time and date to beginning of filename</source>
        <translation>Añadir la hora y la fecha del último acceso al principio del nombre</translation>
    </message>
    <message>
        <source>Add last accessed time and date to end of filename</source>
        <translation>Añadir la hora y la fecha del último acceso al final del nombre</translation>
    </message>
    <message>
        <source>Add last accessed time and date after nth character in filename</source>
        <translation>Añadir la hora y la fecha del último acceso tras el n-ésimo carácter</translation>
    </message>
</context>
<context>
    <name>Run</name>
    <message>
        <source>the name is too long for any folder</source>
        <translation>el nombre es demasiado largo para cualquier carpeta</translation>
    </message>
    <message>
        <source>it no longer exists</source>
        <translation>ya no existe</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>permiso denegado</translation>
    </message>
    <message>
        <source>the output folder is full</source>
        <translation>la carpeta de destino está llena</translation>
    </message>
    <message>
        <source>a read-only file of that name is in the way</source>
        <translation>ya hay un archivo de solo lectura con ese nombre</translation>
    </message>
    <message>
        <source>the name is too long for the output folder</source>
        <translation>el nombre es demasiado largo para la carpeta de destino</translation>
    </message>
    <message>
        <source>it changed while it was copied</source>
        <translation>cambió mientras se copiaba</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>the new name is the file itself</source>
        <translation>el nombre nuevo es el propio archivo</translation>
    </message>
    <message>
        <source>another listed file has that name</source>
        <translation>otro archivo de la lista tiene ese nombre</translation>
    </message>
    <message>
        <source>something that is not a file has that name</source>
        <translation>algo que no es un archivo tiene ese nombre</translation>
    </message>
    <message>
        <source>the output folder does not accept a character of the name</source>
        <translation>la carpeta de destino no admite un carácter del nombre</translation>
    </message>
    <message>
        <source>every numbered name is taken</source>
        <translation>todos los nombres numerados están ocupados</translation>
    </message>
    <message>
        <source>the copy was stopped</source>
        <translation>la copia se detuvo</translation>
    </message>
    <message>
        <source>%1 of %2 files was not copied:</source>
        <translation>%1 de %2 archivos no se copió:</translation>
    </message>
    <message>
        <source>%1 of %2 files were not copied:</source>
        <translation>%1 de %2 archivos no se copiaron:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>y %1 más.</translation>
    </message>
    <message>
        <source>1 file was renamed to avoid a clash.</source>
        <translation>Se cambió el nombre de 1 archivo para evitar un conflicto.</translation>
    </message>
    <message>
        <source>%1 files were renamed to avoid a clash.</source>
        <translation>Se cambió el nombre de %1 archivos para evitar conflictos.</translation>
    </message>
    <message>
        <source>Copied: %1, numbered: %2, replaced: %3, not copied: %4</source>
        <translation>Copiados: %1, numerados: %2, sustituidos: %3, no copiados: %4</translation>
    </message>
    <message>
        <source>the output folder no longer exists</source>
        <translation>la carpeta de destino ya no existe</translation>
    </message>
    <message>
        <source>This run cannot be taken back: its record could not be written</source>
        <translation>Esta operación no se podrá deshacer: no se pudo escribir su registro</translation>
    </message>
    <message>
        <source>No files added.</source>
        <translation>No se ha añadido ningún archivo.</translation>
    </message>
    <message>
        <source>Folder does not exist. Please select another folder.</source>
        <translation>La carpeta no existe. Seleccione otra.</translation>
    </message>
    <message>
        <source>Enter n:</source>
        <translation>Introduzca n:</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Hecho.</translation>
    </message>
    <message>
        <source>Stopped after %1 of %2 files.</source>
        <translation>Detenido tras %1 de %2 archivos.</translation>
    </message>
    <message>
        <source>copied before</source>
        <translation>ya copiado antes</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>%1 – %2 of %3</source>
        <translation>%1 – %2 de %3</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Your settings could not be read; Plenvoy starts with its defaults.</source>
        <translation>No se pudieron leer sus ajustes; Plenvoy se inicia con los valores predeterminados.</translation>
    </message>
    <message>
        <source>Your settings will not be saved: the settings file cannot be written.</source>
        <translation>Sus ajustes no se guardarán: no se puede escribir el archivo de ajustes.</translation>
    </message>
    <message>
        <source>Your settings file could not be read and was kept as %1; Plenvoy starts with its defaults.</source>
        <translation>No se pudo leer su archivo de ajustes y se ha guardado como %1; Plenvoy se inicia con los valores predeterminados.</translation>
    </message>
</context>
<context>
    <name>StampSettings</name>
    <message>
        <source>Stamp Settings</source>
        <translation>Marca de tiempo</translation>
    </message>
    <message>
        <source>Stamp form</source>
        <translation>Formato</translation>
    </message>
    <message>
        <source>As this computer writes dates</source>
        <translation>Como este equipo escribe las fechas</translation>
    </message>
    <message>
        <source>Sortable (2026-12-07 14-05-09)</source>
        <translation>Ordenable (2026-12-07 14-05-09)</translation>
    </message>
    <message>
        <source>Compact (20261207-140509)</source>
        <translation>Compacto (20261207-140509)</translation>
    </message>
    <message>
        <source>Creation time of photos and videos</source>
        <translation>Fecha de creación de fotos y vídeos</translation>
    </message>
    <message>
        <source>When the file was created on this computer</source>
        <translation>Cuándo se creó el archivo en este equipo</translation>
    </message>
    <message>
        <source>When the photo or video was taken</source>
        <translation>Cuándo se tomó la foto o se grabó el vídeo</translation>
    </message>
    <message>
        <source>Example: %1</source>
        <translation>Ejemplo: %1</translation>
    </message>
    <message>
        <source>Holiday.jpg</source>
        <translation>Vacaciones.jpg</translation>
    </message>
</context>
<context>
    <name>Undo</name>
    <message>
        <source>a link was put in its place</source>
        <translation>se puso un enlace en su lugar</translation>
    </message>
    <message>
        <source>another file was put in its place</source>
        <translation>se puso otro archivo en su lugar</translation>
    </message>
    <message>
        <source>its size changed</source>
        <translation>su tamaño cambió</translation>
    </message>
    <message>
        <source>it was modified</source>
        <translation>se modificó</translation>
    </message>
    <message>
        <source>its status changed (permissions, links or name)</source>
        <translation>su estado cambió (permisos, enlaces o nombre)</translation>
    </message>
    <message>
        <source>left: its folder no longer exists</source>
        <translation>no se quitó: su carpeta ya no existe</translation>
    </message>
    <message>
        <source>left: its folder is no longer the one the run wrote into</source>
        <translation>no se quitó: su carpeta ya no es aquella en la que escribió la operación</translation>
    </message>
    <message>
        <source>left: it was moved or removed since</source>
        <translation>no se quitó: se movió o eliminó después</translation>
    </message>
    <message>
        <source>left: %1</source>
        <translation>no se quitó: %1</translation>
    </message>
    <message>
        <source>Remove the %1 copy this run made in %2?</source>
        <translation>¿Eliminar %1 copia creada por esta operación en %2?</translation>
    </message>
    <message>
        <source>Remove the %1 copies this run made in %2?</source>
        <translation>¿Eliminar las %1 copias creadas por esta operación en %2?</translation>
    </message>
    <message>
        <source>%1 copy was removed.</source>
        <translation>Se eliminó %1 copia.</translation>
    </message>
    <message>
        <source>%1 copies were removed.</source>
        <translation>Se eliminaron %1 copias.</translation>
    </message>
    <message>
        <source>%1 copy was left:</source>
        <translation>No se quitó %1 copia:</translation>
    </message>
    <message>
        <source>%1 copies were left:</source>
        <translation>No se quitaron %1 copias:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>y %1 más.</translation>
    </message>
    <message>
        <source>kept: it replaced an earlier file</source>
        <translation>se mantiene: sustituyó a un archivo anterior</translation>
    </message>
</context>
<context>
    <name>plenvoy::MainWindow</name>
    <message>
        <source>Stop after the current file?</source>
        <translation>¿Detener tras el archivo actual?</translation>
    </message>
    <message>
        <source>Stop the run and close Plenvoy?</source>
        <translation>¿Detener la operación y cerrar Plenvoy?</translation>
    </message>
    <message>
        <source>About Plenvoy</source>
        <translation>Acerca de Plenvoy</translation>
    </message>
    <message>
        <source>Browse for the output folder</source>
        <translation>Elegir la carpeta de destino</translation>
    </message>
    <message>
        <source>Files to copy</source>
        <translation>Archivos que se copiarán</translation>
    </message>
    <message>
        <source>Stamp settings</source>
        <translation>Ajustes de la marca de tiempo</translation>
    </message>
    <message>
        <source>Each file is copied into the output folder under its new name</source>
        <translation>Cada archivo se copia en la carpeta de destino con su nuevo nombre</translation>
    </message>
    <message>
        <source>Progress of the run</source>
        <translation>Progreso de la operación</translation>
    </message>
    <message>
        <source>Time-stamped copies of files</source>
        <translation>Copias de archivos con marca de tiempo</translation>
    </message>
    <message>
        <source>Released under the MIT License.</source>
        <translation>Publicado bajo la licencia MIT.</translation>
    </message>
    <message>
        <source>Uses Qt %1 and libexiv2 %2.</source>
        <translation>Usa Qt %1 y libexiv2 %2.</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>&amp;About Plenvoy</source>
        <translation>&amp;Acerca de Plenvoy</translation>
    </message>
</context>
<context>
    <name>plenvoy::RunProgressBar</name>
    <message>
        <source>%1 of %2 files</source>
        <translation>%1 de %2 archivos</translation>
    </message>
    <message>
        <source>this file: %1 of %2</source>
        <translation>este archivo: %1 de %2</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>quedan %1</translation>
    </message>
</context>
<context>
    <name>plenvoy::StampSettingsDialog</name>
    <message>
        <source>Where copies go</source>
        <translation>Dónde van las copias</translation>
    </message>
    <message>
        <source>All directly in the output folder</source>
        <translation>Todas directamente en la carpeta de destino</translation>
    </message>
    <message>
        <source>In the folders they were added through</source>
        <translation>En las carpetas desde las que se añadieron</translation>
    </message>
    <message>
        <source>In year and day folders (2026/2026-12-07)</source>
        <translation>En carpetas por año y día (2026/2026-12-07)</translation>
    </message>
    <message>
        <source>Skip files copied before</source>
        <translation>Omitir los archivos ya copiados</translation>
    </message>
    <message>
        <source>Own pattern:</source>
        <translation>Patrón propio:</translation>
    </message>
    <message>
        <source>A stamp cannot hold &quot;/&quot; or a NUL character.</source>
        <translation>Una marca de tiempo no puede contener «/» ni un carácter NUL.</translation>
    </message>
    <message>
        <source>A stamp cannot hold a control character (a tab or a line break).</source>
        <translation>Una marca de tiempo no puede contener caracteres de control (tabulación o salto de línea).</translation>
    </message>
    <message>
        <source>A stamp cannot hold &quot;%1&quot;: names on some drives refuse \ : * ? &quot; &lt; &gt; |</source>
        <translation>Una marca de tiempo no puede contener «%1»: algunas unidades rechazan \ : * ? &quot; &lt; &gt; | en los nombres.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a token: use %Y %y %m %d %e %H %I %M %S %p %b %B %a %A %j %V %G %u, or %% for &quot;%&quot;.</source>
        <translation>«%1» no es un código: use %Y %y %m %d %e %H %I %M %S %p %b %B %a %A %j %V %G %u, o %% para «%».</translation>
    </message>
    <message>
        <source>The stamp could take %1 bytes, more than 64.</source>
        <translation>La marca de tiempo podría ocupar %1 bytes, más de 64.</translation>
    </message>
    <message>
        <source>The stamp would be empty.</source>
        <translation>La marca de tiempo quedaría vacía.</translation>
    </message>
    <message>
        <source>Shift taken times by</source>
        <translation>Desplazar las horas de captura en</translation>
    </message>
    <message>
        <source> days</source>
        <translation> días</translation>
    </message>
    <message>
        <source>Presets</source>
        <translation>Preajustes</translation>
    </message>
    <message>
        <source>Pr&amp;eset:</source>
        <translation>&amp;Preajuste:</translation>
    </message>
    <message>
        <source>Saved presets</source>
        <translation>Preajustes guardados</translation>
    </message>
    <message>
        <source>A&amp;pply</source>
        <translation>&amp;Aplicar</translation>
    </message>
    <message>
        <source>Apply the preset</source>
        <translation>Aplicar el preajuste</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Eliminar</translation>
    </message>
    <message>
        <source>Delete the preset</source>
        <translation>Eliminar el preajuste</translation>
    </message>
    <message>
        <source>Preset &amp;name:</source>
        <translation>&amp;Nombre:</translation>
    </message>
    <message>
        <source>Preset name</source>
        <translation>Nombre del preajuste</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Guardar</translation>
    </message>
    <message>
        <source>Save the current setup as a preset</source>
        <translation>Guardar la configuración actual como preajuste</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Renombrar</translation>
    </message>
    <message>
        <source>Rename the preset</source>
        <translation>Renombrar el preajuste</translation>
    </message>
    <message>
        <source>A preset name holds at most %1 characters.</source>
        <translation>El nombre de un preajuste tiene como máximo %1 caracteres.</translation>
    </message>
    <message>
        <source>A preset name cannot hold &quot;/&quot; or &quot;\&quot;.</source>
        <translation>El nombre de un preajuste no puede contener «/» ni «\».</translation>
    </message>
    <message>
        <source>A preset name cannot hold a control character (a tab or a line break).</source>
        <translation>El nombre de un preajuste no puede contener caracteres de control (un tabulador o un salto de línea).</translation>
    </message>
    <message>
        <source>The preset could not be saved: the settings file cannot be written.</source>
        <translation>No se pudo guardar el preajuste: no se puede escribir en el archivo de configuración.</translation>
    </message>
    <message>
        <source>A preset named &quot;%1&quot; exists already.</source>
        <translation>Ya existe un preajuste llamado «%1».</translation>
    </message>
    <message>
        <source>The preset could not be renamed: the settings file cannot be written.</source>
        <translation>No se pudo renombrar el preajuste: no se puede escribir en el archivo de configuración.</translation>
    </message>
    <message>
        <source>The preset could not be deleted: the settings file cannot be written.</source>
        <translation>No se pudo eliminar el preajuste: no se puede escribir en el archivo de configuración.</translation>
    </message>
    <message>
        <source>Replace the preset &quot;%1&quot;?</source>
        <translation>¿Reemplazar el preajuste «%1»?</translation>
    </message>
    <message>
        <source>Delete the preset &quot;%1&quot;?</source>
        <translation>¿Eliminar el preajuste «%1»?</translation>
    </message>
</context>
</TS>
