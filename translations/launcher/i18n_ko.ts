<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>ApplicationInfo</name>
    <message>
        <source>title_tip</source>
        <translation>알림</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>런처 업데이트를 확인하지 못했습니다. 잠시 후 다시 시도해 주세요.</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>다시 시도</translation>
    </message>
</context>
<context>
    <name>CDlgAppInfo</name>
    <message>
        <source>title_app_info</source>
        <translation>정보</translation>
    </message>
    <message>
        <source>label_game_info</source>
        <translation>게임 버전</translation>
    </message>
    <message>
        <source>label_app_info</source>
        <translation>런처 ID</translation>
    </message>
    <message>
        <source>label_launcher_version</source>
        <translation>런처 버전</translation>
    </message>
    <message>
        <source>button_ok</source>
        <translation>확인</translation>
    </message>
</context>
<context>
    <name>CDlgCloseTip</name>
    <message>
        <source>label_close_select_tip</source>
        <translation>창을 닫을 때</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>알림 영역으로 최소화</translation>
    </message>
    <message>
        <source>button_close_quit</source>
        <translation>런처 종료</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>확인</translation>
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
        <translation>취소</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>알림</translation>
    </message>
</context>
<context>
    <name>CSetInstallPathDialog</name>
    <message>
        <source>title_app_install_kv</source>
        <translation>Orvyndale 설치</translation>
    </message>
    <message>
        <source>label_install_dir</source>
        <translation>설치 폴더</translation>
    </message>
    <message>
        <source>message_floder_not_enough_space</source>
        <translation>이 드라이브의 공간이 부족합니다</translation>
    </message>
    <message>
        <source>button_change</source>
        <translation>변경</translation>
    </message>
    <message>
        <source>label_need_space</source>
        <translation>필요한 공간:</translation>
    </message>
    <message>
        <source>label_available_space</source>
        <translation>사용 가능한 공간:</translation>
    </message>
    <message>
        <source>label_default_language</source>
        <translation>기본 언어</translation>
    </message>
    <message>
        <source>button_start_setup</source>
        <translation>설치</translation>
    </message>
    <message>
        <source>messsage_path_invalid</source>
        <translation>이 폴더는 사용할 수 없습니다</translation>
    </message>
    <message>
        <source>label_select_install_path</source>
        <translation>설치 폴더 선택</translation>
    </message>
    <message>
        <source>button_continue</source>
        <translation>계속</translation>
    </message>
    <message>
        <source>button_select_again</source>
        <translation>다시 선택</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>알림</translation>
    </message>
    <message>
        <source>message_suggest_select_empty_folder</source>
        <translation>선택한 폴더가 비어 있지 않습니다. 빈 폴더에 설치하는 것을 권장합니다.</translation>
    </message>
