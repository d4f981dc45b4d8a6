<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>ApplicationInfo</name>
    <message>
        <source>title_tip</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>Impossible de rechercher les mises à jour du lanceur. Veuillez réessayer plus tard.</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Réessayer</translation>
    </message>
</context>
<context>
    <name>CDlgAppInfo</name>
    <message>
        <source>title_app_info</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>label_game_info</source>
        <translation>Version du jeu</translation>
    </message>
    <message>
        <source>label_app_info</source>
        <translation>ID du lanceur</translation>
    </message>
    <message>
        <source>label_launcher_version</source>
        <translation>Version du lanceur</translation>
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
        <translation>À la fermeture de la fenêtre</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>Réduire dans la zone de notification</translation>
    </message>
    <message>
        <source>button_close_quit</source>
        <translation>Quitter le lanceur</translation>
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
        <translation>Annuler</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>CSetInstallPathDialog</name>
    <message>
        <source>title_app_install_kv</source>
        <translation>Installer Orvyndale</translation>
    </message>
    <message>
        <source>label_install_dir</source>
        <translation>Dossier d'installation</translation>
    </message>
    <message>
        <source>message_floder_not_enough_space</source>
        <translation>Espace insuffisant sur ce lecteur</translation>
    </message>
    <message>
        <source>button_change</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>label_need_space</source>
        <translation>Espace requis :</translation>
    </message>
    <message>
        <source>label_available_space</source>
        <translation>Espace disponible :</translation>
    </message>
    <message>
        <source>label_default_language</source>
        <translation>Langue par défaut</translation>
    </message>
    <message>
        <source>button_start_setup</source>
        <translation>Installer</translation>
    </message>
    <message>
        <source>messsage_path_invalid</source>
        <translation>Ce dossier ne peut pas être utilisé</translation>
    </message>
    <message>
        <source>label_select_install_path</source>
        <translation>Choisir un dossier d'installation</translation>
    </message>
    <message>
        <source>button_continue</source>
        <translation>Continuer</translation>
    </message>
    <message>
        <source>button_select_again</source>
        <translation>Choisir un autre</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>message_suggest_select_empty_folder</source>
        <translation>Le dossier choisi n'est pas vide. Nous vous recommandons d'installer le jeu dans un dossier vide.</translation>
    </message>
