<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_PT">
<context>
    <name>ApplicationInfo</name>
    <message>
        <source>title_tip</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>Não foi possível procurar atualizações do launcher. Tente novamente mais tarde.</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Tentar novamente</translation>
    </message>
</context>
<context>
    <name>CDlgAppInfo</name>
    <message>
        <source>title_app_info</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>label_game_info</source>
        <translation>Versão do jogo</translation>
    </message>
    <message>
        <source>label_app_info</source>
        <translation>ID do launcher</translation>
    </message>
    <message>
        <source>label_launcher_version</source>
        <translation>Versão do launcher</translation>
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
        <translation>Ao fechar a janela</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>Minimizar para a área de notificação</translation>
    </message>
    <message>
        <source>button_close_quit</source>
        <translation>Sair do launcher</translation>
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
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Aviso</translation>
    </message>
</context>
<context>
    <name>CSetInstallPathDialog</name>
    <message>
        <source>title_app_install_kv</source>
        <translation>Instalar Orvyndale</translation>
    </message>
    <message>
        <source>label_install_dir</source>
        <translation>Pasta de instalação</translation>
    </message>
    <message>
        <source>message_floder_not_enough_space</source>
        <translation>Espaço insuficiente nesta unidade</translation>
    </message>
    <message>
        <source>button_change</source>
        <translation>Alterar</translation>
    </message>
    <message>
        <source>label_need_space</source>
        <translation>Espaço necessário:</translation>
    </message>
    <message>
        <source>label_available_space</source>
        <translation>Espaço livre:</translation>
    </message>
    <message>
        <source>label_default_language</source>
        <translation>Idioma predefinido</translation>
    </message>
    <message>
        <source>button_start_setup</source>
        <translation>Instalar</translation>
    </message>
    <message>
        <source>messsage_path_invalid</source>
        <translation>Esta pasta não pode ser utilizada</translation>
    </message>
    <message>
        <source>label_select_install_path</source>
        <translation>Escolha uma pasta de instalação</translation>
    </message>
    <message>
        <source>button_continue</source>
        <translation>Continuar</translation>
    </message>
    <message>
        <source>button_select_again</source>
        <translation>Escolher outra</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>message_suggest_select_empty_folder</source>
        <translation>A pasta escolhida não está vazia. Recomendamos que instale numa pasta vazia.</translation>
    </message>
