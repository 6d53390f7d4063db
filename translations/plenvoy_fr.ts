<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>CommandLine</name>
    <message>
        <source>does not exist</source>
        <translation>n&apos;existe pas</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>est illisible</translation>
    </message>
    <message>
        <source>1 path could not be added:</source>
        <translation>1 chemin n&apos;a pas pu être ajouté&#xa0;:</translation>
    </message>
    <message>
        <source>%1 paths could not be added:</source>
        <translation>%1 chemins n&apos;ont pas pu être ajoutés&#xa0;:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>et %1 de plus.</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>Application Error</source>
        <translation>Erreur de l&apos;application</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Image non valide</translation>
    </message>
    <message>
        <source>at line %1</source>
        <translation>à la ligne %1</translation>
    </message>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Merci d&apos;envoyer une capture d&apos;écran de ce message par e-mail à %1</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Appel de procédure ou argument incorrect</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Dépassement de capacité</translation>
    </message>
    <message>
        <source>Subscript out of range</source>
        <translation>L&apos;indice n&apos;appartient pas à la sélection</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Incompatibilité de type</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Fichier introuvable</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Permission refusée</translation>
    </message>
    <message>
        <source>Path not found</source>
        <translation>Chemin d&apos;accès introuvable</translation>
    </message>
    <message>
        <source>Invalid property value</source>
        <translation>Valeur de propriété non valide</translation>
    </message>
    <message>
        <source>Application-defined or object-defined error</source>
        <translation>Erreur définie par l&apos;application ou par l&apos;objet</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Mémoire insuffisante</translation>
    </message>
    <message>
        <source>Cannot load skin: %1</source>
        <translation>Impossible de charger le thème&#xa0;: %1</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>le fichier est trop volumineux</translation>
    </message>
    <message>
        <source>the file is not UTF-8 text</source>
        <translation>le fichier n&apos;est pas du texte UTF-8</translation>
    </message>
    <message>
        <source>the file is not a style sheet</source>
        <translation>le fichier n&apos;est pas une feuille de style</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>All Files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Add File(s) - Hold Ctrl to select multiple files</source>
        <translation>Ajouter des fichiers – maintenez Ctrl pour en sélectionner plusieurs</translation>
    </message>
    <message>
        <source>was not added because it has bad characters in the filename.</source>
        <translation>n&apos;a pas été ajouté, car son nom contient des caractères non valides.</translation>
    </message>
    <message>
        <source>Enter file extension to load:<byte value="xd"/><byte value="xd"/>(* for all files, txt for all txt files, doc for all doc files, etc.)</source>
        <translation>Extension des fichiers à charger&#xa0;:<byte value="xd"/><byte value="xd"/>(* pour tous les fichiers, txt pour tous les fichiers txt, doc pour tous les fichiers doc, etc.)</translation>
    </message>
    <message>
        <source>Please select folder:</source>
        <translation>Choisissez un dossier&#xa0;:</translation>
    </message>
    <message>
        <source>All File(s)</source>
        <translation>Tous les fichiers</translation>
    </message>
    <message>
        <source>Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation>Déposez des fichiers ici. Double-cliquez sur un élément pour le retirer. Faites glisser la ligne | vers la droite, hors de la fenêtre, pour voir les noms complets.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Save Results To This Folder</source>
        <translation>Enregistrer les résultats dans ce dossier</translation>
    </message>
    <message>
        <source>Stamp settings</source>
        <translation>Réglages de l&apos;horodatage</translation>
    </message>
    <message>
        <source>Undo Run</source>
        <translation>Annuler l&apos;opération</translation>
    </message>
    <message>
        <source>Would you like this software to open the folder where these sample files are stored (so that you can view them before working with them)?</source>
        <translation>Voulez-vous que ce logiciel ouvre le dossier où sont rangés ces fichiers d&apos;exemple (pour les consulter avant de travailler avec)&#xa0;?</translation>
    </message>
    <message>
        <source>&amp;Add File(s)</source>
        <translation>&amp;Ajouter des fichiers</translation>
    </message>
    <message>
        <source>Add All Files In &amp;Folder</source>
        <translation>Ajouter un &amp;dossier entier</translation>
    </message>
    <message>
        <source>&amp;Start Changing</source>
        <translation>&amp;Lancer la copie</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>A&amp;rrêter</translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <translation>&amp;Vider la liste</translation>
    </message>
    <message>
        <source>&amp;Load Sample/Example Files</source>
        <translation>Charger les &amp;exemples</translation>
    </message>
    <message>
        <source>&amp;Open Folder</source>
        <translation>&amp;Ouvrir le dossier</translation>
    </message>
