<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>ApplicationInfo</name>
    <message>
        <source>title_tip</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>Could not check for launcher updates. Please try again later.</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Retry</translation>
    </message>
</context>
<context>
    <name>CDlgAppInfo</name>
    <message>
        <source>title_app_info</source>
        <translation>About</translation>
    </message>
    <message>
        <source>label_game_info</source>
        <translation>Game version</translation>
    </message>
    <message>
        <source>label_app_info</source>
        <translation>Launcher ID</translation>
    </message>
    <message>
        <source>label_launcher_version</source>
        <translation>Launcher version</translation>
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
        <translation>When the window is closed</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>Minimise to the notification area</translation>
    </message>
    <message>
        <source>button_close_quit</source>
        <translation>Quit the launcher</translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Notice</translation>
    </message>
</context>
<context>
    <name>CSetInstallPathDialog</name>
    <message>
        <source>title_app_install_kv</source>
        <translation>Install Orvyndale</translation>
    </message>
    <message>
        <source>label_install_dir</source>
        <translation>Install folder</translation>
    </message>
    <message>
        <source>message_floder_not_enough_space</source>
        <translation>Not enough space on this drive</translation>
    </message>
    <message>
        <source>button_change</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>label_need_space</source>
        <translation>Space required:</translation>
    </message>
    <message>
        <source>label_available_space</source>
        <translation>Free space:</translation>
    </message>
    <message>
        <source>label_default_language</source>
        <translation>Default language</translation>
    </message>
    <message>
        <source>button_start_setup</source>
        <translation>Install</translation>
    </message>
    <message>
        <source>messsage_path_invalid</source>
        <translation>This folder cannot be used</translation>
    </message>
    <message>
        <source>label_select_install_path</source>
        <translation>Choose an install folder</translation>
    </message>
    <message>
        <source>button_continue</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>button_select_again</source>
        <translation>Choose another</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>message_suggest_select_empty_folder</source>
        <translation>The chosen folder is not empty. We recommend installing into an empty folder.</translation>
    </message>
</context>
<context>
    <name>DlgSetting</name>
    <message>
        <source>title_set</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>button_auto_start</source>
        <translation>Start with the system</translation>
    </message>
    <message>
        <source>button_auto_update</source>
        <translation>Update the launcher automatically</translation>
    </message>
    <message>
        <source>label_next_open_auto_update</source>
        <translation>When this is on, the launcher updates itself to the latest version the next time it starts.</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>Minimise to the notification area</translation>
    </message>
    <message>
        <source>button_quit_launcher</source>
        <translation>Quit the launcher</translation>
    </message>
    <message>
        <source>button_check_update</source>
        <translation>Check for updates</translation>
    </message>
    <message>
        <source>label_current_launcher_version</source>
        <translation>Current launcher version:</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>label_launch_set</source>
        <translation>Start-up</translation>
    </message>
    <message>
        <source>label_close_set</source>
        <translation>Closing</translation>
    </message>
    <message>
        <source>label_version_set</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>button_game_repair</source>
        <translation>Verify game</translation>
    </message>
    <message>
        <source>button_game_repair_stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>button_show_launcher_after_game</source>
        <translation>Show the launcher again after the game</translation>
    </message>
