<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES" sourcelanguage="en">
<context>
    <name>AppAboutDialog</name>
    <message>
        <location filename="../../src/app/AppAboutDialog.cpp" line="+12"/>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Version information</source>
        <translation>Información de la versión</translation>
    </message>
</context>
<context>
    <name>BackUpFolderSelectDialog</name>
    <message>
        <location filename="../../src/maintenance/BackUpFolderSelectDialog.cpp" line="+23"/>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Select Folder to delete</source>
        <translation>Seleccionar la carpeta que se eliminará</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Select backup folder</source>
        <translation>Seleccionar carpeta de copia de seguridad</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Select folder</source>
        <translation>Seleccione una carpeta</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Select delete data</source>
        <translation>Seleccionar los datos que se eliminarán</translation>
    </message>
</context>
<context>
    <name>BackupSettingDialog</name>
    <message>
        <location filename="../../src/maintenance/BackupCopyJob.cpp" line="+92"/>
        <location filename="../../src/maintenance/BackupSettingDialog.cpp" line="+208"/>
        <source>Unable to copy the file.</source>
        <translation>No se puede copiar el archivo.</translation>
    </message>
    <message>
        <location filename="../../src/maintenance/BackupFolderName.cpp" line="+52"/>
        <source>Please provide the folder name.</source>
        <translation>Indique el nombre de la carpeta.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The folder name format is not valid.</source>
        <translation>El formato del nombre de carpeta no es válido.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Folder name should be less than 255 characters.</source>
        <translation>El nombre de la carpeta debe tener menos de 255 caracteres.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Chapter was not selected.</source>
        <translation>No se ha seleccionado ningún capítulo.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>There is not enough disk space or memory available.</source>
        <translation>No hay suficiente espacio en disco o memoria disponible.</translation>
    </message>
    <message>
        <location filename="../../src/maintenance/BackupSettingDialog.cpp" line="-157"/>
        <source>Check All</source>
        <translation>Marcar todo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Uncheck All</source>
        <translation>Desmarcar todo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Folder name</source>
        <translation>Nombre de la carpeta</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Free space</source>
        <translation>Espacio libre</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Backup size</source>
        <translation>Tamaño de la copia de seguridad</translation>
    </message>
    <message>
        <location line="+130"/>
        <source>The folder already exists at the selected destination. Would you like to overwrite?</source>
        <translation>La carpeta ya existe en el destino seleccionado. ¿Desea sobrescribirla?</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Back up</source>
        <translation>Copia de seguridad</translation>
    </message>
</context>
<context>
    <name>BackupTreeModel</name>
    <message>
        <location filename="../../src/maintenance/BackupTreeModel.cpp" line="+86"/>
        <source>Yes</source>
        <translation>Sí</translation>
    </message>
    <message>
        <location line="+52"/>
        <source>Trip</source>
        <translation>Trayecto</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Chapter</source>
        <translation>Capítulo</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Start time</source>
        <translation>Hora de inicio</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Event</source>
        <translation>Evento</translation>
    </message>
</context>
<context>
    <name>BoundedFileReader</name>
    <message>
        <location filename="../../src/platform/BoundedFileReader.cpp" line="+33"/>
        <location line="+3"/>
        <location line="+26"/>
        <source>cannot be opened: %1</source>
        <translation>no se puede abrir: %1</translation>
    </message>
    <message>
        <location line="-24"/>
        <source>not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>was replaced while it was opened</source>
        <translation>se reemplazó mientras se abría</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>a read runs past the end of the file</source>
        <translation>una lectura sobrepasa el final del archivo</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>read failed: %1</source>
        <translation>error de lectura: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>ended early: it was cut short or removed while it was read</source>
        <translation>termina antes de tiempo: se truncó o se eliminó mientras se leía</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>larger than %1 bytes, far more than its format holds</source>
        <translation>más de %1 bytes, mucho más de lo que admite su formato</translation>
    </message>
