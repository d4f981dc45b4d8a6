<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
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
</context>
</TS>
