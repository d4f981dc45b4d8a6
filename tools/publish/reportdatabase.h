#pragma once

#include <QString>

#include <cstdint>

struct sqlite3;

// The reports in an SQLite file: one row per report, and per log file read how far it was
// read, so that loading the same logs again (also after rotation and gzip) adds only the new
// lines. Statements are prepared once; rows stream in through large transactions.
class ReportDatabase
{
public:
    struct LoadResult
    {
        qint64 lines = 0;   // complete lines read this time
        qint64 reports = 0; // rows added
        qint64 skipped = 0; // lines that were no report
        bool known = false; // the log had been read before (maybe under another name)
    };

    ReportDatabase() = default;
    ~ReportDatabase();
    ReportDatabase(const ReportDatabase &) = delete;
    ReportDatabase &operator=(const ReportDatabase &) = delete;

    bool open(const QString &path, QString *error);
    // Reads a log (plain or gzip) from where an earlier load of the same log stopped. A log is
    // recognised by its first line, so a rotated copy (reports.log.1, reports.log.2.gz) of a
    // log read before continues where that left off.
    bool load(const QString &logPath, LoadResult *result, QString *error);

    sqlite3 *handle() const { return m_db; }

    // The schema, as documented in the README.
    static const char *schema();

private:
    bool exec(const char *sql, QString *error);
    QString lastError() const;

    sqlite3 *m_db = nullptr;
};
