<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="th_TH">
<context>
    <name>CDlgYesNo</name>
    <message>
        <source>button_confirm</source>
        <translation>ตกลง</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>ยกเลิก</translation>
    </message>
</context>
<context>
    <name>DlgProgress</name>
    <message>
        <source>label_update_failed</source>
        <translation>อัปเดตไม่สำเร็จ</translation>
    </message>
    <message>
        <source>label_click_redo_update_launcher_again</source>
        <translation>คลิก &quot;ลองอีกครั้ง&quot; เพื่ออัปเดตตัวเปิดเกมอีกครั้ง</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>ลองอีกครั้ง</translation>
    </message>
    <message>
        <source>message_minimizing_continue_update_launcher</source>
        <translation>ตัวเปิดเกมจะอัปเดตต่อไปแม้ย่อหน้าต่างแล้ว</translation>
    </message>
</context>
<context>
    <name>DownloadTask</name>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>ไม่สามารถสร้างโฟลเดอร์ได้</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>ไม่สามารถเปิดไฟล์ดาวน์โหลดได้</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>ไม่สามารถบันทึกข้อมูลที่ดาวน์โหลดได้</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>พื้นที่ดิสก์ไม่เพียงพอ โปรดเพิ่มพื้นที่ว่างแล้วลองอีกครั้ง</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>เครือข่ายผิดพลาด</translation>
    </message>
    <message>
        <source>message_error_network_reply_please_check_network</source>
        <translation>เครือข่ายผิดพลาด โปรดตรวจสอบการเชื่อมต่อ</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>ไม่สามารถเขียนข้อมูลลงดิสก์ได้</translation>
    </message>
    <message>
        <source>message_request_time_out</source>
        <translation>คำขอหมดเวลา</translation>
    </message>
    <message>
        <source>message_error_resource_acquisition_failed_check_network</source>
        <translation>ไม่สามารถเชื่อมต่อเซิร์ฟเวอร์ดาวน์โหลดได้ โปรดตรวจสอบการเชื่อมต่อ</translation>
    </message>
    <message>
        <source>message_error_download_network</source>
        <translation>ดาวน์โหลดไม่สำเร็จ โปรดตรวจสอบการเชื่อมต่อแล้วลองอีกครั้ง</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>ไฟล์ที่ดาวน์โหลดเสียหาย โปรดดาวน์โหลดใหม่</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>ไม่สามารถลบแพ็กเกจเก่าได้</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>message_setup_zip_password_error</source>
        <translation>แพ็กเกจมีการป้องกันด้วยรหัสผ่าน</translation>
    </message>