</context>
<context>
    <name>DlgSetting</name>
    <message>
        <source>title_set</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>button_auto_start</source>
        <translation>시스템 시작 시 실행</translation>
    </message>
    <message>
        <source>button_auto_update</source>
        <translation>런처 자동 업데이트</translation>
    </message>
    <message>
        <source>label_next_open_auto_update</source>
        <translation>이 옵션을 켜면 다음 실행 시 런처가 최신 버전으로 자동 업데이트됩니다.</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>알림 영역으로 최소화</translation>
    </message>
    <message>
        <source>button_quit_launcher</source>
        <translation>런처 종료</translation>
    </message>
    <message>
        <source>button_check_update</source>
        <translation>업데이트 확인</translation>
    </message>
    <message>
        <source>label_current_launcher_version</source>
        <translation>현재 런처 버전:</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>취소</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>label_launch_set</source>
        <translation>시작</translation>
    </message>
    <message>
        <source>label_close_set</source>
        <translation>닫기</translation>
    </message>
    <message>
        <source>label_version_set</source>
        <translation>버전</translation>
    </message>
    <message>
        <source>button_game_repair</source>
        <translation>게임 검사</translation>
    </message>
    <message>
        <source>button_game_repair_stop</source>
        <translation>중지</translation>
    </message>
    <message>
        <source>button_show_launcher_after_game</source>
        <translation>게임 종료 후 런처 다시 표시</translation>
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
        <translation>파일 확인 중</translation>
    </message>
    <message>
        <source>title_error</source>
        <translation>오류</translation>
    </message>
    <message>
        <source>message_resource_check_failed</source>
        <translation>게임 버전을 가져오지 못했습니다. 네트워크 연결을 확인한 후 다시 시도해 주세요.</translation>
    </message>
    <message>
        <source>message_need_update_launcher</source>
        <translation>런처를 업데이트해야 합니다. 확인을 클릭하면 최신 버전을 다운로드합니다.</translation>
    </message>
    <message>
        <source>message_launcher_version_old</source>
        <translation>런처 버전이 오래되었습니다. 공식 웹사이트에서 최신 버전을 다운로드해 주세요.</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>message_launcher_check_failed</source>
        <translation>런처 콘텐츠를 불러오지 못했습니다. 다시 시도하시겠습니까?</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>디스크 공간이 부족합니다. 공간을 확보한 후 다시 시도해 주세요.</translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>속도:</translation>
    </message>
    <message>
        <source>label_download_speed_kbs</source>
        <translation>KB/s</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>남은 시간: </translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>알림</translation>
    </message>
    <message>
        <source>message_checking_update</source>
        <translation>게임 버전을 확인하는 중입니다. 잠시 기다려 주세요...</translation>
    </message>
    <message>
        <source>message_create_floder_failed</source>
        <translation>설치 폴더를 만들 수 없습니다. 다른 위치를 선택해 주세요.</translation>
    </message>
    <message>
        <source>message_not_enough_space_select_path</source>
        <translation>디스크 공간이 부족합니다. 다른 설치 위치를 선택해 주세요.</translation>
    </message>
    <message>
        <source>label_download_paused</source>
        <translation>일시 정지됨</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>다운로드 중</translation>
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
        <translation>다운로드 오류</translation>
    </message>
    <message>
        <source>title_warning</source>
        <translation>경고</translation>
    </message>
    <message>
        <source>message_game_is_running_please_close</source>
        <translation>게임이 실행 중입니다. 먼저 게임을 종료해 주세요.</translation>
    </message>
    <message>
        <source>label_installing_progress</source>
        <translation>설치 중</translation>
    </message>
    <message>
        <source>message_setup_error</source>
        <translation>설치 오류</translation>
    </message>
    <message>
        <source>message_run_update_exe_failed</source>
        <translation>업데이트 프로그램을 시작할 수 없습니다.</translation>
    </message>
    <message>
        <source>message_repair_needs_current_game</source>
        <translation>먼저 게임을 설치하거나 업데이트한 다음 검사하세요.</translation>
    </message>
    <message>
        <source>message_game_entry_refused</source>
        <translation>서버가 지정한 게임 프로그램이 게임 폴더 밖에 있어 실행하지 않았습니다:</translation>
        <source>label_value_paused</source>
        <translation>일시 중지됨</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>message_setup_zip_password_error</source>
        <translation>패키지가 암호로 보호되어 있습니다</translation>
    </message>
</context>
<context>
    <name>UpdateProgram</name>
    <message>
        <source>message_is_latest_version</source>
        <translation>이미 최신 버전입니다.</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>런처 업데이트를 확인하지 못했습니다. 잠시 후 다시 시도해 주세요.</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>알림</translation>
    </message>
    <message>
        <source>message_new_version_please_update</source>
        <translation>새 런처 버전이 있습니다. 계속하려면 업데이트해 주세요.</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>업데이트</translation>
    </message>
    <message>
        <source>message_new_version_whether_update</source>
        <translation>새 런처 버전이 있습니다. 지금 업데이트하시겠습니까?</translation>
    </message>
    <message>
        <source>message_update_failed_not_enough_space</source>
        <translation>디스크 공간이 부족하여 런처를 업데이트할 수 없습니다.</translation>
    </message>
    <message>
        <source>label_new_launcher_version</source>
        <translation>버전 %1, 다운로드 크기 %2</translation>
    </message>
