<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context>
    <name>AppAboutDialog</name>
    <message>
        <location filename="../../src/app/AppAboutDialog.cpp" line="+12"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Version information</source>
        <translation>Informations de version</translation>
    </message>
</context>
<context>
    <name>BackUpFolderSelectDialog</name>
    <message>
        <location filename="../../src/maintenance/BackUpFolderSelectDialog.cpp" line="+23"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Select Folder to delete</source>
        <translation>Sélectionner le dossier à supprimer</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Select backup folder</source>
        <translation>Sélectionner le dossier de sauvegarde</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Select folder</source>
        <translation>Sélectionnez un dossier</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Select delete data</source>
        <translation>Sélectionner les données à supprimer</translation>
    </message>
</context>
<context>
    <name>BackupSettingDialog</name>
    <message>
        <location filename="../../src/maintenance/BackupCopyJob.cpp" line="+92"/>
        <location filename="../../src/maintenance/BackupSettingDialog.cpp" line="+208"/>
        <source>Unable to copy the file.</source>
        <translation>Impossible de copier le fichier.</translation>
    </message>
    <message>
        <location filename="../../src/maintenance/BackupFolderName.cpp" line="+52"/>
        <source>Please provide the folder name.</source>
        <translation>Veuillez indiquer le nom du dossier.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The folder name format is not valid.</source>
        <translation>Le format du nom de dossier n&apos;est pas valide.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Folder name should be less than 255 characters.</source>
        <translation>Le nom du dossier doit comporter moins de 255 caractères.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Chapter was not selected.</source>
        <translation>Aucun chapitre n&apos;a été sélectionné.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>There is not enough disk space or memory available.</source>
        <translation>L&apos;espace disque ou la mémoire disponible est insuffisant.</translation>
    </message>
    <message>
        <location filename="../../src/maintenance/BackupSettingDialog.cpp" line="-157"/>
        <source>Check All</source>
        <translation>Tout cocher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Uncheck All</source>
        <translation>Tout décocher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Folder name</source>
        <translation>Nom du dossier</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Free space</source>
        <translation>Espace libre</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Backup size</source>
        <translation>Taille de la sauvegarde</translation>
    </message>
    <message>
        <location line="+130"/>
        <source>The folder already exists at the selected destination. Would you like to overwrite?</source>
        <translation>Le dossier existe déjà à l&apos;emplacement choisi. Voulez-vous le remplacer ?</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Back up</source>
        <translation>Sauvegarder</translation>
    </message>
</context>
<context>
    <name>BackupTreeModel</name>
    <message>
        <location filename="../../src/maintenance/BackupTreeModel.cpp" line="+86"/>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <location line="+52"/>
        <source>Trip</source>
        <translation>Trajet</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Chapter</source>
        <translation>Chapitre</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Start time</source>
        <translation>Heure de début</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Event</source>
        <translation>Événement</translation>
    </message>
</context>
<context>
    <name>BoundedFileReader</name>
    <message>
        <location filename="../../src/platform/BoundedFileReader.cpp" line="+33"/>
        <location line="+3"/>
        <location line="+26"/>
        <source>cannot be opened: %1</source>
        <translation>ne peut pas être ouvert : %1</translation>
    </message>
    <message>
        <location line="-24"/>
        <source>not a regular file</source>
        <translation>n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>was replaced while it was opened</source>
        <translation>a été remplacé pendant son ouverture</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>a read runs past the end of the file</source>
        <translation>une lecture dépasse la fin du fichier</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>read failed: %1</source>
        <translation>échec de la lecture : %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>ended early: it was cut short or removed while it was read</source>
        <translation>se termine trop tôt : il a été tronqué ou supprimé pendant la lecture</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>larger than %1 bytes, far more than its format holds</source>
        <translation>plus de %1 octets, bien plus que ce que son format contient</translation>
    </message>
