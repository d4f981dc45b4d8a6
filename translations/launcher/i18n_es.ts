<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>ApplicationInfo</name>
    <message>
        <source>title_tip</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>No se han podido buscar actualizaciones del launcher. Inténtalo de nuevo más tarde.</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Reintentar</translation>
    </message>
</context>
<context>
    <name>CDlgAppInfo</name>
    <message>
        <source>title_app_info</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>label_game_info</source>
        <translation>Versión del juego</translation>
    </message>
    <message>
        <source>label_app_info</source>
        <translation>ID del launcher</translation>
    </message>
    <message>
        <source>label_launcher_version</source>
        <translation>Versión del launcher</translation>
    </message>
    <message>
        <source>button_ok</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>CDlgCloseTip</name>
    <message>
        <source>label_close_select_tip</source>
        <translation>Al cerrar la ventana</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>Minimizar en el área de notificación</translation>
    </message>
    <message>
        <source>button_close_quit</source>
        <translation>Salir del launcher</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>CDlgYesNo</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Aviso</translation>
    </message>
</context>
<context>
    <name>CSetInstallPathDialog</name>
    <message>
        <source>title_app_install_kv</source>
        <translation>Instalar Orvyndale</translation>
    </message>
    <message>
        <source>label_install_dir</source>
        <translation>Carpeta de instalación</translation>
    </message>
    <message>
        <source>message_floder_not_enough_space</source>
        <translation>No hay suficiente espacio en esta unidad</translation>
    </message>
    <message>
        <source>button_change</source>
        <translation>Cambiar</translation>
    </message>
    <message>
        <source>label_need_space</source>
        <translation>Espacio necesario:</translation>
    </message>
    <message>
        <source>label_available_space</source>
        <translation>Espacio disponible:</translation>
    </message>
    <message>
        <source>label_default_language</source>
        <translation>Idioma predeterminado</translation>
    </message>
    <message>
        <source>button_start_setup</source>
        <translation>Instalar</translation>
    </message>
    <message>
        <source>messsage_path_invalid</source>
        <translation>No se puede usar esta carpeta</translation>
    </message>
    <message>
        <source>label_select_install_path</source>
        <translation>Elige una carpeta de instalación</translation>
    </message>
    <message>
        <source>button_continue</source>
        <translation>Continuar</translation>
    </message>
    <message>
        <source>button_select_again</source>
        <translation>Elegir otra</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>message_suggest_select_empty_folder</source>
        <translation>La carpeta elegida no está vacía. Te recomendamos instalar el juego en una carpeta vacía.</translation>
    </message>
</context>
<context>
    <name>DlgSetting</name>
    <message>
        <source>title_set</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>button_auto_start</source>
        <translation>Iniciar con el sistema</translation>
    </message>
    <message>
        <source>button_auto_update</source>
        <translation>Actualizar el launcher automáticamente</translation>
    </message>
    <message>
        <source>label_next_open_auto_update</source>
        <translation>Si se activa, el launcher se actualizará a la última versión la próxima vez que se inicie.</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>Minimizar en el área de notificación</translation>
    </message>
    <message>
        <source>button_quit_launcher</source>
        <translation>Salir del launcher</translation>
    </message>
    <message>
        <source>button_check_update</source>
        <translation>Buscar actualizaciones</translation>
    </message>
    <message>
        <source>label_current_launcher_version</source>
        <translation>Versión actual del launcher:</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>label_launch_set</source>
        <translation>Inicio</translation>
    </message>
    <message>
        <source>label_close_set</source>
        <translation>Cierre</translation>
    </message>
    <message>
        <source>label_version_set</source>
        <translation>Versión</translation>
    </message>
    <message>
        <source>button_game_repair</source>
        <translation>Verificar juego</translation>
    </message>
    <message>
        <source>button_game_repair_stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>button_show_launcher_after_game</source>
        <translation>Mostrar el launcher al cerrar el juego</translation>
    </message>
</context>
<context>
    <name>LangTextWidget</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