</context>
<context>
    <name>NewName</name>
    <message>
        <source>New Name</source>
        <translation>Nouveau nom</translation>
    </message>
    <message>
        <source>New Name (n = %1)</source>
        <translation>Nouveau nom (n = %1)</translation>
    </message>
    <message>
        <source>New Name (n not yet given)</source>
        <translation>Nouveau nom (n pas encore indiqué)</translation>
    </message>
    <message>
        <source>%1 (replaces the file of that name)</source>
        <translation>%1 (remplace le fichier du même nom)</translation>
    </message>
    <message>
        <source>not copied: %1</source>
        <translation>non copié&#xa0;: %1</translation>
    </message>
    <message>
        <source>reading…</source>
        <translation>lecture…</translation>
    </message>
</context>
<context>
    <name>RenameOption</name>
    <message>
        <source>Add current time to beginning of filename</source>
        <translation>Ajouter l&apos;heure actuelle au début du nom</translation>
    </message>
    <message>
        <source>Add current time to end of filename</source>
        <translation>Ajouter l&apos;heure actuelle à la fin du nom</translation>
    </message>
    <message>
        <source>Add current time after nth character in filename</source>
        <translation>Ajouter l&apos;heure actuelle après le n-ième caractère</translation>
    </message>
    <message>
        <source>Add current date to beginning of filename</source>
        <translation>Ajouter la date actuelle au début du nom</translation>
    </message>
    <message>
        <source>Add current date to end of filename</source>
        <translation>Ajouter la date actuelle à la fin du nom</translation>
    </message>
    <message>
        <source>Add current date after nth character in filename</source>
        <translation>Ajouter la date actuelle après le n-ième caractère</translation>
    </message>
    <message>
        <source>Add current time and date to beginning of filename</source>
        <translation>Ajouter l&apos;heure et la date actuelles au début du nom</translation>
    </message>
    <message>
        <source>Add current time and date to end of filename</source>
        <translation>Ajouter l&apos;heure et la date actuelles à la fin du nom</translation>
    </message>
    <message>
        <source>Add current time and date after nth character in filename</source>
        <translation>Ajouter l&apos;heure et la date actuelles après le n-ième caractère</translation>
    </message>
    <message>
        <source>Add file creation time to beginning of filename</source>
        <translation>Ajouter l&apos;heure de création au début du nom</translation>
    </message>
    <message>
        <source>Add file creation time to end of filename</source>
        <translation>Ajouter l&apos;heure de création à la fin du nom</translation>
    </message>
    <message>
        <source>Add file creation time after nth character in filename</source>
        <translation>Ajouter l&apos;heure de création après le n-ième caractère</translation>
    </message>
    <message>
        <source>Add file creation date to beginning of filename</source>
        <translation>Ajouter la date de création au début du nom</translation>
    </message>
    <message>
        <source>Add file creation date to end of filename</source>
        <translation>Ajouter la date de création à la fin du nom</translation>
    </message>
    <message>
        <source>Add file creation date after nth character in filename</source>
        <translation>Ajouter la date de création après le n-ième caractère</translation>
    </message>
    <message>
        <source>Add file creation time and date to beginning of filename</source>
        <translation>Ajouter l&apos;heure et la date de création au début du nom</translation>
    </message>
    <message>
        <source>Add file creation time and date to end of filename</source>
        <translation>Ajouter l&apos;heure et la date de création à la fin du nom</translation>
    </message>
    <message>
        <source>Add file creation time and date after nth character in filename</source>
        <translation>Ajouter l&apos;heure et la date de création après le n-ième caractère</translation>
    </message>
    <message>
        <source>Add last modified time to beginning of filename</source>
        <translation>Ajouter l&apos;heure de modification au début du nom</translation>
    </message>
    <message>
        <source>Add last modification time to end of filename</source>
        <translation>Ajouter l&apos;heure de modification à la fin du nom</translation>
    </message>
    <message>
        <source>Add last modified time after nth character in filename</source>
        <translation>Ajouter l&apos;heure de modification après le n-ième caractère</translation>
    </message>
    <message>
        <source>Add last modified date to beginning of filename</source>
        <translation>Ajouter la date de modification au début du nom</translation>
    </message>
    <message>
        <source>Add last modified date to end of filename</source>
        <translation>Ajouter la date de modification à la fin du nom</translation>
    </message>
    <message>
        <source>Add last modified date after nth character in filename</source>
        <translation>Ajouter la date de modification après le n-ième caractère</translation>
    </message>
    <message>
        <source>Add last modified time and date to beginning of filename</source>
        <translation>Ajouter l&apos;heure et la date de modification au début du nom</translation>
    </message>
    <message>
        <source>Add last modified time and date to end of filename</source>
        <translation>Ajouter l&apos;heure et la date de modification à la fin du nom</translation>
    </message>
    <message>
        <source>Add last modified time and date after nth character in filename</source>
        <translation>Ajouter l&apos;heure et la date de modification après le n-ième caractère</translation>
    </message>
    <message>
        <source>Add last accessed time to beginning of filename</source>
        <translation>Ajouter l&apos;heure du dernier accès au début du nom</translation>
    </message>
    <message>
        <source>Add last accessed time to end of filename</source>
        <translation>Ajouter l&apos;heure du dernier accès à la fin du nom</translation>
    </message>
    <message>
        <source>Add last accessed time after nth character in filename</source>
        <translation>Ajouter l&apos;heure du dernier accès après le n-ième caractère</translation>
    </message>
    <message>
        <source>Add last accessed date to beginning of filename</source>
        <translation>Ajouter la date du dernier accès au début du nom</translation>
    </message>
    <message>
        <source>Add last accessed date to end of filename</source>
        <translation>Ajouter la date du dernier accès à la fin du nom</translation>
    </message>
    <message>
        <source>Add last accessed date after nth character in filename</source>
        <translation>Ajouter la date du dernier accès après le n-ième caractère</translation>
    </message>
    <message>
        <source>Add last accessed time and date to beginning of filename</source>
        <translation>Ajouter l&apos;heure et la date du dernier accès au début du nom</translation>
    </message>
    <message>
        <source>Add last accessed time and date to end of filename</source>
        <translation>Ajouter l&apos;heure et la date du dernier accès à la fin du nom</translation>
    </message>
    <message>
        <source>Add last accessed time and date after nth character in filename</source>
        <translation>Ajouter l&apos;heure et la date du dernier accès après le n-ième caractère</translation>
    </message>