</context>
<context>
    <name>LangTextWidget</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainViewModel</name>
    <message>
        <source>label_checking_md5</source>
        <translation>Verifying files</translation>
    </message>
    <message>
        <source>title_error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>message_resource_check_failed</source>
        <translation>Could not get the game version. Please check your connection and try again.</translation>
    </message>
    <message>
        <source>message_need_update_launcher</source>
        <translation>The launcher needs an update. Click OK to download the latest version.</translation>
    </message>
    <message>
        <source>message_launcher_version_old</source>
        <translation>This launcher is out of date. Please download the latest version from the official website.</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>message_launcher_check_failed</source>
        <translation>Could not load the launcher content. Try again?</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>There is not enough disk space. Free up some space and try again.</translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Speed:</translation>
    </message>
    <message>
        <source>label_download_speed_kbs</source>
        <translation>KB/s</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Time left: </translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>message_checking_update</source>
        <translation>Checking the game version, please wait...</translation>
    </message>
    <message>
        <source>message_create_floder_failed</source>
        <translation>The install folder could not be created. Please choose another location.</translation>
    </message>
    <message>
        <source>message_not_enough_space_select_path</source>
        <translation>There is not enough disk space. Please choose another install location.</translation>
    </message>
    <message>
        <source>label_download_paused</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>Downloading</translation>
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
        <translation>Download error</translation>
    </message>
    <message>
        <source>title_warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>message_game_is_running_please_close</source>
        <translation>The game is running. Please close it first.</translation>
    </message>
    <message>
        <source>label_installing_progress</source>
        <translation>Installing</translation>
    </message>
    <message>
        <source>message_setup_error</source>
        <translation>Installation error</translation>
    </message>
    <message>
        <source>message_run_update_exe_failed</source>
        <translation>The updater could not be started.</translation>
    </message>
    <message>
        <source>message_repair_needs_current_game</source>
        <translation>Install or update the game first, then verify it.</translation>
    </message>
    <message>
        <source>message_game_entry_refused</source>
        <translation>The game program named by the server lies outside the game folder and was not started:</translation>
        <source>label_value_paused</source>
        <translation>paused</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>message_setup_zip_password_error</source>
        <translation>The package is password-protected</translation>
    </message>
</context>
<context>
    <name>UpdateProgram</name>
    <message>
        <source>message_is_latest_version</source>
        <translation>You already have the latest version.</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>Could not check for launcher updates. Please try again later.</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>message_new_version_please_update</source>
        <translation>A new launcher version is available. Please update to continue.</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>message_new_version_whether_update</source>
        <translation>A new launcher version is available. Update now?</translation>
    </message>
    <message>
        <source>message_update_failed_not_enough_space</source>
        <translation>There is not enough disk space to update the launcher.</translation>
    </message>
    <message>
        <source>label_new_launcher_version</source>
        <translation>Version %1, download size %2</translation>
    </message>
</context>
<context>
    <name>downloadmanager</name>
    <message>
        <source>message_error_resource_acquisition_failed</source>
        <translation>Could not get the file information</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>Could not open the download file</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>There is not enough disk space. Free up some space and try again.</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Could not delete the old package</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Network error</translation>
    </message>
    <message>
        <source>message_error_network_statuscode</source>
        <translation>Unexpected server response</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>The downloaded file is damaged. Please download it again</translation>
    </message>
    <message>
        <source>message_error_certificate_untrusted</source>
        <translation>The download server&apos;s certificate is not trusted, so the connection was refused. Check the computer&apos;s date and any proxy or security software</translation>
    </message>
    <message>
        <source>message_error_certificate_wrong_name</source>
        <translation>The download server&apos;s certificate belongs to another address, so the connection was refused</translation>
    </message>
    <message>
        <source>message_error_server_busy</source>
        <translation>The download server is busy. The launcher tried again several times; continue the download to try once more</translation>
    </message>
    <message>
        <source>message_error_disk_full</source>
        <translation>The disk is full. Free some space, then continue the download</translation>
    </message>
    <message>
        <source>message_error_file_changed</source>
        <translation>The file kept changing on the server while it was being downloaded. Please try again later</translation>
    </message>
    <message>
        <source>message_error_file_gone</source>
        <translation>The file is no longer on the server. Please try again later</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>Could not save the downloaded data</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>Could not write to the disk</translation>
    </message>
    <message>
        <source>message_insecure_redirect</source>
        <translation>The secure download address was redirected to an unencrypted one; the download was refused:</translation>
    </message>
</context>
<context>
    <name>downloadtask</name>
    <message>
        <source>message_request_time_out</source>
        <translation>The request timed out</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>button_open_main_window</source>
        <translation>Open launcher</translation>
    </message>
    <message>
        <source>button_quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>title_app_name_kv</source>
        <translation>Orvyndale</translation>
    </message>
    <message>
        <source>button_continue_download</source>
        <translation>Resume download</translation>
    </message>
    <message>
        <source>button_get_game</source>
        <translation>Get game</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>button_start_game</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>button_change_install_path</source>
        <translation>Change install folder</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>Downloading</translation>
    </message>
    <message>
        <source>label_checking_md5</source>
        <translation>Verifying files</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Time left: </translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Speed:</translation>
    </message>
    <message>
        <source>message_startup_recovery_failed</source>
        <translation>An interrupted update of the launcher could not be fully undone: some of its files may still be from the new version. Close any program that may be using them, then start the launcher again to finish.</translation>
    </message>
