<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>ApplicationInfo</name>
    <message>
        <source>title_tip</source>
        <translation>Уведомление</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>Не удалось проверить обновления лаунчера. Повторите попытку позже.</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Повторить</translation>
    </message>
</context>
<context>
    <name>CDlgAppInfo</name>
    <message>
        <source>title_app_info</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>label_game_info</source>
        <translation>Версия игры</translation>
    </message>
    <message>
        <source>label_app_info</source>
        <translation>ID лаунчера</translation>
    </message>
    <message>
        <source>label_launcher_version</source>
        <translation>Версия лаунчера</translation>
    </message>
    <message>
        <source>button_ok</source>
        <translation>ОК</translation>
    </message>
</context>
<context>
    <name>CDlgCloseTip</name>
    <message>
        <source>label_close_select_tip</source>
        <translation>При закрытии окна</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>Свернуть в область уведомлений</translation>
    </message>
    <message>
        <source>button_close_quit</source>
        <translation>Выйти из лаунчера</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>ОК</translation>
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
        <translation>Отмена</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Уведомление</translation>
    </message>
</context>
<context>
    <name>CSetInstallPathDialog</name>
    <message>
        <source>title_app_install_kv</source>
        <translation>Установка Orvyndale</translation>
    </message>
    <message>
        <source>label_install_dir</source>
        <translation>Папка установки</translation>
    </message>
    <message>
        <source>message_floder_not_enough_space</source>
        <translation>Недостаточно места на этом диске</translation>
    </message>
    <message>
        <source>button_change</source>
        <translation>Изменить</translation>
    </message>
    <message>
        <source>label_need_space</source>
        <translation>Требуется места:</translation>
    </message>
    <message>
        <source>label_available_space</source>
        <translation>Свободно:</translation>
    </message>
    <message>
        <source>label_default_language</source>
        <translation>Язык по умолчанию</translation>
    </message>
    <message>
        <source>button_start_setup</source>
        <translation>Установить</translation>
    </message>
    <message>
        <source>messsage_path_invalid</source>
        <translation>Эту папку нельзя использовать</translation>
    </message>
    <message>
        <source>label_select_install_path</source>
        <translation>Выберите папку установки</translation>
    </message>
    <message>
        <source>button_continue</source>
        <translation>Продолжить</translation>
    </message>
    <message>
        <source>button_select_again</source>
        <translation>Выбрать другую</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Уведомление</translation>
    </message>
    <message>
        <source>message_suggest_select_empty_folder</source>
        <translation>Выбранная папка не пуста. Рекомендуем устанавливать игру в пустую папку.</translation>
    </message>
