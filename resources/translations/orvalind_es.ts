<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES" sourcelanguage="en">
  <context>
    <name>AppAboutDialog</name>
    <message>
      <location filename="../../src/app/AppAboutDialog.cpp" line="12" />
      <source>OK</source>
      <translation>Aceptar</translation>
    </message>
    <message>
      <location filename="../../src/app/AppAboutDialog.cpp" line="37" />
      <source>Version information</source>
      <translation>Información de la versión</translation>
    </message>
  </context>
  <context>
    <name>CameraSettingDialog</name>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="65" />
      <source>Camera Settings</source>
      <translation>Ajustes de la cámara</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="77" />
      <source>Unable to read the setup file.</source>
      <translation>No se puede leer el archivo de ajustes.</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="119" />
      <source>On</source>
      <translation>Activado</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="120" />
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="21" />
      <source>Off</source>
      <translation>Desactivado</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="144" />
      <source>Recording</source>
      <translation>Grabación</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="145" />
      <source>Recording quality</source>
      <translation>Calidad de grabación</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="147" />
      <source>Buzzer</source>
      <translation>Avisador acústico</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="156" />
      <source>Actions</source>
      <translation>Acciones</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="157" />
      <source>Operation</source>
      <translation>Funcionamiento</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="158" />
      <source>No SD card</source>
      <translation>Sin tarjeta SD</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="159" />
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="175" />
      <source>Surveillance</source>
      <translation>Vigilancia</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="161" />
      <source>Event detection</source>
      <translation>Detección de eventos</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="162" />
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="177" />
      <source>Sensitivity (G)</source>
      <translation>Sensibilidad (G)</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="164" />
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="179" />
      <source>Normal</source>
      <translation>Normal</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="166" />
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="181" />
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="20" />
      <source>High</source>
      <translation>Alta</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="170" />
      <source>Cross setting</source>
      <translation>Ajuste transversal</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="173" />
      <source>Angle</source>
      <translation>Ángulo</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="176" />
      <source>Surveillance recording</source>
      <translation>Grabación de vigilancia</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="185" />
      <source>Start delay</source>
      <translation>Retardo de inicio</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="186" />
      <source>Power mode</source>
      <translation>Modo de alimentación</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="191" />
      <source>Quick wake-up time</source>
      <translation>Tiempo de activación rápida</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="194" />
      <source>Adventure mode</source>
      <translation>Modo aventura</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="196" />
      <source>Memory allocation</source>
      <translation>Reparto de la memoria</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="200" />
      <source>Recording files</source>
      <translation>Archivos de grabación</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="202" />
      <source>Memory (GB)</source>
      <translation>Memoria (GB)</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="204" />
      <source>Recording time (min)</source>
      <translation>Tiempo de grabación (min)</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="207" />
      <source>Reset the Wi-Fi password to the factory setting</source>
      <translation>Restablecer la contraseña Wi-Fi de fábrica</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="213" />
      <source>The camera's factory Wi-Fi password is not known to this program, so it cannot be reset from here.</source>
      <translation>Este programa no conoce la contraseña Wi-Fi de fábrica de la cámara, por lo que no puede restablecerla.</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="218" />
      <source>Reset all</source>
      <translation>Restablecer todo</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="219" />
      <source>OK</source>
      <translation>Aceptar</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="220" />
      <source>Cancel</source>
      <translation>Cancelar</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="311" />
      <source>This will overwrite the setup file. Are you sure?</source>
      <translation>Se sobrescribirá el archivo de ajustes. ¿Continuar?</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="318" />
      <source>The camera settings have been saved. Updates will be applied after inserting the SD card into the camera.</source>
      <translation>Los ajustes de la cámara se han guardado. Se aplicarán al insertar la tarjeta SD en la cámara.</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingDialog.cpp" line="323" />
      <source>Unable to overwrite the setup file.</source>
      <translation>No se puede sobrescribir el archivo de ajustes.</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="14" />
      <source>High quality mode</source>
      <translation>Modo de alta calidad</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="15" />
      <source>Standard mode</source>
      <translation>Modo estándar</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="16" />
      <source>Extended time mode</source>
      <translation>Modo de larga duración</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="19" />
      <source>Low</source>
      <translation>Baja</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="24" />
      <source>Normal Wake-Up</source>
      <translation>Activación normal</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/CameraSettingModel.cpp" line="25" />
      <source>Quick Wake-up</source>
      <translation>Activación rápida</translation>
    </message>
  </context>
  <context>
    <name>CommonConst</name>
    <message>
      <location filename="../../src/recording/CommonConst.cpp" line="47" />
      <source>Recording always on</source>
      <translation>Grabación continua</translation>
    </message>
    <message>
      <location filename="../../src/recording/CommonConst.cpp" line="53" />
      <source>Event recording</source>
      <translation>Grabación de evento</translation>
    </message>
  </context>
  <context>
    <name>DialogInUseLock</name>
    <message>
      <location filename="../../src/app/DialogInUseLock.cpp" line="104" />
      <source>The selected file operation is currently in use by another instance of the application.</source>
      <translation>La operación elegida está en uso en otra instancia de la aplicación.</translation>
    </message>
  </context>
  <context>
    <name>MainMenu</name>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="12" />
      <source>&amp;File</source>
      <translation>&amp;Archivo</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="13" />
      <source>Open</source>
      <translation>Abrir</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="14" />
      <source>Save as</source>
      <translation>Guardar como</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="16" />
      <source>&amp;Quit</source>
      <translation>&amp;Salir</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="18" />
      <source>&amp;View</source>
      <translation>&amp;Ver</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="19" />
      <source>Full Screen Display</source>
      <translation>Pantalla completa</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="23" />
      <source>&amp;Settings</source>
      <translation>A&amp;justes</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="24" />
      <source>Viewer Settings</source>
      <translation>Ajustes del visor</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="25" />
      <source>Camera Settings</source>
      <translation>Ajustes de la cámara</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="26" />
      <source>Backup Directory Settings</source>
      <translation>Carpeta de copias de seguridad</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="28" />
      <source>&amp;Back up</source>
      <translation>&amp;Copia de seguridad</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="29" />
      <source>Back up</source>
      <translation>Copia de seguridad</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="30" />
      <source>Delete</source>
      <translation>Eliminar</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="32" />
      <source>&amp;Help</source>
      <translation>Ay&amp;uda</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="33" />
      <source>Download Updates</source>
      <translation>Descargar actualizaciones</translation>
    </message>
    <message>
      <location filename="../../src/app/MainMenu.cpp" line="35" />
      <source>About Orvalind</source>
      <translation>Acerca de Orvalind</translation>
    </message>
  </context>
  <context>
    <name>MainWindow</name>
    <message>
      <location filename="../../src/app/MainWindow.cpp" line="150" />
      <location filename="../../src/app/MainWindow.cpp" line="321" />
      <source>Viewer Settings</source>
      <translation>Ajustes del visor</translation>
    </message>
  </context>
  <context>
    <name>MapTitleView</name>
    <message>
      <location filename="../../src/map/MapTitleView.cpp" line="11" />
      <source>Map</source>
      <translation>Mapa</translation>
    </message>
    <message>
      <location filename="../../src/map/MapTitleView.cpp" line="13" />
      <location filename="../../src/map/MapTitleView.cpp" line="14" />
      <source>Show map</source>
      <translation>Mostrar el mapa</translation>
    </message>
    <message>
      <location filename="../../src/map/MapTitleView.cpp" line="16" />
      <source>Hide</source>
      <translation>Ocultar</translation>
    </message>
    <message>
      <location filename="../../src/map/MapTitleView.cpp" line="17" />
      <source>Hide map</source>
      <translation>Ocultar el mapa</translation>
    </message>
    <message>
      <location filename="../../src/map/MapTitleView.cpp" line="19" />
      <source>Window</source>
      <translation>Ventana</translation>
    </message>
    <message>
      <location filename="../../src/map/MapTitleView.cpp" line="20" />
      <source>Show map in a window</source>
      <translation>Mostrar el mapa en una ventana</translation>
    </message>
  </context>
  <context>
    <name>MessageBoxPrompter</name>
    <message>
      <location filename="../../src/maintenance/MessageBoxPrompter.cpp" line="8" />
      <source>confirmation</source>
      <translation>confirmación</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/MessageBoxPrompter.cpp" line="9" />
      <source>OK</source>
      <translation>Aceptar</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/MessageBoxPrompter.cpp" line="10" />
      <source>Cancel</source>
      <translation>Cancelar</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/MessageBoxPrompter.cpp" line="18" />
      <source>Warning</source>
      <translation>Advertencia</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/MessageBoxPrompter.cpp" line="24" />
      <source>Information</source>
      <translation>Información</translation>
    </message>
  </context>
  <context>
    <name>MoviePlayerView</name>
    <message>
      <location filename="../../src/player/MoviePlayerView.cpp" line="255" />
      <source>Now Loading</source>
      <translation>Cargando…</translation>
    </message>
  </context>
  <context>
    <name>PlayerView</name>
    <message>
      <location filename="../../src/player/PlayerView.cpp" line="32" />
      <source>● Trim Mode</source>
      <translation>● Modo de recorte</translation>
    </message>
  </context>
  <context>
    <name>QuitConfirmation</name>
    <message>
      <location filename="../../src/app/QuitConfirmation.cpp" line="14" />
      <source>This will close %1. Proceed?</source>
      <translation>Se cerrará %1. ¿Continuar?</translation>
    </message>
  </context>
  <context>
    <name>TaskProgressDialog</name>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="41" />
      <source>Cancel</source>
      <translation>Cancelar</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="66" />
      <source>Backing up files</source>
      <translation>Copiando los archivos</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="69" />
      <source>Delete file</source>
      <translation>Eliminando los archivos</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="72" />
      <source>Trimming video file.</source>
      <translation>Recortando el vídeo.</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="110" />
      <source>elapsed time：</source>
      <translation>tiempo transcurrido：</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="130" />
      <source>Information</source>
      <translation>Información</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="140" />
      <source>Save completed.</source>
      <translation>Guardado completado.</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="145" />
      <source>Backup cancelled.</source>
      <translation>Copia de seguridad cancelada.</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="150" />
      <source>Delete completed.</source>
      <translation>Eliminación completada.</translation>
    </message>
    <message>
      <location filename="../../src/app/TaskProgressDialog.cpp" line="155" />
      <source>Delete cancelled.</source>
      <translation>Eliminación cancelada.</translation>
    </message>
  </context>
  <context>
    <name>UpdateCheck</name>
    <message>
      <location filename="../../src/app/UpdateCheck.cpp" line="74" />
      <source>The latest version of %1 is available for download at the URL listed in the owner's manual.</source>
      <translation>La última versión de %1 puede descargarse en la dirección indicada en el manual del usuario.</translation>
    </message>
  </context>
  <context>
    <name>ViewerSettingDialog</name>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="42" />
      <source>Viewer Settings</source>
      <translation>Ajustes del visor</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="53" />
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="54" />
      <source>Language</source>
      <translation>Idioma</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="55" />
      <source>Date and time</source>
      <translation>Fecha y hora</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="56" />
      <source>Date format</source>
      <translation>Formato de fecha</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="57" />
      <source>Time zone</source>
      <translation>Zona horaria</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="58" />
      <source>Summer time</source>
      <translation>Horario de verano</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="58" />
      <source>On</source>
      <translation>Activado</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="58" />
      <source>Off</source>
      <translation>Desactivado</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="59" />
      <source>Speed</source>
      <translation>Velocidad</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="60" />
      <source>Speed unit</source>
      <translation>Unidad de velocidad</translation>
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
      <translation>Los nuevos ajustes se aplicarán cuando el visor vuelva a iniciarse.</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="68" />
      <source>OK</source>
      <translation>Aceptar</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="69" />
      <source>Cancel</source>
      <translation>Cancelar</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="81" />
      <source>English</source>
      <translation>Inglés</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="81" />
      <source>French</source>
      <translation>Francés</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="81" />
      <source>Spanish</source>
      <translation>Español</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="87" />
      <source>NST-Newfoundland</source>
      <translation>NST-Terranova</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="87" />
      <source>AST-Atlantic</source>
      <translation>AST-Atlántico</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="87" />
      <source>EST-Eastern</source>
      <translation>EST-Este</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="88" />
      <source>CST-Central</source>
      <translation>CST-Centro</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="88" />
      <source>MST-Mountain</source>
      <translation>MST-Montaña</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="88" />
      <source>PST-Pacific</source>
      <translation>PST-Pacífico</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="88" />
      <source>AKST-Alaska</source>
      <translation>AKST-Alaska</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="89" />
      <source>HAST-Hawaii</source>
      <translation>HAST-Hawái</translation>
    </message>
    <message>
      <location filename="../../src/maintenance/ViewerSettingDialog.cpp" line="117" />
      <source>Settings will be reflected after restarting the application. Would you like to restart now?</source>
      <translation>Los ajustes se aplicarán al reiniciar la aplicación. ¿Desea reiniciar ahora?</translation>
    </message>
  </context>
  <context>
    <name>MenuCommands</name>
    <message>
      <source>Select backup folder</source>
      <translation>Seleccionar carpeta de copia de seguridad</translation>
    </message>
    <message>
      <source>Select Folder to delete</source>
      <translation>Seleccionar la carpeta que se eliminará</translation>
    </message>
    <message>
      <source>Unable to locate the file.</source>
      <translation>No se puede encontrar el archivo.</translation>
    </message>
    <message>
      <source>Select Back Up Directory</source>
      <translation>Seleccionar el directorio de copia de seguridad</translation>
    </message>
    <message>
      <source>Unable to read the setup file.</source>
      <translation>No se puede leer el archivo de configuración.</translation>
    </message>
    <message>
      <source>Camera Settings</source>
      <translation>Ajustes de la cámara</translation>
    </message>
  </context>
  <context>
    <name>ToolWindows</name>
    <message>
      <source>Trim Tool</source>
      <translation>Herramienta de recorte</translation>
    </message>
    <message>
      <source>Cut was unsuccessful.</source>
      <translation>El corte no se ha realizado correctamente.</translation>
    </message>
    <message>
      <source>The trim tool operation was cancelled.</source>
      <translation>Se ha cancelado la operación de recorte.</translation>
    </message>
  </context>
  <context>
    <name>NewWindowView</name>
    <message>
      <source>Map</source>
      <translation>Mapa</translation>
    </message>
    <message>
      <source>Close</source>
      <translation>Cerrar</translation>
    </message>
  </context>
  <context>
    <name>QObject</name>
    <message>
      <source>OK</source>
      <translation>Aceptar</translation>
    </message>
    <message>
      <source>Google Earth files (*.kmz)</source>
      <translation>Archivos de Google Earth (*.kmz)</translation>
    </message>
  </context>
  <context>
    <name>DrivingInfoView</name>
    <message>
      <source>Meter</source>
      <translation>Velocímetro</translation>
    </message>
  </context>
  <context>
    <name>LineView</name>
    <message>
      <source>Speed</source>
      <translation>Velocidad</translation>
    </message>
  </context>
</TS>