</context>
<context>
    <name>DlgSetting</name>
    <message>
        <source>title_set</source>
        <translation>Definições</translation>
    </message>
    <message>
        <source>button_auto_start</source>
        <translation>Iniciar com o sistema</translation>
    </message>
    <message>
        <source>button_auto_update</source>
        <translation>Atualizar o launcher automaticamente</translation>
    </message>
    <message>
        <source>label_next_open_auto_update</source>
        <translation>Se esta opção estiver ativa, o launcher será atualizado para a versão mais recente da próxima vez que for iniciado.</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>Minimizar para a área de notificação</translation>
    </message>
    <message>
        <source>button_quit_launcher</source>
        <translation>Sair do launcher</translation>
    </message>
    <message>
        <source>button_check_update</source>
        <translation>Procurar atualizações</translation>
    </message>
    <message>
        <source>label_current_launcher_version</source>
        <translation>Versão atual do launcher:</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>label_launch_set</source>
        <translation>Arranque</translation>
    </message>
    <message>
        <source>label_close_set</source>
        <translation>Fecho</translation>
    </message>
    <message>
        <source>label_version_set</source>
        <translation>Versão</translation>
    </message>
    <message>
        <source>button_game_repair</source>
        <translation>Verificar jogo</translation>
    </message>
    <message>
        <source>button_game_repair_stop</source>
        <translation>Parar</translation>
    </message>
    <message>
        <source>button_show_launcher_after_game</source>
        <translation>Mostrar o launcher ao sair do jogo</translation>
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
        <translation>A verificar ficheiros</translation>
    </message>
    <message>
        <source>title_error</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>message_resource_check_failed</source>
        <translation>Não foi possível obter a versão do jogo. Verifique a sua ligação e tente novamente.</translation>
    </message>
    <message>
        <source>message_need_update_launcher</source>
        <translation>O launcher tem de ser atualizado. Clique em OK para transferir a versão mais recente.</translation>
    </message>
    <message>
        <source>message_launcher_version_old</source>
        <translation>Este launcher está desatualizado. Transfira a versão mais recente a partir do site oficial.</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>message_launcher_check_failed</source>
        <translation>Não foi possível carregar o conteúdo do launcher. Tentar novamente?</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Não há espaço em disco suficiente. Liberte algum espaço e tente novamente.</translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Velocidade:</translation>
    </message>
    <message>
        <source>label_download_speed_kbs</source>
        <translation>KB/s</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Tempo restante: </translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>message_checking_update</source>
        <translation>A verificar a versão do jogo, aguarde...</translation>
    </message>
    <message>
        <source>message_create_floder_failed</source>
        <translation>Não foi possível criar a pasta de instalação. Escolha outra localização.</translation>
    </message>
    <message>
        <source>message_not_enough_space_select_path</source>
        <translation>Não há espaço em disco suficiente. Escolha outra localização de instalação.</translation>
    </message>
    <message>
        <source>label_download_paused</source>
        <translation>Em pausa</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>A transferir</translation>
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
        <translation>Erro de transferência</translation>
    </message>
    <message>
        <source>title_warning</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>message_game_is_running_please_close</source>
        <translation>O jogo está em execução. Feche-o primeiro.</translation>
    </message>
    <message>
        <source>label_installing_progress</source>
        <translation>A instalar</translation>
    </message>
    <message>
        <source>message_setup_error</source>
        <translation>Erro de instalação</translation>
    </message>
    <message>
        <source>message_run_update_exe_failed</source>
        <translation>Não foi possível iniciar o programa de atualização.</translation>
    </message>
    <message>
        <source>message_repair_needs_current_game</source>
        <translation>Instale ou atualize o jogo primeiro e depois verifique-o.</translation>
    </message>
    <message>
        <source>message_game_entry_refused</source>
        <translation>O programa do jogo indicado pelo servidor está fora da pasta do jogo e não foi iniciado:</translation>
        <source>label_value_paused</source>
        <translation>em pausa</translation>
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
    <name>UpdateProgram</name>
    <message>
        <source>message_is_latest_version</source>
        <translation>Já tem a versão mais recente.</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>Não foi possível procurar atualizações do launcher. Tente novamente mais tarde.</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>message_new_version_please_update</source>
        <translation>Está disponível uma nova versão do launcher. Atualize para continuar.</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Atualizar</translation>
    </message>
    <message>
        <source>message_new_version_whether_update</source>
        <translation>Está disponível uma nova versão do launcher. Atualizar agora?</translation>
    </message>
    <message>
        <source>message_update_failed_not_enough_space</source>
        <translation>Não há espaço em disco suficiente para atualizar o launcher.</translation>
    </message>
    <message>
        <source>label_new_launcher_version</source>
        <translation>Versão %1, tamanho da transferência %2</translation>
    </message>
</context>
<context>
    <name>downloadmanager</name>
    <message>
        <source>message_error_resource_acquisition_failed</source>
        <translation>Não foi possível obter as informações do ficheiro</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>Não foi possível abrir o ficheiro transferido</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Não há espaço em disco suficiente. Liberte algum espaço e tente novamente.</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Não foi possível eliminar o pacote antigo</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Erro de rede</translation>
    </message>
    <message>
        <source>message_error_network_statuscode</source>
        <translation>Resposta inesperada do servidor</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>O ficheiro transferido está danificado. Transfira-o novamente</translation>
    </message>
    <message>
        <source>message_error_certificate_untrusted</source>
        <translation>O certificado do servidor de download não é confiável, por isso a ligação foi recusada. Verifique a data do computador e qualquer proxy ou software de segurança</translation>
    </message>
    <message>
        <source>message_error_certificate_wrong_name</source>
        <translation>O certificado do servidor de download pertence a outro endereço, por isso a ligação foi recusada</translation>
    </message>
    <message>
        <source>message_error_server_busy</source>
        <translation>O servidor de download está ocupado. O launcher tentou várias vezes; continue o download para tentar de novo</translation>
    </message>
    <message>
        <source>message_error_disk_full</source>
        <translation>O disco está cheio. Liberte espaço e continue o download</translation>
    </message>
    <message>
        <source>message_error_file_changed</source>
        <translation>O ficheiro mudou várias vezes no servidor durante o download. Tente novamente mais tarde</translation>
    </message>
    <message>
        <source>message_error_file_gone</source>
        <translation>O ficheiro já não está no servidor. Tente novamente mais tarde</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>Não foi possível guardar os dados transferidos</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>Não foi possível escrever no disco</translation>
    </message>
    <message>
        <source>message_insecure_redirect</source>
        <translation>O endereço de download seguro foi redirecionado para um sem criptografia; o download foi recusado:</translation>
    </message>
