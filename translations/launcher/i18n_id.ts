<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="id_ID">
<context>
    <name>ApplicationInfo</name>
    <message>
        <source>title_tip</source>
        <translation>Pemberitahuan</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>Gagal memeriksa pembaruan launcher. Silakan coba lagi nanti.</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Coba lagi</translation>
    </message>
</context>
<context>
    <name>CDlgAppInfo</name>
    <message>
        <source>title_app_info</source>
        <translation>Tentang</translation>
    </message>
    <message>
        <source>label_game_info</source>
        <translation>Versi game</translation>
    </message>
    <message>
        <source>label_app_info</source>
        <translation>ID launcher</translation>
    </message>
    <message>
        <source>label_launcher_version</source>
        <translation>Versi launcher</translation>
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
        <translation>Saat jendela ditutup</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>Perkecil ke area notifikasi</translation>
    </message>
    <message>
        <source>button_close_quit</source>
        <translation>Keluar dari launcher</translation>
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
        <translation>Batal</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Pemberitahuan</translation>
    </message>
</context>
<context>
    <name>CSetInstallPathDialog</name>
    <message>
        <source>title_app_install_kv</source>
        <translation>Instal Orvyndale</translation>
    </message>
    <message>
        <source>label_install_dir</source>
        <translation>Folder instalasi</translation>
    </message>
    <message>
        <source>message_floder_not_enough_space</source>
        <translation>Ruang di drive ini tidak cukup</translation>
    </message>
    <message>
        <source>button_change</source>
        <translation>Ubah</translation>
    </message>
    <message>
        <source>label_need_space</source>
        <translation>Ruang yang dibutuhkan:</translation>
    </message>
    <message>
        <source>label_available_space</source>
        <translation>Ruang kosong:</translation>
    </message>
    <message>
        <source>label_default_language</source>
        <translation>Bahasa default</translation>
    </message>
    <message>
        <source>button_start_setup</source>
        <translation>Instal</translation>
    </message>
    <message>
        <source>messsage_path_invalid</source>
        <translation>Folder ini tidak dapat digunakan</translation>
    </message>
    <message>
        <source>label_select_install_path</source>
        <translation>Pilih folder instalasi</translation>
    </message>
    <message>
        <source>button_continue</source>
        <translation>Lanjutkan</translation>
    </message>
    <message>
        <source>button_select_again</source>
        <translation>Pilih yang lain</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Pemberitahuan</translation>
    </message>
    <message>
        <source>message_suggest_select_empty_folder</source>
        <translation>Folder yang dipilih tidak kosong. Sebaiknya instal ke folder kosong.</translation>
    </message>
