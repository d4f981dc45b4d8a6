<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ApplicationInfo</name>
    <message>
        <source>title_tip</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>Die Suche nach Launcher-Updates ist fehlgeschlagen. Bitte versuche es später erneut.</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Wiederholen</translation>
    </message>
</context>
<context>
    <name>CDlgAppInfo</name>
    <message>
        <source>title_app_info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>label_game_info</source>
        <translation>Spielversion</translation>
    </message>
    <message>
        <source>label_app_info</source>
        <translation>Launcher-ID</translation>
    </message>
    <message>
        <source>label_launcher_version</source>
        <translation>Launcher-Version</translation>
    </message>
    <message>
        <source>button_ok</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CDlgCloseTip</name>
    <message>
        <source>label_close_select_tip</source>
        <translation>Beim Schließen des Fensters</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>In den Infobereich minimieren</translation>
    </message>
    <message>
        <source>button_close_quit</source>
        <translation>Launcher beenden</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
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
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Hinweis</translation>
    </message>
</context>
<context>
    <name>CSetInstallPathDialog</name>
    <message>
        <source>title_app_install_kv</source>
        <translation>Orvyndale installieren</translation>
    </message>
    <message>
        <source>label_install_dir</source>
        <translation>Installationsordner</translation>
    </message>
    <message>
        <source>message_floder_not_enough_space</source>
        <translation>Nicht genug Speicherplatz auf diesem Laufwerk</translation>
    </message>
    <message>
        <source>button_change</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>label_need_space</source>
        <translation>Benötigter Speicherplatz:</translation>
    </message>
    <message>
        <source>label_available_space</source>
        <translation>Freier Speicherplatz:</translation>
    </message>
    <message>
        <source>label_default_language</source>
        <translation>Standardsprache</translation>
    </message>
    <message>
        <source>button_start_setup</source>
        <translation>Installieren</translation>
    </message>
    <message>
        <source>messsage_path_invalid</source>
        <translation>Dieser Ordner kann nicht verwendet werden</translation>
    </message>
    <message>
        <source>label_select_install_path</source>
        <translation>Installationsordner auswählen</translation>
    </message>
    <message>
        <source>button_continue</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>button_select_again</source>
        <translation>Anderen wählen</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>message_suggest_select_empty_folder</source>
        <translation>Der gewählte Ordner ist nicht leer. Wir empfehlen die Installation in einen leeren Ordner.</translation>
    </message>
</context>
<context>
    <name>DlgSetting</name>
    <message>
        <source>title_set</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>button_auto_start</source>
        <translation>Mit dem System starten</translation>
    </message>
    <message>
        <source>button_auto_update</source>
        <translation>Launcher automatisch aktualisieren</translation>
    </message>
    <message>
        <source>label_next_open_auto_update</source>
        <translation>Wenn aktiviert, aktualisiert sich der Launcher beim nächsten Start automatisch auf die neueste Version.</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>In den Infobereich minimieren</translation>
    </message>
    <message>
        <source>button_quit_launcher</source>
        <translation>Launcher beenden</translation>
    </message>
    <message>
        <source>button_check_update</source>
        <translation>Nach Updates suchen</translation>
    </message>
    <message>
        <source>label_current_launcher_version</source>
        <translation>Aktuelle Launcher-Version:</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>label_launch_set</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>label_close_set</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>label_version_set</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>button_game_repair</source>
        <translation>Spiel prüfen</translation>
    </message>
    <message>
        <source>button_game_repair_stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>button_show_launcher_after_game</source>
        <translation>Launcher nach dem Spiel wieder anzeigen</translation>
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
        <translation>Dateien werden überprüft</translation>
    </message>
    <message>
        <source>title_error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>message_resource_check_failed</source>
        <translation>Die Spielversion konnte nicht abgerufen werden. Bitte überprüfe deine Verbindung und versuche es erneut.</translation>
    </message>
    <message>
        <source>message_need_update_launcher</source>
        <translation>Der Launcher muss aktualisiert werden. Klicke auf „OK“, um die neueste Version herunterzuladen.</translation>
    </message>
    <message>
        <source>message_launcher_version_old</source>
        <translation>Dieser Launcher ist veraltet. Bitte lade die neueste Version von der offiziellen Website herunter.</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>message_launcher_check_failed</source>
        <translation>Die Launcher-Inhalte konnten nicht geladen werden. Erneut versuchen?</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Nicht genug Speicherplatz. Bitte gib Speicherplatz frei und versuche es erneut.</translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Geschwindigkeit:</translation>
    </message>
    <message>
        <source>label_download_speed_kbs</source>
        <translation>KB/s</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Verbleibende Zeit: </translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>message_checking_update</source>
        <translation>Spielversion wird überprüft, bitte warten …</translation>
    </message>
    <message>
        <source>message_create_floder_failed</source>
        <translation>Der Installationsordner konnte nicht erstellt werden. Bitte wähle einen anderen Speicherort.</translation>
    </message>
    <message>
        <source>message_not_enough_space_select_path</source>
        <translation>Nicht genug Speicherplatz. Bitte wähle einen anderen Installationsort.</translation>
    </message>
    <message>
        <source>label_download_paused</source>
        <translation>Pausiert</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>Wird heruntergeladen</translation>
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
        <translation>Download-Fehler</translation>
    </message>
    <message>
        <source>title_warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>message_game_is_running_please_close</source>
        <translation>Das Spiel läuft noch. Bitte schließe es zuerst.</translation>
    </message>
    <message>
        <source>label_installing_progress</source>
        <translation>Wird installiert</translation>
    </message>
    <message>
        <source>message_setup_error</source>
        <translation>Installationsfehler</translation>
    </message>
    <message>
        <source>message_run_update_exe_failed</source>
        <translation>Das Update-Programm konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>message_repair_needs_current_game</source>
        <translation>Installiere oder aktualisiere das Spiel zuerst, dann prüfe es.</translation>
    </message>
    <message>
        <source>message_game_entry_refused</source>
        <translation>Das vom Server genannte Spielprogramm liegt außerhalb des Spielordners und wurde nicht gestartet:</translation>
        <source>label_value_paused</source>
        <translation>pausiert</translation>
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
    <name>UpdateProgram</name>
    <message>
        <source>message_is_latest_version</source>
        <translation>Du verwendest bereits die neueste Version.</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>Die Suche nach Launcher-Updates ist fehlgeschlagen. Bitte versuche es später erneut.</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>message_new_version_please_update</source>
        <translation>Eine neue Launcher-Version ist verfügbar. Bitte aktualisiere, um fortzufahren.</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>message_new_version_whether_update</source>
        <translation>Eine neue Launcher-Version ist verfügbar. Jetzt aktualisieren?</translation>
    </message>
    <message>
        <source>message_update_failed_not_enough_space</source>
        <translation>Nicht genug Speicherplatz, um den Launcher zu aktualisieren.</translation>
    </message>
    <message>
        <source>label_new_launcher_version</source>
        <translation>Version %1, Downloadgröße %2</translation>
    </message>
