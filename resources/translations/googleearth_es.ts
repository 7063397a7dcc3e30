<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>EventKmlBuilder</name>
    <message>
        <location filename="../../src/map/EventKmlBuilder.cpp" line="+20"/>
        <location line="+7"/>
        <source>Event</source>
        <translation>Evento</translation>
    </message>
    <message>
        <location line="-4"/>
        <source>MyCar</source>
        <translation>Mi vehículo</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Surveillance</source>
        <translation>Vigilancia</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sensing time/date</source>
        <translation>Fecha/hora de detección</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Route</source>
        <translation>Ruta</translation>
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
        <translation>Advertencia</translation>
    </message>
    <message>
        <location line="-64"/>
        <source>The file name is not valid.</source>
        <translation>El nombre de archivo no es válido.</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Export to Google Earth File</source>
        <translation>Exportar a un archivo de Google Earth</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>The file could not be saved.</source>
        <translation>No se pudo guardar el archivo.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>confirmation</source>
        <translation>Confirmación</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Launch Google Earth now?</source>
        <translation>¿Iniciar Google Earth ahora?</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Yes</source>
        <translation>Sí</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Google Earth is not installed.</source>
        <translation>Google Earth no está instalado.</translation>
    </message>
</context>
<context>
    <name>TripKmlBuilder</name>
    <message>
        <location filename="../../src/map/TripKmlBuilder.cpp" line="+18"/>
        <source>Chapter</source>
        <translation>Capítulo</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>MyCar</source>
        <translation>Mi vehículo</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Trip</source>
        <translation>Trayecto</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Recording start time/date</source>
        <translation>Fecha/hora de inicio de grabación</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Recording end time/date</source>
        <translation>Fecha/hora de fin de grabación</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Route</source>
        <translation>Ruta</translation>
    </message>
</context>
</TS>