</context>
<context>
    <name>CameraSettingDialog</name>
    <message>
        <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="+65"/>
        <source>Camera Settings</source>
        <translation>Réglages de la caméra</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Unable to read the setup file.</source>
        <translation>Impossible de lire le fichier de réglages.</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>On</source>
        <translation>Activé</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../../src/maintenance/CameraSettingModel.cpp" line="+21"/>
        <source>Off</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Recording</source>
        <translation>Enregistrement</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Recording quality</source>
        <translation>Qualité d&apos;enregistrement</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Buzzer</source>
        <translation>Avertisseur sonore</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Actions</source>
        <translation>Actions</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Operation</source>
        <translation>Fonctionnement</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No SD card</source>
        <translation>Pas de carte SD</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+16"/>
        <source>Surveillance</source>
        <translation>Surveillance</translation>
    </message>
    <message>
        <location line="-14"/>
        <source>Event detection</source>
        <translation>Détection d&apos;événements</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+15"/>
        <source>Sensitivity (G)</source>
        <translation>Sensibilité (G)</translation>
    </message>
    <message>
        <location line="-13"/>
        <location line="+15"/>
        <source>Normal</source>
        <translation>Normale</translation>
    </message>
    <message>
        <location line="-13"/>
        <location line="+15"/>
        <location filename="../../src/maintenance/CameraSettingModel.cpp" line="-1"/>
        <source>High</source>
        <translation>Élevée</translation>
    </message>
    <message>
        <location line="-11"/>
        <source>Cross setting</source>
        <translation>Réglage transversal</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Angle</source>
        <translation>Angle</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Surveillance recording</source>
        <translation>Enregistrement de surveillance</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Start delay</source>
        <translation>Délai de démarrage</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Power mode</source>
        <translation>Mode d&apos;alimentation</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Quick wake-up time</source>
        <translation>Durée du réveil rapide</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Adventure mode</source>
        <translation>Mode aventure</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Memory allocation</source>
        <translation>Répartition de la mémoire</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Recording files</source>
        <translation>Fichiers d&apos;enregistrement</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Memory (GB)</source>
        <translation>Mémoire (Go)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Recording time (min)</source>
        <translation>Durée d&apos;enregistrement (min)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Reset the Wi-Fi password to the factory setting</source>
        <translation>Rétablir le mot de passe Wi-Fi d&apos;usine</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The camera&apos;s factory Wi-Fi password is not known to this program, so it cannot be reset from here.</source>
        <translation>Ce programme ne connaît pas le mot de passe Wi-Fi d&apos;usine de la caméra ; il ne peut donc pas le rétablir.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Reset all</source>
        <translation>Tout réinitialiser</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="+91"/>
        <source>This will overwrite the setup file. Are you sure?</source>
        <translation>Le fichier de réglages va être remplacé. Continuer ?</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The camera settings have been saved. Updates will be applied after inserting the SD card into the camera.</source>
        <translation>Les réglages de la caméra ont été enregistrés. Ils seront appliqués une fois la carte SD insérée dans la caméra.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Unable to overwrite the setup file.</source>
        <translation>Impossible de remplacer le fichier de réglages.</translation>
    </message>
    <message>
        <location filename="../../src/maintenance/CameraSettingModel.cpp" line="-6"/>
        <source>High quality mode</source>
        <translation>Mode haute qualité</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Standard mode</source>
        <translation>Mode standard</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Extended time mode</source>
        <translation>Mode longue durée</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Low</source>
        <translation>Faible</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Normal Wake-Up</source>
        <translation>Réveil normal</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quick Wake-up</source>
        <translation>Réveil rapide</translation>
    </message>
</context>
<context>
    <name>CaptureView</name>
    <message>
        <location filename="../../src/videotools/CaptureView.cpp" line="+28"/>
        <source>Insert data.</source>
        <translation>Insérer des données.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Acceleration</source>
        <translation>Accélération</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Coordinates</source>
        <translation>Coordonnées</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Time/Date</source>
        <translation>Heure/Date</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Speed</source>
        <translation>Vitesse</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Unable to save the image.</source>
        <translation>Impossible d&apos;enregistrer l&apos;image.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Saved</source>
        <translation>Enregistré</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>* Additional information cannot be added after cut screen.</source>
        <translation>* Aucune information ne peut être ajoutée après la découpe de l&apos;écran.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
</context>
<context>
    <name>CardDriveSelectDialog</name>
    <message>
        <location filename="../../src/app/CardDriveSelectDialog.cpp" line="+27"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Select card drive</source>
        <translation>Sélectionner le lecteur de carte</translation>
    </message>
</context>
<context>
    <name>CardOpener</name>
    <message>
        <location filename="../../src/app/CardOpener.cpp" line="+119"/>
        <location line="+20"/>
        <source>Unable to locate the file.</source>
        <translation>Impossible de trouver le fichier.</translation>
    </message>
    <message>
        <location line="-20"/>
        <source>No recordings were found in %1.</source>
        <translation>Aucun enregistrement n&apos;a été trouvé dans %1.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Unable to read the selected file.</source>
        <translation>Impossible de lire le fichier sélectionné.</translation>
    </message>
    <message>
        <location line="+62"/>
        <source>These files could not be read and were left out:</source>
        <translation>Ces fichiers n&apos;ont pas pu être lus et ont été ignorés :</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>These files could not be read; their chapters stay listed but may not play:</source>
        <translation>Ces fichiers n&apos;ont pas pu être lus ; leurs chapitres restent dans la liste mais peuvent ne pas être lus :</translation>
    </message>
    <message>
        <location line="+14"/>
        <location line="+4"/>
        <source>There is no recording.</source>
        <translation>Il n&apos;y a aucun enregistrement.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>No driving data was found in %1.</source>
        <translation>Aucune donnée de conduite n&apos;a été trouvée dans %1.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 has the file version &quot;%2&quot;, which this viewer cannot read.</source>
        <translation>%1 a la version de fichier &quot;%2&quot;, que cette visionneuse ne sait pas lire.</translation>
    </message>
