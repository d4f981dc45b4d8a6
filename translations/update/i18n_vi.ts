<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="vi_VN">
<context>
    <name>CDlgYesNo</name>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Hủy</translation>
    </message>
</context>
<context>
    <name>DlgProgress</name>
    <message>
        <source>label_update_failed</source>
        <translation>Cập nhật thất bại</translation>
    </message>
    <message>
        <source>label_click_redo_update_launcher_again</source>
        <translation>Nhấn &quot;Thử lại&quot; để cập nhật lại launcher</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Thử lại</translation>
    </message>
    <message>
        <source>message_minimizing_continue_update_launcher</source>
        <translation>Launcher vẫn tiếp tục cập nhật khi thu nhỏ</translation>
    </message>
</context>
<context>
    <name>DownloadTask</name>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>Không thể tạo thư mục</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>Không thể mở tệp tải xuống</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>Không thể lưu dữ liệu đã tải xuống</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Không đủ dung lượng đĩa. Hãy giải phóng dung lượng rồi thử lại.</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Lỗi mạng</translation>
    </message>
    <message>
        <source>message_error_network_reply_please_check_network</source>
        <translation>Lỗi mạng, vui lòng kiểm tra kết nối</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>Không thể ghi vào đĩa</translation>
    </message>
    <message>
        <source>message_request_time_out</source>
        <translation>Yêu cầu đã hết thời gian chờ</translation>
    </message>
    <message>
        <source>message_error_resource_acquisition_failed_check_network</source>
        <translation>Không thể kết nối máy chủ tải xuống, vui lòng kiểm tra kết nối</translation>
    </message>
    <message>
        <source>message_error_download_network</source>
        <translation>Tải xuống thất bại. Hãy kiểm tra kết nối rồi thử lại</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>Tệp tải xuống bị hỏng. Vui lòng tải lại</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Không thể xóa gói cài đặt cũ</translation>
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
    <name>UncompressManager</name>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation>không thể mở được</translation>
    </message>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>Không thể tạo thư mục</translation>
    </message>
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
        <source>message_setup_zip_unzip_error</source>
        <translation>Giải nén thất bại; gói cài đặt có thể đã bị hỏng</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>title_tip</source>
        <translation>Thông báo</translation>
    </message>
    <message>
        <source>message_main_process_parameter_abnormal</source>
        <translation>Launcher đã truyền tham số khởi động không hợp lệ: </translation>
    </message>
    <message>
        <source>message_update_address_abnormal</source>
        <translation>Địa chỉ cập nhật không hợp lệ. Đang quay lại launcher</translation>
    </message>
    <message>
        <source>label_percent_sign</source>
        <translation>%</translation>
    </message>
    <message>
        <source>message_update_init_failed</source>
        <translation>Không thể chuẩn bị bản cập nhật. Thử lại?</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Thử lại</translation>
    </message>
    <message>
        <source>label_resource_downloading</source>
        <translation>Đang tải bản cập nhật </translation>
    </message>
    <message>
        <source>title_download_error</source>
        <translation>Tải xuống thất bại</translation>
    </message>
    <message>
        <source>label_file_unziping</source>
        <translation>Đang giải nén tệp </translation>
    </message>
    <message>
        <source>title_unzip_error</source>
        <translation>Giải nén thất bại</translation>
    </message>
    <message>
        <source>message_create_backup_folder_failed</source>
        <translation>Không thể tạo thư mục sao lưu. Đang quay lại launcher</translation>
    </message>
    <message>
        <source>message_file_replace_exception</source>
        <translation>Đã xảy ra lỗi khi thay thế tệp. Đang quay lại launcher</translation>
    </message>
    <message>
        <source>message_failed_create_backup_folder_try_again</source>
        <translation>Không thể tạo thư mục sao lưu. Thử lại?</translation>
    </message>
    <message>
        <source>label_file_replacing</source>
        <translation>Đang thay thế tệp </translation>
    </message>
    <message>
        <source>title_update_success</source>
        <translation>Cập nhật hoàn tất</translation>
    </message>
    <message>
        <source>message_click_button_open_launcher</source>
        <translation>Nhấn nút bên dưới để mở launcher</translation>
    </message>
    <message>
        <source>button_open_launcher</source>
        <translation>Mở launcher</translation>
    </message>
    <message>
        <source>title_file_replace_failed</source>
        <translation>Không thể thay thế một tệp</translation>
    </message>
    <message>
        <source>message_updating_do_not_close</source>
        <translation>Launcher đang được cập nhật. Bạn có chắc muốn đóng?</translation>
    </message>
    <message>
        <source>button_continue_update</source>
        <translation>Tiếp tục cập nhật</translation>
    </message>
    <message>
        <source>button_close_update</source>
        <translation>Dừng cập nhật</translation>
    </message>
    <message>
        <source>title_rollback_failed</source>
        <translation>Không thể khôi phục launcher trước đó</translation>
    </message>
    <message>
        <source>message_rollback_file_held</source>
        <translation>Một chương trình khác đang giữ tệp launcher này nên không thể khôi phục:
%1
Hãy thoát ngay: launcher sẽ hoàn tất khôi phục ở lần khởi động tiếp theo.</translation>
    </message>
    <message>
        <source>button_quit_finish_later</source>
        <translation>Thoát ngay, hoàn tất ở lần mở sau</translation>
        <source>label_download_details</source>
        <translation>%1 / %2 · %3 · còn %4</translation>
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
