#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>

// The failure codes both programs report. The numbers are shown to players and support
// staff, so they are fixed: never renumber, only append.
namespace ErrorDefine {
Q_NAMESPACE

enum ErrorCode {
    DEFAULTT = 0,
    DOWNLOAD_OPEN_FILE_ERROR = 1000,
    DOWNLOAD_EXIST_SIZE_ERROR = 1001,
    DOWNLOAD_WRITE_BUFFER_ERROR = 1002,
    DOWNLOAD_FLUSH_ERROR = 1003,
    DOWNLOAD_MD5_ERROR = 1004,
    DOWNLOAD_NETWORK_GETHEADER_ERROR = 1005,
    DOWNLOAD_NETWORK_ERROR = 1006,
    DOWNLOAD_NETWORK_REPLY_ERROR = 1007,
    SETUP_DLL_ERROR = 1008,
    SETUP_ZIP_ERROR = 1009,
    SETUP_ZIP_FORMAT_ERROR = 1010,
    SETUP_ZIP_CLASS_ERROR = 1011,
    SETUP_ZIP_ARCHIVE_FILE_ERROR = 1012,
    SETUP_ZIP_UNABLE_OPEN_FILE_ERROR = 1013,
    SETUP_ZIP_UNZIP_ERROR = 1014,
    SETUP_ZIP_UNABLE_DELETE_ERROR = 1015,
    SETUP_ZIP_UNABLE_OPEN_OUTPUT_ERROR = 1016,
    SETUP_ZIP_PASSWORD_ERROR = 1017,
    SETUP_DELETE_OLD_GAME_ERROR = 1018,
    SETUP_DELETE_TEMP_FOLDER_ERROR = 1019,
    SETUP_RENAME_FOLDER_ERROR = 1020,
    SETUP_DELETE_OLD_FILE_ERROR = 1021,
    SETUP_CREATE_FOLDER_ERROR = 1022,
    SETUP_COPY_FILE_ERROR = 1023,
    HTTP_REQUEST_TIMEOUT = 1024,
    HTTP_REQUEST_FILA = 1025,
    CATCH_EXCEPTION_INIT_UPDATEINFO = 1026,
#ifdef LUNMERE_UPDATER
    // Only the updater can fail to set up its digest worker.
    MD5_EXCEPTION_ERROR = 1027,
#endif
    // A package that the publisher did not sign, or that differs from what was signed.
    PACKAGE_SIGNATURE_ERROR = 1028,
    // The manifest's game program lies outside the game folder (absolute, "..", a link out).
    GAME_ENTRY_REFUSED = 1029,
    // A folder in the game's path is a link: writing through it could land anywhere.
    GAME_FOLDER_LINK_ERROR = 1030,
    // An answer bigger than any genuine one; it is cut off before it can exhaust memory.
    HTTP_ANSWER_TOO_LARGE = 1031,
    // An HTTPS address redirected to one without encryption.
    HTTP_INSECURE_REDIRECT = 1032,
    // The launcher could not end an update that was cut short; its folder is part old, part new.
    STARTUP_RECOVERY_ERROR = 1033,
    // A signed package older than the installed version that the publisher did not sign as a
    // rollback.
    PACKAGE_ROLLBACK_ERROR = 1036,
    // A signed package for another launcher or product, or of another kind than the one
    // being installed (a game package offered as a plug-in or a launcher release).
    PACKAGE_BINDING_ERROR = 1037,
    // An answer without a valid publisher signature over its decisive fields.
    METADATA_SIGNATURE_ERROR = 1038,
    // A signed answer older than one seen before, or past its expiry date.
    METADATA_STALE_ERROR = 1039,
    // Download failures told in plain words: the server's certificate is not trusted, or is
    // for another name; the server stayed busy through the automatic retries; the disk filled
    // while writing; the file kept changing on the server; the package is gone from it.
    DOWNLOAD_CERTIFICATE_UNTRUSTED = 1041,
    DOWNLOAD_CERTIFICATE_WRONG_NAME = 1042,
    DOWNLOAD_SERVER_BUSY = 1043,
    DOWNLOAD_DISK_FULL = 1044,
    DOWNLOAD_FILE_CHANGED = 1045,
    DOWNLOAD_FILE_GONE = 1046,
    // A patch run could not put its checked files in place; the next start finishes it.
    PATCH_APPLY_ERROR = 1047,
    // A patch run that was cut short could not be read back; the game folder names the journal.
    PATCH_JOURNAL_ERROR = 1048,
};
Q_ENUM_NS(ErrorCode)

// The identifier of a code ("HTTP_REQUEST_TIMEOUT" for 1024); a null string for a number
// that is not one of this program's codes.
QString errorName(ErrorCode code);
QString errorName(int code);

// Makes the code travel through queued connections; safe to call more than once.
void registerMetaTypes();

} // namespace ErrorDefine

Q_DECLARE_METATYPE(ErrorDefine::ErrorCode)
