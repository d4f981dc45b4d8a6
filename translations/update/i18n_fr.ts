<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>CDlgYesNo</name>
    <message>
        <source>button_confirm</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>button_cancle</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>DlgProgress</name>
    <message>
        <source>label_update_failed</source>
        <translation>Échec de la mise à jour</translation>
    </message>
    <message>
        <source>label_click_redo_update_launcher_again</source>
        <translation>Cliquez sur « Réessayer » pour relancer la mise à jour du lanceur</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Réessayer</translation>
    </message>
    <message>
        <source>message_minimizing_continue_update_launcher</source>
        <translation>La mise à jour du lanceur se poursuit même fenêtre réduite</translation>
    </message>
</context>
<context>
    <name>DownloadTask</name>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>Impossible de créer le dossier</translation>
    </message>
    <message>
        <source>message_error_open_file_failed</source>
        <translation>Impossible d'ouvrir le fichier téléchargé</translation>
    </message>
    <message>
        <source>message_error_download_write_buffer</source>
        <translation>Impossible d'enregistrer les données téléchargées</translation>
    </message>
    <message>
        <source>message_disk_not_enough_space</source>
        <translation>Espace disque insuffisant. Libérez de l'espace et réessayez.</translation>
    </message>
    <message>
        <source>message_error_network_reply</source>
        <translation>Erreur réseau</translation>
    </message>
    <message>
        <source>message_error_network_reply_please_check_network</source>
        <translation>Erreur réseau, veuillez vérifier votre connexion</translation>
    </message>
    <message>
        <source>message_error_download_flush</source>
        <translation>Impossible d'écrire sur le disque</translation>
    </message>
    <message>
        <source>message_request_time_out</source>
        <translation>La requête a expiré</translation>
    </message>
    <message>
        <source>message_error_resource_acquisition_failed_check_network</source>
        <translation>Impossible de joindre le serveur de téléchargement, veuillez vérifier votre connexion</translation>
    </message>
    <message>
        <source>message_error_download_network</source>
        <translation>Le téléchargement a échoué. Vérifiez votre connexion et réessayez</translation>
    </message>
    <message>
        <source>message_error_download_md5</source>
        <translation>Le fichier téléchargé est endommagé. Veuillez le télécharger à nouveau</translation>
    </message>
    <message>
        <source>message_setup_delete_old_file_error</source>
        <translation>Impossible de supprimer l'ancien paquet</translation>
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
    <name>UncompressManager</name>
    <message>
        <source>message_setup_zip_archive_file_error</source>
        <translation>ne peut pas être ouvert</translation>
    </message>
    <message>
        <source>message_setup_create_floder_error</source>
        <translation>Impossible de créer le dossier</translation>
    </message>
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
        <source>message_setup_zip_unzip_error</source>
        <translation>Échec de l'extraction ; le paquet est peut-être endommagé</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>title_tip</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>message_main_process_parameter_abnormal</source>
        <translation>Le lanceur a transmis des paramètres de démarrage non valides : </translation>
    </message>
    <message>
        <source>message_update_address_abnormal</source>
        <translation>L'adresse de mise à jour n'est pas valide. Retour au lanceur</translation>
    </message>
    <message>
        <source>label_percent_sign</source>
        <translation>%</translation>
    </message>
    <message>
        <source>message_update_init_failed</source>
        <translation>Impossible de préparer la mise à jour. Réessayer ?</translation>
    </message>
    <message>
        <source>button_redo</source>
        <translation>Réessayer</translation>
    </message>
    <message>
        <source>label_resource_downloading</source>
        <translation>Téléchargement de la mise à jour </translation>
    </message>
    <message>
        <source>title_download_error</source>
        <translation>Échec du téléchargement</translation>
    </message>
    <message>
        <source>label_file_unziping</source>
        <translation>Extraction des fichiers </translation>
    </message>
    <message>
        <source>title_unzip_error</source>
        <translation>Échec de l'extraction</translation>
    </message>
    <message>
        <source>message_create_backup_folder_failed</source>
        <translation>Impossible de créer le dossier de sauvegarde. Retour au lanceur</translation>
    </message>
    <message>
        <source>message_file_replace_exception</source>
        <translation>Une erreur est survenue lors du remplacement des fichiers. Retour au lanceur</translation>
    </message>
    <message>
        <source>message_failed_create_backup_folder_try_again</source>
        <translation>Impossible de créer le dossier de sauvegarde. Réessayer ?</translation>
    </message>
    <message>
        <source>label_file_replacing</source>
        <translation>Remplacement des fichiers </translation>
    </message>
    <message>
        <source>title_update_success</source>
        <translation>Mise à jour terminée</translation>
    </message>
    <message>
        <source>message_click_button_open_launcher</source>
        <translation>Cliquez sur le bouton ci-dessous pour ouvrir le lanceur</translation>
    </message>
    <message>
        <source>button_open_launcher</source>
        <translation>Ouvrir le lanceur</translation>
    </message>
    <message>
        <source>title_file_replace_failed</source>
        <translation>Impossible de remplacer un fichier</translation>
    </message>
    <message>
        <source>message_updating_do_not_close</source>
        <translation>Le lanceur est en cours de mise à jour. Voulez-vous vraiment fermer ?</translation>
    </message>
    <message>
        <source>button_continue_update</source>
        <translation>Poursuivre</translation>
    </message>
    <message>
        <source>button_close_update</source>
        <translation>Arrêter la mise à jour</translation>
    </message>
    <message>
        <source>title_rollback_failed</source>
        <translation>Impossible de restaurer le lanceur précédent</translation>
    </message>
    <message>
        <source>message_rollback_file_held</source>
        <translation>Un autre programme utilise ce fichier du lanceur, il n'a donc pas pu être remis en place :
%1
Quittez maintenant : le lanceur finira de le restaurer à son prochain démarrage.</translation>
    </message>
    <message>
        <source>button_quit_finish_later</source>
        <translation>Quitter, terminer au prochain démarrage</translation>
        <source>label_download_details</source>
        <translation>%1 sur %2 · %3 · %4 restant</translation>
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
</TS>
