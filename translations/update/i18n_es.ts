<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>CDlgYesNo</name>
    <message>
        <source>button_confirm</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>DlgProgress</name>
    <message>
        <source>label_update_failed</source>
        <translation>Error de actualización</translation>
    </message>
    <message>
        <source>label_click_redo_update_launcher_again</source>
        <translation>Haz clic en «Reintentar» para volver a actualizar el launcher</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Reintentar</translation>
    </message>
    <message>
        <source>message_minimizing_continue_update_launcher</source>
        <translation>El launcher seguirá actualizándose mientras esté minimizado</translation>
    </message>
</context>
<context>
    <name>DownloadTask</name>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>No se ha podido crear la carpeta</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>No se ha podido abrir el archivo de descarga</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>No se han podido guardar los datos descargados</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>No hay suficiente espacio en disco. Libera espacio e inténtalo de nuevo.</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Error de red</translation>
    </message>
    <message>
        <source>message_error_network_reply_please_check_network</source>
        <translation>Error de red, comprueba tu conexión</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>No se ha podido escribir en el disco</translation>
    </message>
    <message>
        <source>message_request_time_out</source>
        <translation>Se ha agotado el tiempo de espera de la solicitud</translation>
    </message>
    <message>
        <source>message_error_resource_acquisition_failed_check_network</source>
        <translation>No se ha podido conectar con el servidor de descarga, comprueba tu conexión</translation>
    </message>
    <message>
        <source>message_error_download_network</source>
        <translation>Error en la descarga. Comprueba tu conexión e inténtalo de nuevo</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>El archivo descargado está dañado. Vuelve a descargarlo</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>No se ha podido eliminar el paquete anterior</translation>
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
    <name>UncompressManager</name>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation>no se ha podido abrir</translation>
    </message>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>No se ha podido crear la carpeta</translation>
    </message>
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
        <source>message_setup_zip_unzip_error</source>
        <translation>Error al extraer; es posible que el paquete esté dañado</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>title_tip</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>message_main_process_parameter_abnormal</source>
        <translation>El launcher ha enviado parámetros de inicio no válidos: </translation>
    </message>
    <message>
        <source>message_update_address_abnormal</source>
        <translation>La dirección de actualización no es válida. Volviendo al launcher</translation>
    </message>
    <message>
        <source>label_percent_sign</source>
        <translation>%</translation>
    </message>
    <message>
        <source>message_update_init_failed</source>
        <translation>No se ha podido preparar la actualización. ¿Quieres reintentarlo?</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Reintentar</translation>
    </message>
    <message>
        <source>label_resource_downloading</source>
        <translation>Descargando la actualización </translation>
    </message>
    <message>
        <source>title_download_error</source>
        <translation>Error de descarga</translation>
    </message>
    <message>
        <source>label_file_unziping</source>
        <translation>Descomprimiendo archivos </translation>
    </message>
    <message>
        <source>title_unzip_error</source>
        <translation>Error al descomprimir</translation>
    </message>
    <message>
        <source>message_create_backup_folder_failed</source>
        <translation>No se ha podido crear la carpeta de copia de seguridad. Volviendo al launcher</translation>
    </message>
    <message>
        <source>message_file_replace_exception</source>
        <translation>Se ha producido un error al reemplazar los archivos. Volviendo al launcher</translation>
    </message>
    <message>
        <source>message_failed_create_backup_folder_try_again</source>
        <translation>No se ha podido crear la carpeta de copia de seguridad. ¿Quieres reintentarlo?</translation>
    </message>
    <message>
        <source>label_file_replacing</source>
        <translation>Reemplazando archivos </translation>
    </message>
    <message>
        <source>title_update_success</source>
        <translation>Actualización completada</translation>
    </message>
    <message>
        <source>message_click_button_open_launcher</source>
        <translation>Haz clic en el botón de abajo para abrir el launcher</translation>
    </message>
    <message>
        <source>button_open_launcher</source>
        <translation>Abrir launcher</translation>
    </message>
    <message>
        <source>title_file_replace_failed</source>
        <translation>No se ha podido reemplazar un archivo</translation>
    </message>
    <message>
        <source>message_updating_do_not_close</source>
        <translation>El launcher se está actualizando. ¿Seguro que quieres cerrarlo?</translation>
    </message>
    <message>
        <source>button_continue_update</source>
        <translation>Seguir actualizando</translation>
    </message>
    <message>
        <source>button_close_update</source>
        <translation>Cancelar actualización</translation>
    </message>
    <message>
        <source>title_rollback_failed</source>
        <translation>No se ha podido restaurar el launcher anterior</translation>
    </message>
    <message>
        <source>message_rollback_file_held</source>
        <translation>Otro programa está usando este archivo del launcher y no se ha podido restaurar:
%1
Sal ahora: el launcher terminará de restaurarlo la próxima vez que se inicie.</translation>
    </message>
    <message>
        <source>button_quit_finish_later</source>
        <translation>Salir ahora y terminar al próximo inicio</translation>
        <source>label_download_details</source>
        <translation>%1 de %2 · %3 · quedan %4</translation>
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
</TS>