</context>
<context>
    <name>DlgSetting</name>
    <message>
        <source>title_set</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>button_auto_start</source>
        <translation>Lancer au démarrage du système</translation>
    </message>
    <message>
        <source>button_auto_update</source>
        <translation>Mettre à jour le lanceur automatiquement</translation>
    </message>
    <message>
        <source>label_next_open_auto_update</source>
        <translation>Si cette option est activée, le lanceur se met à jour vers la dernière version à son prochain démarrage.</translation>
    </message>
    <message>
        <source>button_minimize_systemtrayicon</source>
        <translation>Réduire dans la zone de notification</translation>
    </message>
    <message>
        <source>button_quit_launcher</source>
        <translation>Quitter le lanceur</translation>
    </message>
    <message>
        <source>button_check_update</source>
        <translation>Rechercher des mises à jour</translation>
    </message>
    <message>
        <source>label_current_launcher_version</source>
        <translation>Version actuelle du lanceur :</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>label_launch_set</source>
        <translation>Démarrage</translation>
    </message>
    <message>
        <source>label_close_set</source>
        <translation>Fermeture</translation>
    </message>
    <message>
        <source>label_version_set</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>button_game_repair</source>
        <translation>Vérifier le jeu</translation>
    </message>
    <message>
        <source>button_game_repair_stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>button_show_launcher_after_game</source>
        <translation>Réafficher le lanceur après le jeu</translation>
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
        <translation>Vérification des fichiers</translation>
    </message>
    <message>
        <source>title_error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>message_resource_check_failed</source>
        <translation>Impossible d'obtenir la version du jeu. Vérifiez votre connexion et réessayez.</translation>
    </message>
    <message>
        <source>message_need_update_launcher</source>
        <translation>Le lanceur doit être mis à jour. Cliquez sur OK pour télécharger la dernière version.</translation>
    </message>
    <message>
        <source>message_launcher_version_old</source>
        <translation>Ce lanceur est obsolète. Veuillez télécharger la dernière version sur le site officiel.</translation>
    </message>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>message_launcher_check_failed</source>
        <translation>Impossible de charger le contenu du lanceur. Réessayer ?</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Espace disque insuffisant. Libérez de l'espace et réessayez.</translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Vitesse :</translation>
    </message>
    <message>
        <source>label_download_speed_kbs</source>
        <translation>Ko/s</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Temps restant : </translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>message_checking_update</source>
        <translation>Vérification de la version du jeu, veuillez patienter…</translation>
    </message>
    <message>
        <source>message_create_floder_failed</source>
        <translation>Impossible de créer le dossier d'installation. Veuillez choisir un autre emplacement.</translation>
    </message>
    <message>
        <source>message_not_enough_space_select_path</source>
        <translation>Espace disque insuffisant. Veuillez choisir un autre emplacement d'installation.</translation>
    </message>
    <message>
        <source>label_download_paused</source>
        <translation>En pause</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>Téléchargement</translation>
    </message>
    <message>
        <source>label_unit_gb</source>
        <translation>Go</translation>
    </message>
    <message>
        <source>label_download_speed_mbs</source>
        <translation>Mo/s</translation>
    </message>
    <message>
        <source>message_download_error</source>
        <translation>Erreur de téléchargement</translation>
    </message>
    <message>
        <source>title_warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>message_game_is_running_please_close</source>
        <translation>Le jeu est en cours d'exécution. Veuillez d'abord le fermer.</translation>
    </message>
    <message>
        <source>label_installing_progress</source>
        <translation>Installation</translation>
    </message>
    <message>
        <source>message_setup_error</source>
        <translation>Erreur d'installation</translation>
    </message>
    <message>
        <source>message_run_update_exe_failed</source>
        <translation>Impossible de lancer le programme de mise à jour.</translation>
    </message>
    <message>
        <source>message_repair_needs_current_game</source>
        <translation>Installez ou mettez à jour le jeu d'abord, puis vérifiez-le.</translation>
    </message>
    <message>
        <source>message_game_entry_refused</source>
        <translation>Le programme du jeu indiqué par le serveur se trouve hors du dossier du jeu et n'a pas été lancé :</translation>
        <source>label_value_paused</source>
        <translation>en pause</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>message_setup_zip_password_error</source>
        <translation>Le paquet est protégé par un mot de passe</translation>
    </message>
</context>
<context>
    <name>UpdateProgram</name>
    <message>
        <source>message_is_latest_version</source>
        <translation>Vous disposez déjà de la dernière version.</translation>
    </message>
    <message>
        <source>message_update_request_exception</source>
        <translation>Impossible de rechercher les mises à jour du lanceur. Veuillez réessayer plus tard.</translation>
    </message>
    <message>
        <source>title_tip</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>message_new_version_please_update</source>
        <translation>Une nouvelle version du lanceur est disponible. Veuillez la mettre à jour pour continuer.</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Mettre à jour</translation>
    </message>
    <message>
        <source>message_new_version_whether_update</source>
        <translation>Une nouvelle version du lanceur est disponible. Mettre à jour maintenant ?</translation>
    </message>
    <message>
        <source>message_update_failed_not_enough_space</source>
        <translation>Espace disque insuffisant pour mettre à jour le lanceur.</translation>
    </message>
    <message>
        <source>label_new_launcher_version</source>
        <translation>Version %1, taille du téléchargement %2</translation>
    </message>