</context>
<context>
    <name>CameraSettingDialog</name>
    <message>
        <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="+65"/>
        <source>Camera Settings</source>
        <translation>Ajustes de la cámara</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Unable to read the setup file.</source>
        <translation>No se puede leer el archivo de ajustes.</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>On</source>
        <translation>Activado</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../../src/maintenance/CameraSettingModel.cpp" line="+21"/>
        <source>Off</source>
        <translation>Desactivado</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Recording</source>
        <translation>Grabación</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Recording quality</source>
        <translation>Calidad de grabación</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Buzzer</source>
        <translation>Avisador acústico</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Actions</source>
        <translation>Acciones</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Operation</source>
        <translation>Funcionamiento</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No SD card</source>
        <translation>Sin tarjeta SD</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+16"/>
        <source>Surveillance</source>
        <translation>Vigilancia</translation>
    </message>
    <message>
        <location line="-14"/>
        <source>Event detection</source>
        <translation>Detección de eventos</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+15"/>
        <source>Sensitivity (G)</source>
        <translation>Sensibilidad (G)</translation>
    </message>
    <message>
        <location line="-13"/>
        <location line="+15"/>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <location line="-13"/>
        <location line="+15"/>
        <location filename="../../src/maintenance/CameraSettingModel.cpp" line="-1"/>
        <source>High</source>
        <translation>Alta</translation>
    </message>
    <message>
        <location line="-11"/>
        <source>Cross setting</source>
        <translation>Ajuste transversal</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Angle</source>
        <translation>Ángulo</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Surveillance recording</source>
        <translation>Grabación de vigilancia</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Start delay</source>
        <translation>Retardo de inicio</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Power mode</source>
        <translation>Modo de alimentación</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Quick wake-up time</source>
        <translation>Tiempo de activación rápida</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Adventure mode</source>
        <translation>Modo aventura</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Memory allocation</source>
        <translation>Reparto de la memoria</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Recording files</source>
        <translation>Archivos de grabación</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Memory (GB)</source>
        <translation>Memoria (GB)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Recording time (min)</source>
        <translation>Tiempo de grabación (min)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Reset the Wi-Fi password to the factory setting</source>
        <translation>Restablecer la contraseña Wi-Fi de fábrica</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The camera&apos;s factory Wi-Fi password is not known to this program, so it cannot be reset from here.</source>
        <translation>Este programa no conoce la contraseña Wi-Fi de fábrica de la cámara, por lo que no puede restablecerla.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Reset all</source>
        <translation>Restablecer todo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <location line="+91"/>
        <source>This will overwrite the setup file. Are you sure?</source>
        <translation>Se sobrescribirá el archivo de ajustes. ¿Continuar?</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The camera settings have been saved. Updates will be applied after inserting the SD card into the camera.</source>
        <translation>Los ajustes de la cámara se han guardado. Se aplicarán al insertar la tarjeta SD en la cámara.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Unable to overwrite the setup file.</source>
        <translation>No se puede sobrescribir el archivo de ajustes.</translation>
    </message>
    <message>
        <location filename="../../src/maintenance/CameraSettingModel.cpp" line="-6"/>
        <source>High quality mode</source>
        <translation>Modo de alta calidad</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Standard mode</source>
        <translation>Modo estándar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Extended time mode</source>
        <translation>Modo de larga duración</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Low</source>
        <translation>Baja</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Normal Wake-Up</source>
        <translation>Activación normal</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quick Wake-up</source>
        <translation>Activación rápida</translation>
    </message>
</context>
<context>
    <name>CaptureView</name>
    <message>
        <location filename="../../src/videotools/CaptureView.cpp" line="+28"/>
        <source>Insert data.</source>
        <translation>Insertar datos.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Acceleration</source>
        <translation>Aceleración</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Coordinates</source>
        <translation>Coordenadas</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Time/Date</source>
        <translation>Hora/Fecha</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Speed</source>
        <translation>Velocidad</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Unable to save the image.</source>
        <translation>No se puede guardar la imagen.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Information</source>
        <translation>Información</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Saved</source>
        <translation>Guardado</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>* Additional information cannot be added after cut screen.</source>
        <translation>* No se puede añadir información después de recortar la pantalla.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
</context>
<context>
    <name>CardDriveSelectDialog</name>
    <message>
        <location filename="../../src/app/CardDriveSelectDialog.cpp" line="+27"/>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Select card drive</source>
        <translation>Seleccionar la unidad de tarjeta</translation>
    </message>
</context>
<context>
    <name>CardOpener</name>
    <message>
        <location filename="../../src/app/CardOpener.cpp" line="+119"/>
        <location line="+20"/>
        <source>Unable to locate the file.</source>
        <translation>No se puede encontrar el archivo.</translation>
    </message>
    <message>
        <location line="-20"/>
        <source>No recordings were found in %1.</source>
        <translation>No se encontraron grabaciones en %1.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Unable to read the selected file.</source>
        <translation>No se puede leer el archivo seleccionado.</translation>
    </message>
    <message>
        <location line="+62"/>
        <source>These files could not be read and were left out:</source>
        <translation>Estos archivos no se pudieron leer y se omitieron:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>These files could not be read; their chapters stay listed but may not play:</source>
        <translation>Estos archivos no se pudieron leer; sus capítulos siguen en la lista, pero puede que no se reproduzcan:</translation>
    </message>
    <message>
        <location line="+14"/>
        <location line="+4"/>
        <source>There is no recording.</source>
        <translation>No hay ninguna grabación.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>No driving data was found in %1.</source>
        <translation>No se encontraron datos de conducción en %1.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 has the file version &quot;%2&quot;, which this viewer cannot read.</source>
        <translation>%1 tiene la versión de archivo &quot;%2&quot;, que este visor no puede leer.</translation>
    </message>