</context>
<context>
    <name>CleanupDialog</name>
    <message>
        <location filename="../../src/maintenance/CleanupDialog.cpp" line="+38"/>
        <source>Check All</source>
        <translation>Tout cocher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Uncheck All</source>
        <translation>Tout décocher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Folder</source>
        <translation>Dossier</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Free space after deletion</source>
        <translation>Espace libre après suppression</translation>
    </message>
    <message>
        <location line="+71"/>
        <source>Chapter was not selected.</source>
        <translation>Aucun chapitre n&apos;a été sélectionné.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>This will delete the backup folder and all its contents. Are you sure?</source>
        <translation>Le dossier de sauvegarde et tout son contenu vont être supprimés. Êtes-vous sûr ?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The selected chapter(s) will be deleted. Are you sure?</source>
        <translation>Le ou les chapitres sélectionnés vont être supprimés. Êtes-vous sûr ?</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>A file in the backup folder is currently in use. Proceed with delete?</source>
        <translation>Un fichier du dossier de sauvegarde est en cours d&apos;utilisation. Poursuivre la suppression ?</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
</context>
<context>
    <name>CommonConst</name>
    <message>
        <location filename="../../src/recording/CommonConst.cpp" line="+48"/>
        <source>Recording always on</source>
        <translation>Enregistrement permanent</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Event recording</source>
        <translation>Enregistrement d&apos;événement</translation>
    </message>
</context>
<context>
    <name>CustomSliderCellMin</name>
    <message>
        <location filename="../../src/player/CustomSliderCellMin.cpp" line="+34"/>
        <source>Adjust brightness</source>
        <translation>Régler la luminosité</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Volume control</source>
        <translation>Réglage du volume</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Play back speed</source>
        <translation>Vitesse de lecture</translation>
    </message>
</context>
<context>
    <name>DeleteRun</name>
    <message>
        <location filename="../../src/maintenance/DeleteRun.cpp" line="+102"/>
        <source>The action can&apos;t be completed because the backup folder or a file in it is a link or lies outside the backup directory. Nothing outside the backup directory is deleted.</source>
        <translation>L&apos;opération ne peut pas aboutir, car le dossier de sauvegarde ou l&apos;un de ses fichiers est un lien ou se trouve en dehors du répertoire des sauvegardes. Rien n&apos;est supprimé en dehors du répertoire des sauvegardes.</translation>
    </message>
</context>
<context>
    <name>DialogInUseLock</name>
    <message>
        <location filename="../../src/app/DialogInUseLock.cpp" line="+136"/>
        <source>The selected file operation cannot start because its lock file cannot be made.</source>
        <translation>L&apos;opération choisie ne peut pas démarrer car son fichier de verrou ne peut pas être créé.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The selected file operation is currently in use by another instance of the application.</source>
        <translation>L&apos;opération choisie est en cours d&apos;utilisation dans une autre instance de l&apos;application.</translation>
    </message>
</context>
<context>
    <name>DrivingInfoView</name>
    <message>
        <location filename="../../src/graph/DrivingInfoView.cpp" line="+48"/>
        <source>Meter</source>
        <translation>Compteur</translation>
    </message>
</context>
<context>
    <name>FfmpegJob</name>
    <message>
        <location filename="../../src/videotools/FfmpegJob.cpp" line="+29"/>
        <source>ffmpeg could not be started: %1</source>
        <translation>ffmpeg n&apos;a pas pu être lancé : %1</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>The ffmpeg program was not found on the PATH.</source>
        <translation>Le programme ffmpeg est introuvable dans le PATH.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>No ffmpeg arguments.</source>
        <translation>Aucun argument pour ffmpeg.</translation>
    </message>
    <message>
        <location line="+135"/>
        <source>ffmpeg was cancelled.</source>
        <translation>ffmpeg a été annulé.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ffmpeg could not be started.</source>
        <translation>ffmpeg n&apos;a pas pu être lancé.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ffmpeg ended with exit code %1.</source>
        <translation>ffmpeg s&apos;est terminé avec le code de sortie %1.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ffmpeg crashed.</source>
        <translation>ffmpeg s&apos;est arrêté brutalement.</translation>
    </message>