</context>
<context>
    <name>DlgSetting</name>
    <message>
        <source>title_set</source>
        <translation>Pengaturan</translation>
    </message>
    <message>
        <source>button_auto_start</source>
        <translation>Jalankan saat sistem dimulai</translation>
    </message>
    <message>
        <source>button_auto_update</source>
        <translation>Perbarui launcher secara otomatis</translation>
    </message>
    <message>
        <source>label_next_open_auto_update</source>
        <translation>Jika diaktifkan, launcher akan diperbarui ke versi terbaru saat dijalankan berikutnya.</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>Perkecil ke area notifikasi</translation>
    </message>
    <message>
        <source>button_quit_launcher</source>
        <translation>Keluar dari launcher</translation>
    </message>
    <message>
        <source>button_check_update</source>
        <translation>Periksa pembaruan</translation>
    </message>
    <message>
        <source>label_current_launcher_version</source>
        <translation>Versi launcher saat ini:</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Batal</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>label_launch_set</source>
        <translation>Saat mulai</translation>
    </message>
    <message>
        <source>label_close_set</source>
        <translation>Saat ditutup</translation>
    </message>
    <message>
        <source>label_version_set</source>
        <translation>Versi</translation>
    </message>
    <message>
        <source>button_game_repair</source>
        <translation>Periksa game</translation>
    </message>
    <message>
        <source>button_game_repair_stop</source>
        <translation>Hentikan</translation>
    </message>
    <message>
        <source>button_show_launcher_after_game</source>
        <translation>Tampilkan launcher lagi setelah game</translation>
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
        <translation>Memverifikasi file</translation>
    </message>
    <message>
        <source>title_error</source>
        <translation>Kesalahan</translation>
    </message>
    <message>
        <source>message_resource_check_failed</source>
        <translation>Gagal mendapatkan versi game. Periksa koneksi Anda dan coba lagi.</translation>
    </message>
    <message>
        <source>message_need_update_launcher</source>
        <translation>Launcher perlu diperbarui. Klik OK untuk mengunduh versi terbaru.</translation>
    </message>
    <message>
        <source>message_launcher_version_old</source>
        <translation>Launcher ini sudah usang. Silakan unduh versi terbaru dari situs web resmi.</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>message_launcher_check_failed</source>
        <translation>Gagal memuat konten launcher. Coba lagi?</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Ruang disk tidak cukup. Kosongkan sebagian ruang lalu coba lagi.</translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Kecepatan:</translation>
    </message>
    <message>
        <source>label_download_speed_kbs</source>
        <translation>KB/s</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Sisa waktu: </translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Pemberitahuan</translation>
    </message>
    <message>
        <source>message_checking_update</source>
        <translation>Memeriksa versi game, harap tunggu...</translation>
    </message>
    <message>
        <source>message_create_floder_failed</source>
        <translation>Folder instalasi tidak dapat dibuat. Silakan pilih lokasi lain.</translation>
    </message>
    <message>
        <source>message_not_enough_space_select_path</source>
        <translation>Ruang disk tidak cukup. Silakan pilih lokasi instalasi lain.</translation>
    </message>
    <message>
        <source>label_download_paused</source>
        <translation>Dijeda</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>Mengunduh</translation>
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
        <translation>Kesalahan unduhan</translation>
    </message>
    <message>
        <source>title_warning</source>
        <translation>Peringatan</translation>
    </message>
    <message>
        <source>message_game_is_running_please_close</source>
        <translation>Game sedang berjalan. Tutup game terlebih dahulu.</translation>
    </message>
    <message>
        <source>label_installing_progress</source>
        <translation>Menginstal</translation>
    </message>
    <message>
        <source>message_setup_error</source>
        <translation>Kesalahan instalasi</translation>
    </message>
    <message>
        <source>message_run_update_exe_failed</source>
        <translation>Program pembaruan tidak dapat dijalankan.</translation>
    </message>
    <message>
        <source>message_repair_needs_current_game</source>
        <translation>Pasang atau perbarui game terlebih dahulu, lalu periksa.</translation>
    </message>
    <message>
        <source>message_game_entry_refused</source>
        <translation>Program game yang disebutkan server berada di luar folder game dan tidak dijalankan:</translation>
        <source>label_value_paused</source>
        <translation>dijeda</translation>
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
    <name>UpdateProgram</name>
    <message>
        <source>message_is_latest_version</source>
        <translation>Anda sudah menggunakan versi terbaru.</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>Gagal memeriksa pembaruan launcher. Silakan coba lagi nanti.</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Pemberitahuan</translation>
    </message>
    <message>
        <source>message_new_version_please_update</source>
        <translation>Versi launcher baru tersedia. Perbarui untuk melanjutkan.</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Perbarui</translation>
    </message>
    <message>
        <source>message_new_version_whether_update</source>
        <translation>Versi launcher baru tersedia. Perbarui sekarang?</translation>
    </message>
    <message>
        <source>message_update_failed_not_enough_space</source>
        <translation>Ruang disk tidak cukup untuk memperbarui launcher.</translation>
    </message>
    <message>
        <source>label_new_launcher_version</source>
        <translation>Versi %1, ukuran unduhan %2</translation>
    </message>
</context>
<context>
    <name>downloadmanager</name>
    <message>
        <source>message_error_resource_acquisition_failed</source>
        <translation>Gagal mendapatkan informasi file</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>File unduhan tidak dapat dibuka</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Ruang disk tidak cukup. Kosongkan sebagian ruang lalu coba lagi.</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Paket lama tidak dapat dihapus</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Kesalahan jaringan</translation>
    </message>
    <message>
        <source>message_error_network_statuscode</source>
        <translation>Respons server tidak terduga</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>File yang diunduh rusak. Silakan unduh ulang</translation>
    </message>
    <message>
        <source>message_error_certificate_untrusted</source>
        <translation>Sertifikat server unduhan tidak tepercaya, sehingga koneksi ditolak. Periksa tanggal komputer serta proxy atau perangkat lunak keamanan</translation>
    </message>
    <message>
        <source>message_error_certificate_wrong_name</source>
        <translation>Sertifikat server unduhan milik alamat lain, sehingga koneksi ditolak</translation>
    </message>
    <message>
        <source>message_error_server_busy</source>
        <translation>Server unduhan sedang sibuk. Launcher sudah mencoba beberapa kali; lanjutkan unduhan untuk mencoba lagi</translation>
    </message>
    <message>
        <source>message_error_disk_full</source>
        <translation>Disk penuh. Kosongkan sebagian ruang, lalu lanjutkan unduhan</translation>
    </message>
    <message>
        <source>message_error_file_changed</source>
        <translation>File terus berubah di server selama diunduh. Silakan coba lagi nanti</translation>
    </message>
    <message>
        <source>message_error_file_gone</source>
        <translation>File sudah tidak ada di server. Silakan coba lagi nanti</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>Data unduhan tidak dapat disimpan</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>Tidak dapat menulis ke disk</translation>
    </message>
    <message>
        <source>message_insecure_redirect</source>
        <translation>Alamat unduhan aman dialihkan ke alamat tanpa enkripsi; unduhan ditolak:</translation>
    </message>
