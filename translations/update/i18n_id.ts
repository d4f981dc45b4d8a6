<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="id_ID">
<context>
    <name>CDlgYesNo</name>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Batal</translation>
    </message>
</context>
<context>
    <name>DlgProgress</name>
    <message>
        <source>label_update_failed</source>
        <translation>Pembaruan gagal</translation>
    </message>
    <message>
        <source>label_click_redo_update_launcher_again</source>
        <translation>Klik &quot;Coba lagi&quot; untuk memperbarui launcher sekali lagi</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Coba lagi</translation>
    </message>
    <message>
        <source>message_minimizing_continue_update_launcher</source>
        <translation>Launcher tetap diperbarui saat diperkecil</translation>
    </message>
</context>
<context>
    <name>DownloadTask</name>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>Folder tidak dapat dibuat</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>File unduhan tidak dapat dibuka</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>Data unduhan tidak dapat disimpan</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Ruang disk tidak cukup. Kosongkan sebagian ruang lalu coba lagi.</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Kesalahan jaringan</translation>
    </message>
    <message>
        <source>message_error_network_reply_please_check_network</source>
        <translation>Kesalahan jaringan, periksa koneksi Anda</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>Tidak dapat menulis ke disk</translation>
    </message>
    <message>
        <source>message_request_time_out</source>
        <translation>Waktu permintaan habis</translation>
    </message>
    <message>
        <source>message_error_resource_acquisition_failed_check_network</source>
        <translation>Tidak dapat terhubung ke server unduhan, periksa koneksi Anda</translation>
    </message>
    <message>
        <source>message_error_download_network</source>
        <translation>Unduhan gagal. Periksa koneksi Anda lalu coba lagi</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>File yang diunduh rusak. Silakan unduh ulang</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Paket lama tidak dapat dihapus</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>message_setup_zip_password_error</source>
        <translation>Paket dilindungi kata sandi</translation>
    </message>
</context>
<context>
    <name>UncompressManager</name>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation>tidak dapat dibuka</translation>
    </message>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>Folder tidak dapat dibuat</translation>
    </message>
    <message>
        <source>message_setup_dll_error</source>
        <translation>Pustaka ekstraksi tidak dapat dimuat</translation>
    </message>
    <message>
        <source>message_setup_zip_format_error</source>
        <translation>bukan format paket yang didukung</translation>
    </message>
    <message>
        <source>message_setup_zip_class_error</source>
        <translation>Format paket tidak dapat dibuka</translation>
    </message>
    <message>
        <source>message_setup_zip_unzip_error</source>
        <translation>Ekstraksi gagal; paket mungkin rusak</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>title_tip</source>
        <translation>Pemberitahuan</translation>
    </message>
    <message>
        <source>message_main_process_parameter_abnormal</source>
        <translation>Launcher mengirim parameter awal yang tidak valid: </translation>
    </message>
    <message>
        <source>message_update_address_abnormal</source>
        <translation>Alamat pembaruan tidak valid. Kembali ke launcher</translation>
    </message>
    <message>
        <source>label_percent_sign</source>
        <translation>%</translation>
    </message>
    <message>
        <source>message_update_init_failed</source>
        <translation>Pembaruan tidak dapat disiapkan. Coba lagi?</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Coba lagi</translation>
    </message>
    <message>
        <source>label_resource_downloading</source>
        <translation>Mengunduh pembaruan </translation>
    </message>
    <message>
        <source>title_download_error</source>
        <translation>Unduhan gagal</translation>
    </message>
    <message>
        <source>label_file_unziping</source>
        <translation>Mengekstrak file </translation>
    </message>
    <message>
        <source>title_unzip_error</source>
        <translation>Ekstraksi gagal</translation>
    </message>
    <message>
        <source>message_create_backup_folder_failed</source>
        <translation>Folder cadangan tidak dapat dibuat. Kembali ke launcher</translation>
    </message>
    <message>
        <source>message_file_replace_exception</source>
        <translation>Terjadi kesalahan saat mengganti file. Kembali ke launcher</translation>
    </message>
    <message>
        <source>message_failed_create_backup_folder_try_again</source>
        <translation>Folder cadangan tidak dapat dibuat. Coba lagi?</translation>
    </message>
    <message>
        <source>label_file_replacing</source>
        <translation>Mengganti file </translation>
    </message>
    <message>
        <source>title_update_success</source>
        <translation>Pembaruan selesai</translation>
    </message>
    <message>
        <source>message_click_button_open_launcher</source>
        <translation>Klik tombol di bawah untuk membuka launcher</translation>
    </message>
    <message>
        <source>button_open_launcher</source>
        <translation>Buka launcher</translation>
    </message>
    <message>
        <source>title_file_replace_failed</source>
        <translation>Sebuah file tidak dapat diganti</translation>
    </message>
    <message>
        <source>message_updating_do_not_close</source>
        <translation>Launcher sedang diperbarui. Yakin ingin menutupnya?</translation>
    </message>
    <message>
        <source>button_continue_update</source>
        <translation>Lanjutkan pembaruan</translation>
    </message>
    <message>
        <source>button_close_update</source>
        <translation>Hentikan pembaruan</translation>
    </message>
    <message>
        <source>title_rollback_failed</source>
        <translation>Launcher sebelumnya tidak dapat dipulihkan</translation>
    </message>
    <message>
        <source>message_rollback_file_held</source>
        <translation>Program lain sedang memakai file launcher ini sehingga tidak dapat dikembalikan:
%1
Keluar sekarang: launcher akan menyelesaikan pemulihannya saat dijalankan berikutnya.</translation>
    </message>
    <message>
        <source>button_quit_finish_later</source>
        <translation>Keluar, selesaikan saat dijalankan lagi</translation>
        <source>label_download_details</source>
        <translation>%1 dari %2 · %3 · sisa %4</translation>
    </message>
</context>
<context>
    <name>PackageTrust</name>
    <message>
        <source>message_error_package_signature</source>
        <translation>Paket ini tidak ditandatangani penerbit atau telah diubah. Paket telah dihapus. Coba lagi nanti</translation>
    </message>
    <message>
        <source>message_error_package_rollback</source>
        <translation>Versi ini lebih lama daripada yang terpasang dan penerbit tidak menandatanganinya sebagai pengembalian versi. Tidak ada yang dipasang</translation>
    </message>
    <message>
        <source>message_error_package_binding</source>
        <translation>Paket ini ditandatangani untuk game, peluncur, atau tujuan lain. Paket telah dihapus dan tidak ada yang dipasang</translation>
    </message>
    <message>
        <source>message_error_metadata_signature</source>
        <translation>Informasi game dari server tidak ditandatangani penerbit atau telah diubah. Tidak ada yang dipasang atau dijalankan</translation>
    </message>
    <message>
        <source>message_error_metadata_stale</source>
        <translation>Informasi game dari server sudah usang (lebih lama dari sebelumnya atau kedaluwarsa). Tidak ada yang dipasang atau dijalankan. Silakan coba lagi nanti</translation>
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