</context>
<context>
    <name>downloadmanager</name>
    <message>
        <source>message_error_resource_acquisition_failed</source>
        <translation>Impossible d'obtenir les informations du fichier</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>Impossible d'ouvrir le fichier téléchargé</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Espace disque insuffisant. Libérez de l'espace et réessayez.</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Impossible de supprimer l'ancien paquet</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Erreur réseau</translation>
    </message>
    <message>
        <source>message_error_network_statuscode</source>
        <translation>Réponse inattendue du serveur</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>Le fichier téléchargé est endommagé. Veuillez le télécharger à nouveau</translation>
    </message>
    <message>
        <source>message_error_certificate_untrusted</source>
        <translation>Le certificat du serveur de téléchargement n&apos;est pas reconnu, la connexion a donc été refusée. Vérifiez la date de l&apos;ordinateur et tout proxy ou logiciel de sécurité</translation>
    </message>
    <message>
        <source>message_error_certificate_wrong_name</source>
        <translation>Le certificat du serveur de téléchargement appartient à une autre adresse, la connexion a donc été refusée</translation>
    </message>
    <message>
        <source>message_error_server_busy</source>
        <translation>Le serveur de téléchargement est occupé. Le lanceur a réessayé plusieurs fois ; reprenez le téléchargement pour réessayer</translation>
    </message>
    <message>
        <source>message_error_disk_full</source>
        <translation>Le disque est plein. Libérez de l&apos;espace, puis reprenez le téléchargement</translation>
    </message>
    <message>
        <source>message_error_file_changed</source>
        <translation>Le fichier a changé plusieurs fois sur le serveur pendant le téléchargement. Veuillez réessayer plus tard</translation>
    </message>
    <message>
        <source>message_error_file_gone</source>
        <translation>Le fichier n&apos;est plus sur le serveur. Veuillez réessayer plus tard</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>Impossible d'enregistrer les données téléchargées</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>Impossible d'écrire sur le disque</translation>
    </message>
    <message>
        <source>message_insecure_redirect</source>
        <translation>L'adresse de téléchargement sécurisée a été redirigée vers une adresse non chiffrée ; le téléchargement a été refusé :</translation>
    </message>
</context>
<context>
    <name>downloadtask</name>
    <message>
        <source>message_request_time_out</source>
        <translation>La requête a expiré</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>button_open_main_window</source>
        <translation>Ouvrir le lanceur</translation>
    </message>
    <message>
        <source>button_quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>title_app_name_kv</source>
        <translation>Orvyndale</translation>
    </message>
    <message>
        <source>button_continue_download</source>
        <translation>Reprendre</translation>
    </message>
    <message>
        <source>button_get_game</source>
        <translation>Obtenir le jeu</translation>
    </message>
    <message>
        <source>button_update</source>
        <translation>Mettre à jour</translation>
    </message>
    <message>
        <source>button_start_game</source>
        <translation>Jouer</translation>
    </message>
    <message>
        <source>button_change_install_path</source>
        <translation>Changer le dossier d'installation</translation>
    </message>
    <message>
        <source>label_downloading_percent</source>
        <translation>Téléchargement</translation>
    </message>
    <message>
        <source>label_checking_md5</source>
        <translation>Vérification des fichiers</translation>
    </message>
    <message>
        <source>label_task_need_time</source>
        <translation>Temps restant : </translation>
    </message>
    <message>
        <source>label_download_speed</source>
        <translation>Vitesse :</translation>
    </message>
    <message>
        <source>message_startup_recovery_failed</source>
        <translation>Une mise à jour interrompue du lanceur n'a pas pu être entièrement annulée : certains de ses fichiers proviennent peut-être encore de la nouvelle version. Fermez les programmes qui pourraient les utiliser, puis relancez le lanceur pour terminer.</translation>
    </message>
</context>
<context>
    <name>setupmanager</name>
    <message>
        <source>message_setup_dll_error</source>
        <translation>Impossible de charger la bibliothèque d'extraction</translation>
    </message>
    <message>
        <source>message_setup_zip_format_error</source>
        <translation>n'est pas un format de paquet pris en charge</translation>
    </message>
    <message>
        <source>message_setup_zip_class_error</source>
        <translation>Impossible d'ouvrir ce format de paquet</translation>
    </message>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation>ne peut pas être ouvert</translation>
    </message>
    <message>
        <source>message_setup_zip_unzip_error</source>
        <translation>Échec de l'extraction ; le paquet est peut-être endommagé</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Impossible de supprimer l'ancien paquet</translation>
    </message>
    <message>
        <source>message_game_folder_link</source>
        <translation>est un lien vers un autre emplacement. Le lanceur n'écrit pas à travers les liens : replacez ce dossier dans le dossier du jeu ou supprimez le lien, puis réessayez.</translation>
    </message>