</context>
<context>
    <name>GuardedRemover</name>
    <message>
        <location filename="../../src/maintenance/GuardedRemover.cpp" line="+32"/>
        <source>The backup directory %1 can&apos;t be used.</source>
        <translation>Le répertoire des sauvegardes %1 est inutilisable.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 is not a full path.</source>
        <translation>%1 n&apos;est pas un chemin complet.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 names no backup folder.</source>
        <translation>%1 ne désigne aucun dossier de sauvegarde.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 is a link to another place.</source>
        <translation>%1 est un lien vers un autre emplacement.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 does not exist.</source>
        <translation>%1 n&apos;existe pas.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 is not a folder.</source>
        <translation>%1 n&apos;est pas un dossier.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 is not a folder directly inside the backup directory %2.</source>
        <translation>%1 n&apos;est pas un dossier placé directement dans le répertoire des sauvegardes %2.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>%1 lies outside the backup folder %2.</source>
        <translation>%1 se trouve en dehors du dossier de sauvegarde %2.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 is a folder.</source>
        <translation>%1 est un dossier.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>%1 could not be removed completely.</source>
        <translation>%1 n&apos;a pas pu être entièrement supprimé.</translation>
    </message>
</context>
<context>
    <name>LineView</name>
    <message>
        <location filename="../../src/graph/LineView.cpp" line="+21"/>
        <source>Speed</source>
        <translation>Vitesse</translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <location filename="../../src/app/MainMenu.cpp" line="+13"/>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Save as</source>
        <translation>Enregistrer sous</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Full Screen Display</source>
        <translation>Plein écran</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Settings</source>
        <translation>&amp;Réglages</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Viewer Settings</source>
        <translation>Réglages de la visionneuse</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Camera Settings</source>
        <translation>Réglages de la caméra</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Backup Directory Settings</source>
        <translation>Dossier de sauvegarde</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Back up</source>
        <translation>Sau&amp;vegarde</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Back up</source>
        <translation>Sauvegarder</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Download Updates</source>
        <translation>Télécharger les mises à jour</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>About Orvalind</source>
        <translation>À propos d’Orvalind</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../../src/app/MainWindow.cpp" line="+154"/>
        <source>Open From</source>
        <translation>Ouvrir depuis</translation>
    </message>
    <message>
        <location line="+71"/>
        <source>Unable to locate the file.</source>
        <translation>Impossible de trouver le fichier.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The current video data could not be loaded. Please restart the application and try again. If still unsuccessful, please select another chapter for playback.</source>
        <translation>Les données vidéo actuelles n&apos;ont pas pu être chargées. Redémarrez l&apos;application et réessayez. En cas de nouvel échec, choisissez un autre chapitre à lire.</translation>
    </message>
    <message>
        <location filename="../../src/app/ItemPlayback.cpp" line="+33"/>
        <source>Unable to read the selected file.</source>
        <translation>Impossible de lire le fichier sélectionné.</translation>
    </message>
    <message>
        <location filename="../../src/app/MainWindow.cpp" line="-165"/>
        <source>No web browser could be started to open %1.</source>
        <translation>Aucun navigateur web n’a pu être lancé pour ouvrir %1.</translation>
    </message>
</context>
<context>
    <name>MaintenancePrompter</name>
    <message>
        <location filename="../../src/maintenance/MaintenanceMessageBoxes.cpp" line="+9"/>
        <location line="+22"/>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <location line="-13"/>
        <source>confirmation</source>
        <translation>confirmation</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+18"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="-16"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The action can&apos;t be completed because the folder or a file in it is open in another program. Please try again after closing the other application.</source>
        <translation>L&apos;opération ne peut pas aboutir, car le dossier ou l&apos;un de ses fichiers est ouvert dans un autre programme. Réessayez après avoir fermé l&apos;autre application.</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+6"/>
        <source>ignore</source>
        <translation>ignorer</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Retry</source>
        <translation>Réessayer</translation>
    </message>
</context>
<context>
    <name>MapTitleView</name>
    <message>
        <location filename="../../src/map/MapTitleView.cpp" line="+11"/>
        <source>Map</source>
        <translation>Carte</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+1"/>
        <source>Show map</source>
        <translation>Afficher la carte</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Hide</source>
        <translation>Masquer</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Hide map</source>
        <translation>Masquer la carte</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Window</source>
        <translation>Fenêtre</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Show map in a window</source>
        <translation>Afficher la carte dans une fenêtre</translation>
    </message>
</context>
<context>
    <name>MenuCommands</name>
    <message>
        <location filename="../../src/app/MenuCommands.cpp" line="+76"/>
        <source>Select backup folder</source>
        <translation>Sélectionner le dossier de sauvegarde</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Select Folder to delete</source>
        <translation>Sélectionner le dossier à supprimer</translation>
    </message>
    <message>
        <location line="-3"/>
        <source>Unable to locate the file.</source>
        <translation>Impossible de trouver le fichier.</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Select Back Up Directory</source>
        <translation>Sélectionner le répertoire de sauvegarde</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Unable to locate the selected drive.</source>
        <translation>Impossible de trouver le lecteur sélectionné.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Selection of Card Drive</source>
        <translation>Sélection du lecteur de carte</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Unable to read the setup file.</source>
        <translation>Impossible de lire le fichier de configuration.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Camera Settings</source>
        <translation>Réglages de la caméra</translation>
    </message>