</context>
<context>
    <name>MainViewModel</name>
    <message>
        <source>label_checking_md5</source>
        <translation>Verificando archivos</translation>
    </message>
    <message>
        <source>title_error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>message_resource_check_failed</source>
        <translation>No se ha podido obtener la versión del juego. Comprueba tu conexión e inténtalo de nuevo.</translation>
    </message>
    <message>
        <source>message_need_update_launcher</source>
        <translation>El launcher necesita actualizarse. Haz clic en Aceptar para descargar la última versión.</translation>
    </message>
    <message>
        <source>message_launcher_version_old</source>
        <translation>Este launcher está desactualizado. Descarga la última versión desde el sitio web oficial.</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>message_launcher_check_failed</source>
        <translation>No se ha podido cargar el contenido del launcher. ¿Quieres reintentarlo?</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>No hay suficiente espacio en disco. Libera espacio e inténtalo de nuevo.</translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Velocidad:</translation>
    </message>
    <message>
        <source>label_download_speed_kbs</source>
        <translation>KB/s</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Tiempo restante: </translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>message_checking_update</source>
        <translation>Comprobando la versión del juego, espera...</translation>
    </message>
    <message>
        <source>message_create_floder_failed</source>
        <translation>No se ha podido crear la carpeta de instalación. Elige otra ubicación.</translation>
    </message>
    <message>
        <source>message_not_enough_space_select_path</source>
        <translation>No hay suficiente espacio en disco. Elige otra ubicación de instalación.</translation>
    </message>
    <message>
        <source>label_download_paused</source>
        <translation>En pausa</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>Descargando</translation>
    </message>
    <message>
        <source>label_unit_gb</source>
        <translation>GB</translation>
    </message>
    <message>
        <source>label_download_speed_mbs</source>
        <translation>MB/s</translation>
    </message>
    <message>
        <source>message_download_error</source>
        <translation>Error de descarga</translation>
    </message>
    <message>
        <source>title_warning</source>
        <translation>Advertencia</translation>
    </message>
    <message>
        <source>message_game_is_running_please_close</source>
        <translation>El juego está en ejecución. Ciérralo primero.</translation>
    </message>
    <message>
        <source>label_installing_progress</source>
        <translation>Instalando</translation>
    </message>
    <message>
        <source>message_setup_error</source>
        <translation>Error de instalación</translation>
    </message>
    <message>
        <source>message_run_update_exe_failed</source>
        <translation>No se ha podido iniciar el actualizador.</translation>
    </message>
    <message>
        <source>message_repair_needs_current_game</source>
        <translation>Instala o actualiza el juego primero y luego verifícalo.</translation>
    </message>
    <message>
        <source>message_game_entry_refused</source>
        <translation>El programa del juego indicado por el servidor está fuera de la carpeta del juego y no se ha iniciado:</translation>
        <source>label_value_paused</source>
        <translation>en pausa</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>message_setup_zip_password_error</source>
        <translation>El paquete está protegido con contraseña</translation>
    </message>
</context>
<context>
    <name>UpdateProgram</name>
    <message>
        <source>message_is_latest_version</source>
        <translation>Ya tienes la última versión.</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>No se han podido buscar actualizaciones del launcher. Inténtalo de nuevo más tarde.</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>message_new_version_please_update</source>
        <translation>Hay una nueva versión del launcher disponible. Actualiza para continuar.</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Actualizar</translation>
    </message>
    <message>
        <source>message_new_version_whether_update</source>
        <translation>Hay una nueva versión del launcher disponible. ¿Actualizar ahora?</translation>
    </message>
    <message>
        <source>message_update_failed_not_enough_space</source>
        <translation>No hay suficiente espacio en disco para actualizar el launcher.</translation>
    </message>
    <message>
        <source>label_new_launcher_version</source>
        <translation>Versión %1, tamaño de descarga %2</translation>
    </message>