</context>
<context>
    <name>CleanupDialog</name>
    <message>
        <location filename="../../src/maintenance/CleanupDialog.cpp" line="+38"/>
        <source>Check All</source>
        <translation>Marcar todo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Uncheck All</source>
        <translation>Desmarcar todo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Folder</source>
        <translation>Carpeta</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Free space after deletion</source>
        <translation>Espacio libre tras la eliminación</translation>
    </message>
    <message>
        <location line="+71"/>
        <source>Chapter was not selected.</source>
        <translation>No se ha seleccionado ningún capítulo.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>This will delete the backup folder and all its contents. Are you sure?</source>
        <translation>Se eliminará la carpeta de copia de seguridad y todo su contenido. ¿Está seguro?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The selected chapter(s) will be deleted. Are you sure?</source>
        <translation>Se eliminarán los capítulos seleccionados. ¿Está seguro?</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>A file in the backup folder is currently in use. Proceed with delete?</source>
        <translation>Un archivo de la carpeta de copia de seguridad está en uso. ¿Continuar con la eliminación?</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
</context>
<context>
    <name>CommonConst</name>
    <message>
        <location filename="../../src/recording/CommonConst.cpp" line="+48"/>
        <source>Recording always on</source>
        <translation>Grabación continua</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Event recording</source>
        <translation>Grabación de evento</translation>
    </message>
</context>
<context>
    <name>CustomSliderCellMin</name>
    <message>
        <location filename="../../src/player/CustomSliderCellMin.cpp" line="+34"/>
        <source>Adjust brightness</source>
        <translation>Ajustar el brillo</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Volume control</source>
        <translation>Control de volumen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Play back speed</source>
        <translation>Velocidad de reproducción</translation>
    </message>
</context>
<context>
    <name>DeleteRun</name>
    <message>
        <location filename="../../src/maintenance/DeleteRun.cpp" line="+102"/>
        <source>The action can&apos;t be completed because the backup folder or a file in it is a link or lies outside the backup directory. Nothing outside the backup directory is deleted.</source>
        <translation>No se puede completar la acción porque la carpeta de copia de seguridad o un archivo que contiene es un enlace o está fuera del directorio de copias de seguridad. No se elimina nada fuera del directorio de copias de seguridad.</translation>
    </message>
</context>
<context>
    <name>DialogInUseLock</name>
    <message>
        <location filename="../../src/app/DialogInUseLock.cpp" line="+136"/>
        <source>The selected file operation cannot start because its lock file cannot be made.</source>
        <translation>La operación elegida no puede empezar porque no se puede crear su archivo de bloqueo.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The selected file operation is currently in use by another instance of the application.</source>
        <translation>La operación elegida está en uso en otra instancia de la aplicación.</translation>
    </message>
</context>
<context>
    <name>DrivingInfoView</name>
    <message>
        <location filename="../../src/graph/DrivingInfoView.cpp" line="+48"/>
        <source>Meter</source>
        <translation>Velocímetro</translation>
    </message>
</context>
<context>
    <name>FfmpegJob</name>
    <message>
        <location filename="../../src/videotools/FfmpegJob.cpp" line="+29"/>
        <source>ffmpeg could not be started: %1</source>
        <translation>No se pudo iniciar ffmpeg: %1</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>The ffmpeg program was not found on the PATH.</source>
        <translation>No se encontró el programa ffmpeg en el PATH.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>No ffmpeg arguments.</source>
        <translation>No hay argumentos para ffmpeg.</translation>
    </message>
    <message>
        <location line="+135"/>
        <source>ffmpeg was cancelled.</source>
        <translation>Se canceló ffmpeg.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ffmpeg could not be started.</source>
        <translation>No se pudo iniciar ffmpeg.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ffmpeg ended with exit code %1.</source>
        <translation>ffmpeg terminó con el código de salida %1.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ffmpeg crashed.</source>
        <translation>ffmpeg se bloqueó.</translation>
    </message>
