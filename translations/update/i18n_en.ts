<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CDlgYesNo</name>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>DlgProgress</name>
    <message>
        <source>label_update_failed</source>
        <translation>Update failed</translation>
    </message>
    <message>
        <source>label_click_redo_update_launcher_again</source>
        <translation>Click &quot;Retry&quot; to update the launcher again</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>message_minimizing_continue_update_launcher</source>
        <translation>The launcher keeps updating while minimized</translation>
    </message>
</context>
<context>
    <name>DownloadTask</name>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>Could not create the folder</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>Could not open the download file</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>Could not save the downloaded data</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>There is not enough disk space. Free up some space and try again.</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Network error</translation>
    </message>
    <message>
        <source>message_error_network_reply_please_check_network</source>
        <translation>Network error, please check your connection</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>Could not write to the disk</translation>
    </message>
    <message>
        <source>message_request_time_out</source>
        <translation>The request timed out</translation>
    </message>
    <message>
        <source>message_error_resource_acquisition_failed_check_network</source>
        <translation>Could not reach the download server, please check your connection</translation>
    </message>
    <message>
        <source>message_error_download_network</source>
        <translation>The download failed. Check your connection and try again</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>The downloaded file is damaged. Please download it again</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Could not delete the old package</translation>
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
    <name>UncompressManager</name>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation>could not be opened</translation>
    </message>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>Could not create the folder</translation>
    </message>
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
        <source>message_setup_zip_unzip_error</source>
        <translation>Extraction failed; the package may be damaged</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>title_tip</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>message_main_process_parameter_abnormal</source>
        <translation>The launcher passed invalid start parameters: </translation>
    </message>
    <message>
        <source>message_update_address_abnormal</source>
        <translation>The update address is invalid. Returning to the launcher</translation>
    </message>
    <message>
        <source>label_percent_sign</source>
        <translation>%</translation>
    </message>
    <message>
        <source>message_update_init_failed</source>
        <translation>The update could not be prepared. Try again?</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>label_resource_downloading</source>
        <translation>Downloading the update </translation>
    </message>
    <message>
        <source>title_download_error</source>
        <translation>Download failed</translation>
    </message>
    <message>
        <source>label_file_unziping</source>
        <translation>Unpacking files </translation>
    </message>
    <message>
        <source>title_unzip_error</source>
        <translation>Unpacking failed</translation>
    </message>
    <message>
        <source>message_create_backup_folder_failed</source>
        <translation>Could not create the backup folder. Returning to the launcher</translation>
    </message>
    <message>
        <source>message_file_replace_exception</source>
        <translation>Replacing the files went wrong. Returning to the launcher</translation>
    </message>
    <message>
        <source>message_failed_create_backup_folder_try_again</source>
        <translation>Could not create the backup folder. Try again?</translation>
    </message>
    <message>
        <source>label_file_replacing</source>
        <translation>Replacing files </translation>
    </message>
    <message>
        <source>title_update_success</source>
        <translation>Update complete</translation>
    </message>
    <message>
        <source>message_click_button_open_launcher</source>
        <translation>Click the button below to open the launcher</translation>
    </message>
    <message>
        <source>button_open_launcher</source>
        <translation>Open launcher</translation>
    </message>
    <message>
        <source>title_file_replace_failed</source>
        <translation>Could not replace a file</translation>
    </message>
    <message>
        <source>message_updating_do_not_close</source>
        <translation>The launcher is being updated. Do you really want to close?</translation>
    </message>
    <message>
        <source>button_continue_update</source>
        <translation>Keep updating</translation>
    </message>
    <message>
        <source>button_close_update</source>
        <translation>Close update</translation>
    </message>
    <message>
        <source>title_rollback_failed</source>
        <translation>Could not restore the previous launcher</translation>
    </message>
    <message>
        <source>message_rollback_file_held</source>
        <translation>Another program is holding this launcher file, so it could not be put back:
%1
Quit now: the launcher finishes restoring it the next time it starts.</translation>
    </message>
    <message>
        <source>button_quit_finish_later</source>
        <translation>Quit now, finish at the next start</translation>
        <source>label_download_details</source>
        <translation>%1 of %2 · %3 · %4 left</translation>
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