</context>
<context>
    <name>MessageBoxPrompter</name>
    <message>
        <location filename="../../src/maintenance/MessageBoxPrompter.cpp" line="+8"/>
        <location line="+10"/>
        <source>confirmation</source>
        <translation>confirmation</translation>
    </message>
    <message>
        <location line="-9"/>
        <location line="+11"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="-10"/>
        <location line="+9"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+7"/>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Information</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>MovieInput</name>
    <message>
        <location filename="../../src/platform/MovieInput.cpp" line="+97"/>
        <source>reading was stopped</source>
        <translation>la lecture a été arrêtée</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>reading took too long and was stopped</source>
        <translation>la lecture a pris trop de temps et a été arrêtée</translation>
    </message>
</context>
<context>
    <name>MoviePlayerView</name>
    <message>
        <location filename="../../src/player/MoviePlayerView.cpp" line="+171"/>
        <source>Now Loading</source>
        <translation>Chargement…</translation>
    </message>
    <message>
        <location filename="../../src/player/PlayerPanelRules.cpp" line="+18"/>
        <source>×0.5 time speed</source>
        <translation>Vitesse ×0,5</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>standard</source>
        <translation>standard</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>×2 times speed</source>
        <translation>Vitesse ×2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>×3 times speed</source>
        <translation>Vitesse ×3</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>×5 times speed</source>
        <translation>Vitesse ×5</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>×10 times speed</source>
        <translation>Vitesse ×10</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>±00.0</source>
        <translation>±00.0</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>Previous trip</source>
        <translation>Trajet précédent</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Previous adventure</source>
        <translation>Aventure précédente</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Previous event</source>
        <translation>Événement précédent</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Next Trip</source>
        <translation>Trajet suivant</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Next adventure</source>
        <translation>Aventure suivante</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Next event</source>
        <translation>Événement suivant</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>momentary pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Play back</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Stop</source>
        <translation>Arrêt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Frame playback</source>
        <translation>Image précédente</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Frame advance</source>
        <translation>Image suivante</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Previous chapter</source>
        <translation>Chapitre précédent</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Next chapter</source>
        <translation>Chapitre suivant</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Setting</source>
        <translation>Réglages</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Trim Tool</source>
        <translation>Outil de découpe</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Screen Capture</source>
        <translation>Capture d&apos;écran</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stopwatch</source>
        <translation>Chronomètre</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>File output for Google Earth</source>
        <translation>Fichier pour Google Earth</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Full Screen Display</source>
        <translation>Plein écran</translation>
    </message>
</context>
<context>
    <name>MovieStillGrabber</name>
    <message>
        <location filename="../../src/platform/MovieStillGrabber.cpp" line="+157"/>
        <source>not a movie that can be read</source>
        <translation>n&apos;est pas une vidéo lisible</translation>
    </message>
</context>
<context>
    <name>Mp4Reader</name>
    <message>
        <location filename="../../src/recording/Mp4Reader.cpp" line="+55"/>
        <source>its driving data claim more than %1 bytes</source>
        <translation>ses données de conduite annoncent plus de %1 octets</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>holds more than %1 boxes</source>
        <translation>contient plus de %1 boîtes</translation>
    </message>
</context>
<context>
    <name>Mp4RecordingReader</name>
    <message>
        <location filename="../../src/recording/Mp4RecordingReader.cpp" line="+76"/>
        <source>holds more driving data than its movie&apos;s length allows</source>
        <translation>contient plus de données de conduite que la durée de sa vidéo ne le permet</translation>
    </message>
    <message>
        <location line="+129"/>
        <source>holds no driving data</source>
        <translation>ne contient aucune donnée de conduite</translation>
    </message>
</context>
<context>
    <name>NewWindowView</name>
    <message>
        <location filename="../../src/app/NewWindowView.cpp" line="+30"/>
        <source>Map</source>
        <translation>Carte</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>PlayerAdjustments</name>
    <message>
        <location filename="../../src/player/PlayerAdjustments.cpp" line="+39"/>
        <location line="+48"/>
        <source>Standard brightness</source>
        <translation>Luminosité standard</translation>
    </message>
    <message>
        <location line="-47"/>
        <location line="+48"/>
        <location line="+52"/>
        <source>Mute</source>
        <translation>Couper le son</translation>
    </message>
    <message>
        <location line="-52"/>
        <location line="+52"/>
        <source>take off mute</source>
        <translation>Rétablir le son</translation>
    </message>