</context>
<context>
    <name>GuardedRemover</name>
    <message>
        <location filename="../../src/maintenance/GuardedRemover.cpp" line="+32"/>
        <source>The backup directory %1 can&apos;t be used.</source>
        <translation>No se puede usar el directorio de copias de seguridad %1.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 is not a full path.</source>
        <translation>%1 no es una ruta completa.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 names no backup folder.</source>
        <translation>%1 no designa ninguna carpeta de copia de seguridad.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 is a link to another place.</source>
        <translation>%1 es un enlace a otro lugar.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 does not exist.</source>
        <translation>%1 no existe.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 is not a folder.</source>
        <translation>%1 no es una carpeta.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 is not a folder directly inside the backup directory %2.</source>
        <translation>%1 no es una carpeta situada directamente en el directorio de copias de seguridad %2.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>%1 lies outside the backup folder %2.</source>
        <translation>%1 está fuera de la carpeta de copia de seguridad %2.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 is a folder.</source>
        <translation>%1 es una carpeta.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>%1 could not be removed completely.</source>
        <translation>%1 no se ha podido eliminar por completo.</translation>
    </message>
</context>
<context>
    <name>LineView</name>
    <message>
        <location filename="../../src/graph/LineView.cpp" line="+21"/>
        <source>Speed</source>
        <translation>Velocidad</translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <location filename="../../src/app/MainMenu.cpp" line="+13"/>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Save as</source>
        <translation>Guardar como</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Quit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;View</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Full Screen Display</source>
        <translation>Pantalla completa</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Settings</source>
        <translation>A&amp;justes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Viewer Settings</source>
        <translation>Ajustes del visor</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Camera Settings</source>
        <translation>Ajustes de la cámara</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Backup Directory Settings</source>
        <translation>Carpeta de copias de seguridad</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Back up</source>
        <translation>&amp;Copia de seguridad</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Back up</source>
        <translation>Copia de seguridad</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Download Updates</source>
        <translation>Descargar actualizaciones</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>About Orvalind</source>
        <translation>Acerca de Orvalind</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../../src/app/MainWindow.cpp" line="+154"/>
        <source>Open From</source>
        <translation>Abrir desde</translation>
    </message>
    <message>
        <location line="+71"/>
        <source>Unable to locate the file.</source>
        <translation>No se puede encontrar el archivo.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The current video data could not be loaded. Please restart the application and try again. If still unsuccessful, please select another chapter for playback.</source>
        <translation>No se han podido cargar los datos de vídeo actuales. Reinicie la aplicación y vuelva a intentarlo. Si sigue sin funcionar, seleccione otro capítulo para reproducir.</translation>
    </message>
    <message>
        <location filename="../../src/app/ItemPlayback.cpp" line="+33"/>
        <source>Unable to read the selected file.</source>
        <translation>No se puede leer el archivo seleccionado.</translation>
    </message>
    <message>
        <location filename="../../src/app/MainWindow.cpp" line="-165"/>
        <source>No web browser could be started to open %1.</source>
        <translation>No se pudo iniciar ningún navegador web para abrir %1.</translation>
    </message>
</context>
<context>
    <name>MaintenancePrompter</name>
    <message>
        <location filename="../../src/maintenance/MaintenanceMessageBoxes.cpp" line="+9"/>
        <location line="+22"/>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
    <message>
        <location line="-13"/>
        <source>confirmation</source>
        <translation>confirmación</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+18"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <location line="-16"/>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The action can&apos;t be completed because the folder or a file in it is open in another program. Please try again after closing the other application.</source>
        <translation>No se puede completar la acción porque la carpeta o un archivo que contiene está abierto en otro programa. Vuelva a intentarlo después de cerrar la otra aplicación.</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+6"/>
        <source>ignore</source>
        <translation>omitir</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Retry</source>
        <translation>Reintentar</translation>
    </message>
</context>
<context>
    <name>MapTitleView</name>
    <message>
        <location filename="../../src/map/MapTitleView.cpp" line="+11"/>
        <source>Map</source>
        <translation>Mapa</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+1"/>
        <source>Show map</source>
        <translation>Mostrar el mapa</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Hide</source>
        <translation>Ocultar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Hide map</source>
        <translation>Ocultar el mapa</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Window</source>
        <translation>Ventana</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Show map in a window</source>
        <translation>Mostrar el mapa en una ventana</translation>
    </message>
</context>
<context>
    <name>MenuCommands</name>
    <message>
        <location filename="../../src/app/MenuCommands.cpp" line="+76"/>
        <source>Select backup folder</source>
        <translation>Seleccionar carpeta de copia de seguridad</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Select Folder to delete</source>
        <translation>Seleccionar la carpeta que se eliminará</translation>
    </message>
    <message>
        <location line="-3"/>
        <source>Unable to locate the file.</source>
        <translation>No se puede encontrar el archivo.</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Select Back Up Directory</source>
        <translation>Seleccionar el directorio de copia de seguridad</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Unable to locate the selected drive.</source>
        <translation>No se puede encontrar la unidad seleccionada.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Selection of Card Drive</source>
        <translation>Selección de la unidad de tarjeta</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Unable to read the setup file.</source>
        <translation>No se puede leer el archivo de configuración.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Camera Settings</source>
        <translation>Ajustes de la cámara</translation>
    </message>
