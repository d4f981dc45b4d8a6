<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="vi_VN">
<context>
    <name>ApplicationInfo</name>
    <message>
        <source>title_tip</source>
        <translation>Thông báo</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>Không thể kiểm tra bản cập nhật launcher. Vui lòng thử lại sau.</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Thử lại</translation>
    </message>
</context>
<context>
    <name>CDlgAppInfo</name>
    <message>
        <source>title_app_info</source>
        <translation>Giới thiệu</translation>
    </message>
    <message>
        <source>label_game_info</source>
        <translation>Phiên bản game</translation>
    </message>
    <message>
        <source>label_app_info</source>
        <translation>ID launcher</translation>
    </message>
    <message>
        <source>label_launcher_version</source>
        <translation>Phiên bản launcher</translation>
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
        <translation>Khi đóng cửa sổ</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>Thu nhỏ xuống khay hệ thống</translation>
    </message>
    <message>
        <source>button_close_quit</source>
        <translation>Thoát launcher</translation>
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
        <translation>Hủy</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Thông báo</translation>
    </message>
</context>
<context>
    <name>CSetInstallPathDialog</name>
    <message>
        <source>title_app_install_kv</source>
        <translation>Cài đặt Orvyndale</translation>
    </message>
    <message>
        <source>label_install_dir</source>
        <translation>Thư mục cài đặt</translation>
    </message>
    <message>
        <source>message_floder_not_enough_space</source>
        <translation>Ổ đĩa này không đủ dung lượng</translation>
    </message>
    <message>
        <source>button_change</source>
        <translation>Thay đổi</translation>
    </message>
    <message>
        <source>label_need_space</source>
        <translation>Dung lượng cần:</translation>
    </message>
    <message>
        <source>label_available_space</source>
        <translation>Dung lượng trống:</translation>
    </message>
    <message>
        <source>label_default_language</source>
        <translation>Ngôn ngữ mặc định</translation>
    </message>
    <message>
        <source>button_start_setup</source>
        <translation>Cài đặt</translation>
    </message>
    <message>
        <source>messsage_path_invalid</source>
        <translation>Không thể dùng thư mục này</translation>
    </message>
    <message>
        <source>label_select_install_path</source>
        <translation>Chọn thư mục cài đặt</translation>
    </message>
    <message>
        <source>button_continue</source>
        <translation>Tiếp tục</translation>
    </message>
    <message>
        <source>button_select_again</source>
        <translation>Chọn lại</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Thông báo</translation>
    </message>
    <message>
        <source>message_suggest_select_empty_folder</source>
        <translation>Thư mục đã chọn không trống. Bạn nên cài đặt vào một thư mục trống.</translation>
    </message>