</context>
<context>
    <name>PlayerControls</name>
    <message>
        <location filename="../../src/player/PlayerControls.cpp" line="+355"/>
        <location line="+119"/>
        <source>Close full screen</source>
        <translation>Quitter le plein écran</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Full Screen Display</source>
        <translation>Plein écran</translation>
    </message>
</context>
<context>
    <name>PlayerView</name>
    <message>
        <location filename="../../src/player/PlayerView.cpp" line="+33"/>
        <source>● Trim Mode</source>
        <translation>● Mode découpe</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../src/app/WindowCoordinators.cpp" line="+49"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+210"/>
        <source>The Stopwatch measurement result will be deleted. Proceed?</source>
        <translation>Le résultat de mesure du chronomètre sera supprimé. Continuer ?</translation>
    </message>
    <message>
        <location filename="../../src/app/GoogleEarthExportHostImpl.cpp" line="+66"/>
        <source>Google Earth files (*.kmz)</source>
        <translation>Fichiers Google Earth (*.kmz)</translation>
    </message>
</context>
<context>
    <name>QuitConfirmation</name>
    <message>
        <location filename="../../src/app/QuitConfirmation.cpp" line="+14"/>
        <source>This will close %1. Proceed?</source>
        <translation>%1 va se fermer. Continuer ?</translation>
    </message>
</context>
<context>
    <name>StopWatchView</name>
    <message>
        <location filename="../../src/videotools/StopWatchView.cpp" line="+51"/>
        <source>Total</source>
        <translation>Total</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+131"/>
        <source>START/STOP</source>
        <translation>DÉPART/ARRÊT</translation>
    </message>
    <message>
        <location line="-130"/>
        <location line="+130"/>
        <source>LAP/RESET</source>
        <translation>TOUR/RÉINIT.</translation>
    </message>
    <message>
        <location line="-129"/>
        <location line="+129"/>
        <source>PREVIOUS LAP</source>
        <translation>TOUR PRÉCÉDENT</translation>
    </message>
    <message>
        <location line="-77"/>
        <source>Stopwatch</source>
        <translation>Chronomètre</translation>
    </message>
</context>
<context>
    <name>SubtitleWriter</name>
    <message>
        <location filename="../../src/videotools/SubtitleWriter.cpp" line="+41"/>
        <source>time/date</source>
        <translation>date/heure</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>speed</source>
        <translation>vitesse</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>acceleration</source>
        <translation>accélération</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>latitude</source>
        <translation>latitude</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>longitude</source>
        <translation>longitude</translation>
    </message>
</context>
<context>
    <name>TaskProgressDialog</name>
    <message>
        <location filename="../../src/app/TaskProgressDialog.cpp" line="+41"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Backing up files</source>
        <translation>Sauvegarde des fichiers</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Delete file</source>
        <translation>Suppression des fichiers</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Trimming video file.</source>
        <translation>Découpe de la vidéo.</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>elapsed time：</source>
        <translation>temps écoulé：</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Save completed.</source>
        <translation>Enregistrement terminé.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Backup cancelled.</source>
        <translation>Sauvegarde annulée.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Delete completed.</source>
        <translation>Suppression terminée.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Delete cancelled.</source>
        <translation>Suppression annulée.</translation>
    </message>
</context>
<context>
    <name>ToolDialogView</name>
    <message>
        <location filename="../../src/videotools/ToolDialogView.cpp" line="+69"/>
        <source>Trim Tool</source>
        <translation>Outil de découpe</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+12"/>
        <source>Insert data.</source>
        <translation>Insérer des données.</translation>
    </message>
    <message>
        <location line="-11"/>
        <source>Warning: Adding data to video will increase processing time.</source>
        <translation>Avertissement : l&apos;ajout de données à la vidéo allonge la durée du traitement.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Back</source>
        <translation>Retour</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Unable to save because the selected time range is less than 2 seconds. Please increase the selected time range for trim operation.</source>
        <translation>Enregistrement impossible : la plage sélectionnée dure moins de 2 secondes. Veuillez allonger la plage sélectionnée pour la découpe.</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+6"/>
        <source>Acceleration</source>
        <translation>Accélération</translation>
    </message>
    <message>
        <location line="-6"/>
        <location line="+7"/>
        <source>Coordinates</source>
        <translation>Coordonnées</translation>
    </message>
    <message>
        <location line="-7"/>
        <source>Hour</source>
        <translation>Heure</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Minutes</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>It will take more than %1 to complete video trimming. Would you like to continue?</source>
        <translation>La découpe de la vidéo prendra plus de %1. Voulez-vous continuer ?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>There is not enough disk space or memory available.</source>
        <translation>L&apos;espace disque ou la mémoire disponible est insuffisant.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>* Additional information cannot be added after cut screen.</source>
        <translation>* Aucune information ne peut être ajoutée après la découpe de l&apos;écran.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Capture Image</source>
        <translation>Capturer l&apos;image</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Time/Date</source>
        <translation>Heure/Date</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Speed</source>
        <translation>Vitesse</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cut was unsuccessful.</source>
        <translation>La découpe a échoué.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Unable to save the image.</source>
        <translation>Impossible d&apos;enregistrer l&apos;image.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Saved</source>
        <translation>Enregistré</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>confirmation</source>
        <translation>confirmation</translation>
    </message>