</context>
<context>
    <name>MessageBoxPrompter</name>
    <message>
        <location filename="../../src/maintenance/MessageBoxPrompter.cpp" line="+8"/>
        <location line="+10"/>
        <source>confirmation</source>
        <translation>confirmación</translation>
    </message>
    <message>
        <location line="-9"/>
        <location line="+11"/>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <location line="-10"/>
        <location line="+9"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+7"/>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Information</source>
        <translation>Información</translation>
    </message>
</context>
<context>
    <name>MovieInput</name>
    <message>
        <location filename="../../src/platform/MovieInput.cpp" line="+97"/>
        <source>reading was stopped</source>
        <translation>se detuvo la lectura</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>reading took too long and was stopped</source>
        <translation>la lectura tardó demasiado y se detuvo</translation>
    </message>
</context>
<context>
    <name>MoviePlayerView</name>
    <message>
        <location filename="../../src/player/MoviePlayerView.cpp" line="+171"/>
        <source>Now Loading</source>
        <translation>Cargando…</translation>
    </message>
    <message>
        <location filename="../../src/player/PlayerPanelRules.cpp" line="+18"/>
        <source>×0.5 time speed</source>
        <translation>Velocidad ×0,5</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>standard</source>
        <translation>estándar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>×2 times speed</source>
        <translation>Velocidad ×2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>×3 times speed</source>
        <translation>Velocidad ×3</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>×5 times speed</source>
        <translation>Velocidad ×5</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>×10 times speed</source>
        <translation>Velocidad ×10</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>±00.0</source>
        <translation>±00.0</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>Previous trip</source>
        <translation>Trayecto anterior</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Previous adventure</source>
        <translation>Aventura anterior</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Previous event</source>
        <translation>Evento anterior</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Next Trip</source>
        <translation>Trayecto siguiente</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Next adventure</source>
        <translation>Aventura siguiente</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Next event</source>
        <translation>Evento siguiente</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>momentary pause</source>
        <translation>Pausa</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Play back</source>
        <translation>Reproducir</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Frame playback</source>
        <translation>Fotograma anterior</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Frame advance</source>
        <translation>Fotograma siguiente</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Previous chapter</source>
        <translation>Capítulo anterior</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Next chapter</source>
        <translation>Capítulo siguiente</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Setting</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Trim Tool</source>
        <translation>Herramienta de recorte</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Screen Capture</source>
        <translation>Captura de pantalla</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stopwatch</source>
        <translation>Cronómetro</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>File output for Google Earth</source>
        <translation>Archivo para Google Earth</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Full Screen Display</source>
        <translation>Pantalla completa</translation>
    </message>
</context>
<context>
    <name>MovieStillGrabber</name>
    <message>
        <location filename="../../src/platform/MovieStillGrabber.cpp" line="+157"/>
        <source>not a movie that can be read</source>
        <translation>no es un vídeo que se pueda leer</translation>
    </message>
</context>
<context>
    <name>Mp4Reader</name>
    <message>
        <location filename="../../src/recording/Mp4Reader.cpp" line="+55"/>
        <source>its driving data claim more than %1 bytes</source>
        <translation>sus datos de conducción indican más de %1 bytes</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>holds more than %1 boxes</source>
        <translation>contiene más de %1 cajas</translation>
    </message>
</context>
<context>
    <name>Mp4RecordingReader</name>
    <message>
        <location filename="../../src/recording/Mp4RecordingReader.cpp" line="+76"/>
        <source>holds more driving data than its movie&apos;s length allows</source>
        <translation>contiene más datos de conducción de los que permite la duración de su vídeo</translation>
    </message>
    <message>
        <location line="+129"/>
        <source>holds no driving data</source>
        <translation>no contiene datos de conducción</translation>
    </message>
</context>
<context>
    <name>NewWindowView</name>
    <message>
        <location filename="../../src/app/NewWindowView.cpp" line="+30"/>
        <source>Map</source>
        <translation>Mapa</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>PlayerAdjustments</name>
    <message>
        <location filename="../../src/player/PlayerAdjustments.cpp" line="+39"/>
        <location line="+48"/>
        <source>Standard brightness</source>
        <translation>Brillo estándar</translation>
    </message>
    <message>
        <location line="-47"/>
        <location line="+48"/>
        <location line="+52"/>
        <source>Mute</source>
        <translation>Silenciar</translation>
    </message>
    <message>
        <location line="-52"/>
        <location line="+52"/>
        <source>take off mute</source>
        <translation>Activar el sonido</translation>
    </message>