</context>
<context>
    <name>DlgSetting</name>
    <message>
        <source>title_set</source>
        <translation>Thiết lập</translation>
    </message>
    <message>
        <source>button_auto_start</source>
        <translation>Khởi động cùng hệ thống</translation>
    </message>
    <message>
        <source>button_auto_update</source>
        <translation>Tự động cập nhật launcher</translation>
    </message>
    <message>
        <source>label_next_open_auto_update</source>
        <translation>Khi bật, launcher sẽ tự cập nhật lên phiên bản mới nhất vào lần khởi động tiếp theo.</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>Thu nhỏ xuống khay hệ thống</translation>
    </message>
    <message>
        <source>button_quit_launcher</source>
        <translation>Thoát launcher</translation>
    </message>
    <message>
        <source>button_check_update</source>
        <translation>Kiểm tra cập nhật</translation>
    </message>
    <message>
        <source>label_current_launcher_version</source>
        <translation>Phiên bản launcher hiện tại:</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Hủy</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>label_launch_set</source>
        <translation>Khởi động</translation>
    </message>
    <message>
        <source>label_close_set</source>
        <translation>Đóng</translation>
    </message>
    <message>
        <source>label_version_set</source>
        <translation>Phiên bản</translation>
    </message>
    <message>
        <source>button_game_repair</source>
        <translation>Kiểm tra game</translation>
    </message>
    <message>
        <source>button_game_repair_stop</source>
        <translation>Dừng</translation>
    </message>
    <message>
        <source>button_show_launcher_after_game</source>
        <translation>Hiện lại launcher sau khi thoát game</translation>
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
        <translation>Đang kiểm tra tệp</translation>
    </message>
    <message>
        <source>title_error</source>
        <translation>Lỗi</translation>
    </message>
    <message>
        <source>message_resource_check_failed</source>
        <translation>Không thể lấy phiên bản game. Vui lòng kiểm tra kết nối và thử lại.</translation>
    </message>
    <message>
        <source>message_need_update_launcher</source>
        <translation>Launcher cần được cập nhật. Nhấn OK để tải phiên bản mới nhất.</translation>
    </message>
    <message>
        <source>message_launcher_version_old</source>
        <translation>Launcher này đã cũ. Vui lòng tải phiên bản mới nhất từ trang web chính thức.</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>message_launcher_check_failed</source>
        <translation>Không thể tải nội dung launcher. Thử lại?</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Không đủ dung lượng đĩa. Hãy giải phóng dung lượng rồi thử lại.</translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Tốc độ:</translation>
    </message>
    <message>
        <source>label_download_speed_kbs</source>
        <translation>KB/s</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Thời gian còn lại: </translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Thông báo</translation>
    </message>
    <message>
        <source>message_checking_update</source>
        <translation>Đang kiểm tra phiên bản game, vui lòng chờ...</translation>
    </message>
    <message>
        <source>message_create_floder_failed</source>
        <translation>Không thể tạo thư mục cài đặt. Vui lòng chọn vị trí khác.</translation>
    </message>
    <message>
        <source>message_not_enough_space_select_path</source>
        <translation>Không đủ dung lượng đĩa. Vui lòng chọn vị trí cài đặt khác.</translation>
    </message>
    <message>
        <source>label_download_paused</source>
        <translation>Đã tạm dừng</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>Đang tải xuống</translation>
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
        <translation>Lỗi tải xuống</translation>
    </message>
    <message>
        <source>title_warning</source>
        <translation>Cảnh báo</translation>
    </message>
    <message>
        <source>message_game_is_running_please_close</source>
        <translation>Game đang chạy. Vui lòng đóng game trước.</translation>
    </message>
    <message>
        <source>label_installing_progress</source>
        <translation>Đang cài đặt</translation>
    </message>
    <message>
        <source>message_setup_error</source>
        <translation>Lỗi cài đặt</translation>
    </message>
    <message>
        <source>message_run_update_exe_failed</source>
        <translation>Không thể khởi chạy trình cập nhật.</translation>
    </message>
    <message>
        <source>message_repair_needs_current_game</source>
        <translation>Hãy cài đặt hoặc cập nhật game trước, rồi kiểm tra.</translation>
    </message>
    <message>
        <source>message_game_entry_refused</source>
        <translation>Chương trình trò chơi do máy chủ chỉ định nằm ngoài thư mục trò chơi nên không được khởi chạy:</translation>
        <source>label_value_paused</source>
        <translation>tạm dừng</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>message_setup_zip_password_error</source>
        <translation>Gói cài đặt được bảo vệ bằng mật khẩu</translation>
    </message>
</context>
<context>
    <name>UpdateProgram</name>
    <message>
        <source>message_is_latest_version</source>
        <translation>Bạn đang dùng phiên bản mới nhất.</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>Không thể kiểm tra bản cập nhật launcher. Vui lòng thử lại sau.</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Thông báo</translation>
    </message>
    <message>
        <source>message_new_version_please_update</source>
        <translation>Đã có phiên bản launcher mới. Vui lòng cập nhật để tiếp tục.</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Cập nhật</translation>
    </message>
    <message>
        <source>message_new_version_whether_update</source>
        <translation>Đã có phiên bản launcher mới. Cập nhật ngay?</translation>
    </message>
    <message>
        <source>message_update_failed_not_enough_space</source>
        <translation>Không đủ dung lượng đĩa để cập nhật launcher.</translation>
    </message>
    <message>
        <source>label_new_launcher_version</source>
        <translation>Phiên bản %1, dung lượng tải về %2</translation>
    </message>