</context>
<context>
    <name>ToolWindows</name>
    <message>
        <location filename="../../src/app/ToolWindows.cpp" line="+121"/>
        <source>Trim Tool</source>
        <translation>Outil de découpe</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Capture Image</source>
        <translation>Capture d&apos;image</translation>
    </message>
    <message>
        <location line="+67"/>
        <source>Cut was unsuccessful.</source>
        <translation>La découpe a échoué.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The trim tool operation was cancelled.</source>
        <translation>L&apos;opération de découpe a été annulée.</translation>
    </message>
</context>
<context>
    <name>TrimView</name>
    <message>
        <location filename="../../src/videotools/TrimDialogs.cpp" line="+21"/>
        <location line="+7"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+23"/>
        <location filename="../../src/videotools/TrimView.cpp" line="+40"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="-11"/>
        <source>extension</source>
        <translation>extension</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+18"/>
        <source>Trimming video file.</source>
        <translation>Découpe de la vidéo.</translation>
    </message>
    <message>
        <location filename="../../src/videotools/TrimView.cpp" line="-12"/>
        <source>Trim Tool</source>
        <translation>Outil de découpe</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Insert data.</source>
        <translation>Insérer des données.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Warning: Adding data to video will increase processing time.</source>
        <translation>Avertissement : l&apos;ajout de données à la vidéo allonge la durée du traitement.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Back</source>
        <translation>Retour</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Unable to save because the selected time range is less than 2 seconds. Please increase the selected time range for trim operation.</source>
        <translation>Enregistrement impossible : la plage sélectionnée dure moins de 2 secondes. Veuillez allonger la plage sélectionnée pour la découpe.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Acceleration</source>
        <translation>Accélération</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Coordinates</source>
        <translation>Coordonnées</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Hour</source>
        <translation>Heure</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Minutes</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>It will take more than %1 to complete video trimming. Would you like to continue?</source>
        <translation>La découpe de la vidéo prendra plus de %1. Voulez-vous continuer ?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>There is not enough disk space or memory available.</source>
        <translation>L&apos;espace disque ou la mémoire disponible est insuffisant.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>* Additional information cannot be added after cut screen.</source>
        <translation>* Aucune information ne peut être ajoutée après la découpe de l&apos;écran.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Time/Date</source>
        <translation>Heure/Date</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Speed</source>
        <translation>Vitesse</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cut was unsuccessful.</source>
        <translation>La découpe a échoué.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Saved</source>
        <translation>Enregistré</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>confirmation</source>
        <translation>confirmation</translation>
    </message>
</context>
<context>
    <name>TrimWorker</name>
    <message>
        <location filename="../../src/videotools/TrimWorker.cpp" line="+161"/>
        <source>The clip holds no picture.</source>
        <translation>Le clip ne contient aucune image.</translation>
    </message>
    <message>
        <location line="+20"/>
        <location line="+9"/>
        <source>Cannot create the work folder %1.</source>
        <translation>Impossible de créer le dossier de travail %1.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>The selection lies outside the recordings.</source>
        <translation>La sélection se trouve en dehors des enregistrements.</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>No recording of the selection has driving data.</source>
        <translation>Aucun enregistrement de la sélection ne contient de données de conduite.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>The recording %1 is missing.</source>
        <translation>L&apos;enregistrement %1 est introuvable.</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Cannot move %1 in the work folder.</source>
        <translation>Impossible de déplacer %1 dans le dossier de travail.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Cannot write the list of cuts in %1.</source>
        <translation>Impossible d&apos;écrire la liste des découpes dans %1.</translation>
    </message>
    <message>
        <location line="-28"/>
        <location line="+64"/>
        <source>The selection gives no length.</source>
        <translation>La sélection n&apos;a aucune durée.</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Cannot replace %1.</source>
        <translation>Impossible de remplacer %1.</translation>
    </message>
</context>
<context>
    <name>UpdateCheck</name>
    <message>
        <location filename="../../src/app/UpdateCheck.cpp" line="+75"/>
        <source>announcement</source>
        <translation>Annonce</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The latest version of %1 is available for download at the URL listed in the owner&apos;s manual.</source>
        <translation>La dernière version de %1 peut être téléchargée à l&apos;adresse indiquée dans le manuel d&apos;utilisation.</translation>
    </message>