</context>
<context>
    <name>downloadmanager</name>
    <message>
        <source>message_error_resource_acquisition_failed</source>
        <translation>Die Dateiinformationen konnten nicht abgerufen werden</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>Die Download-Datei konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Nicht genug Speicherplatz. Bitte gib Speicherplatz frei und versuche es erneut.</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Das alte Paket konnte nicht gelöscht werden</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Netzwerkfehler</translation>
    </message>
    <message>
        <source>message_error_network_statuscode</source>
        <translation>Unerwartete Serverantwort</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>Die heruntergeladene Datei ist beschädigt. Bitte lade sie erneut herunter</translation>
    </message>
    <message>
        <source>message_error_certificate_untrusted</source>
        <translation>Dem Zertifikat des Download-Servers wird nicht vertraut, daher wurde die Verbindung abgelehnt. Prüfe das Datum des Computers sowie Proxy- oder Sicherheitssoftware</translation>
    </message>
    <message>
        <source>message_error_certificate_wrong_name</source>
        <translation>Das Zertifikat des Download-Servers gehört zu einer anderen Adresse, daher wurde die Verbindung abgelehnt</translation>
    </message>
    <message>
        <source>message_error_server_busy</source>
        <translation>Der Download-Server ist ausgelastet. Der Launcher hat es mehrmals erneut versucht; setze den Download fort, um es noch einmal zu versuchen</translation>
    </message>
    <message>
        <source>message_error_disk_full</source>
        <translation>Der Datenträger ist voll. Gib Speicherplatz frei und setze den Download dann fort</translation>
    </message>
    <message>
        <source>message_error_file_changed</source>
        <translation>Die Datei hat sich während des Downloads auf dem Server immer wieder geändert. Bitte versuche es später erneut</translation>
    </message>
    <message>
        <source>message_error_file_gone</source>
        <translation>Die Datei ist nicht mehr auf dem Server. Bitte versuche es später erneut</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>Die heruntergeladenen Daten konnten nicht gespeichert werden</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>Schreiben auf die Festplatte fehlgeschlagen</translation>
    </message>
    <message>
        <source>message_insecure_redirect</source>
        <translation>Die sichere Downloadadresse wurde auf eine unverschlüsselte umgeleitet; der Download wurde abgelehnt:</translation>
    </message>
