<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
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
</TS>