</context>
<context>
    <name>PlayerControls</name>
    <message>
        <location filename="../../src/player/PlayerControls.cpp" line="+355"/>
        <location line="+119"/>
        <source>Close full screen</source>
        <translation>Salir de pantalla completa</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Full Screen Display</source>
        <translation>Pantalla completa</translation>
    </message>
</context>
<context>
    <name>PlayerView</name>
    <message>
        <location filename="../../src/player/PlayerView.cpp" line="+33"/>
        <source>● Trim Mode</source>
        <translation>● Modo de recorte</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../src/app/WindowCoordinators.cpp" line="+49"/>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <location line="+210"/>
        <source>The Stopwatch measurement result will be deleted. Proceed?</source>
        <translation>Se eliminará el resultado de la medición del cronómetro. ¿Continuar?</translation>
    </message>
    <message>
        <location filename="../../src/app/GoogleEarthExportHostImpl.cpp" line="+66"/>
        <source>Google Earth files (*.kmz)</source>
        <translation>Archivos de Google Earth (*.kmz)</translation>
    </message>
</context>
<context>
    <name>QuitConfirmation</name>
    <message>
        <location filename="../../src/app/QuitConfirmation.cpp" line="+14"/>
        <source>This will close %1. Proceed?</source>
        <translation>Se cerrará %1. ¿Continuar?</translation>
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
        <translation>INICIO/PARADA</translation>
    </message>
    <message>
        <location line="-130"/>
        <location line="+130"/>
        <source>LAP/RESET</source>
        <translation>VUELTA/REINICIO</translation>
    </message>
    <message>
        <location line="-129"/>
        <location line="+129"/>
        <source>PREVIOUS LAP</source>
        <translation>VUELTA ANTERIOR</translation>
    </message>
    <message>
        <location line="-77"/>
        <source>Stopwatch</source>
        <translation>Cronómetro</translation>
    </message>
</context>
<context>
    <name>SubtitleWriter</name>
    <message>
        <location filename="../../src/videotools/SubtitleWriter.cpp" line="+41"/>
        <source>time/date</source>
        <translation>fecha/hora</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>speed</source>
        <translation>velocidad</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>acceleration</source>
        <translation>aceleración</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>latitude</source>
        <translation>latitud</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>longitude</source>
        <translation>longitud</translation>
    </message>
</context>
<context>
    <name>TaskProgressDialog</name>
    <message>
        <location filename="../../src/app/TaskProgressDialog.cpp" line="+41"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Backing up files</source>
        <translation>Copiando los archivos</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Delete file</source>
        <translation>Eliminando los archivos</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Trimming video file.</source>
        <translation>Recortando el vídeo.</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>elapsed time：</source>
        <translation>tiempo transcurrido：</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Information</source>
        <translation>Información</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Save completed.</source>
        <translation>Guardado completado.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Backup cancelled.</source>
        <translation>Copia de seguridad cancelada.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Delete completed.</source>
        <translation>Eliminación completada.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Delete cancelled.</source>
        <translation>Eliminación cancelada.</translation>
    </message>
</context>
<context>
    <name>ToolDialogView</name>
    <message>
        <location filename="../../src/videotools/ToolDialogView.cpp" line="+69"/>
        <source>Trim Tool</source>
        <translation>Herramienta de recorte</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+12"/>
        <source>Insert data.</source>
        <translation>Insertar datos.</translation>
    </message>
    <message>
        <location line="-11"/>
        <source>Warning: Adding data to video will increase processing time.</source>
        <translation>Advertencia: añadir datos al vídeo aumentará el tiempo de procesamiento.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Back</source>
        <translation>Atrás</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Unable to save because the selected time range is less than 2 seconds. Please increase the selected time range for trim operation.</source>
        <translation>No se puede guardar porque el intervalo seleccionado dura menos de 2 segundos. Amplíe el intervalo seleccionado para el recorte.</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+6"/>
        <source>Acceleration</source>
        <translation>Aceleración</translation>
    </message>
    <message>
        <location line="-6"/>
        <location line="+7"/>
        <source>Coordinates</source>
        <translation>Coordenadas</translation>
    </message>
    <message>
        <location line="-7"/>
        <source>Hour</source>
        <translation>Hora</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Minutes</source>
        <translation>Minutos</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>It will take more than %1 to complete video trimming. Would you like to continue?</source>
        <translation>El recorte del vídeo tardará más de %1. ¿Desea continuar?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>There is not enough disk space or memory available.</source>
        <translation>No hay suficiente espacio en disco o memoria disponible.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>* Additional information cannot be added after cut screen.</source>
        <translation>* No se puede añadir información después de recortar la pantalla.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Capture Image</source>
        <translation>Capturar imagen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Time/Date</source>
        <translation>Hora/Fecha</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Speed</source>
        <translation>Velocidad</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cut was unsuccessful.</source>
        <translation>El corte no se ha realizado correctamente.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Unable to save the image.</source>
        <translation>No se puede guardar la imagen.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Information</source>
        <translation>Información</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Saved</source>
        <translation>Guardado</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>confirmation</source>
        <translation>confirmación</translation>
    </message>
