<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_PT">
<context>
    <name>ApplicationInfo</name>
    <message>
        <source>title_tip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgAppInfo</name>
    <message>
        <source>title_app_info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_game_info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_app_info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_launcher_version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_ok</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgCloseTip</name>
    <message>
        <source>label_close_select_tip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_close_quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CSetInstallPathDialog</name>
    <message>
        <source>title_app_install_kv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_install_dir</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_floder_not_enough_space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_need_space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_available_space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_default_language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_start_setup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>messsage_path_invalid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_select_install_path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_continue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_select_again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_suggest_select_empty_folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DlgSetting</name>
    <message>
        <source>title_set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_auto_start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_auto_update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_next_open_auto_update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_quit_launcher</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_check_update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_current_launcher_version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_launch_set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_close_set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_version_set</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>title_error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_resource_check_failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_need_update_launcher</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_launcher_version_old</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_launcher_check_failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_download_speed_kbs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_checking_update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_create_floder_failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_not_enough_space_select_path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_unit_gb</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_download_speed_mbs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_download_error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>title_warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_game_is_running_please_close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_installing_progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_setup_error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_run_update_exe_failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>message_setup_zip_password_error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UpdateProgram</name>
    <message>
        <source>message_is_latest_version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_new_version_please_update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_new_version_whether_update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_update_failed_not_enough_space</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>downloadmanager</name>
    <message>
        <source>message_error_resource_acquisition_failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_error_network_statuscode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>downloadtask</name>
    <message>
        <source>message_request_time_out</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>button_open_main_window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>title_app_name_kv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_continue_download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_get_game</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_start_game</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_change_install_path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_checking_md5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>setupmanager</name>
    <message>
        <source>message_setup_dll_error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_setup_zip_format_error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_setup_zip_class_error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_setup_zip_unzip_error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
