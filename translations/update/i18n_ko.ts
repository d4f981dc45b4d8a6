<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>CDlgYesNo</name>
    <message>
        <source>button_confirm</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>취소</translation>
    </message>
</context>
<context>
    <name>DlgProgress</name>
    <message>
        <source>label_update_failed</source>
        <translation>업데이트 실패</translation>
    </message>
    <message>
        <source>label_click_redo_update_launcher_again</source>
        <translation>&quot;다시 시도&quot;를 클릭하여 런처를 다시 업데이트하세요</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>다시 시도</translation>
    </message>
    <message>
        <source>message_minimizing_continue_update_launcher</source>
        <translation>최소화해도 런처 업데이트는 계속 진행됩니다</translation>
    </message>
</context>
<context>
    <name>DownloadTask</name>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>폴더를 만들 수 없습니다</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>다운로드 파일을 열 수 없습니다</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>다운로드한 데이터를 저장할 수 없습니다</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>디스크 공간이 부족합니다. 공간을 확보한 후 다시 시도해 주세요.</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>네트워크 오류</translation>
    </message>
    <message>
        <source>message_error_network_reply_please_check_network</source>
        <translation>네트워크 오류입니다. 연결을 확인해 주세요</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>디스크에 쓸 수 없습니다</translation>
    </message>
    <message>
        <source>message_request_time_out</source>
        <translation>요청 시간이 초과되었습니다</translation>
    </message>
    <message>
        <source>message_error_resource_acquisition_failed_check_network</source>
        <translation>다운로드 서버에 연결할 수 없습니다. 연결을 확인해 주세요</translation>
    </message>
    <message>
        <source>message_error_download_network</source>
        <translation>다운로드에 실패했습니다. 연결을 확인한 후 다시 시도해 주세요</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>다운로드한 파일이 손상되었습니다. 다시 다운로드해 주세요</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>이전 패키지를 삭제할 수 없습니다</translation>
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
    <name>UncompressManager</name>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation>을(를) 열 수 없습니다</translation>
    </message>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>폴더를 만들 수 없습니다</translation>
    </message>
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
        <source>message_setup_zip_unzip_error</source>
        <translation>압축 해제에 실패했습니다. 패키지가 손상되었을 수 있습니다</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>title_tip</source>
        <translation>알림</translation>
    </message>
    <message>
        <source>message_main_process_parameter_abnormal</source>
        <translation>런처가 잘못된 시작 매개변수를 전달했습니다: </translation>
    </message>
    <message>
        <source>message_update_address_abnormal</source>
        <translation>업데이트 주소가 올바르지 않습니다. 런처로 돌아갑니다</translation>
    </message>
    <message>
        <source>label_percent_sign</source>
        <translation>%</translation>
    </message>
    <message>
        <source>message_update_init_failed</source>
        <translation>업데이트를 준비하지 못했습니다. 다시 시도하시겠습니까?</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>다시 시도</translation>
    </message>
    <message>
        <source>label_resource_downloading</source>
        <translation>업데이트 다운로드 중 </translation>
    </message>
    <message>
        <source>title_download_error</source>
        <translation>다운로드 실패</translation>
    </message>
    <message>
        <source>label_file_unziping</source>
        <translation>파일 압축 해제 중 </translation>
    </message>
    <message>
        <source>title_unzip_error</source>
        <translation>압축 해제 실패</translation>
    </message>
    <message>
        <source>message_create_backup_folder_failed</source>
        <translation>백업 폴더를 만들 수 없습니다. 런처로 돌아갑니다</translation>
    </message>
    <message>
        <source>message_file_replace_exception</source>
        <translation>파일을 교체하는 중 문제가 발생했습니다. 런처로 돌아갑니다</translation>
    </message>
    <message>
        <source>message_failed_create_backup_folder_try_again</source>
        <translation>백업 폴더를 만들 수 없습니다. 다시 시도하시겠습니까?</translation>
    </message>
    <message>
        <source>label_file_replacing</source>
        <translation>파일 교체 중 </translation>
    </message>
    <message>
        <source>title_update_success</source>
        <translation>업데이트 완료</translation>
    </message>
    <message>
        <source>message_click_button_open_launcher</source>
        <translation>아래 버튼을 클릭하여 런처를 여세요</translation>
    </message>
    <message>
        <source>button_open_launcher</source>
        <translation>런처 열기</translation>
    </message>
    <message>
        <source>title_file_replace_failed</source>
        <translation>파일을 교체할 수 없습니다</translation>
    </message>
    <message>
        <source>message_updating_do_not_close</source>
        <translation>런처를 업데이트하는 중입니다. 정말 닫으시겠습니까?</translation>
    </message>
    <message>
        <source>button_continue_update</source>
        <translation>계속 업데이트</translation>
    </message>
    <message>
        <source>button_close_update</source>
        <translation>업데이트 중단</translation>
    </message>
    <message>
        <source>title_rollback_failed</source>
        <translation>이전 런처를 복원하지 못했습니다</translation>
    </message>
    <message>
        <source>message_rollback_file_held</source>
        <translation>다른 프로그램이 이 런처 파일을 사용 중이어서 되돌리지 못했습니다:
%1
지금 종료하세요. 다음에 런처를 시작할 때 복원을 마칩니다.</translation>
    </message>
    <message>
        <source>button_quit_finish_later</source>
        <translation>지금 종료하고 다음 시작 시 마무리</translation>
        <source>label_download_details</source>
        <translation>%1 / %2 · %3 · 남은 시간 %4</translation>
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
