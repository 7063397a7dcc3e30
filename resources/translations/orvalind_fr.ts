<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
  <context>
    <name>AppAboutDialog</name>
    <message>
      <location filename="../../src/app/AppAboutDialog.cpp" line="12" />
      <source>OK</source>
      <translation>OK</translation>
    </message>
    <message>
      <location filename="../../src/app/AppAboutDialog.cpp" line="37" />
      <source>Version information</source>
      <translation>Informations de version</translation>
    </message>
  </context>
  <context>
    <name>CameraSettingDialog</name>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="65" />
      <source>Camera Settings</source>
      <translation>Réglages de la caméra</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="77" />
      <source>Unable to read the setup file.</source>
      <translation>Impossible de lire le fichier de réglages.</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="119" />
      <source>On</source>
      <translation>Activé</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="120" />
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="21" />
      <source>Off</source>
      <translation>Désactivé</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="144" />
      <source>Recording</source>
      <translation>Enregistrement</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="145" />
      <source>Recording quality</source>
      <translation>Qualité d'enregistrement</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="147" />
      <source>Buzzer</source>
      <translation>Avertisseur sonore</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="156" />
      <source>Actions</source>
      <translation>Actions</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="157" />
      <source>Operation</source>
      <translation>Fonctionnement</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="158" />
      <source>No SD card</source>
      <translation>Pas de carte SD</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="159" />
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="175" />
      <source>Surveillance</source>
      <translation>Surveillance</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="161" />
      <source>Event detection</source>
      <translation>Détection d'événements</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="162" />
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="177" />
      <source>Sensitivity (G)</source>
      <translation>Sensibilité (G)</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="164" />
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="179" />
      <source>Normal</source>
      <translation>Normale</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="166" />
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="181" />
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="20" />
      <source>High</source>
      <translation>Élevée</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="170" />
      <source>Cross setting</source>
      <translation>Réglage transversal</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="173" />
      <source>Angle</source>
      <translation>Angle</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="176" />
      <source>Surveillance recording</source>
      <translation>Enregistrement de surveillance</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="185" />
      <source>Start delay</source>
      <translation>Délai de démarrage</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="186" />
      <source>Power mode</source>
      <translation>Mode d'alimentation</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="191" />
      <source>Quick wake-up time</source>
      <translation>Durée du réveil rapide</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="194" />
      <source>Adventure mode</source>
      <translation>Mode aventure</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="196" />
      <source>Memory allocation</source>
      <translation>Répartition de la mémoire</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="200" />
      <source>Recording files</source>
      <translation>Fichiers d'enregistrement</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="202" />
      <source>Memory (GB)</source>
      <translation>Mémoire (Go)</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="204" />
      <source>Recording time (min)</source>
      <translation>Durée d'enregistrement (min)</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="207" />
      <source>Reset the Wi-Fi password to the factory setting</source>
      <translation>Rétablir le mot de passe Wi-Fi d'usine</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="213" />
      <source>The camera's factory Wi-Fi password is not known to this program, so it cannot be reset from here.</source>
      <translation>Ce programme ne connaît pas le mot de passe Wi-Fi d'usine de la caméra ; il ne peut donc pas le rétablir.</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="218" />
      <source>Reset all</source>
      <translation>Tout réinitialiser</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="219" />
      <source>OK</source>
      <translation>OK</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="220" />
      <source>Cancel</source>
      <translation>Annuler</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="311" />
      <source>This will overwrite the setup file. Are you sure?</source>
      <translation>Le fichier de réglages va être remplacé. Continuer ?</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="318" />
      <source>The camera settings have been saved. Updates will be applied after inserting the SD card into the camera.</source>
      <translation>Les réglages de la caméra ont été enregistrés. Ils seront appliqués une fois la carte SD insérée dans la caméra.</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="323" />
      <source>Unable to overwrite the setup file.</source>
      <translation>Impossible de remplacer le fichier de réglages.</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="14" />
      <source>High quality mode</source>
      <translation>Mode haute qualité</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="15" />
      <source>Standard mode</source>
      <translation>Mode standard</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="16" />
      <source>Extended time mode</source>
      <translation>Mode longue durée</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="19" />
      <source>Low</source>
      <translation>Faible</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="24" />
      <source>Normal Wake-Up</source>
      <translation>Réveil normal</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="25" />
      <source>Quick Wake-up</source>
      <translation>Réveil rapide</translation>
    </message>
  </context>
  <context>
    <name>CommonConst</name>
    <message>
      <location filename="../../src/recording/CommonConst.cpp" line="47" />
      <source>Recording always on</source>
      <translation>Enregistrement permanent</translation>
    </message>
    <message>
      <location filename="../../src/recording/CommonConst.cpp" line="53" />
      <source>Event recording</source>
      <translation>Enregistrement d'événement</translation>
    </message>
  </context>
  <context>
    <name>DialogInUseLock</name>
    <message>
      <location filename="../../src/app/DialogInUseLock.cpp" line="104" />
      <source>The selected file operation is currently in use by another instance of the application.</source>
      <translation>L'opération choisie est en cours d'utilisation dans une autre instance de l'application.</translation>
    </message>
  </context>
  <context>
    <name>MainMenu</name>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="12" />
      <source>&amp;File</source>
      <translation>&amp;Fichier</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="13" />
      <source>Open</source>
      <translation>Ouvrir</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="14" />
      <source>Save as</source>
      <translation>Enregistrer sous</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="16" />
      <source>&amp;Quit</source>
      <translation>&amp;Quitter</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="18" />
      <source>&amp;View</source>
      <translation>&amp;Affichage</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="19" />
      <source>Full Screen Display</source>
      <translation>Plein écran</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="23" />
      <source>&amp;Settings</source>
      <translation>&amp;Réglages</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="24" />
      <source>Viewer Settings</source>
      <translation>Réglages de la visionneuse</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="25" />
      <source>Camera Settings</source>
      <translation>Réglages de la caméra</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="26" />
      <source>Backup Directory Settings</source>
      <translation>Dossier de sauvegarde</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="28" />
      <source>&amp;Back up</source>
      <translation>Sau&amp;vegarde</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="29" />
      <source>Back up</source>
      <translation>Sauvegarder</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="30" />
      <source>Delete</source>
      <translation>Supprimer</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="32" />
      <source>&amp;Help</source>
      <translation>Ai&amp;de</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="33" />
      <source>Download Updates</source>
      <translation>Télécharger les mises à jour</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="35" />
      <source>About Orvalind</source>
      <translation>À propos d’Orvalind</translation>
    </message>
  </context>
  <context>
    <name>MainWindow</name>
    <message>
      <location filename="../../src/app/MainWindow.cpp" line="150" />
      <location filename="../../src/app/MainWindow.cpp" line="321" />
      <source>Viewer Settings</source>
      <translation>Réglages de la visionneuse</translation>
    </message>
  </context>
  <context>
    <name>MapTitleView</name>
    <message>
      <location filename="../../src/map/MapTitleView.cpp" line="11" />
      <source>Map</source>
      <translation>Carte</translation>
    </message>
    <message>
      <location filename="../../src/map/MapTitleView.cpp" line="13" />
      <location filename="../../src/map/MapTitleView.cpp" line="14" />
      <source>Show map</source>
      <translation>Afficher la carte</translation>
    </message>
    <message>
      <location filename="../../src/map/MapTitleView.cpp" line="16" />
      <source>Hide</source>
      <translation>Masquer</translation>
    </message>
    <message>
      <location filename="../../src/map/MapTitleView.cpp" line="17" />
      <source>Hide map</source>
      <translation>Masquer la carte</translation>
    </message>
    <message>
      <location filename="../../src/map/MapTitleView.cpp" line="19" />
      <source>Window</source>
      <translation>Fenêtre</translation>
    </message>
    <message>
      <location filename="../../src/map/MapTitleView.cpp" line="20" />
      <source>Show map in a window</source>
      <translation>Afficher la carte dans une fenêtre</translation>
    </message>
  </context>
  <context>
    <name>MessageBoxPrompter</name>
    <message>
      <location filename="../../src/maintenance/MessageBoxPrompter.cpp" line="8" />
      <source>confirmation</source>
      <translation>confirmation</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/MessageBoxPrompter.cpp" line="9" />
      <source>OK</source>
      <translation>OK</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/MessageBoxPrompter.cpp" line="10" />
      <source>Cancel</source>
      <translation>Annuler</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/MessageBoxPrompter.cpp" line="18" />
      <source>Warning</source>
      <translation>Avertissement</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/MessageBoxPrompter.cpp" line="24" />
      <source>Information</source>
      <translation>Information</translation>
    </message>
  </context>
  <context>
    <name>MoviePlayerView</name>
    <message>
      <location filename="../../src/player/MoviePlayerView.cpp" line="255" />
      <source>Now Loading</source>
      <translation>Chargement…</translation>
    </message>
  </context>
  <context>
    <name>PlayerView</name>
    <message>
      <location filename="../../src/player/PlayerView.cpp" line="32" />
      <source>● Trim Mode</source>
      <translation>● Mode découpe</translation>
    </message>
  </context>
  <context>
    <name>QuitConfirmation</name>
    <message>
      <location filename="../../src/app/QuitConfirmation.cpp" line="14" />
      <source>This will close %1. Proceed?</source>
      <translation>%1 va se fermer. Continuer ?</translation>
    </message>
  </context>
  <context>
    <name>TaskProgressDialog</name>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="41" />
      <source>Cancel</source>
      <translation>Annuler</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="66" />
      <source>Backing up files</source>
      <translation>Sauvegarde des fichiers</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="69" />
      <source>Delete file</source>
      <translation>Suppression des fichiers</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="72" />
      <source>Trimming video file.</source>
      <translation>Découpe de la vidéo.</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="110" />
      <source>elapsed time：</source>
      <translation>temps écoulé：</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="130" />
      <source>Information</source>
      <translation>Information</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="140" />
      <source>Save completed.</source>
      <translation>Enregistrement terminé.</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="145" />
      <source>Backup cancelled.</source>
      <translation>Sauvegarde annulée.</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="150" />
      <source>Delete completed.</source>
      <translation>Suppression terminée.</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="155" />
      <source>Delete cancelled.</source>
      <translation>Suppression annulée.</translation>
    </message>
  </context>
  <context>
    <name>UpdateCheck</name>
    <message>
      <location filename="../../src/app/UpdateCheck.cpp" line="74" />
      <source>The latest version of %1 is available for download at the URL listed in the owner's manual.</source>
      <translation>La dernière version de %1 peut être téléchargée à l'adresse indiquée dans le manuel d'utilisation.</translation>
    </message>
  </context>
  <context>
    <name>ViewerSettingDialog</name>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="42" />
      <source>Viewer Settings</source>
      <translation>Réglages de la visionneuse</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="53" />
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="54" />
      <source>Language</source>
      <translation>Langue</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="55" />
      <source>Date and time</source>
      <translation>Date et heure</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="56" />
      <source>Date format</source>
      <translation>Format de date</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="57" />
      <source>Time zone</source>
      <translation>Fuseau horaire</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="58" />
      <source>Summer time</source>
      <translation>Heure d'été</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="58" />
      <source>On</source>
      <translation>Activé</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="58" />
      <source>Off</source>
      <translation>Désactivé</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="59" />
      <source>Speed</source>
      <translation>Vitesse</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="60" />
      <source>Speed unit</source>
      <translation>Unité de vitesse</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="60" />
      <source>km/h</source>
      <translation>km/h</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="60" />
      <source>mph</source>
      <translation>mph</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="61" />
      <source>New settings take effect when the viewer starts again.</source>
      <translation>Les nouveaux réglages prennent effet au prochain démarrage de la visionneuse.</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="68" />
      <source>OK</source>
      <translation>OK</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="69" />
      <source>Cancel</source>
      <translation>Annuler</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="81" />
      <source>English</source>
      <translation>Anglais</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="81" />
      <source>French</source>
      <translation>Français</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="81" />
      <source>Spanish</source>
      <translation>Espagnol</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="87" />
      <source>NST-Newfoundland</source>
      <translation>NST-Terre-Neuve</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="87" />
      <source>AST-Atlantic</source>
      <translation>AST-Atlantique</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="87" />
      <source>EST-Eastern</source>
      <translation>EST-Est</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="88" />
      <source>CST-Central</source>
      <translation>CST-Centre</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="88" />
      <source>MST-Mountain</source>
      <translation>MST-Rocheuses</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="88" />
      <source>PST-Pacific</source>
      <translation>PST-Pacifique</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="88" />
      <source>AKST-Alaska</source>
      <translation>AKST-Alaska</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="89" />
      <source>HAST-Hawaii</source>
      <translation>HAST-Hawaï</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="117" />
      <source>Settings will be reflected after restarting the application. Would you like to restart now?</source>
      <translation>Les réglages seront appliqués au redémarrage de l'application. Redémarrer maintenant ?</translation>
    </message>
  </context>
  <context>
    <name>MenuCommands</name>
    <message>
      <source>Select backup folder</source>
      <translation>Sélectionner le dossier de sauvegarde</translation>
    </message>
    <message>
      <source>Select Folder to delete</source>
      <translation>Sélectionner le dossier à supprimer</translation>
    </message>
    <message>
      <source>Unable to locate the file.</source>
      <translation>Impossible de trouver le fichier.</translation>
    </message>
    <message>
      <source>Select Back Up Directory</source>
      <translation>Sélectionner le répertoire de sauvegarde</translation>
    </message>
    <message>
      <source>Unable to read the setup file.</source>
      <translation>Impossible de lire le fichier de configuration.</translation>
    </message>
    <message>
      <source>Camera Settings</source>
      <translation>Réglages de la caméra</translation>
    </message>
  </context>
  <context>
    <name>ToolWindows</name>
    <message>
      <source>Trim Tool</source>
      <translation>Outil de découpe</translation>
    </message>
    <message>
      <source>Cut was unsuccessful.</source>
      <translation>La découpe a échoué.</translation>
    </message>
    <message>
      <source>The trim tool operation was cancelled.</source>
      <translation>L'opération de découpe a été annulée.</translation>
    </message>
  </context>
  <context>
    <name>NewWindowView</name>
    <message>
      <source>Map</source>
      <translation>Carte</translation>
    </message>
    <message>
      <source>Close</source>
      <translation>Fermer</translation>
    </message>
  </context>
  <context>
    <name>QObject</name>
    <message>
      <source>OK</source>
      <translation>OK</translation>
    </message>
    <message>
      <source>Google Earth files (*.kmz)</source>
      <translation>Fichiers Google Earth (*.kmz)</translation>
    </message>
  </context>
  <context>
    <name>DrivingInfoView</name>
    <message>
      <source>Meter</source>
      <translation>Compteur</translation>
    </message>
  </context>
  <context>
    <name>LineView</name>
    <message>
      <source>Speed</source>
      <translation>Vitesse</translation>
    </message>
  </context>
</TS>