</context>
<context>
    <name>Run</name>
    <message>
        <source>the name is too long for any folder</source>
        <translation>le nom est trop long pour n&apos;importe quel dossier</translation>
    </message>
    <message>
        <source>it no longer exists</source>
        <translation>n&apos;existe plus</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>permission refusée</translation>
    </message>
    <message>
        <source>the output folder is full</source>
        <translation>le dossier de destination est plein</translation>
    </message>
    <message>
        <source>a read-only file of that name is in the way</source>
        <translation>un fichier en lecture seule porte déjà ce nom</translation>
    </message>
    <message>
        <source>the name is too long for the output folder</source>
        <translation>le nom est trop long pour le dossier de destination</translation>
    </message>
    <message>
        <source>it changed while it was copied</source>
        <translation>a été modifié pendant la copie</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>the new name is the file itself</source>
        <translation>le nouveau nom désigne le fichier lui-même</translation>
    </message>
    <message>
        <source>another listed file has that name</source>
        <translation>un autre fichier de la liste porte ce nom</translation>
    </message>
    <message>
        <source>something that is not a file has that name</source>
        <translation>un élément qui n&apos;est pas un fichier porte ce nom</translation>
    </message>
    <message>
        <source>the output folder does not accept a character of the name</source>
        <translation>le dossier de destination refuse un caractère du nom</translation>
    </message>
    <message>
        <source>every numbered name is taken</source>
        <translation>tous les noms numérotés sont pris</translation>
    </message>
    <message>
        <source>the copy was stopped</source>
        <translation>la copie a été interrompue</translation>
    </message>
    <message>
        <source>%1 of %2 files was not copied:</source>
        <translation>%1 fichier sur %2 n&apos;a pas été copié&#xa0;:</translation>
    </message>
    <message>
        <source>%1 of %2 files were not copied:</source>
        <translation>%1 fichiers sur %2 n&apos;ont pas été copiés&#xa0;:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>et %1 de plus.</translation>
    </message>
    <message>
        <source>1 file was renamed to avoid a clash.</source>
        <translation>1 fichier a été renommé pour éviter un conflit de noms.</translation>
    </message>
    <message>
        <source>%1 files were renamed to avoid a clash.</source>
        <translation>%1 fichiers ont été renommés pour éviter des conflits de noms.</translation>
    </message>
    <message>
        <source>Copied: %1, numbered: %2, replaced: %3, not copied: %4</source>
        <translation>Copiés&#xa0;: %1, numérotés&#xa0;: %2, remplacés&#xa0;: %3, non copiés&#xa0;: %4</translation>
    </message>
    <message>
        <source>the output folder no longer exists</source>
        <translation>le dossier de destination n&apos;existe plus</translation>
    </message>
    <message>
        <source>This run cannot be taken back: its record could not be written</source>
        <translation>Cette opération ne pourra pas être annulée&#xa0;: son journal n&apos;a pas pu être écrit</translation>
    </message>
    <message>
        <source>No files added.</source>
        <translation>Aucun fichier ajouté.</translation>
    </message>
    <message>
        <source>Folder does not exist. Please select another folder.</source>
        <translation>Ce dossier n&apos;existe pas. Choisissez-en un autre.</translation>
    </message>
    <message>
        <source>Enter n:</source>
        <translation>Saisissez n&#xa0;:</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Terminé.</translation>
    </message>
    <message>
        <source>Stopped after %1 of %2 files.</source>
        <translation>Arrêté après %1 fichiers sur %2.</translation>
    </message>
    <message>
        <source>copied before</source>
        <translation>déjà copié</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>%1 – %2 of %3</source>
        <translation>%1 – %2 sur %3</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Your settings could not be read; Plenvoy starts with its defaults.</source>
        <translation>Vos réglages n&apos;ont pas pu être lus ; Plenvoy démarre avec ses réglages par défaut.</translation>
    </message>
    <message>
        <source>Your settings will not be saved: the settings file cannot be written.</source>
        <translation>Vos réglages ne seront pas enregistrés&#xa0;: le fichier de réglages n&apos;est pas accessible en écriture.</translation>
    </message>
    <message>
        <source>Your settings file could not be read and was kept as %1; Plenvoy starts with its defaults.</source>
        <translation>Votre fichier de réglages n&apos;a pas pu être lu et a été conservé sous le nom %1 ; Plenvoy démarre avec ses réglages par défaut.</translation>
    </message>