</context>
<context>
    <name>downloadtask</name>
    <message>
        <source>message_request_time_out</source>
        <translation>O pedido excedeu o tempo limite</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>button_open_main_window</source>
        <translation>Abrir launcher</translation>
    </message>
    <message>
        <source>button_quit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>title_app_name_kv</source>
        <translation>Orvyndale</translation>
    </message>
    <message>
        <source>button_continue_download</source>
        <translation>Retomar transferência</translation>
    </message>
    <message>
        <source>button_get_game</source>
        <translation>Obter jogo</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Atualizar</translation>
    </message>
    <message>
        <source>button_start_game</source>
        <translation>Jogar</translation>
    </message>
    <message>
        <source>button_change_install_path</source>
        <translation>Alterar pasta de instalação</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>A transferir</translation>
    </message>
    <message>
        <source>label_checking_md5</source>
        <translation>A verificar ficheiros</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Tempo restante: </translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Velocidade:</translation>
    </message>
    <message>
        <source>message_startup_recovery_failed</source>
        <translation>Não foi possível anular totalmente uma atualização interrompida do launcher: alguns dos seus ficheiros podem ainda ser da nova versão. Feche os programas que os possam estar a utilizar e volte a iniciar o launcher para concluir.</translation>
    </message>
</context>
<context>
    <name>setupmanager</name>
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
        <source>message_setup_zip_archive_file_error</source>
        <translation>não pôde ser aberto</translation>
    </message>
    <message>
        <source>message_setup_zip_unzip_error</source>
        <translation>Falha na extração; o pacote pode estar danificado</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Não foi possível eliminar o pacote antigo</translation>
    </message>
    <message>
        <source>message_game_folder_link</source>
        <translation>é um link para outro local. O inicializador não grava através de links: mova essa pasta de volta para a pasta do jogo ou remova o link e tente novamente.</translation>
    </message>
</context>
<context>
    <name>GameRepairFlow</name>
    <message>
        <source>label_repair_fetching_list</source>
        <translation>Obtendo a lista de arquivos do jogo…</translation>
    </message>
    <message>
        <source>label_repair_verifying</source>
        <translation>Verificando arquivos: %1/%2, %3 de %4</translation>
    </message>
    <message>
        <source>label_repair_time_left</source>
        <translation>tempo restante %1</translation>
    </message>
    <message>
        <source>label_repair_downloading</source>
        <translation>Baixando o pacote do jogo para o reparo: %1%</translation>
    </message>
    <message>
        <source>label_repair_checking_package</source>
        <translation>Verificando o pacote baixado…</translation>
    </message>
    <message>
        <source>label_repair_unpacking</source>
        <translation>Reparando %1 arquivo(s)…</translation>
    </message>
    <message>
        <source>label_repair_result</source>
        <translation>%1 arquivos verificados, %2 danificados, %3 reparados.</translation>
    </message>
    <message>
        <source>label_repair_cancelled</source>
        <translation>A verificação foi interrompida.</translation>
    </message>
    <message>
        <source>message_repair_no_file_list</source>
        <translation>Não há lista de arquivos para esta versão.</translation>
    </message>
    <message>
        <source>message_repair_list_failed</source>
        <translation>Não foi possível baixar a lista de arquivos do jogo.</translation>
    </message>
    <message>
        <source>message_repair_list_damaged</source>
        <translation>A lista de arquivos do jogo está danificada.</translation>
    </message>
    <message>
        <source>message_repair_unreadable</source>
        <translation>Arquivos que não podem ser lidos (nada foi alterado):</translation>
    </message>
    <message>
        <source>message_repair_still_damaged</source>
        <translation>%1 arquivo(s) continuam danificados após o reparo.</translation>
    </message>
    <message>
        <source>message_repair_folder_in_the_way</source>
        <translation>é uma pasta com arquivos no lugar de um arquivo do jogo; mova-a e tente novamente.</translation>
    </message>
    <message>
        <source>label_repair_result_missing</source>
        <translation>%1 ficheiros verificados, %2 em falta, %3 danificados, %4 reparados.</translation>
    </message>
</context>
<context>
    <name>PackageItemExtractor</name>
    <message>
        <source>message_repair_item_not_in_package</source>
        <translation>O pacote do jogo não contém %1.</translation>
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
    <name>HttpRequestAPI</name>
    <message>
        <source>message_answer_too_large</source>
        <translation>A resposta do servidor é maior do que qualquer resposta legítima e foi recusada.</translation>
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
        <translation>não pôde ser colocado no lugar. A atualização será concluída na próxima vez que o inicializador for iniciado; feche antes qualquer programa que esteja usando os arquivos do jogo.</translation>
    </message>
</context>
</TS>
