<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>TripKmlBuilder</name>
    <message>
        <source>Chapter</source>
        <translation>Chapitre</translation>
    </message>
    <message>
        <source>MyCar</source>
        <translation>Mon véhicule</translation>
    </message>
    <message>
        <source>Trip</source>
        <translation>Trajet</translation>
    </message>
    <message>
        <source>Recording start time/date</source>
        <translation>Date/heure de début d'enregistrement</translation>
    </message>
    <message>
        <source>Recording end time/date</source>
        <translation>Date/heure de fin d'enregistrement</translation>
    </message>
    <message>
        <source>Route</source>
        <translation>Itinéraire</translation>
    </message>
</context>
<context>
    <name>EventKmlBuilder</name>
    <message>
        <source>Event</source>
        <translation>Événement</translation>
    </message>
    <message>
        <source>MyCar</source>
        <translation>Mon véhicule</translation>
    </message>
    <message>
        <source>Surveillance</source>
        <translation>Surveillance</translation>
    </message>
    <message>
        <source>Sensing time/date</source>
        <translation>Date/heure de détection</translation>
    </message>
    <message>
        <source>Route</source>
        <translation>Itinéraire</translation>
    </message>
</context>
<context>
    <name>GoogleEarthExportCommand</name>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>The file name is not valid.</source>
        <translation>Le nom de fichier n'est pas valide.</translation>
    </message>
    <message>
        <source>Export to Google Earth File</source>
        <translation>Exporter vers un fichier Google Earth</translation>
    </message>
    <message>
        <source>The file could not be saved.</source>
        <translation>Le fichier n'a pas pu être enregistré.</translation>
    </message>
    <message>
        <source>confirmation</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>Launch Google Earth now?</source>
        <translation>Lancer Google Earth maintenant ?</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>Google Earth is not installed.</source>
        <translation>Google Earth n'est pas installé.</translation>
    </message>
</context>
</TS>
