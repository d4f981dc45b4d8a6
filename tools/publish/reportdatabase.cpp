#include "reportdatabase.h"

#include <QDateTime>
#include <QFileInfo>

#include <sqlite3.h>
#include <zlib.h>

#include <cstring>
#include <memory>
#include <vector>

#include "reportline.h"

namespace {

// Rows per transaction: large enough that commits cost little, small enough that a killed
// load loses little work. The read offset is saved in the same transaction as its rows.
constexpr qint64 kBatch = 250000;
constexpr size_t kChunk = 1 << 20;

const char kSchema[] =
    "CREATE TABLE IF NOT EXISTS sources (\n"
    "    id INTEGER PRIMARY KEY,\n"
    "    head TEXT NOT NULL UNIQUE,  -- digest and length of the log's first line\n"
    "    path TEXT NOT NULL,         -- where it was read last\n"
    "    consumed INTEGER NOT NULL,  -- bytes (uncompressed) read up to the last full line\n"
    "    lines INTEGER NOT NULL,     -- full lines read\n"
    "    loaded_at TEXT NOT NULL     -- UTC of the last load\n"
    ");\n"
    "CREATE TABLE IF NOT EXISTS reports (\n"
    "    id INTEGER PRIMARY KEY,\n"
    "    source_id INTEGER NOT NULL REFERENCES sources(id),\n"
    "    received TEXT NOT NULL,     -- UTC yyyy-MM-ddThh:mm:ss, when the server logged it\n"
    "    day TEXT NOT NULL,          -- yyyy-MM-dd of received\n"
    "    action TEXT NOT NULL,       -- the report's action\n"
    "    step TEXT,                  -- failures: download, check, unpack, repair,\n"
    "                                -- launcher update, signature\n"
    "    error_code INTEGER,         -- failures: the launcher's error number\n"
    "    error_reason TEXT,          -- failures: a short reason\n"
    "    device_id TEXT,\n"
    "    transaction_no TEXT,        -- one launcher run\n"
    "    launcher_version TEXT,      -- the query's version\n"
    "    game_version TEXT,          -- installed game version (empty: none)\n"
    "    target_version TEXT,        -- game version being installed\n"
    "    package_kind TEXT,          -- full, difference or patch\n"
    "    download_kbs REAL,          -- download finish reports: KiB/s of the transfer\n"
    "    channel TEXT,\n"
    "    sub_channel TEXT,\n"
    "    register_cps TEXT,\n"
    "    client_language TEXT,\n"
    "    os TEXT,\n"
    "    env TEXT,\n"
    "    cts TEXT,                   -- the launcher's local time of the report\n"
    "    log_time INTEGER,           -- the launcher's clock, seconds since 1970\n"
    "    ext_msg TEXT                -- the extra message, key:value; pairs\n"
    ");\n"
    "PRAGMA user_version = 1;\n";

// The columns after source_id, in ReportLine's order of fields with day and step inserted.
const char kInsert[] =
    "INSERT INTO reports (source_id, received, day, action, step, error_code, error_reason, "
    "device_id, transaction_no, launcher_version, game_version, target_version, package_kind, "
    "download_kbs, channel, sub_channel, register_cps, client_language, os, env, cts, log_time, "
    "ext_msg) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, "
    "?17, ?18, ?19, ?20, ?21, ?22, ?23)";

struct GzCloser
{
    void operator()(gzFile_s *file) const { gzclose(file); }
};

struct StatementFinalizer
{
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

QString headOf(std::string_view line)
{
    // FNV-1a: stable across runs and machines, unlike std::hash.
    quint64 hash = 1469598103934665603ULL;
    for (unsigned char c : line) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return QStringLiteral("%1:%2").arg(hash, 16, 16, QLatin1Char('0')).arg(line.size());
}

void bindText(sqlite3_stmt *statement, int index, const std::string &text)
{
    if (text.empty())
        sqlite3_bind_null(statement, index);
    else
        sqlite3_bind_text(statement, index, text.data(), int(text.size()), SQLITE_STATIC);
}

void bindNumber(sqlite3_stmt *statement, int index, const std::string &text, bool integer)
{
    char *end = nullptr;
    if (text.empty()) {
        sqlite3_bind_null(statement, index);
    } else if (integer) {
        const long long value = strtoll(text.c_str(), &end, 10);
        if (*end == '\0')
            sqlite3_bind_int64(statement, index, value);
        else
            sqlite3_bind_null(statement, index);
    } else {
        const double value = strtod(text.c_str(), &end);
        if (*end == '\0')
            sqlite3_bind_double(statement, index, value);
        else
            sqlite3_bind_null(statement, index);
    }
}

} // namespace

ReportDatabase::~ReportDatabase()
{
    if (m_db)
        sqlite3_close(m_db);
}

const char *ReportDatabase::schema()
{
    return kSchema;
}

QString ReportDatabase::lastError() const
{
    return QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : "no database");
}