</context>
<context>
    <name>downloadtask</name>
    <message>
        <source>message_request_time_out</source>
        <translation>Waktu permintaan habis</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>button_open_main_window</source>
        <translation>Buka launcher</translation>
    </message>
    <message>
        <source>button_quit</source>
        <translation>Keluar</translation>
    </message>
    <message>
        <source>title_app_name_kv</source>
        <translation>Orvyndale</translation>
    </message>
    <message>
        <source>button_continue_download</source>
        <translation>Lanjutkan unduhan</translation>
    </message>
    <message>
        <source>button_get_game</source>
        <translation>Dapatkan game</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Perbarui</translation>
    </message>
    <message>
        <source>button_start_game</source>
        <translation>Main</translation>
    </message>
    <message>
        <source>button_change_install_path</source>
        <translation>Ubah folder instalasi</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>Mengunduh</translation>
    </message>
    <message>
        <source>label_checking_md5</source>
        <translation>Memverifikasi file</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Sisa waktu: </translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Kecepatan:</translation>
    </message>
    <message>
        <source>message_startup_recovery_failed</source>
        <translation>Pembaruan launcher yang terputus tidak dapat dibatalkan sepenuhnya: beberapa filenya mungkin masih dari versi baru. Tutup program yang mungkin sedang menggunakannya, lalu jalankan launcher lagi untuk menyelesaikannya.</translation>
    </message>
</context>
<context>
    <name>setupmanager</name>
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
        <source>message_setup_zip_archive_file_error</source>
        <translation>tidak dapat dibuka</translation>
    </message>
    <message>
        <source>message_setup_zip_unzip_error</source>
        <translation>Ekstraksi gagal; paket mungkin rusak</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Paket lama tidak dapat dihapus</translation>
    </message>
    <message>
        <source>message_game_folder_link</source>
        <translation>adalah tautan ke lokasi lain. Launcher tidak menulis melalui tautan: pindahkan folder itu kembali ke folder game atau hapus tautannya, lalu coba lagi.</translation>
    </message>
</context>
<context>
    <name>GameRepairFlow</name>
    <message>
        <source>label_repair_fetching_list</source>
        <translation>Mengambil daftar file game…</translation>
    </message>
    <message>
        <source>label_repair_verifying</source>
        <translation>Memeriksa file: %1/%2, %3 dari %4</translation>
    </message>
    <message>
        <source>label_repair_time_left</source>
        <translation>sisa waktu %1</translation>
    </message>
    <message>
        <source>label_repair_downloading</source>
        <translation>Mengunduh paket game untuk perbaikan: %1%</translation>
    </message>
    <message>
        <source>label_repair_checking_package</source>
        <translation>Memeriksa paket yang diunduh…</translation>
    </message>
    <message>
        <source>label_repair_unpacking</source>
        <translation>Memperbaiki %1 file…</translation>
    </message>
    <message>
        <source>label_repair_result</source>
        <translation>%1 file diperiksa, %2 rusak, %3 diperbaiki.</translation>
    </message>
    <message>
        <source>label_repair_cancelled</source>
        <translation>Pemeriksaan dihentikan.</translation>
    </message>
    <message>
        <source>message_repair_no_file_list</source>
        <translation>Tidak ada daftar file untuk versi ini.</translation>
    </message>
    <message>
        <source>message_repair_list_failed</source>
        <translation>Daftar file game tidak dapat diunduh.</translation>
    </message>
    <message>
        <source>message_repair_list_damaged</source>
        <translation>Daftar file game rusak.</translation>
    </message>
    <message>
        <source>message_repair_unreadable</source>
        <translation>File yang tidak dapat dibaca (tidak ada yang diubah):</translation>
    </message>
    <message>
        <source>message_repair_still_damaged</source>
        <translation>%1 file masih rusak setelah perbaikan.</translation>
    </message>
    <message>
        <source>message_repair_folder_in_the_way</source>
        <translation>adalah folder berisi file di tempat file game; pindahkan lalu coba lagi.</translation>
    </message>
    <message>
        <source>label_repair_result_missing</source>
        <translation>%1 file diperiksa, %2 hilang, %3 rusak, %4 diperbaiki.</translation>
    </message>
</context>
<context>
    <name>PackageItemExtractor</name>
    <message>
        <source>message_repair_item_not_in_package</source>
        <translation>Paket game tidak berisi %1.</translation>
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
    <name>HttpRequestAPI</name>
    <message>
        <source>message_answer_too_large</source>
        <translation>Jawaban server lebih besar dari jawaban asli mana pun dan ditolak.</translation>
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
        <translation>tidak dapat dipasang di tempatnya. Pembaruan akan diselesaikan saat launcher dijalankan lagi; tutup dulu program apa pun yang memakai file game.</translation>
    </message>
</context>
</TS>