</context>
<context>
    <name>UncompressManager</name>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation>ไม่สามารถเปิดได้</translation>
    </message>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>ไม่สามารถสร้างโฟลเดอร์ได้</translation>
    </message>
    <message>
        <source>message_setup_dll_error</source>
        <translation>ไม่สามารถโหลดไลบรารีแตกไฟล์ได้</translation>
    </message>
    <message>
        <source>message_setup_zip_format_error</source>
        <translation>ไม่ใช่รูปแบบแพ็กเกจที่รองรับ</translation>
    </message>
    <message>
        <source>message_setup_zip_class_error</source>
        <translation>ไม่สามารถเปิดรูปแบบแพ็กเกจนี้ได้</translation>
    </message>
    <message>
        <source>message_setup_zip_unzip_error</source>
        <translation>แตกไฟล์ไม่สำเร็จ แพ็กเกจอาจเสียหาย</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>title_tip</source>
        <translation>แจ้งเตือน</translation>
    </message>
    <message>
        <source>message_main_process_parameter_abnormal</source>
        <translation>ตัวเปิดเกมส่งพารามิเตอร์เริ่มต้นที่ไม่ถูกต้อง: </translation>
    </message>
    <message>
        <source>message_update_address_abnormal</source>
        <translation>ที่อยู่สำหรับอัปเดตไม่ถูกต้อง กำลังกลับไปยังตัวเปิดเกม</translation>
    </message>
    <message>
        <source>label_percent_sign</source>
        <translation>%</translation>
    </message>
    <message>
        <source>message_update_init_failed</source>
        <translation>ไม่สามารถเตรียมการอัปเดตได้ ลองอีกครั้งหรือไม่?</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>ลองอีกครั้ง</translation>
    </message>
    <message>
        <source>label_resource_downloading</source>
        <translation>กำลังดาวน์โหลดอัปเดต </translation>
    </message>
    <message>
        <source>title_download_error</source>
        <translation>ดาวน์โหลดไม่สำเร็จ</translation>
    </message>
    <message>
        <source>label_file_unziping</source>
        <translation>กำลังแตกไฟล์ </translation>
    </message>
    <message>
        <source>title_unzip_error</source>
        <translation>แตกไฟล์ไม่สำเร็จ</translation>
    </message>
    <message>
        <source>message_create_backup_folder_failed</source>
        <translation>ไม่สามารถสร้างโฟลเดอร์สำรองข้อมูลได้ กำลังกลับไปยังตัวเปิดเกม</translation>
    </message>
    <message>
        <source>message_file_replace_exception</source>
        <translation>เกิดข้อผิดพลาดขณะแทนที่ไฟล์ กำลังกลับไปยังตัวเปิดเกม</translation>
    </message>
    <message>
        <source>message_failed_create_backup_folder_try_again</source>
        <translation>ไม่สามารถสร้างโฟลเดอร์สำรองข้อมูลได้ ลองอีกครั้งหรือไม่?</translation>
    </message>
    <message>
        <source>label_file_replacing</source>
        <translation>กำลังแทนที่ไฟล์ </translation>
    </message>
    <message>
        <source>title_update_success</source>
        <translation>อัปเดตเสร็จสมบูรณ์</translation>
    </message>
    <message>
        <source>message_click_button_open_launcher</source>
        <translation>คลิกปุ่มด้านล่างเพื่อเปิดตัวเปิดเกม</translation>
    </message>
    <message>
        <source>button_open_launcher</source>
        <translation>เปิดตัวเปิดเกม</translation>
    </message>
    <message>
        <source>title_file_replace_failed</source>
        <translation>ไม่สามารถแทนที่ไฟล์ได้</translation>
    </message>
    <message>
        <source>message_updating_do_not_close</source>
        <translation>กำลังอัปเดตตัวเปิดเกม ต้องการปิดจริงหรือไม่?</translation>
    </message>
    <message>
        <source>button_continue_update</source>
        <translation>อัปเดตต่อ</translation>
    </message>
    <message>
        <source>button_close_update</source>
        <translation>หยุดอัปเดต</translation>
    </message>
    <message>
        <source>title_rollback_failed</source>
        <translation>ไม่สามารถกู้คืนตัวเปิดเกมเวอร์ชันก่อนหน้าได้</translation>
    </message>
    <message>
        <source>message_rollback_file_held</source>
        <translation>มีโปรแกรมอื่นใช้ไฟล์ของตัวเปิดเกมนี้อยู่ จึงไม่สามารถนำกลับมาได้:
%1
ออกตอนนี้ได้เลย ตัวเปิดเกมจะกู้คืนให้เสร็จเมื่อเปิดครั้งถัดไป</translation>
    </message>
    <message>
        <source>button_quit_finish_later</source>
        <translation>ออกตอนนี้ ทำต่อให้เสร็จเมื่อเปิดครั้งถัดไป</translation>
        <source>label_download_details</source>
        <translation>%1 จาก %2 · %3 · เหลือ %4</translation>
    </message>
</context>
<context>
    <name>PackageTrust</name>
    <message>
        <source>message_error_package_signature</source>
        <translation>แพ็กเกจนี้ไม่มีลายเซ็นของผู้จัดจำหน่ายหรือถูกแก้ไข จึงถูกลบแล้ว โปรดลองอีกครั้งในภายหลัง</translation>
    </message>
    <message>
        <source>message_error_package_rollback</source>
        <translation>เวอร์ชันนี้เก่ากว่าเวอร์ชันที่ติดตั้งอยู่ และผู้จัดจำหน่ายไม่ได้ลงนามให้เป็นการย้อนเวอร์ชัน ไม่มีการติดตั้งสิ่งใด</translation>
    </message>
    <message>
        <source>message_error_package_binding</source>
        <translation>แพ็กเกจนี้ลงนามไว้สำหรับเกม ตัวเปิดเกม หรือจุดประสงค์อื่น จึงถูกลบแล้วและไม่มีการติดตั้งสิ่งใด</translation>
    </message>
    <message>
        <source>message_error_metadata_signature</source>
        <translation>ข้อมูลเกมจากเซิร์ฟเวอร์ไม่ได้ลงนามโดยผู้จัดจำหน่ายหรือถูกแก้ไข ไม่มีการติดตั้งหรือเปิดสิ่งใด</translation>
    </message>
    <message>
        <source>message_error_metadata_stale</source>
        <translation>ข้อมูลเกมจากเซิร์ฟเวอร์ล้าสมัย (เก่ากว่าที่เคยได้รับหรือหมดอายุแล้ว) ไม่มีการติดตั้งหรือเปิดสิ่งใด โปรดลองอีกครั้งในภายหลัง</translation>
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