</context>
<context>
    <name>VideoListModel</name>
    <message>
        <location filename="../../src/app/VideoListModel.cpp" line="+274"/>
        <source>Sensing time/date</source>
        <translation>Détecté le</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Recording time/date</source>
        <translation>Enregistré le</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Manual</source>
        <translation>Manuel</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
</context>
<context>
    <name>VideoListView</name>
    <message>
        <location filename="../../src/app/VideoListView.cpp" line="+37"/>
        <source>Trip</source>
        <translation>Trajet</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>List from Engine ON till OFF</source>
        <translation>Liste du démarrage à l&apos;arrêt du moteur</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Chapter</source>
        <translation>Chapitre</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Break down list of selected trip</source>
        <translation>Détail du trajet sélectionné</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Event</source>
        <translation>Événement</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Event list at the time of sensing shock</source>
        <translation>Liste des événements au moment de la détection d&apos;un choc</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Surveillance</source>
        <translation>Surveillance</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Surveillance list at the time of sensing shock</source>
        <translation>Liste de surveillance au moment de la détection d&apos;un choc</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Adventure</source>
        <translation>Aventure</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>List from Adventure ON till OFF</source>
        <translation>Liste de l&apos;activation à la désactivation du mode aventure</translation>
    </message>
</context>
<context>
    <name>VideoTypeSelectDialog</name>
    <message>
        <location filename="../../src/app/VideoTypeSelectDialog.cpp" line="+25"/>
        <source>Select File</source>
        <translation>Sélectionner un fichier</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Movies (*.mp4)</source>
        <translation>Vidéos (*.mp4)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Card drive</source>
        <translation>Lecteur de &amp;carte</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Backup folder</source>
        <translation>Dossier de &amp;sauvegarde</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;File on this computer</source>
        <translation>&amp;Fichier sur cet ordinateur</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Unable to locate the selected drive.</source>
        <translation>Impossible de trouver le lecteur sélectionné.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Selection of Card Drive</source>
        <translation>Sélection du lecteur de carte</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>There is no backup folder.</source>
        <translation>Il n&apos;y a aucun dossier de sauvegarde.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Selection of backup folder</source>
        <translation>Sélection du dossier de sauvegarde</translation>
    </message>
</context>
<context>
    <name>ViewerDialogs</name>
    <message>
        <location filename="../../src/app/ViewerDialogs.cpp" line="+38"/>
        <location line="+16"/>
        <source>Viewer Settings</source>
        <translation>Réglages de la visionneuse</translation>
    </message>
</context>
<context>
    <name>ViewerSettingDialog</name>
    <message>
        <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="+42"/>
        <source>Viewer Settings</source>
        <translation>Réglages de la visionneuse</translation>
    </message>
    <message>
        <location line="+11"/>
        <location line="+1"/>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Date and time</source>
        <translation>Date et heure</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Date format</source>
        <translation>Format de date</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Time zone</source>
        <translation>Fuseau horaire</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Summer time</source>
        <translation>Heure d&apos;été</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>On</source>
        <translation>Activé</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Off</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Speed</source>
        <translation>Vitesse</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Speed unit</source>
        <translation>Unité de vitesse</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>km/h</source>
        <translation>km/h</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>mph</source>
        <translation>mph</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>New settings take effect when the viewer starts again.</source>
        <translation>Les nouveaux réglages prennent effet au prochain démarrage de la visionneuse.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>English</source>
        <translation>Anglais</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>French</source>
        <translation>Français</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Spanish</source>
        <translation>Espagnol</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>NST-Newfoundland</source>
        <translation>NST-Terre-Neuve</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>AST-Atlantic</source>
        <translation>AST-Atlantique</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>EST-Eastern</source>
        <translation>EST-Est</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CST-Central</source>
        <translation>CST-Centre</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>MST-Mountain</source>
        <translation>MST-Rocheuses</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>PST-Pacific</source>
        <translation>PST-Pacifique</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>AKST-Alaska</source>
        <translation>AKST-Alaska</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>HAST-Hawaii</source>
        <translation>HAST-Hawaï</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Settings will be reflected after restarting the application. Would you like to restart now?</source>
        <translation>Les réglages seront appliqués au redémarrage de l&apos;application. Redémarrer maintenant ?</translation>
    </message>
</context>
<context>
    <name>WriteDestination</name>
    <message>
        <location filename="../../src/card/WriteDestination.cpp" line="+112"/>
        <source>Files cannot be saved inside the opened card or backup folder. Please choose another folder.</source>
        <translation>Impossible d&apos;enregistrer des fichiers dans la carte ou le dossier de sauvegarde ouvert. Veuillez choisir un autre dossier.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The selected folder cannot be written to. Please choose another folder.</source>
        <translation>Impossible d&apos;écrire dans le dossier sélectionné. Veuillez choisir un autre dossier.</translation>
    </message>
</context>
</TS>