</context>
<context>
    <name>downloadtask</name>
    <message>
        <source>message_request_time_out</source>
        <translation>Zeitüberschreitung der Anfrage</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>button_open_main_window</source>
        <translation>Launcher öffnen</translation>
    </message>
    <message>
        <source>button_quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>title_app_name_kv</source>
        <translation>Orvyndale</translation>
    </message>
    <message>
        <source>button_continue_download</source>
        <translation>Download fortsetzen</translation>
    </message>
    <message>
        <source>button_get_game</source>
        <translation>Spiel herunterladen</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>button_start_game</source>
        <translation>Spielen</translation>
    </message>
    <message>
        <source>button_change_install_path</source>
        <translation>Installationsordner ändern</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>Wird heruntergeladen</translation>
    </message>
    <message>
        <source>label_checking_md5</source>
        <translation>Dateien werden überprüft</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Verbleibende Zeit: </translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Geschwindigkeit:</translation>
    </message>
    <message>
        <source>message_startup_recovery_failed</source>
        <translation>Ein unterbrochenes Update des Launchers konnte nicht vollständig rückgängig gemacht werden: Einige Dateien stammen eventuell noch aus der neuen Version. Schließe Programme, die sie verwenden könnten, und starte den Launcher erneut, um den Vorgang abzuschließen.</translation>
    </message>
</context>
<context>
    <name>setupmanager</name>
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
        <source>message_setup_zip_archive_file_error</source>
        <translation>konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>message_setup_zip_unzip_error</source>
        <translation>Entpacken fehlgeschlagen; das Paket ist möglicherweise beschädigt</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Das alte Paket konnte nicht gelöscht werden</translation>
    </message>
    <message>
        <source>message_game_folder_link</source>
        <translation>ist eine Verknüpfung zu einem anderen Ort. Der Launcher schreibt nicht durch Verknüpfungen: Verschieben Sie den Ordner zurück in den Spielordner oder entfernen Sie die Verknüpfung und versuchen Sie es erneut.</translation>
    </message>
</context>
<context>
    <name>GameRepairFlow</name>
    <message>
        <source>label_repair_fetching_list</source>
        <translation>Liste der Spieldateien wird geladen…</translation>
    </message>
    <message>
        <source>label_repair_verifying</source>
        <translation>Dateien werden geprüft: %1/%2, %3 von %4</translation>
    </message>
    <message>
        <source>label_repair_time_left</source>
        <translation>Restzeit %1</translation>
    </message>
    <message>
        <source>label_repair_downloading</source>
        <translation>Spielpaket für die Reparatur wird geladen: %1%</translation>
    </message>
    <message>
        <source>label_repair_checking_package</source>
        <translation>Heruntergeladenes Paket wird geprüft…</translation>
    </message>
    <message>
        <source>label_repair_unpacking</source>
        <translation>%1 Datei(en) werden repariert…</translation>
    </message>
    <message>
        <source>label_repair_result</source>
        <translation>%1 Dateien geprüft, %2 beschädigt, %3 repariert.</translation>
    </message>
    <message>
        <source>label_repair_cancelled</source>
        <translation>Die Prüfung wurde abgebrochen.</translation>
    </message>
    <message>
        <source>message_repair_no_file_list</source>
        <translation>Für diese Version gibt es keine Dateiliste.</translation>
    </message>
    <message>
        <source>message_repair_list_failed</source>
        <translation>Die Liste der Spieldateien konnte nicht geladen werden.</translation>
    </message>
    <message>
        <source>message_repair_list_damaged</source>
        <translation>Die Liste der Spieldateien ist beschädigt.</translation>
    </message>
    <message>
        <source>message_repair_unreadable</source>
        <translation>Nicht lesbare Dateien (nichts wurde geändert):</translation>
    </message>
    <message>
        <source>message_repair_still_damaged</source>
        <translation>%1 Datei(en) sind nach der Reparatur noch beschädigt.</translation>
    </message>
    <message>
        <source>message_repair_folder_in_the_way</source>
        <translation>ist ein Ordner mit Dateien an der Stelle einer Spieldatei; verschiebe ihn und versuche es erneut.</translation>
    </message>
    <message>
        <source>label_repair_result_missing</source>
        <translation>%1 Dateien geprüft, %2 fehlend, %3 beschädigt, %4 repariert.</translation>
    </message>
</context>
<context>
    <name>PackageItemExtractor</name>
    <message>
        <source>message_repair_item_not_in_package</source>
        <translation>Das Spielpaket enthält %1 nicht.</translation>
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
    <name>HttpRequestAPI</name>
    <message>
        <source>message_answer_too_large</source>
        <translation>Die Antwort des Servers ist größer als jede echte Antwort und wurde abgelehnt.</translation>
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
        <translation>konnte nicht an seinen Platz gebracht werden. Das Update wird beim nächsten Start des Launchers abgeschlossen; schließen Sie vorher alle Programme, die Dateien des Spiels verwenden.</translation>
    </message>
</context>
</TS>
