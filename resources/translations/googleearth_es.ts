<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>TripKmlBuilder</name>
    <message>
        <source>Chapter</source>
        <translation>Capítulo</translation>
    </message>
    <message>
        <source>MyCar</source>
        <translation>Mi vehículo</translation>
    </message>
    <message>
        <source>Trip</source>
        <translation>Trayecto</translation>
    </message>
    <message>
        <source>Recording start time/date</source>
        <translation>Fecha/hora de inicio de grabación</translation>
    </message>
    <message>
        <source>Recording end time/date</source>
        <translation>Fecha/hora de fin de grabación</translation>
    </message>
    <message>
        <source>Route</source>
        <translation>Ruta</translation>
    </message>
</context>
<context>
    <name>EventKmlBuilder</name>
    <message>
        <source>Event</source>
        <translation>Evento</translation>
    </message>
    <message>
        <source>MyCar</source>
        <translation>Mi vehículo</translation>
    </message>
    <message>
        <source>Surveillance</source>
        <translation>Vigilancia</translation>
    </message>
    <message>
        <source>Sensing time/date</source>
        <translation>Fecha/hora de detección</translation>
    </message>
    <message>
        <source>Route</source>
        <translation>Ruta</translation>
    </message>
</context>
<context>
    <name>GoogleEarthExportCommand</name>
    <message>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
    <message>
        <source>The file name is not valid.</source>
        <translation>El nombre de archivo no es válido.</translation>
    </message>
    <message>
        <source>Export to Google Earth File</source>
        <translation>Exportar a un archivo de Google Earth</translation>
    </message>
    <message>
        <source>The file could not be saved.</source>
        <translation>No se pudo guardar el archivo.</translation>
    </message>
    <message>
        <source>confirmation</source>
        <translation>Confirmación</translation>
    </message>
    <message>
        <source>Launch Google Earth now?</source>
        <translation>¿Iniciar Google Earth ahora?</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>Google Earth is not installed.</source>
        <translation>Google Earth no está instalado.</translation>
    </message>
</context>
</TS>