</context>
<context>
    <name>StampSettings</name>
    <message>
        <source>Stamp Settings</source>
        <translation>Horodatage</translation>
    </message>
    <message>
        <source>Stamp form</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>As this computer writes dates</source>
        <translation>Comme cet ordinateur écrit les dates</translation>
    </message>
    <message>
        <source>Sortable (2026-12-07 14-05-09)</source>
        <translation>Triable (2026-12-07 14-05-09)</translation>
    </message>
    <message>
        <source>Compact (20261207-140509)</source>
        <translation>Compact (20261207-140509)</translation>
    </message>
    <message>
        <source>Creation time of photos and videos</source>
        <translation>Date de création des photos et vidéos</translation>
    </message>
    <message>
        <source>When the file was created on this computer</source>
        <translation>Quand le fichier a été créé sur cet ordinateur</translation>
    </message>
    <message>
        <source>When the photo or video was taken</source>
        <translation>Quand la photo ou la vidéo a été prise</translation>
    </message>
    <message>
        <source>Example: %1</source>
        <translation>Exemple&#xa0;: %1</translation>
    </message>
    <message>
        <source>Holiday.jpg</source>
        <translation>Vacances.jpg</translation>
    </message>
</context>
<context>
    <name>Undo</name>
    <message>
        <source>a link was put in its place</source>
        <translation>un lien a été mis à sa place</translation>
    </message>
    <message>
        <source>another file was put in its place</source>
        <translation>un autre fichier a été mis à sa place</translation>
    </message>
    <message>
        <source>its size changed</source>
        <translation>sa taille a changé</translation>
    </message>
    <message>
        <source>it was modified</source>
        <translation>elle a été modifiée</translation>
    </message>
    <message>
        <source>its status changed (permissions, links or name)</source>
        <translation>son état a changé (droits, liens ou nom)</translation>
    </message>
    <message>
        <source>left: its folder no longer exists</source>
        <translation>laissée&#xa0;: son dossier n&apos;existe plus</translation>
    </message>
    <message>
        <source>left: its folder is no longer the one the run wrote into</source>
        <translation>laissée&#xa0;: son dossier n&apos;est plus celui où l&apos;opération a écrit</translation>
    </message>
    <message>
        <source>left: it was moved or removed since</source>
        <translation>laissée&#xa0;: elle a été déplacée ou supprimée depuis</translation>
    </message>
    <message>
        <source>left: %1</source>
        <translation>laissée&#xa0;: %1</translation>
    </message>
    <message>
        <source>Remove the %1 copy this run made in %2?</source>
        <translation>Supprimer %1 copie créée par cette opération dans %2&#xa0;?</translation>
    </message>
    <message>
        <source>Remove the %1 copies this run made in %2?</source>
        <translation>Supprimer les %1 copies créées par cette opération dans %2&#xa0;?</translation>
    </message>
    <message>
        <source>%1 copy was removed.</source>
        <translation>%1 copie a été supprimée.</translation>
    </message>
    <message>
        <source>%1 copies were removed.</source>
        <translation>%1 copies ont été supprimées.</translation>
    </message>
    <message>
        <source>%1 copy was left:</source>
        <translation>%1 copie a été laissée&#xa0;:</translation>
    </message>
    <message>
        <source>%1 copies were left:</source>
        <translation>%1 copies ont été laissées&#xa0;:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>et %1 de plus.</translation>
    </message>
    <message>
        <source>kept: it replaced an earlier file</source>
        <translation>conservée&#xa0;: elle a remplacé un fichier antérieur</translation>
    </message>
