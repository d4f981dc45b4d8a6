<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_PT">
<context>
    <name>CDlgYesNo</name>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>DlgProgress</name>
    <message>
        <source>label_update_failed</source>
        <translation>Falha na atualização</translation>
    </message>
    <message>
        <source>label_click_redo_update_launcher_again</source>
        <translation>Clique em «Tentar novamente» para voltar a atualizar o launcher</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Tentar novamente</translation>
    </message>
    <message>
        <source>message_minimizing_continue_update_launcher</source>
        <translation>O launcher continua a ser atualizado enquanto estiver minimizado</translation>
    </message>
</context>
<context>
    <name>DownloadTask</name>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>Não foi possível criar a pasta</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>Não foi possível abrir o ficheiro transferido</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>Não foi possível guardar os dados transferidos</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Não há espaço em disco suficiente. Liberte algum espaço e tente novamente.</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Erro de rede</translation>
    </message>
    <message>
        <source>message_error_network_reply_please_check_network</source>
        <translation>Erro de rede, verifique a sua ligação</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>Não foi possível escrever no disco</translation>
    </message>
    <message>
        <source>message_request_time_out</source>
        <translation>O pedido excedeu o tempo limite</translation>
    </message>
    <message>
        <source>message_error_resource_acquisition_failed_check_network</source>
        <translation>Não foi possível contactar o servidor de transferências, verifique a sua ligação</translation>
    </message>
    <message>
        <source>message_error_download_network</source>
        <translation>A transferência falhou. Verifique a sua ligação e tente novamente</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>O ficheiro transferido está danificado. Transfira-o novamente</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Não foi possível eliminar o pacote antigo</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>message_setup_zip_password_error</source>
        <translation>O pacote está protegido por palavra-passe</translation>
    </message>
</context>
<context>
    <name>UncompressManager</name>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation>não pôde ser aberto</translation>
    </message>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>Não foi possível criar a pasta</translation>
    </message>
    <message>
        <source>message_setup_dll_error</source>
        <translation>Não foi possível carregar a biblioteca de extração</translation>
    </message>
    <message>
        <source>message_setup_zip_format_error</source>
        <translation>não é um formato de pacote suportado</translation>
    </message>
    <message>
        <source>message_setup_zip_class_error</source>
        <translation>Não foi possível abrir o formato do pacote</translation>
    </message>
    <message>
        <source>message_setup_zip_unzip_error</source>
        <translation>Falha na extração; o pacote pode estar danificado</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>title_tip</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>message_main_process_parameter_abnormal</source>
        <translation>O launcher enviou parâmetros de arranque inválidos: </translation>
    </message>
    <message>
        <source>message_update_address_abnormal</source>
        <translation>O endereço de atualização é inválido. A regressar ao launcher</translation>
    </message>
    <message>
        <source>label_percent_sign</source>
        <translation>%</translation>
    </message>
    <message>
        <source>message_update_init_failed</source>
        <translation>Não foi possível preparar a atualização. Tentar novamente?</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Tentar novamente</translation>
    </message>
    <message>
        <source>label_resource_downloading</source>
        <translation>A transferir a atualização </translation>
    </message>
    <message>
        <source>title_download_error</source>
        <translation>Falha na transferência</translation>
    </message>
    <message>
        <source>label_file_unziping</source>
        <translation>A extrair ficheiros </translation>
    </message>
    <message>
        <source>title_unzip_error</source>
        <translation>Falha na extração</translation>
    </message>
    <message>
        <source>message_create_backup_folder_failed</source>
        <translation>Não foi possível criar a pasta de cópia de segurança. A regressar ao launcher</translation>
    </message>
    <message>
        <source>message_file_replace_exception</source>
        <translation>Ocorreu um erro ao substituir os ficheiros. A regressar ao launcher</translation>
    </message>
    <message>
        <source>message_failed_create_backup_folder_try_again</source>
        <translation>Não foi possível criar a pasta de cópia de segurança. Tentar novamente?</translation>
    </message>
    <message>
        <source>label_file_replacing</source>
        <translation>A substituir ficheiros </translation>
    </message>
    <message>
        <source>title_update_success</source>
        <translation>Atualização concluída</translation>
    </message>
    <message>
        <source>message_click_button_open_launcher</source>
        <translation>Clique no botão abaixo para abrir o launcher</translation>
    </message>
    <message>
        <source>button_open_launcher</source>
        <translation>Abrir launcher</translation>
    </message>
    <message>
        <source>title_file_replace_failed</source>
        <translation>Não foi possível substituir um ficheiro</translation>
    </message>
    <message>
        <source>message_updating_do_not_close</source>
        <translation>O launcher está a ser atualizado. Tem a certeza de que pretende fechar?</translation>
    </message>
    <message>
        <source>button_continue_update</source>
        <translation>Continuar a atualizar</translation>
    </message>
    <message>
        <source>button_close_update</source>
        <translation>Cancelar atualização</translation>
    </message>
    <message>
        <source>title_rollback_failed</source>
        <translation>Não foi possível repor o launcher anterior</translation>
    </message>
    <message>
        <source>message_rollback_file_held</source>
        <translation>Outro programa está a usar este ficheiro do launcher, por isso não foi possível repô-lo:
%1
Saia agora: o launcher conclui a reposição da próxima vez que for iniciado.</translation>
    </message>
    <message>
        <source>button_quit_finish_later</source>
        <translation>Sair agora, concluir no próximo início</translation>
        <source>label_download_details</source>
        <translation>%1 de %2 · %3 · faltam %4</translation>
    </message>
</context>
<context>
    <name>PackageTrust</name>
    <message>
        <source>message_error_package_signature</source>
        <translation>Este pacote não está assinado pelo editor ou foi alterado. Foi eliminado. Tenta novamente mais tarde</translation>
    </message>
    <message>
        <source>message_error_package_rollback</source>
        <translation>Esta versão é mais antiga do que a instalada e o editor não a assinou como reversão. Nada foi instalado</translation>
    </message>
    <message>
        <source>message_error_package_binding</source>
        <translation>Este pacote está assinado para outro jogo, outro launcher ou outra finalidade. Foi eliminado e nada foi instalado</translation>
    </message>
    <message>
        <source>message_error_metadata_signature</source>
        <translation>As informações do jogo enviadas pelo servidor não estão assinadas pelo editor ou foram alteradas. Nada foi instalado nem iniciado</translation>
    </message>
    <message>
        <source>message_error_metadata_stale</source>
        <translation>As informações do jogo enviadas pelo servidor estão desatualizadas (mais antigas do que antes ou expiradas). Nada foi instalado nem iniciado. Tenta novamente mais tarde</translation>
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