</context>
<context>
    <name>ToolWindows</name>
    <message>
        <location filename="../../src/app/ToolWindows.cpp" line="+121"/>
        <source>Trim Tool</source>
        <translation>Herramienta de recorte</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Capture Image</source>
        <translation>Capturar imagen</translation>
    </message>
    <message>
        <location line="+67"/>
        <source>Cut was unsuccessful.</source>
        <translation>El corte no se ha realizado correctamente.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The trim tool operation was cancelled.</source>
        <translation>Se ha cancelado la operación de recorte.</translation>
    </message>
</context>
<context>
    <name>TrimView</name>
    <message>
        <location filename="../../src/videotools/TrimDialogs.cpp" line="+21"/>
        <location line="+7"/>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+23"/>
        <location filename="../../src/videotools/TrimView.cpp" line="+40"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <location line="-11"/>
        <source>extension</source>
        <translation>extensión</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+18"/>
        <source>Trimming video file.</source>
        <translation>Recortando el vídeo.</translation>
    </message>
    <message>
        <location filename="../../src/videotools/TrimView.cpp" line="-12"/>
        <source>Trim Tool</source>
        <translation>Herramienta de recorte</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Insert data.</source>
        <translation>Insertar datos.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Warning: Adding data to video will increase processing time.</source>
        <translation>Advertencia: añadir datos al vídeo aumentará el tiempo de procesamiento.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Back</source>
        <translation>Atrás</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Unable to save because the selected time range is less than 2 seconds. Please increase the selected time range for trim operation.</source>
        <translation>No se puede guardar porque el intervalo seleccionado dura menos de 2 segundos. Amplíe el intervalo seleccionado para el recorte.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Acceleration</source>
        <translation>Aceleración</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Coordinates</source>
        <translation>Coordenadas</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Hour</source>
        <translation>Hora</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Minutes</source>
        <translation>Minutos</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>It will take more than %1 to complete video trimming. Would you like to continue?</source>
        <translation>El recorte del vídeo tardará más de %1. ¿Desea continuar?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>There is not enough disk space or memory available.</source>
        <translation>No hay suficiente espacio en disco o memoria disponible.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>* Additional information cannot be added after cut screen.</source>
        <translation>* No se puede añadir información después de recortar la pantalla.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Time/Date</source>
        <translation>Hora/Fecha</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Speed</source>
        <translation>Velocidad</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cut was unsuccessful.</source>
        <translation>El corte no se ha realizado correctamente.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Information</source>
        <translation>Información</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Saved</source>
        <translation>Guardado</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>confirmation</source>
        <translation>confirmación</translation>
    </message>
</context>
<context>
    <name>TrimWorker</name>
    <message>
        <location filename="../../src/videotools/TrimWorker.cpp" line="+161"/>
        <source>The clip holds no picture.</source>
        <translation>El clip no contiene ninguna imagen.</translation>
    </message>
    <message>
        <location line="+20"/>
        <location line="+9"/>
        <source>Cannot create the work folder %1.</source>
        <translation>No se puede crear la carpeta de trabajo %1.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>The selection lies outside the recordings.</source>
        <translation>La selección queda fuera de las grabaciones.</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>No recording of the selection has driving data.</source>
        <translation>Ninguna grabación de la selección tiene datos de conducción.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>The recording %1 is missing.</source>
        <translation>Falta la grabación %1.</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Cannot move %1 in the work folder.</source>
        <translation>No se puede mover %1 en la carpeta de trabajo.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Cannot write the list of cuts in %1.</source>
        <translation>No se puede escribir la lista de cortes en %1.</translation>
    </message>
    <message>
        <location line="-28"/>
        <location line="+64"/>
        <source>The selection gives no length.</source>
        <translation>La selección no tiene duración.</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Cannot replace %1.</source>
        <translation>No se puede reemplazar %1.</translation>
    </message>
</context>
<context>
    <name>UpdateCheck</name>
    <message>
        <location filename="../../src/app/UpdateCheck.cpp" line="+75"/>
        <source>announcement</source>
        <translation>Anuncio</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The latest version of %1 is available for download at the URL listed in the owner&apos;s manual.</source>
        <translation>La última versión de %1 puede descargarse en la dirección indicada en el manual del usuario.</translation>
    </message>