</context>
<context>
    <name>plenvoy::MainWindow</name>
    <message>
        <source>Stop after the current file?</source>
        <translation>Arrêter après le fichier en cours&#xa0;?</translation>
    </message>
    <message>
        <source>Stop the run and close Plenvoy?</source>
        <translation>Interrompre l&apos;opération et fermer Plenvoy&#xa0;?</translation>
    </message>
    <message>
        <source>About Plenvoy</source>
        <translation>À propos de Plenvoy</translation>
    </message>
    <message>
        <source>Browse for the output folder</source>
        <translation>Choisir le dossier de destination</translation>
    </message>
    <message>
        <source>Files to copy</source>
        <translation>Fichiers à copier</translation>
    </message>
    <message>
        <source>Stamp settings</source>
        <translation>Réglages de l&apos;horodatage</translation>
    </message>
    <message>
        <source>Each file is copied into the output folder under its new name</source>
        <translation>Chaque fichier est copié dans le dossier de destination sous son nouveau nom</translation>
    </message>
    <message>
        <source>Progress of the run</source>
        <translation>Progression de l&apos;opération</translation>
    </message>
    <message>
        <source>Time-stamped copies of files</source>
        <translation>Copies horodatées de fichiers</translation>
    </message>
    <message>
        <source>Released under the MIT License.</source>
        <translation>Publié sous licence MIT.</translation>
    </message>
    <message>
        <source>Uses Qt %1 and libexiv2 %2.</source>
        <translation>Utilise Qt %1 et libexiv2 %2.</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>&amp;About Plenvoy</source>
        <translation>À &amp;propos de Plenvoy</translation>
    </message>
</context>
<context>
    <name>plenvoy::RunProgressBar</name>
    <message>
        <source>%1 of %2 files</source>
        <translation>%1 fichiers sur %2</translation>
    </message>
    <message>
        <source>this file: %1 of %2</source>
        <translation>ce fichier&#xa0;: %1 sur %2</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>reste %1</translation>
    </message>
