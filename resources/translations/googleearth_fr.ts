<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>EventKmlBuilder</name>
    <message>
        <location filename="../../src/map/EventKmlBuilder.cpp" line="+20"/>
        <location line="+7"/>
        <source>Event</source>
        <translation>Événement</translation>
    </message>
    <message>
        <location line="-4"/>
        <source>MyCar</source>
        <translation>Mon véhicule</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Surveillance</source>
        <translation>Surveillance</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sensing time/date</source>
        <translation>Date/heure de détection</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Route</source>
        <translation>Itinéraire</translation>
    </message>
</context>
<context>
    <name>GoogleEarthExportCommand</name>
    <message>
        <location filename="../../src/map/GoogleEarthExportCommand.cpp" line="+49"/>
        <location line="+43"/>
        <location line="+16"/>
        <location line="+5"/>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <location line="-64"/>
        <source>The file name is not valid.</source>
        <translation>Le nom de fichier n&apos;est pas valide.</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Export to Google Earth File</source>
        <translation>Exporter vers un fichier Google Earth</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>The file could not be saved.</source>
        <translation>Le fichier n&apos;a pas pu être enregistré.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>confirmation</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Launch Google Earth now?</source>
        <translation>Lancer Google Earth maintenant ?</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Google Earth is not installed.</source>
        <translation>Google Earth n&apos;est pas installé.</translation>
    </message>
</context>
<context>
    <name>TripKmlBuilder</name>
    <message>
        <location filename="../../src/map/TripKmlBuilder.cpp" line="+18"/>
        <source>Chapter</source>
        <translation>Chapitre</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>MyCar</source>
        <translation>Mon véhicule</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Trip</source>
        <translation>Trajet</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Recording start time/date</source>
        <translation>Date/heure de début d&apos;enregistrement</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Recording end time/date</source>
        <translation>Date/heure de fin d&apos;enregistrement</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Route</source>
        <translation>Itinéraire</translation>
    </message>
</context>
</TS>