</context>
<context>
    <name>downloadmanager</name>
    <message>
        <source>message_error_resource_acquisition_failed</source>
        <translation>Không thể lấy thông tin tệp</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>Không thể mở tệp tải xuống</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Không đủ dung lượng đĩa. Hãy giải phóng dung lượng rồi thử lại.</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Không thể xóa gói cài đặt cũ</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Lỗi mạng</translation>
    </message>
    <message>
        <source>message_error_network_statuscode</source>
        <translation>Máy chủ phản hồi bất thường</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>Tệp tải xuống bị hỏng. Vui lòng tải lại</translation>
    </message>
    <message>
        <source>message_error_certificate_untrusted</source>
        <translation>Chứng chỉ của máy chủ tải xuống không đáng tin cậy nên kết nối đã bị từ chối. Hãy kiểm tra ngày giờ máy tính và proxy hoặc phần mềm bảo mật</translation>
    </message>
    <message>
        <source>message_error_certificate_wrong_name</source>
        <translation>Chứng chỉ của máy chủ tải xuống thuộc về địa chỉ khác nên kết nối đã bị từ chối</translation>
    </message>
    <message>
        <source>message_error_server_busy</source>
        <translation>Máy chủ tải xuống đang bận. Trình khởi chạy đã thử lại nhiều lần; hãy tiếp tục tải xuống để thử lại</translation>
    </message>
    <message>
        <source>message_error_disk_full</source>
        <translation>Ổ đĩa đã đầy. Hãy giải phóng dung lượng rồi tiếp tục tải xuống</translation>
    </message>
    <message>
        <source>message_error_file_changed</source>
        <translation>Tệp trên máy chủ liên tục thay đổi trong khi tải xuống. Vui lòng thử lại sau</translation>
    </message>
    <message>
        <source>message_error_file_gone</source>
        <translation>Tệp không còn trên máy chủ. Vui lòng thử lại sau</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>Không thể lưu dữ liệu đã tải xuống</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>Không thể ghi vào đĩa</translation>
    </message>
    <message>
        <source>message_insecure_redirect</source>
        <translation>Địa chỉ tải xuống an toàn đã bị chuyển hướng sang địa chỉ không mã hóa; việc tải xuống đã bị từ chối:</translation>
    </message>
</context>
<context>
    <name>downloadtask</name>
    <message>
        <source>message_request_time_out</source>
        <translation>Yêu cầu đã hết thời gian chờ</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>button_open_main_window</source>
        <translation>Mở launcher</translation>
    </message>
    <message>
        <source>button_quit</source>
        <translation>Thoát</translation>
    </message>
    <message>
        <source>title_app_name_kv</source>
        <translation>Orvyndale</translation>
    </message>
    <message>
        <source>button_continue_download</source>
        <translation>Tiếp tục tải</translation>
    </message>
    <message>
        <source>button_get_game</source>
        <translation>Tải game</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Cập nhật</translation>
    </message>
    <message>
        <source>button_start_game</source>
        <translation>Chơi</translation>
    </message>
    <message>
        <source>button_change_install_path</source>
        <translation>Đổi thư mục cài đặt</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>Đang tải xuống</translation>
    </message>
    <message>
        <source>label_checking_md5</source>
        <translation>Đang kiểm tra tệp</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Thời gian còn lại: </translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Tốc độ:</translation>
    </message>
    <message>
        <source>message_startup_recovery_failed</source>
        <translation>Không thể hoàn tác hoàn toàn bản cập nhật launcher bị gián đoạn: một số tệp có thể vẫn thuộc phiên bản mới. Hãy đóng các chương trình có thể đang dùng chúng rồi mở lại launcher để hoàn tất.</translation>
    </message>
</context>
<context>
    <name>setupmanager</name>
    <message>
        <source>message_setup_dll_error</source>
        <translation>Không thể tải thư viện giải nén</translation>
    </message>
    <message>
        <source>message_setup_zip_format_error</source>
        <translation>không phải định dạng gói được hỗ trợ</translation>
    </message>
    <message>
        <source>message_setup_zip_class_error</source>
        <translation>Không thể mở định dạng gói này</translation>
    </message>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation>không thể mở được</translation>
    </message>
    <message>
        <source>message_setup_zip_unzip_error</source>
        <translation>Giải nén thất bại; gói cài đặt có thể đã bị hỏng</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Không thể xóa gói cài đặt cũ</translation>
    </message>
    <message>
        <source>message_game_folder_link</source>
        <translation>là liên kết đến một vị trí khác. Trình khởi chạy không ghi qua liên kết: hãy chuyển thư mục đó trở lại thư mục trò chơi hoặc xóa liên kết, rồi thử lại.</translation>
    </message>