</context>
<context>
    <name>plenvoy::StampSettingsDialog</name>
    <message>
        <source>Where copies go</source>
        <translation>Emplacement des copies</translation>
    </message>
    <message>
        <source>All directly in the output folder</source>
        <translation>Toutes directement dans le dossier de destination</translation>
    </message>
    <message>
        <source>In the folders they were added through</source>
        <translation>Dans les dossiers d&apos;où viennent les fichiers</translation>
    </message>
    <message>
        <source>In year and day folders (2026/2026-12-07)</source>
        <translation>Dans des dossiers par année et par jour (2026/2026-12-07)</translation>
    </message>
    <message>
        <source>Skip files copied before</source>
        <translation>Ignorer les fichiers déjà copiés</translation>
    </message>
    <message>
        <source>Own pattern:</source>
        <translation>Modèle personnalisé&#xa0;:</translation>
    </message>
    <message>
        <source>A stamp cannot hold &quot;/&quot; or a NUL character.</source>
        <translation>Un horodatage ne peut contenir ni «&#xa0;/&#xa0;» ni caractère NUL.</translation>
    </message>
    <message>
        <source>A stamp cannot hold a control character (a tab or a line break).</source>
        <translation>Un horodatage ne peut pas contenir de caractère de contrôle (tabulation ou saut de ligne).</translation>
    </message>
    <message>
        <source>A stamp cannot hold &quot;%1&quot;: names on some drives refuse \ : * ? &quot; &lt; &gt; |</source>
        <translation>Un horodatage ne peut pas contenir «&#xa0;%1&#xa0;»&#xa0;: certains lecteurs refusent \ : * ? &quot; &lt; &gt; | dans les noms.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a token: use %Y %y %m %d %e %H %I %M %S %p %b %B %a %A %j %V %G %u, or %% for &quot;%&quot;.</source>
        <translation>«&#xa0;%1&#xa0;» n’est pas un code&#xa0;: utilisez %Y %y %m %d %e %H %I %M %S %p %b %B %a %A %j %V %G %u, ou %% pour «&#xa0;%&#xa0;».</translation>
    </message>
    <message>
        <source>The stamp could take %1 bytes, more than 64.</source>
        <translation>L’horodatage pourrait occuper %1 octets, soit plus de 64.</translation>
    </message>
    <message>
        <source>The stamp would be empty.</source>
        <translation>L’horodatage serait vide.</translation>
    </message>
    <message>
        <source>Shift taken times by</source>
        <translation>Décaler les heures de prise de vue de</translation>
    </message>
    <message>
        <source> days</source>
        <translation> jours</translation>
    </message>
    <message>
        <source>Presets</source>
        <translation>Préréglages</translation>
    </message>
    <message>
        <source>Pr&amp;eset:</source>
        <translation>&amp;Préréglage&#xa0;:</translation>
    </message>
    <message>
        <source>Saved presets</source>
        <translation>Préréglages enregistrés</translation>
    </message>
    <message>
        <source>A&amp;pply</source>
        <translation>&amp;Appliquer</translation>
    </message>
    <message>
        <source>Apply the preset</source>
        <translation>Appliquer le préréglage</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>Delete the preset</source>
        <translation>Supprimer le préréglage</translation>
    </message>
    <message>
        <source>Preset &amp;name:</source>
        <translation>&amp;Nom&#xa0;:</translation>
    </message>
    <message>
        <source>Preset name</source>
        <translation>Nom du préréglage</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>Save the current setup as a preset</source>
        <translation>Enregistrer les réglages actuels comme préréglage</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Renommer</translation>
    </message>
    <message>
        <source>Rename the preset</source>
        <translation>Renommer le préréglage</translation>
    </message>
    <message>
        <source>A preset name holds at most %1 characters.</source>
        <translation>Un nom de préréglage compte au plus %1 caractères.</translation>
    </message>
    <message>
        <source>A preset name cannot hold &quot;/&quot; or &quot;\&quot;.</source>
        <translation>Un nom de préréglage ne peut contenir ni «&#xa0;/&#xa0;» ni «&#xa0;\&#xa0;».</translation>
    </message>
    <message>
        <source>A preset name cannot hold a control character (a tab or a line break).</source>
        <translation>Un nom de préréglage ne peut contenir aucun caractère de contrôle (tabulation ou saut de ligne).</translation>
    </message>
    <message>
        <source>The preset could not be saved: the settings file cannot be written.</source>
        <translation>Le préréglage n’a pas pu être enregistré&#xa0;: le fichier des réglages n’est pas accessible en écriture.</translation>
    </message>
    <message>
        <source>A preset named &quot;%1&quot; exists already.</source>
        <translation>Un préréglage nommé «&#xa0;%1&#xa0;» existe déjà.</translation>
    </message>
    <message>
        <source>The preset could not be renamed: the settings file cannot be written.</source>
        <translation>Le préréglage n’a pas pu être renommé&#xa0;: le fichier des réglages n’est pas accessible en écriture.</translation>
    </message>
    <message>
        <source>The preset could not be deleted: the settings file cannot be written.</source>
        <translation>Le préréglage n’a pas pu être supprimé&#xa0;: le fichier des réglages n’est pas accessible en écriture.</translation>
    </message>
    <message>
        <source>Replace the preset &quot;%1&quot;?</source>
        <translation>Remplacer le préréglage «&#xa0;%1&#xa0;»&#xa0;?</translation>
    </message>
    <message>
        <source>Delete the preset &quot;%1&quot;?</source>
        <translation>Supprimer le préréglage «&#xa0;%1&#xa0;»&#xa0;?</translation>
    </message>
</context>
</TS>