</context>
<context>
    <name>downloadmanager</name>
    <message>
        <source>message_error_resource_acquisition_failed</source>
        <translation>파일 정보를 가져오지 못했습니다</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>다운로드 파일을 열 수 없습니다</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>디스크 공간이 부족합니다. 공간을 확보한 후 다시 시도해 주세요.</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>이전 패키지를 삭제할 수 없습니다</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>네트워크 오류</translation>
    </message>
    <message>
        <source>message_error_network_statuscode</source>
        <translation>서버 응답이 올바르지 않습니다</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>다운로드한 파일이 손상되었습니다. 다시 다운로드해 주세요</translation>
    </message>
    <message>
        <source>message_error_certificate_untrusted</source>
        <translation>다운로드 서버의 인증서를 신뢰할 수 없어 연결을 거부했습니다. 컴퓨터 날짜와 프록시 또는 보안 프로그램을 확인하세요</translation>
    </message>
    <message>
        <source>message_error_certificate_wrong_name</source>
        <translation>다운로드 서버의 인증서가 다른 주소의 것이어서 연결을 거부했습니다</translation>
    </message>
    <message>
        <source>message_error_server_busy</source>
        <translation>다운로드 서버가 혼잡합니다. 런처가 여러 번 다시 시도했습니다. 다운로드를 계속하여 다시 시도하세요</translation>
    </message>
    <message>
        <source>message_error_disk_full</source>
        <translation>디스크가 가득 찼습니다. 공간을 확보한 후 다운로드를 계속하세요</translation>
    </message>
    <message>
        <source>message_error_file_changed</source>
        <translation>다운로드 중에 서버의 파일이 계속 변경되었습니다. 나중에 다시 시도하세요</translation>
    </message>
    <message>
        <source>message_error_file_gone</source>
        <translation>파일이 더 이상 서버에 없습니다. 나중에 다시 시도하세요</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>다운로드한 데이터를 저장할 수 없습니다</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>디스크에 쓸 수 없습니다</translation>
    </message>
    <message>
        <source>message_insecure_redirect</source>
        <translation>보안 다운로드 주소가 암호화되지 않은 주소로 리디렉션되어 다운로드를 거부했습니다:</translation>
    </message>
</context>
<context>
    <name>downloadtask</name>
    <message>
        <source>message_request_time_out</source>
        <translation>요청 시간이 초과되었습니다</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>button_open_main_window</source>
        <translation>런처 열기</translation>
    </message>
    <message>
        <source>button_quit</source>
        <translation>종료</translation>
    </message>
    <message>
        <source>title_app_name_kv</source>
        <translation>Orvyndale</translation>
    </message>
    <message>
        <source>button_continue_download</source>
        <translation>다운로드 재개</translation>
    </message>
    <message>
        <source>button_get_game</source>
        <translation>게임 받기</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>업데이트</translation>
    </message>
    <message>
        <source>button_start_game</source>
        <translation>게임 시작</translation>
    </message>
    <message>
        <source>button_change_install_path</source>
        <translation>설치 폴더 변경</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>다운로드 중</translation>
    </message>
    <message>
        <source>label_checking_md5</source>
        <translation>파일 확인 중</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>남은 시간: </translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>속도:</translation>
    </message>
    <message>
        <source>message_startup_recovery_failed</source>
        <translation>중단된 런처 업데이트를 완전히 되돌리지 못했습니다. 일부 파일이 아직 새 버전일 수 있습니다. 해당 파일을 사용 중일 수 있는 프로그램을 닫은 후 런처를 다시 실행하여 마무리하세요.</translation>
    </message>
</context>
<context>
    <name>setupmanager</name>
    <message>
        <source>message_setup_dll_error</source>
        <translation>압축 해제 라이브러리를 불러올 수 없습니다</translation>
    </message>
    <message>
        <source>message_setup_zip_format_error</source>
        <translation>은(는) 지원되지 않는 패키지 형식입니다</translation>
    </message>
    <message>
        <source>message_setup_zip_class_error</source>
        <translation>이 패키지 형식을 열 수 없습니다</translation>
    </message>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation>을(를) 열 수 없습니다</translation>
    </message>
    <message>
        <source>message_setup_zip_unzip_error</source>
        <translation>압축 해제에 실패했습니다. 패키지가 손상되었을 수 있습니다</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>이전 패키지를 삭제할 수 없습니다</translation>
    </message>
    <message>
        <source>message_game_folder_link</source>
        <translation>은(는) 다른 위치로 연결된 링크입니다. 런처는 링크를 통해 쓰지 않습니다. 해당 폴더를 게임 폴더로 다시 옮기거나 링크를 삭제한 후 다시 시도하세요.</translation>
    </message>