</context>
<context>
    <name>GameRepairFlow</name>
    <message>
        <source>label_repair_fetching_list</source>
        <translation>Đang lấy danh sách tệp game…</translation>
    </message>
    <message>
        <source>label_repair_verifying</source>
        <translation>Đang kiểm tra tệp: %1/%2, %3 / %4</translation>
    </message>
    <message>
        <source>label_repair_time_left</source>
        <translation>còn lại %1</translation>
    </message>
    <message>
        <source>label_repair_downloading</source>
        <translation>Đang tải gói game để sửa chữa: %1%</translation>
    </message>
    <message>
        <source>label_repair_checking_package</source>
        <translation>Đang kiểm tra gói đã tải…</translation>
    </message>
    <message>
        <source>label_repair_unpacking</source>
        <translation>Đang sửa %1 tệp…</translation>
    </message>
    <message>
        <source>label_repair_result</source>
        <translation>Đã kiểm tra %1 tệp, %2 bị hỏng, đã sửa %3.</translation>
    </message>
    <message>
        <source>label_repair_cancelled</source>
        <translation>Đã dừng kiểm tra.</translation>
    </message>
    <message>
        <source>message_repair_no_file_list</source>
        <translation>Phiên bản này không có danh sách tệp.</translation>
    </message>
    <message>
        <source>message_repair_list_failed</source>
        <translation>Không thể tải danh sách tệp game.</translation>
    </message>
    <message>
        <source>message_repair_list_damaged</source>
        <translation>Danh sách tệp game bị hỏng.</translation>
    </message>
    <message>
        <source>message_repair_unreadable</source>
        <translation>Tệp không đọc được (không có gì bị thay đổi):</translation>
    </message>
    <message>
        <source>message_repair_still_damaged</source>
        <translation>Vẫn còn %1 tệp bị hỏng sau khi sửa.</translation>
    </message>
    <message>
        <source>message_repair_folder_in_the_way</source>
        <translation>là thư mục chứa tệp ở vị trí của tệp game; hãy di chuyển nó rồi thử lại.</translation>
    </message>
    <message>
        <source>label_repair_result_missing</source>
        <translation>Đã kiểm tra %1 tệp, thiếu %2, hỏng %3, đã sửa %4.</translation>
    </message>
</context>
<context>
    <name>PackageItemExtractor</name>
    <message>
        <source>message_repair_item_not_in_package</source>
        <translation>Gói game không chứa %1.</translation>
    </message>
</context>
<context>
    <name>PackageTrust</name>
    <message>
        <source>message_error_package_signature</source>
        <translation>Gói này không có chữ ký của nhà phát hành hoặc đã bị thay đổi. Gói đã bị xóa. Vui lòng thử lại sau</translation>
    </message>
    <message>
        <source>message_error_package_rollback</source>
        <translation>Phiên bản này cũ hơn phiên bản đã cài và nhà phát hành không ký nó là bản quay lui. Không có gì được cài đặt</translation>
    </message>
    <message>
        <source>message_error_package_binding</source>
        <translation>Gói này được ký cho một trò chơi, trình khởi chạy hoặc mục đích khác. Gói đã bị xóa và không có gì được cài đặt</translation>
    </message>
    <message>
        <source>message_error_metadata_signature</source>
        <translation>Thông tin trò chơi từ máy chủ không được nhà phát hành ký hoặc đã bị thay đổi. Không có gì được cài đặt hay khởi chạy</translation>
    </message>
    <message>
        <source>message_error_metadata_stale</source>
        <translation>Thông tin trò chơi từ máy chủ đã lỗi thời (cũ hơn lần trước hoặc đã hết hạn). Không có gì được cài đặt hay khởi chạy. Vui lòng thử lại sau</translation>
    </message>
</context>
<context>
    <name>HttpRequestAPI</name>
    <message>
        <source>message_answer_too_large</source>
        <translation>Phản hồi của máy chủ lớn hơn mọi phản hồi hợp lệ nên đã bị từ chối.</translation>
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
        <translation>không thể đặt vào đúng chỗ. Bản cập nhật sẽ hoàn tất vào lần mở trình khởi chạy tiếp theo; hãy đóng mọi chương trình đang dùng tệp của trò chơi trước.</translation>
    </message>
</context>
</TS>