</context>
<context>
    <name>VideoListModel</name>
    <message>
        <location filename="../../src/app/VideoListModel.cpp" line="+274"/>
        <source>Sensing time/date</source>
        <translation>Detectado el</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Recording time/date</source>
        <translation>Grabado el</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Manual</source>
        <translation>Manual</translation>
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
        <translation>Trayecto</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>List from Engine ON till OFF</source>
        <translation>Lista desde el encendido hasta el apagado del motor</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Chapter</source>
        <translation>Capítulo</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Break down list of selected trip</source>
        <translation>Desglose del trayecto seleccionado</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Event</source>
        <translation>Evento</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Event list at the time of sensing shock</source>
        <translation>Lista de eventos en el momento de detectar un impacto</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Surveillance</source>
        <translation>Vigilancia</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Surveillance list at the time of sensing shock</source>
        <translation>Lista de vigilancia en el momento de detectar un impacto</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Adventure</source>
        <translation>Aventura</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>List from Adventure ON till OFF</source>
        <translation>Lista desde la activación hasta la desactivación del modo aventura</translation>
    </message>
</context>
<context>
    <name>VideoTypeSelectDialog</name>
    <message>
        <location filename="../../src/app/VideoTypeSelectDialog.cpp" line="+25"/>
        <source>Select File</source>
        <translation>Seleccionar archivo</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Movies (*.mp4)</source>
        <translation>Vídeos (*.mp4)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Card drive</source>
        <translation>Unidad de &amp;tarjeta</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Backup folder</source>
        <translation>Carpeta de copia de &amp;seguridad</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;File on this computer</source>
        <translation>&amp;Archivo en este equipo</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Unable to locate the selected drive.</source>
        <translation>No se puede encontrar la unidad seleccionada.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Selection of Card Drive</source>
        <translation>Selección de la unidad de tarjeta</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>There is no backup folder.</source>
        <translation>No hay ninguna carpeta de copia de seguridad.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Selection of backup folder</source>
        <translation>Selección de la carpeta de copia de seguridad</translation>
    </message>
</context>
<context>
    <name>ViewerDialogs</name>
    <message>
        <location filename="../../src/app/ViewerDialogs.cpp" line="+38"/>
        <location line="+16"/>
        <source>Viewer Settings</source>
        <translation>Ajustes del visor</translation>
    </message>
</context>
<context>
    <name>ViewerSettingDialog</name>
    <message>
        <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="+42"/>
        <source>Viewer Settings</source>
        <translation>Ajustes del visor</translation>
    </message>
    <message>
        <location line="+11"/>
        <location line="+1"/>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Date and time</source>
        <translation>Fecha y hora</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Date format</source>
        <translation>Formato de fecha</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Time zone</source>
        <translation>Zona horaria</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Summer time</source>
        <translation>Horario de verano</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>On</source>
        <translation>Activado</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Off</source>
        <translation>Desactivado</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Speed</source>
        <translation>Velocidad</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Speed unit</source>
        <translation>Unidad de velocidad</translation>
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
        <translation>Los nuevos ajustes se aplicarán cuando el visor vuelva a iniciarse.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>English</source>
        <translation>Inglés</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>French</source>
        <translation>Francés</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Spanish</source>
        <translation>Español</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>NST-Newfoundland</source>
        <translation>NST-Terranova</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>AST-Atlantic</source>
        <translation>AST-Atlántico</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>EST-Eastern</source>
        <translation>EST-Este</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CST-Central</source>
        <translation>CST-Centro</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>MST-Mountain</source>
        <translation>MST-Montaña</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>PST-Pacific</source>
        <translation>PST-Pacífico</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>AKST-Alaska</source>
        <translation>AKST-Alaska</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>HAST-Hawaii</source>
        <translation>HAST-Hawái</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Settings will be reflected after restarting the application. Would you like to restart now?</source>
        <translation>Los ajustes se aplicarán al reiniciar la aplicación. ¿Desea reiniciar ahora?</translation>
    </message>
</context>
<context>
    <name>WriteDestination</name>
    <message>
        <location filename="../../src/card/WriteDestination.cpp" line="+112"/>
        <source>Files cannot be saved inside the opened card or backup folder. Please choose another folder.</source>
        <translation>No se pueden guardar archivos dentro de la tarjeta o la carpeta de copia de seguridad abierta. Elija otra carpeta.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The selected folder cannot be written to. Please choose another folder.</source>
        <translation>No se puede escribir en la carpeta seleccionada. Elija otra carpeta.</translation>
    </message>
</context>
</TS>