</context>
<context>
    <name>GameRepairFlow</name>
    <message>
        <source>label_repair_fetching_list</source>
        <translation>게임 파일 목록을 가져오는 중…</translation>
    </message>
    <message>
        <source>label_repair_verifying</source>
        <translation>파일 검사 중: %1/%2, %3 / %4</translation>
    </message>
    <message>
        <source>label_repair_time_left</source>
        <translation>남은 시간 %1</translation>
    </message>
    <message>
        <source>label_repair_downloading</source>
        <translation>복구용 게임 패키지 다운로드 중: %1%</translation>
    </message>
    <message>
        <source>label_repair_checking_package</source>
        <translation>다운로드한 패키지 확인 중…</translation>
    </message>
    <message>
        <source>label_repair_unpacking</source>
        <translation>파일 %1개 복구 중…</translation>
    </message>
    <message>
        <source>label_repair_result</source>
        <translation>파일 %1개 검사, %2개 손상, %3개 복구됨.</translation>
    </message>
    <message>
        <source>label_repair_cancelled</source>
        <translation>검사를 중지했습니다.</translation>
    </message>
    <message>
        <source>message_repair_no_file_list</source>
        <translation>이 버전의 파일 목록이 없습니다.</translation>
    </message>
    <message>
        <source>message_repair_list_failed</source>
        <translation>게임 파일 목록을 다운로드할 수 없습니다.</translation>
    </message>
    <message>
        <source>message_repair_list_damaged</source>
        <translation>게임 파일 목록이 손상되었습니다.</translation>
    </message>
    <message>
        <source>message_repair_unreadable</source>
        <translation>읽을 수 없는 파일(변경된 내용 없음):</translation>
    </message>
    <message>
        <source>message_repair_still_damaged</source>
        <translation>복구 후에도 파일 %1개가 손상되어 있습니다.</translation>
    </message>
    <message>
        <source>message_repair_folder_in_the_way</source>
        <translation>은(는) 게임 파일 자리에 있는 파일이 든 폴더입니다. 옮긴 후 다시 시도하세요.</translation>
    </message>
    <message>
        <source>label_repair_result_missing</source>
        <translation>파일 %1개 확인, 누락 %2개, 손상 %3개, 복구 %4개.</translation>
    </message>
</context>
<context>
    <name>PackageItemExtractor</name>
    <message>
        <source>message_repair_item_not_in_package</source>
        <translation>게임 패키지에 %1이(가) 없습니다.</translation>
    </message>
</context>
<context>
    <name>PackageTrust</name>
    <message>
        <source>message_error_package_signature</source>
        <translation>이 패키지는 배급사의 서명이 없거나 변조되었습니다. 삭제했습니다. 잠시 후 다시 시도해 주세요</translation>
    </message>
    <message>
        <source>message_error_package_rollback</source>
        <translation>이 버전은 설치된 버전보다 오래되었으며 배포사가 롤백으로 서명하지 않았습니다. 아무것도 설치되지 않았습니다</translation>
    </message>
    <message>
        <source>message_error_package_binding</source>
        <translation>이 패키지는 다른 게임, 런처 또는 다른 용도로 서명되었습니다. 삭제되었으며 아무것도 설치되지 않았습니다</translation>
    </message>
    <message>
        <source>message_error_metadata_signature</source>
        <translation>서버의 게임 정보에 배포사 서명이 없거나 변경되었습니다. 아무것도 설치하거나 실행하지 않았습니다</translation>
    </message>
    <message>
        <source>message_error_metadata_stale</source>
        <translation>서버의 게임 정보가 오래되었습니다(이전보다 오래되었거나 만료됨). 아무것도 설치하거나 실행하지 않았습니다. 잠시 후 다시 시도해 주세요</translation>
    </message>
</context>
<context>
    <name>HttpRequestAPI</name>
    <message>
        <source>message_answer_too_large</source>
        <translation>서버 응답이 정상적인 응답보다 너무 커서 거부되었습니다.</translation>
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
        <translation>을(를) 제자리에 놓을 수 없습니다. 다음에 런처를 시작할 때 업데이트가 완료됩니다. 먼저 게임 파일을 사용 중인 프로그램을 모두 닫아 주세요.</translation>
    </message>
</context>
</TS>