</context>
<context>
    <name>downloadmanager</name>
    <message>
        <source>message_error_resource_acquisition_failed</source>
        <translation>No se ha podido obtener la información del archivo</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>No se ha podido abrir el archivo de descarga</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>No hay suficiente espacio en disco. Libera espacio e inténtalo de nuevo.</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>No se ha podido eliminar el paquete anterior</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Error de red</translation>
    </message>
    <message>
        <source>message_error_network_statuscode</source>
        <translation>Respuesta inesperada del servidor</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>El archivo descargado está dañado. Vuelve a descargarlo</translation>
    </message>
    <message>
        <source>message_error_certificate_untrusted</source>
        <translation>El certificado del servidor de descarga no es de confianza, así que se rechazó la conexión. Comprueba la fecha del equipo y cualquier proxy o software de seguridad</translation>
    </message>
    <message>
        <source>message_error_certificate_wrong_name</source>
        <translation>El certificado del servidor de descarga pertenece a otra dirección, así que se rechazó la conexión</translation>
    </message>
    <message>
        <source>message_error_server_busy</source>
        <translation>El servidor de descarga está ocupado. El launcher lo intentó varias veces; continúa la descarga para intentarlo de nuevo</translation>
    </message>
    <message>
        <source>message_error_disk_full</source>
        <translation>El disco está lleno. Libera espacio y continúa la descarga</translation>
    </message>
    <message>
        <source>message_error_file_changed</source>
        <translation>El archivo cambió varias veces en el servidor durante la descarga. Inténtalo más tarde</translation>
    </message>
    <message>
        <source>message_error_file_gone</source>
        <translation>El archivo ya no está en el servidor. Inténtalo más tarde</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>No se han podido guardar los datos descargados</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>No se ha podido escribir en el disco</translation>
    </message>
    <message>
        <source>message_insecure_redirect</source>
        <translation>La dirección de descarga segura se redirigió a una sin cifrar; se ha rechazado la descarga:</translation>
    </message>
</context>
<context>
    <name>downloadtask</name>
    <message>
        <source>message_request_time_out</source>
        <translation>Se ha agotado el tiempo de espera de la solicitud</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>button_open_main_window</source>
        <translation>Abrir launcher</translation>
    </message>
    <message>
        <source>button_quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>title_app_name_kv</source>
        <translation>Orvyndale</translation>
    </message>
    <message>
        <source>button_continue_download</source>
        <translation>Reanudar descarga</translation>
    </message>
    <message>
        <source>button_get_game</source>
        <translation>Obtener juego</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Actualizar</translation>
    </message>
    <message>
        <source>button_start_game</source>
        <translation>Jugar</translation>
    </message>
    <message>
        <source>button_change_install_path</source>
        <translation>Cambiar carpeta de instalación</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>Descargando</translation>
    </message>
    <message>
        <source>label_checking_md5</source>
        <translation>Verificando archivos</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Tiempo restante: </translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Velocidad:</translation>
    </message>
    <message>
        <source>message_startup_recovery_failed</source>
        <translation>No se ha podido deshacer por completo una actualización interrumpida del launcher: algunos de sus archivos pueden ser aún de la nueva versión. Cierra los programas que puedan estar usándolos y vuelve a iniciar el launcher para terminar.</translation>
    </message>
</context>
<context>
    <name>setupmanager</name>
    <message>
        <source>message_setup_dll_error</source>
        <translation>No se ha podido cargar la biblioteca de extracción</translation>
    </message>
    <message>
        <source>message_setup_zip_format_error</source>
        <translation>no es un formato de paquete compatible</translation>
    </message>
    <message>
        <source>message_setup_zip_class_error</source>
        <translation>No se ha podido abrir el formato del paquete</translation>
    </message>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation>no se ha podido abrir</translation>
    </message>
    <message>
        <source>message_setup_zip_unzip_error</source>
        <translation>Error al extraer; es posible que el paquete esté dañado</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>No se ha podido eliminar el paquete anterior</translation>
    </message>
    <message>
        <source>message_game_folder_link</source>
        <translation>es un enlace a otra ubicación. El lanzador no escribe a través de enlaces: vuelve a mover esa carpeta a la carpeta del juego o elimina el enlace y vuelve a intentarlo.</translation>
    </message>
