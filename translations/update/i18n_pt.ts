<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_PT">
<context>
    <name>CDlgYesNo</name>
    <message>
        <source>button_confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DlgProgress</name>
    <message>
        <source>label_update_failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_click_redo_update_launcher_again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_minimizing_continue_update_launcher</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DownloadTask</name>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_error_network_reply_please_check_network</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_request_time_out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_error_resource_acquisition_failed_check_network</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_error_download_network</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
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
    <name>UncompressManager</name>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation type="unfinished"></translation>
    </message>
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
        <source>message_setup_zip_unzip_error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>title_tip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_main_process_parameter_abnormal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_update_address_abnormal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_percent_sign</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_update_init_failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_resource_downloading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>title_download_error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_file_unziping</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>title_unzip_error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_create_backup_folder_failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_file_replace_exception</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_failed_create_backup_folder_try_again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>label_file_replacing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>title_update_success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_click_button_open_launcher</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_open_launcher</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>title_file_replace_failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>message_updating_do_not_close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_continue_update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>button_close_update</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