</context>
<context>
    <name>DlgSetting</name>
    <message>
        <source>title_set</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>button_auto_start</source>
        <translation>Запускать вместе с системой</translation>
    </message>
    <message>
        <source>button_auto_update</source>
        <translation>Автоматически обновлять лаунчер</translation>
    </message>
    <message>
        <source>label_next_open_auto_update</source>
        <translation>Если параметр включён, лаунчер обновится до последней версии при следующем запуске.</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>Свернуть в область уведомлений</translation>
    </message>
    <message>
        <source>button_quit_launcher</source>
        <translation>Выйти из лаунчера</translation>
    </message>
    <message>
        <source>button_check_update</source>
        <translation>Проверить обновления</translation>
    </message>
    <message>
        <source>label_current_launcher_version</source>
        <translation>Текущая версия лаунчера:</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>label_launch_set</source>
        <translation>Запуск</translation>
    </message>
    <message>
        <source>label_close_set</source>
        <translation>Закрытие</translation>
    </message>
    <message>
        <source>label_version_set</source>
        <translation>Версия</translation>
    </message>
    <message>
        <source>button_game_repair</source>
        <translation>Проверить игру</translation>
    </message>
    <message>
        <source>button_game_repair_stop</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>button_show_launcher_after_game</source>
        <translation>Показать лаунчер после игры</translation>
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
        <translation>Проверка файлов</translation>
    </message>
    <message>
        <source>title_error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>message_resource_check_failed</source>
        <translation>Не удалось получить версию игры. Проверьте подключение и повторите попытку.</translation>
    </message>
    <message>
        <source>message_need_update_launcher</source>
        <translation>Лаунчер необходимо обновить. Нажмите «ОК», чтобы скачать последнюю версию.</translation>
    </message>
    <message>
        <source>message_launcher_version_old</source>
        <translation>Эта версия лаунчера устарела. Скачайте последнюю версию с официального сайта.</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>message_launcher_check_failed</source>
        <translation>Не удалось загрузить содержимое лаунчера. Повторить?</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Недостаточно места на диске. Освободите место и повторите попытку.</translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Скорость:</translation>
    </message>
    <message>
        <source>label_download_speed_kbs</source>
        <translation>КБ/с</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Осталось: </translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Уведомление</translation>
    </message>
    <message>
        <source>message_checking_update</source>
        <translation>Проверка версии игры, подождите...</translation>
    </message>
    <message>
        <source>message_create_floder_failed</source>
        <translation>Не удалось создать папку установки. Выберите другое место.</translation>
    </message>
    <message>
        <source>message_not_enough_space_select_path</source>
        <translation>Недостаточно места на диске. Выберите другое место установки.</translation>
    </message>
    <message>
        <source>label_download_paused</source>
        <translation>Приостановлено</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>Загрузка</translation>
    </message>
    <message>
        <source>label_unit_gb</source>
        <translation>ГБ</translation>
    </message>
    <message>
        <source>label_download_speed_mbs</source>
        <translation>МБ/с</translation>
    </message>
    <message>
        <source>message_download_error</source>
        <translation>Ошибка загрузки</translation>
    </message>
    <message>
        <source>title_warning</source>
        <translation>Предупреждение</translation>
    </message>
    <message>
        <source>message_game_is_running_please_close</source>
        <translation>Игра запущена. Сначала закройте её.</translation>
    </message>
    <message>
        <source>label_installing_progress</source>
        <translation>Установка</translation>
    </message>
    <message>
        <source>message_setup_error</source>
        <translation>Ошибка установки</translation>
    </message>
    <message>
        <source>message_run_update_exe_failed</source>
        <translation>Не удалось запустить программу обновления.</translation>
    </message>
    <message>
        <source>message_repair_needs_current_game</source>
        <translation>Сначала установите или обновите игру, затем проверьте её.</translation>
    </message>
    <message>
        <source>message_game_entry_refused</source>
        <translation>Программа игры, указанная сервером, находится вне папки игры и не была запущена:</translation>
        <source>label_value_paused</source>
        <translation>на паузе</translation>
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
    <name>UpdateProgram</name>
    <message>
        <source>message_is_latest_version</source>
        <translation>У вас уже установлена последняя версия.</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>Не удалось проверить обновления лаунчера. Повторите попытку позже.</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Уведомление</translation>
    </message>
    <message>
        <source>message_new_version_please_update</source>
        <translation>Доступна новая версия лаунчера. Обновите его, чтобы продолжить.</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Обновить</translation>
    </message>
    <message>
        <source>message_new_version_whether_update</source>
        <translation>Доступна новая версия лаунчера. Обновить сейчас?</translation>
    </message>
    <message>
        <source>message_update_failed_not_enough_space</source>
        <translation>Недостаточно места на диске для обновления лаунчера.</translation>
    </message>
    <message>
        <source>label_new_launcher_version</source>
        <translation>Версия %1, размер загрузки %2</translation>
    </message>
</context>
<context>
    <name>downloadmanager</name>
    <message>
        <source>message_error_resource_acquisition_failed</source>
        <translation>Не удалось получить сведения о файле</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>Не удалось открыть загружаемый файл</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Недостаточно места на диске. Освободите место и повторите попытку.</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Не удалось удалить старый пакет</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Ошибка сети</translation>
    </message>
    <message>
        <source>message_error_network_statuscode</source>
        <translation>Неожиданный ответ сервера</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>Загруженный файл повреждён. Скачайте его заново</translation>
    </message>
    <message>
        <source>message_error_certificate_untrusted</source>
        <translation>Сертификат сервера загрузки не является доверенным, поэтому соединение отклонено. Проверьте дату на компьютере, прокси и защитные программы</translation>
    </message>
    <message>
        <source>message_error_certificate_wrong_name</source>
        <translation>Сертификат сервера загрузки выдан для другого адреса, поэтому соединение отклонено</translation>
    </message>
    <message>
        <source>message_error_server_busy</source>
        <translation>Сервер загрузки перегружен. Лаунчер повторил попытку несколько раз; продолжите загрузку, чтобы попробовать ещё раз</translation>
    </message>
    <message>
        <source>message_error_disk_full</source>
        <translation>Диск заполнен. Освободите место и продолжите загрузку</translation>
    </message>
    <message>
        <source>message_error_file_changed</source>
        <translation>Файл на сервере менялся во время загрузки. Повторите попытку позже</translation>
    </message>
    <message>
        <source>message_error_file_gone</source>
        <translation>Файла больше нет на сервере. Повторите попытку позже</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>Не удалось сохранить загруженные данные</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>Не удалось выполнить запись на диск</translation>
    </message>
    <message>
        <source>message_insecure_redirect</source>
        <translation>Защищённый адрес загрузки перенаправлен на незашифрованный; загрузка отклонена:</translation>
    </message>
