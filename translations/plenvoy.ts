<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>CommandLine</name>
    <message>
        <source>does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 path could not be added:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 paths could not be added:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>Application Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>at line %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subscript out of range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Path not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid property value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application-defined or object-defined error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot load skin: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is not UTF-8 text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is not a style sheet</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add File(s) - Hold Ctrl to select multiple files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>was not added because it has bad characters in the filename.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter file extension to load:<byte value="xd"/><byte value="xd"/>(* for all files, txt for all txt files, doc for all doc files, etc.)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All File(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Results To This Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stamp settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo Run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Would you like this software to open the folder where these sample files are stored (so that you can view them before working with them)?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add File(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add All Files In &amp;Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Start Changing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Load Sample/Example Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open Folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NewName</name>
    <message>
        <source>New Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Name (n = %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Name (n not yet given)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (replaces the file of that name)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not copied: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>reading…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RenameOption</name>
    <message>
        <source>Add current time to beginning of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add current time to end of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add current time after nth character in filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add current date to beginning of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add current date to end of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add current date after nth character in filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add current time and date to beginning of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add current time and date to end of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add current time and date after nth character in filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add file creation time to beginning of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add file creation time to end of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add file creation time after nth character in filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add file creation date to beginning of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add file creation date to end of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add file creation date after nth character in filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add file creation time and date to beginning of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add file creation time and date to end of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add file creation time and date after nth character in filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last modified time to beginning of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last modification time to end of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last modified time after nth character in filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last modified date to beginning of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last modified date to end of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last modified date after nth character in filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last modified time and date to beginning of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last modified time and date to end of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last modified time and date after nth character in filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last accessed time to beginning of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last accessed time to end of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last accessed time after nth character in filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last accessed date to beginning of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last accessed date to end of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last accessed date after nth character in filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last accessed time and date to beginning of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last accessed time and date to end of filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add last accessed time and date after nth character in filename</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Run</name>
    <message>
        <source>the name is too long for any folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it no longer exists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the output folder is full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a read-only file of that name is in the way</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the name is too long for the output folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it changed while it was copied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the new name is the file itself</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another listed file has that name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>something that is not a file has that name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the output folder does not accept a character of the name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>every numbered name is taken</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the copy was stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 files was not copied:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 files were not copied:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 file was renamed to avoid a clash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files were renamed to avoid a clash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copied: %1, numbered: %2, replaced: %3, not copied: %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the output folder no longer exists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This run cannot be taken back: its record could not be written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No files added.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder does not exist. Please select another folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter n:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped after %1 of %2 files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copied before</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>%1 – %2 of %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Your settings could not be read; Plenvoy starts with its defaults.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your settings will not be saved: the settings file cannot be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your settings file could not be read and was kept as %1; Plenvoy starts with its defaults.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StampSettings</name>
    <message>
        <source>Stamp Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stamp form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>As this computer writes dates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sortable (2026-12-07 14-05-09)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compact (20261207-140509)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Creation time of photos and videos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When the file was created on this computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When the photo or video was taken</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Example: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Holiday.jpg</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Undo</name>
    <message>
        <source>a link was put in its place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another file was put in its place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its size changed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it was modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its status changed (permissions, links or name)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>left: its folder no longer exists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>left: it was moved or removed since</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>left: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the %1 copy this run made in %2?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the %1 copies this run made in %2?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 copy was removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 copies were removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 copy was left:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 copies were left:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kept: it replaced an earlier file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>left: its folder is no longer the one the run wrote into</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>plenvoy::MainWindow</name>
    <message>
        <source>Files to copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each file is copied into the output folder under its new name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stamp settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse for the output folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress of the run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop after the current file?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time-stamped copies of files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Released under the MIT License.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uses Qt %1 and libexiv2 %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Plenvoy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Plenvoy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop the run and close Plenvoy?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>plenvoy::RunProgressBar</name>
    <message>
        <source>%1 of %2 files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this file: %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>plenvoy::StampSettingsDialog</name>
    <message>
        <source>Where copies go</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All directly in the output folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In the folders they were added through</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In year and day folders (2026/2026-12-07)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skip files copied before</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Own pattern:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A stamp cannot hold &quot;/&quot; or a NUL character.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A stamp cannot hold a control character (a tab or a line break).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A stamp cannot hold &quot;%1&quot;: names on some drives refuse \ : * ? &quot; &lt; &gt; |</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a token: use %Y %y %m %d %e %H %I %M %S %p %b %B %a %A %j %V %G %u, or %% for &quot;%&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The stamp could take %1 bytes, more than 64.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The stamp would be empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shift taken times by</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Presets</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pr&amp;eset:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved presets</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A&amp;pply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply the preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset &amp;name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the current setup as a preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename the preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A preset name holds at most %1 characters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A preset name cannot hold &quot;/&quot; or &quot;\&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A preset name cannot hold a control character (a tab or a line break).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The preset could not be saved: the settings file cannot be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A preset named &quot;%1&quot; exists already.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The preset could not be renamed: the settings file cannot be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The preset could not be deleted: the settings file cannot be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace the preset &quot;%1&quot;?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the preset &quot;%1&quot;?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