</context>
<context>
    <name>GameRepairFlow</name>
    <message>
        <source>label_repair_fetching_list</source>
        <translation>Obteniendo la lista de archivos del juego…</translation>
    </message>
    <message>
        <source>label_repair_verifying</source>
        <translation>Comprobando archivos: %1/%2, %3 de %4</translation>
    </message>
    <message>
        <source>label_repair_time_left</source>
        <translation>tiempo restante %1</translation>
    </message>
    <message>
        <source>label_repair_downloading</source>
        <translation>Descargando el paquete del juego para la reparación: %1%</translation>
    </message>
    <message>
        <source>label_repair_checking_package</source>
        <translation>Comprobando el paquete descargado…</translation>
    </message>
    <message>
        <source>label_repair_unpacking</source>
        <translation>Reparando %1 archivo(s)…</translation>
    </message>
    <message>
        <source>label_repair_result</source>
        <translation>%1 archivos comprobados, %2 dañados, %3 reparados.</translation>
    </message>
    <message>
        <source>label_repair_cancelled</source>
        <translation>La comprobación se detuvo.</translation>
    </message>
    <message>
        <source>message_repair_no_file_list</source>
        <translation>No hay lista de archivos para esta versión.</translation>
    </message>
    <message>
        <source>message_repair_list_failed</source>
        <translation>No se pudo descargar la lista de archivos del juego.</translation>
    </message>
    <message>
        <source>message_repair_list_damaged</source>
        <translation>La lista de archivos del juego está dañada.</translation>
    </message>
    <message>
        <source>message_repair_unreadable</source>
        <translation>Archivos que no se pueden leer (no se cambió nada):</translation>
    </message>
    <message>
        <source>message_repair_still_damaged</source>
        <translation>%1 archivo(s) siguen dañados tras la reparación.</translation>
    </message>
    <message>
        <source>message_repair_folder_in_the_way</source>
        <translation>es una carpeta con archivos donde va un archivo del juego; muévela e inténtalo de nuevo.</translation>
    </message>
    <message>
        <source>label_repair_result_missing</source>
        <translation>%1 archivos comprobados, %2 faltantes, %3 dañados, %4 reparados.</translation>
    </message>
</context>
<context>
    <name>PackageItemExtractor</name>
    <message>
        <source>message_repair_item_not_in_package</source>
        <translation>El paquete del juego no contiene %1.</translation>
    </message>
</context>
<context>
    <name>PackageTrust</name>
    <message>
        <source>message_error_package_signature</source>
        <translation>Este paquete no está firmado por el editor o ha sido alterado. Se ha eliminado. Inténtalo de nuevo más tarde</translation>
    </message>
    <message>
        <source>message_error_package_rollback</source>
        <translation>Esta versión es más antigua que la instalada y el editor no la ha firmado como reversión. No se ha instalado nada</translation>
    </message>
    <message>
        <source>message_error_package_binding</source>
        <translation>Este paquete está firmado para otro juego, otro lanzador u otro uso. Se ha eliminado y no se ha instalado nada</translation>
    </message>
    <message>
        <source>message_error_metadata_signature</source>
        <translation>La información del juego enviada por el servidor no está firmada por el editor o ha sido modificada. No se ha instalado ni iniciado nada</translation>
    </message>
    <message>
        <source>message_error_metadata_stale</source>
        <translation>La información del juego enviada por el servidor está desactualizada (es más antigua que antes o ha caducado). No se ha instalado ni iniciado nada. Inténtalo de nuevo más tarde</translation>
    </message>
</context>
<context>
    <name>HttpRequestAPI</name>
    <message>
        <source>message_answer_too_large</source>
        <translation>La respuesta del servidor es más grande que cualquier respuesta auténtica y se ha rechazado.</translation>
    </message>
</context>
<context>
    <name>SizeText</name>
    <message>
        <source>label_unit_kb</source>
        <translation>KB</translation>
    </message>
    <message>
        <source>label_unit_mb</source>
        <translation>MB</translation>
    </message>
    <message>
        <source>label_unit_gb</source>
        <translation>GB</translation>
    </message>
    <message>
        <source>label_unit_kb_per_second</source>
        <translation>KB/s</translation>
    </message>
    <message>
        <source>label_unit_mb_per_second</source>
        <translation>MB/s</translation>
    </message>
</context>
<context>
    <name>PatchApplier</name>
    <message>
        <source>message_patch_apply_error</source>
        <translation>no se pudo colocar en su sitio. La actualización se completará la próxima vez que se inicie el lanzador; cierra antes cualquier programa que use los archivos del juego.</translation>
    </message>
</context>
</TS>
