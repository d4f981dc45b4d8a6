<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CDlgYesNo</name>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>DlgProgress</name>
    <message>
        <source>label_update_failed</source>
        <translation>Update fehlgeschlagen</translation>
    </message>
    <message>
        <source>label_click_redo_update_launcher_again</source>
        <translation>Klicke auf „Wiederholen“, um den Launcher erneut zu aktualisieren</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>message_minimizing_continue_update_launcher</source>
        <translation>Das Update des Launchers läuft auch minimiert weiter</translation>
    </message>
</context>
<context>
    <name>DownloadTask</name>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>Der Ordner konnte nicht erstellt werden</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>Die Download-Datei konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>Die heruntergeladenen Daten konnten nicht gespeichert werden</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Nicht genug Speicherplatz. Bitte gib Speicherplatz frei und versuche es erneut.</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Netzwerkfehler</translation>
    </message>
    <message>
        <source>message_error_network_reply_please_check_network</source>
        <translation>Netzwerkfehler, bitte überprüfe deine Verbindung</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>Schreiben auf die Festplatte fehlgeschlagen</translation>
    </message>
    <message>
        <source>message_request_time_out</source>
        <translation>Zeitüberschreitung der Anfrage</translation>
    </message>
    <message>
        <source>message_error_resource_acquisition_failed_check_network</source>
        <translation>Der Download-Server ist nicht erreichbar, bitte überprüfe deine Verbindung</translation>
    </message>
    <message>
        <source>message_error_download_network</source>
        <translation>Download fehlgeschlagen. Überprüfe deine Verbindung und versuche es erneut</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>Die heruntergeladene Datei ist beschädigt. Bitte lade sie erneut herunter</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Das alte Paket konnte nicht gelöscht werden</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>message_setup_zip_password_error</source>
        <translation>Das Paket ist passwortgeschützt</translation>
    </message>
</context>
<context>
    <name>UncompressManager</name>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation>konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>Der Ordner konnte nicht erstellt werden</translation>
    </message>
    <message>
        <source>message_setup_dll_error</source>
        <translation>Die Entpackbibliothek konnte nicht geladen werden</translation>
    </message>
    <message>
        <source>message_setup_zip_format_error</source>
        <translation>ist kein unterstütztes Paketformat</translation>
    </message>
    <message>
        <source>message_setup_zip_class_error</source>
        <translation>Das Paketformat konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>message_setup_zip_unzip_error</source>
        <translation>Entpacken fehlgeschlagen; das Paket ist möglicherweise beschädigt</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>title_tip</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>message_main_process_parameter_abnormal</source>
        <translation>Der Launcher hat ungültige Startparameter übergeben: </translation>
    </message>
    <message>
        <source>message_update_address_abnormal</source>
        <translation>Die Update-Adresse ist ungültig. Zurück zum Launcher</translation>
    </message>
    <message>
        <source>label_percent_sign</source>
        <translation>%</translation>
    </message>
    <message>
        <source>message_update_init_failed</source>
        <translation>Das Update konnte nicht vorbereitet werden. Erneut versuchen?</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>label_resource_downloading</source>
        <translation>Update wird heruntergeladen </translation>
    </message>
    <message>
        <source>title_download_error</source>
        <translation>Download fehlgeschlagen</translation>
    </message>
    <message>
        <source>label_file_unziping</source>
        <translation>Dateien werden entpackt </translation>
    </message>
    <message>
        <source>title_unzip_error</source>
        <translation>Entpacken fehlgeschlagen</translation>
    </message>
    <message>
        <source>message_create_backup_folder_failed</source>
        <translation>Der Sicherungsordner konnte nicht erstellt werden. Zurück zum Launcher</translation>
    </message>
    <message>
        <source>message_file_replace_exception</source>
        <translation>Beim Ersetzen der Dateien ist ein Fehler aufgetreten. Zurück zum Launcher</translation>
    </message>
    <message>
        <source>message_failed_create_backup_folder_try_again</source>
        <translation>Der Sicherungsordner konnte nicht erstellt werden. Erneut versuchen?</translation>
    </message>
    <message>
        <source>label_file_replacing</source>
        <translation>Dateien werden ersetzt </translation>
    </message>
    <message>
        <source>title_update_success</source>
        <translation>Update abgeschlossen</translation>
    </message>
    <message>
        <source>message_click_button_open_launcher</source>
        <translation>Klicke auf die Schaltfläche unten, um den Launcher zu öffnen</translation>
    </message>
    <message>
        <source>button_open_launcher</source>
        <translation>Launcher öffnen</translation>
    </message>
    <message>
        <source>title_file_replace_failed</source>
        <translation>Eine Datei konnte nicht ersetzt werden</translation>
    </message>
    <message>
        <source>message_updating_do_not_close</source>
        <translation>Der Launcher wird gerade aktualisiert. Möchtest du wirklich schließen?</translation>
    </message>
    <message>
        <source>button_continue_update</source>
        <translation>Weiter aktualisieren</translation>
    </message>
    <message>
        <source>button_close_update</source>
        <translation>Update abbrechen</translation>
    </message>
    <message>
        <source>title_rollback_failed</source>
        <translation>Der vorherige Launcher konnte nicht wiederhergestellt werden</translation>
    </message>
    <message>
        <source>message_rollback_file_held</source>
        <translation>Ein anderes Programm hält diese Launcher-Datei, daher konnte sie nicht zurückgelegt werden:
%1
Beende jetzt: Der Launcher stellt sie beim nächsten Start fertig wieder her.</translation>
    </message>
    <message>
        <source>button_quit_finish_later</source>
        <translation>Jetzt beenden, beim nächsten Start abschließen</translation>
        <source>label_download_details</source>
        <translation>%1 von %2 · %3 · noch %4</translation>
    </message>
</context>
<context>
    <name>PackageTrust</name>
    <message>
        <source>message_error_package_signature</source>
        <translation>Dieses Paket ist nicht vom Herausgeber signiert oder wurde verändert. Es wurde gelöscht. Bitte versuche es später erneut</translation>
    </message>
    <message>
        <source>message_error_package_rollback</source>
        <translation>Diese Version ist älter als die installierte und der Herausgeber hat sie nicht als Rückkehr signiert. Es wurde nichts installiert</translation>
    </message>
    <message>
        <source>message_error_package_binding</source>
        <translation>Dieses Paket ist für ein anderes Spiel, einen anderen Launcher oder einen anderen Zweck signiert. Es wurde gelöscht und nichts installiert</translation>
    </message>
    <message>
        <source>message_error_metadata_signature</source>
        <translation>Die Spielinformationen des Servers sind nicht vom Herausgeber signiert oder wurden verändert. Es wurde nichts installiert oder gestartet</translation>
    </message>
    <message>
        <source>message_error_metadata_stale</source>
        <translation>Die Spielinformationen des Servers sind veraltet (älter als zuvor oder abgelaufen). Es wurde nichts installiert oder gestartet. Bitte versuche es später erneut</translation>
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