bool ReportDatabase::exec(const char *sql, QString *error)
{
    char *message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    *error = QString::fromUtf8(message ? message : "SQL error");
    sqlite3_free(message);
    return false;
}

bool ReportDatabase::open(const QString &path, QString *error)
{
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        *error = path + QStringLiteral(": ") + lastError();
        return false;
    }
    sqlite3_busy_timeout(m_db, 5000);
    // A rollback journal: loads append, so it stays small, and each large transaction costs
    // one sync (WAL would sync at every automatic checkpoint). A crash loses at most the last
    // batch, never the file.
    return exec("PRAGMA journal_mode = DELETE; PRAGMA synchronous = NORMAL;", error) &&
           exec(kSchema, error);
}

bool ReportDatabase::load(const QString &logPath, LoadResult *result, QString *error)
{
    *result = {};
    // gzopen reads a plain file as it is, so one reader serves both kinds.
    std::unique_ptr<gzFile_s, GzCloser> file(gzopen(logPath.toUtf8().constData(), "rb"));
    if (!file || !QFileInfo(logPath).isFile()) {
        *error = logPath + QStringLiteral(": cannot read");
        return false;
    }
    gzbuffer(file.get(), 1 << 18);

    std::vector<char> buffer(kChunk);
    size_t filled = 0;
    bool atEnd = false;
    auto fill = [&]() -> bool {
        if (atEnd)
            return true;
        if (filled == buffer.size())
            buffer.resize(buffer.size() * 2); // one line longer than the buffer
        const int got =
            gzread(file.get(), buffer.data() + filled, unsigned(buffer.size() - filled));
        if (got < 0) {
            int code = 0;
            *error = logPath + QStringLiteral(": ") + QString::fromUtf8(gzerror(file.get(), &code));
            return false;
        }
        if (got == 0)
            atEnd = true;
        filled += size_t(got);
        return true;
    };

    // The first full line names the log.
    const char *newline = nullptr;
    while (!(newline = static_cast<const char *>(std::memchr(buffer.data(), '\n', filled))) &&
           !atEnd) {
        if (!fill())
            return false;
    }
    if (!newline)
        return true; // nothing complete yet: read it next time
    const QString head = headOf(std::string_view(buffer.data(), size_t(newline - buffer.data())));

    qint64 sourceId = 0;
    qint64 consumed = 0;
    qint64 linesBefore = 0;
    {
        Statement find;
        sqlite3_stmt *raw = nullptr;
        if (sqlite3_prepare_v2(m_db, "SELECT id, consumed, lines FROM sources WHERE head = ?1", -1,
                               &raw, nullptr) != SQLITE_OK) {
            *error = lastError();
            return false;
        }
        find.reset(raw);
        const QByteArray headUtf8 = head.toUtf8();
        sqlite3_bind_text(raw, 1, headUtf8.constData(), headUtf8.size(), SQLITE_TRANSIENT);
        if (sqlite3_step(raw) == SQLITE_ROW) {
            sourceId = sqlite3_column_int64(raw, 0);
            consumed = sqlite3_column_int64(raw, 1);
            linesBefore = sqlite3_column_int64(raw, 2);
            result->known = true;
        }
    }
    const QByteArray pathUtf8 = QFileInfo(logPath).absoluteFilePath().toUtf8();
    const QByteArray now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toUtf8();
    if (!exec("BEGIN", error))
        return false;
    if (!sourceId) {
        sqlite3_stmt *raw = nullptr;
        sqlite3_prepare_v2(m_db,
                           "INSERT INTO sources (head, path, consumed, lines, loaded_at) "
                           "VALUES (?1, ?2, 0, 0, ?3)",
                           -1, &raw, nullptr);
        Statement add(raw);
        const QByteArray headUtf8 = head.toUtf8();
        sqlite3_bind_text(raw, 1, headUtf8.constData(), headUtf8.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(raw, 2, pathUtf8.constData(), pathUtf8.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(raw, 3, now.constData(), now.size(), SQLITE_TRANSIENT);
        if (!raw || sqlite3_step(raw) != SQLITE_DONE) {
            *error = lastError();
            exec("ROLLBACK", error);
            return false;
        }
        sourceId = sqlite3_last_insert_rowid(m_db);
    }

    sqlite3_stmt *rawInsert = nullptr;
    sqlite3_stmt *rawProgress = nullptr;
    if (sqlite3_prepare_v2(m_db, kInsert, -1, &rawInsert, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(m_db,
                           "UPDATE sources SET consumed = ?1, lines = ?2, path = ?3, "
                           "loaded_at = ?4 WHERE id = ?5",
                           -1, &rawProgress, nullptr) != SQLITE_OK) {
        *error = lastError();
        sqlite3_finalize(rawInsert);
        QString ignored;
        exec("ROLLBACK", &ignored);
        return false;
    }
    Statement insert(rawInsert);
    Statement progress(rawProgress);

    qint64 offset = 0; // uncompressed bytes before buffer[0]
    qint64 sinceCommit = 0;
    auto saveProgress = [&]() -> bool {
        sqlite3_bind_int64(rawProgress, 1, offset);
        sqlite3_bind_int64(rawProgress, 2, linesBefore + result->lines);
        sqlite3_bind_text(rawProgress, 3, pathUtf8.constData(), pathUtf8.size(), SQLITE_STATIC);
        sqlite3_bind_text(rawProgress, 4, now.constData(), now.size(), SQLITE_STATIC);
        sqlite3_bind_int64(rawProgress, 5, sourceId);
        const bool ok = sqlite3_step(rawProgress) == SQLITE_DONE;
        sqlite3_reset(rawProgress);
        if (!ok)
            *error = lastError();
        return ok;
    };
    auto fail = [&]() {
        QString ignored;
        exec("ROLLBACK", &ignored);
        return false;
    };

    // A plain log read far before: jump there instead of reading the old lines again.
    if (consumed > qint64(filled) && gzdirect(file.get()) &&
        gzseek(file.get(), z_off_t(consumed), SEEK_SET) == z_off_t(consumed)) {
        offset = consumed;
        filled = 0;
        atEnd = false;
    }

    ReportLine line;
    std::string day;
    std::string step;
    size_t start = 0;
    while (true) {
        const char *from = buffer.data() + start;
        const char *end = static_cast<const char *>(std::memchr(from, '\n', filled - start));
        if (!end) {
            if (atEnd)
                break;
            // Move the unfinished line to the front and read more behind it.
            std::memmove(buffer.data(), from, filled - start);
            offset += qint64(start);
            filled -= start;
            start = 0;
            if (!fill())
                return fail();
            continue;
        }
        const size_t length = size_t(end - from);
        const qint64 lineEnd = offset + qint64(start + length + 1);
        start += length + 1;
        if (lineEnd <= consumed)
            continue; // read by an earlier load
        ++result->lines;
        if (!line.parse(std::string_view(from, length))) {
            ++result->skipped;
            continue;
        }
        const std::string &received = line.value(ReportLine::Received);
        day.assign(received, 0, 10);
        step.assign(ReportLine::stepOf(line.value(ReportLine::Action)));
        sqlite3_bind_int64(rawInsert, 1, sourceId);
        bindText(rawInsert, 2, received);
        bindText(rawInsert, 3, day);
        bindText(rawInsert, 4, line.value(ReportLine::Action));
        bindText(rawInsert, 5, step);
        bindNumber(rawInsert, 6, line.value(ReportLine::ErrorCode), true);
        bindText(rawInsert, 7, line.value(ReportLine::ErrorReason));
        static const ReportLine::Field kTexts[] = {
            ReportLine::DeviceId,    ReportLine::TransactionNo, ReportLine::LauncherVersion,
            ReportLine::GameVersion, ReportLine::TargetVersion, ReportLine::PackageKind};
        int index = 8;
        for (ReportLine::Field field : kTexts)
            bindText(rawInsert, index++, line.value(field));
        bindNumber(rawInsert, 14, line.value(ReportLine::DownloadKbs), false);
        static const ReportLine::Field kMore[] = {
            ReportLine::Channel,     ReportLine::SubChannel,
            ReportLine::RegisterCps, ReportLine::ClientLanguage,
            ReportLine::Os,          ReportLine::Env,
            ReportLine::Cts};
        index = 15;
        for (ReportLine::Field field : kMore)
            bindText(rawInsert, index++, line.value(field));
        bindNumber(rawInsert, 22, line.value(ReportLine::LogTime), true);
        bindText(rawInsert, 23, line.value(ReportLine::ExtMsg));
        const bool ok = sqlite3_step(rawInsert) == SQLITE_DONE;
        sqlite3_reset(rawInsert);
        if (!ok) {
            *error = lastError();
            return fail();
        }
        ++result->reports;
        if (++sinceCommit >= kBatch) {
            const qint64 keep = offset;
            offset = lineEnd; // saved offset: the end of this line
            const bool saved = saveProgress();
            offset = keep;
            if (!saved || !exec("COMMIT", error) || !exec("BEGIN", error))
                return fail();
            sinceCommit = 0;
        }
    }
    offset += qint64(start); // the end of the last full line
    if (offset < consumed)
        offset = consumed; // a shorter copy of a log read further before
    if (!saveProgress() || !exec("COMMIT", error))
        return fail();
    return true;
}