</context>
<context>
    <name>GameRepairFlow</name>
    <message>
        <source>label_repair_fetching_list</source>
        <translation>Récupération de la liste des fichiers du jeu…</translation>
    </message>
    <message>
        <source>label_repair_verifying</source>
        <translation>Vérification des fichiers : %1/%2, %3 sur %4</translation>
    </message>
    <message>
        <source>label_repair_time_left</source>
        <translation>temps restant %1</translation>
    </message>
    <message>
        <source>label_repair_downloading</source>
        <translation>Téléchargement du paquet du jeu pour la réparation : %1%</translation>
    </message>
    <message>
        <source>label_repair_checking_package</source>
        <translation>Vérification du paquet téléchargé…</translation>
    </message>
    <message>
        <source>label_repair_unpacking</source>
        <translation>Réparation de %1 fichier(s)…</translation>
    </message>
    <message>
        <source>label_repair_result</source>
        <translation>%1 fichiers vérifiés, %2 endommagés, %3 réparés.</translation>
    </message>
    <message>
        <source>label_repair_cancelled</source>
        <translation>La vérification a été arrêtée.</translation>
    </message>
    <message>
        <source>message_repair_no_file_list</source>
        <translation>Aucune liste de fichiers n'existe pour cette version.</translation>
    </message>
    <message>
        <source>message_repair_list_failed</source>
        <translation>Impossible de télécharger la liste des fichiers du jeu.</translation>
    </message>
    <message>
        <source>message_repair_list_damaged</source>
        <translation>La liste des fichiers du jeu est endommagée.</translation>
    </message>
    <message>
        <source>message_repair_unreadable</source>
        <translation>Fichiers illisibles (rien n'a été modifié) :</translation>
    </message>
    <message>
        <source>message_repair_still_damaged</source>
        <translation>%1 fichier(s) restent endommagés après la réparation.</translation>
    </message>
    <message>
        <source>message_repair_folder_in_the_way</source>
        <translation>est un dossier contenant des fichiers à la place d'un fichier du jeu ; déplacez-le et réessayez.</translation>
    </message>
    <message>
        <source>label_repair_result_missing</source>
        <translation>%1 fichiers vérifiés, %2 manquants, %3 endommagés, %4 réparés.</translation>
    </message>
</context>
<context>
    <name>PackageItemExtractor</name>
    <message>
        <source>message_repair_item_not_in_package</source>
        <translation>Le paquet du jeu ne contient pas %1.</translation>
    </message>
</context>
<context>
    <name>PackageTrust</name>
    <message>
        <source>message_error_package_signature</source>
        <translation>Ce paquet n'est pas signé par l'éditeur ou a été modifié. Il a été supprimé. Réessaie plus tard</translation>
    </message>
    <message>
        <source>message_error_package_rollback</source>
        <translation>Cette version est plus ancienne que celle installée et l'éditeur ne l'a pas signée comme retour en arrière. Rien n'a été installé</translation>
    </message>
    <message>
        <source>message_error_package_binding</source>
        <translation>Ce paquet est signé pour un autre jeu, un autre lanceur ou un autre usage. Il a été supprimé et rien n'a été installé</translation>
    </message>
    <message>
        <source>message_error_metadata_signature</source>
        <translation>Les informations du jeu envoyées par le serveur ne sont pas signées par l'éditeur ou ont été modifiées. Rien n'a été installé ni lancé</translation>
    </message>
    <message>
        <source>message_error_metadata_stale</source>
        <translation>Les informations du jeu envoyées par le serveur sont périmées (plus anciennes qu'avant ou expirées). Rien n'a été installé ni lancé. Réessaie plus tard</translation>
    </message>
</context>
<context>
    <name>HttpRequestAPI</name>
    <message>
        <source>message_answer_too_large</source>
        <translation>La réponse du serveur est plus volumineuse que toute réponse authentique et a été refusée.</translation>
    </message>
</context>
<context>
    <name>SizeText</name>
    <message>
        <source>label_unit_kb</source>
        <translation>Ko</translation>
    </message>
    <message>
        <source>label_unit_mb</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>label_unit_gb</source>
        <translation>Go</translation>
    </message>
    <message>
        <source>label_unit_kb_per_second</source>
        <translation>Ko/s</translation>
    </message>
    <message>
        <source>label_unit_mb_per_second</source>
        <translation>Mo/s</translation>
    </message>
</context>
<context>
    <name>PatchApplier</name>
    <message>
        <source>message_patch_apply_error</source>
        <translation>n'a pas pu être mis en place. La mise à jour se terminera au prochain démarrage du lanceur ; fermez d'abord tout programme qui utilise les fichiers du jeu.</translation>
    </message>
</context>
</TS>