</context>
<context>
    <name>setupmanager</name>
    <message>
        <source>message_setup_dll_error</source>
        <translation>The extraction library could not be loaded</translation>
    </message>
    <message>
        <source>message_setup_zip_format_error</source>
        <translation>is not a supported package format</translation>
    </message>
    <message>
        <source>message_setup_zip_class_error</source>
        <translation>The package format could not be opened</translation>
    </message>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation>could not be opened</translation>
    </message>
    <message>
        <source>message_setup_zip_unzip_error</source>
        <translation>Extraction failed; the package may be damaged</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Could not delete the old package</translation>
    </message>
    <message>
        <source>message_game_folder_link</source>
        <translation>is a link to another location. The launcher does not write through links: move that folder back into the game folder or remove the link, then try again.</translation>
    </message>
</context>
<context>
    <name>GameRepairFlow</name>
    <message>
        <source>label_repair_fetching_list</source>
        <translation>Getting the list of game files…</translation>
    </message>
    <message>
        <source>label_repair_verifying</source>
        <translation>Checking files: %1/%2, %3 of %4</translation>
    </message>
    <message>
        <source>label_repair_time_left</source>
        <translation>time left %1</translation>
    </message>
    <message>
        <source>label_repair_downloading</source>
        <translation>Downloading the game package for the repair: %1%</translation>
    </message>
    <message>
        <source>label_repair_checking_package</source>
        <translation>Checking the downloaded package…</translation>
    </message>
    <message>
        <source>label_repair_unpacking</source>
        <translation>Repairing %1 file(s)…</translation>
    </message>
    <message>
        <source>label_repair_result</source>
        <translation>%1 files checked, %2 damaged, %3 repaired.</translation>
    </message>
    <message>
        <source>label_repair_cancelled</source>
        <translation>The check was stopped.</translation>
    </message>
    <message>
        <source>message_repair_no_file_list</source>
        <translation>The publisher gives no file list for this version.</translation>
    </message>
    <message>
        <source>message_repair_list_failed</source>
        <translation>The list of game files could not be downloaded.</translation>
    </message>
    <message>
        <source>message_repair_list_damaged</source>
        <translation>The list of game files is damaged.</translation>
    </message>
    <message>
        <source>message_repair_unreadable</source>
        <translation>Files that cannot be read (nothing was changed):</translation>
    </message>
    <message>
        <source>message_repair_still_damaged</source>
        <translation>%1 file(s) are still damaged after the repair.</translation>
    </message>
    <message>
        <source>message_repair_folder_in_the_way</source>
        <translation>is a folder with files where a game file belongs; move it away and try again.</translation>
    </message>
    <message>
        <source>label_repair_result_missing</source>
        <translation>%1 files checked, %2 missing, %3 damaged, %4 repaired.</translation>
    </message>
</context>
<context>
    <name>PackageItemExtractor</name>
    <message>
        <source>message_repair_item_not_in_package</source>
        <translation>The game package does not contain %1.</translation>
    </message>
</context>
<context>
    <name>PackageTrust</name>
    <message>
        <source>message_error_package_signature</source>
        <translation>This package is not signed by the publisher or was altered. It has been deleted. Please try again later</translation>
    </message>
    <message>
        <source>message_error_package_rollback</source>
        <translation>This version is older than the one installed and the publisher has not signed it as a rollback. Nothing was installed</translation>
    </message>
    <message>
        <source>message_error_package_binding</source>
        <translation>This package is signed for another game, launcher or purpose. It was deleted and nothing was installed</translation>
    </message>
    <message>
        <source>message_error_metadata_signature</source>
        <translation>The game information from the server is not signed by the publisher or was changed. Nothing was installed or started</translation>
    </message>
    <message>
        <source>message_error_metadata_stale</source>
        <translation>The game information from the server is out of date (older than before or expired). Nothing was installed or started. Please try again later</translation>
    </message>
</context>
<context>
    <name>HttpRequestAPI</name>
    <message>
        <source>message_answer_too_large</source>
        <translation>The server's answer is larger than any genuine one and was refused.</translation>
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
        <translation>could not be put in place. The update finishes the next time the launcher starts; close any program that uses the game's files first.</translation>
    </message>
</context>
</TS>