</context>
<context>
    <name>downloadtask</name>
    <message>
        <source>message_request_time_out</source>
        <translation>Время ожидания запроса истекло</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>button_open_main_window</source>
        <translation>Открыть лаунчер</translation>
    </message>
    <message>
        <source>button_quit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>title_app_name_kv</source>
        <translation>Orvyndale</translation>
    </message>
    <message>
        <source>button_continue_download</source>
        <translation>Продолжить загрузку</translation>
    </message>
    <message>
        <source>button_get_game</source>
        <translation>Получить игру</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Обновить</translation>
    </message>
    <message>
        <source>button_start_game</source>
        <translation>Играть</translation>
    </message>
    <message>
        <source>button_change_install_path</source>
        <translation>Изменить папку установки</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>Загрузка</translation>
    </message>
    <message>
        <source>label_checking_md5</source>
        <translation>Проверка файлов</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Осталось: </translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Скорость:</translation>
    </message>
    <message>
        <source>message_startup_recovery_failed</source>
        <translation>Прерванное обновление лаунчера не удалось полностью отменить: некоторые его файлы могут быть ещё из новой версии. Закройте программы, которые могут их использовать, и снова запустите лаунчер, чтобы завершить отмену.</translation>
    </message>
</context>
<context>
    <name>setupmanager</name>
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
        <source>message_setup_zip_archive_file_error</source>
        <translation>— не удалось открыть</translation>
    </message>
    <message>
        <source>message_setup_zip_unzip_error</source>
        <translation>Ошибка распаковки: возможно, пакет повреждён</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Не удалось удалить старый пакет</translation>
    </message>
    <message>
        <source>message_game_folder_link</source>
        <translation>— ссылка на другое место. Лаунчер не записывает через ссылки: верните эту папку в папку игры или удалите ссылку и повторите попытку.</translation>
    </message>
</context>
<context>
    <name>GameRepairFlow</name>
    <message>
        <source>label_repair_fetching_list</source>
        <translation>Получение списка файлов игры…</translation>
    </message>
    <message>
        <source>label_repair_verifying</source>
        <translation>Проверка файлов: %1/%2, %3 из %4</translation>
    </message>
    <message>
        <source>label_repair_time_left</source>
        <translation>осталось %1</translation>
    </message>
    <message>
        <source>label_repair_downloading</source>
        <translation>Загрузка пакета игры для восстановления: %1%</translation>
    </message>
    <message>
        <source>label_repair_checking_package</source>
        <translation>Проверка загруженного пакета…</translation>
    </message>
    <message>
        <source>label_repair_unpacking</source>
        <translation>Восстановление файлов: %1…</translation>
    </message>
    <message>
        <source>label_repair_result</source>
        <translation>Проверено файлов: %1, повреждено: %2, восстановлено: %3.</translation>
    </message>
    <message>
        <source>label_repair_cancelled</source>
        <translation>Проверка остановлена.</translation>
    </message>
    <message>
        <source>message_repair_no_file_list</source>
        <translation>Для этой версии нет списка файлов.</translation>
    </message>
    <message>
        <source>message_repair_list_failed</source>
        <translation>Не удалось загрузить список файлов игры.</translation>
    </message>
    <message>
        <source>message_repair_list_damaged</source>
        <translation>Список файлов игры повреждён.</translation>
    </message>
    <message>
        <source>message_repair_unreadable</source>
        <translation>Файлы, которые нельзя прочитать (ничего не изменено):</translation>
    </message>
    <message>
        <source>message_repair_still_damaged</source>
        <translation>После восстановления повреждено файлов: %1.</translation>
    </message>
    <message>
        <source>message_repair_folder_in_the_way</source>
        <translation>— папка с файлами на месте файла игры; переместите её и повторите попытку.</translation>
    </message>
    <message>
        <source>label_repair_result_missing</source>
        <translation>Проверено файлов: %1, отсутствует: %2, повреждено: %3, восстановлено: %4.</translation>
    </message>
</context>
<context>
    <name>PackageItemExtractor</name>
    <message>
        <source>message_repair_item_not_in_package</source>
        <translation>Пакет игры не содержит %1.</translation>
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
    <name>HttpRequestAPI</name>
    <message>
        <source>message_answer_too_large</source>
        <translation>Ответ сервера больше любого настоящего ответа и был отклонён.</translation>
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
<context>
    <name>PatchApplier</name>
    <message>
        <source>message_patch_apply_error</source>
        <translation>не удалось поставить на место. Обновление завершится при следующем запуске лаунчера; сначала закройте все программы, использующие файлы игры.</translation>
    </message>
</context>
</TS>
