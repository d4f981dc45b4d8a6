#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct sqlite3;

// Writes the report database as one static HTML page: tables with the numbers and inline SVG
// charts of them, no script and nothing fetched from elsewhere, so it reads the same in any
// browser, with or without JavaScript, and from a file: address.
class ReportDashboard
{
public:
    explicit ReportDashboard(sqlite3 *db)
        : m_db(db)
    {}

    // Writes DIR/index.html (replacing it whole).
    bool write(const QString &folder, QString *error);

    // A named row of values for the charts.
    struct Series
    {
        QString name;
        QList<double> values;
    };
    // Bars per label, one bar per series side by side.
    static QString barChart(const QString &title, const QStringList &labels,
                            const QList<Series> &series);
    // One line per series over the labels.
    static QString lineChart(const QString &title, const QStringList &labels,
                             const QList<Series> &series);

private:
    QString summary();
    QString perDay();
    QString failures();
    QString finishedByVersion();
    QString adoption(const QString &title, const QString &id, const char *versionExpression);
    QString speeds();
    QString failingPackages();

    sqlite3 *m_db;
    QString m_error;
};
