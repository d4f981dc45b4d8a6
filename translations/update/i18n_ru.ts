<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CDlgYesNo</name>
    <message>
        <source>button_confirm</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>DlgProgress</name>
    <message>
        <source>label_update_failed</source>
        <translation>Ошибка обновления</translation>
    </message>
    <message>
        <source>label_click_redo_update_launcher_again</source>
        <translation>Нажмите «Повторить», чтобы снова обновить лаунчер</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>message_minimizing_continue_update_launcher</source>
        <translation>Обновление лаунчера продолжится в свёрнутом режиме</translation>
    </message>
</context>
<context>
    <name>DownloadTask</name>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>Не удалось создать папку</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>Не удалось открыть загружаемый файл</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>Не удалось сохранить загруженные данные</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Недостаточно места на диске. Освободите место и повторите попытку.</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Ошибка сети</translation>
    </message>
    <message>
        <source>message_error_network_reply_please_check_network</source>
        <translation>Ошибка сети. Проверьте подключение</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>Не удалось выполнить запись на диск</translation>
    </message>
    <message>
        <source>message_request_time_out</source>
        <translation>Время ожидания запроса истекло</translation>
    </message>
    <message>
        <source>message_error_resource_acquisition_failed_check_network</source>
        <translation>Не удалось связаться с сервером загрузки. Проверьте подключение</translation>
    </message>
    <message>
        <source>message_error_download_network</source>
        <translation>Не удалось выполнить загрузку. Проверьте подключение и повторите попытку</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>Загруженный файл повреждён. Скачайте его заново</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Не удалось удалить старый пакет</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>message_setup_zip_password_error</source>
        <translation>Пакет защищён паролем</translation>
    </message>
</context>
<context>
    <name>UncompressManager</name>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation>— не удалось открыть</translation>
    </message>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>Не удалось создать папку</translation>
    </message>
    <message>
        <source>message_setup_dll_error</source>
        <translation>Не удалось загрузить библиотеку распаковки</translation>
    </message>
    <message>
        <source>message_setup_zip_format_error</source>
        <translation>— неподдерживаемый формат пакета</translation>
    </message>
    <message>
        <source>message_setup_zip_class_error</source>
        <translation>Не удалось открыть пакет этого формата</translation>
    </message>
    <message>
        <source>message_setup_zip_unzip_error</source>
        <translation>Ошибка распаковки: возможно, пакет повреждён</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>title_tip</source>
        <translation>Уведомление</translation>
    </message>
    <message>
        <source>message_main_process_parameter_abnormal</source>
        <translation>Лаунчер передал недопустимые параметры запуска: </translation>
    </message>
    <message>
        <source>message_update_address_abnormal</source>
        <translation>Недопустимый адрес обновления. Возврат в лаунчер</translation>
    </message>
    <message>
        <source>label_percent_sign</source>
        <translation>%</translation>
    </message>
    <message>
        <source>message_update_init_failed</source>
        <translation>Не удалось подготовить обновление. Повторить?</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>label_resource_downloading</source>
        <translation>Загрузка обновления </translation>
    </message>
    <message>
        <source>title_download_error</source>
        <translation>Ошибка загрузки</translation>
    </message>
    <message>
        <source>label_file_unziping</source>
        <translation>Распаковка файлов </translation>
    </message>
    <message>
        <source>title_unzip_error</source>
        <translation>Ошибка распаковки</translation>
    </message>
    <message>
        <source>message_create_backup_folder_failed</source>
        <translation>Не удалось создать папку резервной копии. Возврат в лаунчер</translation>
    </message>
    <message>
        <source>message_file_replace_exception</source>
        <translation>Ошибка при замене файлов. Возврат в лаунчер</translation>
    </message>
    <message>
        <source>message_failed_create_backup_folder_try_again</source>
        <translation>Не удалось создать папку резервной копии. Повторить?</translation>
    </message>
    <message>
        <source>label_file_replacing</source>
        <translation>Замена файлов </translation>
    </message>
    <message>
        <source>title_update_success</source>
        <translation>Обновление завершено</translation>
    </message>
    <message>
        <source>message_click_button_open_launcher</source>
        <translation>Нажмите кнопку ниже, чтобы открыть лаунчер</translation>
    </message>
    <message>
        <source>button_open_launcher</source>
        <translation>Открыть лаунчер</translation>
    </message>
    <message>
        <source>title_file_replace_failed</source>
        <translation>Не удалось заменить файл</translation>
    </message>
    <message>
        <source>message_updating_do_not_close</source>
        <translation>Идёт обновление лаунчера. Вы действительно хотите закрыть окно?</translation>
    </message>
    <message>
        <source>button_continue_update</source>
        <translation>Продолжить</translation>
    </message>
    <message>
        <source>button_close_update</source>
        <translation>Прервать обновление</translation>
    </message>
    <message>
        <source>title_rollback_failed</source>
        <translation>Не удалось восстановить прежний лаунчер</translation>
    </message>
    <message>
        <source>message_rollback_file_held</source>
        <translation>Этот файл лаунчера занят другой программой, поэтому его не удалось вернуть:
%1
Выйдите сейчас: лаунчер завершит восстановление при следующем запуске.</translation>
    </message>
    <message>
        <source>button_quit_finish_later</source>
        <translation>Выйти, завершить при следующем запуске</translation>
        <source>label_download_details</source>
        <translation>%1 из %2 · %3 · осталось %4</translation>
    </message>
</context>
<context>
    <name>PackageTrust</name>
    <message>
        <source>message_error_package_signature</source>
        <translation>Этот пакет не подписан издателем или был изменён. Он удалён. Повтори попытку позже</translation>
    </message>
    <message>
        <source>message_error_package_rollback</source>
        <translation>Эта версия старше установленной, и издатель не подписал её как откат. Ничего не установлено</translation>
    </message>
    <message>
        <source>message_error_package_binding</source>
        <translation>Этот пакет подписан для другой игры, другого лаунчера или другой цели. Он удалён, ничего не установлено</translation>
    </message>
    <message>
        <source>message_error_metadata_signature</source>
        <translation>Сведения об игре от сервера не подписаны издателем или были изменены. Ничего не установлено и не запущено</translation>
    </message>
    <message>
        <source>message_error_metadata_stale</source>
        <translation>Сведения об игре от сервера устарели (старше полученных ранее или просрочены). Ничего не установлено и не запущено. Повторите попытку позже</translation>
    </message>
</context>
<context>
    <name>SizeText</name>
    <message>
        <source>label_unit_kb</source>
        <translation>КБ</translation>
    </message>
    <message>
        <source>label_unit_mb</source>
        <translation>МБ</translation>
    </message>
    <message>
        <source>label_unit_gb</source>
        <translation>ГБ</translation>
    </message>
    <message>
        <source>label_unit_kb_per_second</source>
        <translation>КБ/с</translation>
    </message>
    <message>
        <source>label_unit_mb_per_second</source>
        <translation>МБ/с</translation>
    </message>
</context>
</TS>
