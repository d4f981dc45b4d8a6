#include "reportdashboard.h"

#include <QDateTime>
#include <QDir>
#include <QMap>
#include <QSaveFile>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "errordefine.h"

namespace {

const char *const kPalette[] = {"#2f6db5", "#d9534f", "#5cb85c", "#f0ad4e",
                                "#8e6bbf", "#3fb0b7", "#b0764a", "#7a7a7a"};

// Finished installs: an install without an installed version is a first installation, one
// with it an update (launchers older than the version fields count as installations).
const char kInstalled[] = "action = 'LAUNCHER_HOME_INSTALL_FINISH' AND game_version IS NULL";
const char kUpdated[] = "action = 'LAUNCHER_HOME_INSTALL_FINISH' AND game_version IS NOT NULL";

QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

QString text(sqlite3_stmt *statement, int column)
{
    const auto *value = sqlite3_column_text(statement, column);
    return value ? QString::fromUtf8(reinterpret_cast<const char *>(value)) : QString();
}

QString number(double value)
{
    return value == std::floor(value) && std::abs(value) < 1e15 ? QString::number(qint64(value))
                                                                : QString::number(value, 'f', 1);
}

// A round upper bound for an axis: 1, 2 or 5 times a power of ten.
double niceMax(double value)
{
    if (value <= 0)
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (double step : {1.0, 2.0, 5.0, 10.0}) {
        if (step * power >= value)
            return step * power;
    }
    return 10 * power;
}

struct Frame
{
    int width = 760;
    int height = 260;
    int left = 56;
    int right = 16;
    int top = 28;
    int bottom = 48;
    int plotWidth() const { return width - left - right; }
    int plotHeight() const { return height - top - bottom; }
};

QString chartStart(const QString &title, const Frame &frame, double max)
{
    QString svg = QStringLiteral("<svg class=\"chart\" xmlns=\"http://www.w3.org/2000/svg\" "
                                 "width=\"%1\" height=\"%2\" viewBox=\"0 0 %1 %2\" role=\"img\" "
                                 "aria-label=\"%3\"><title>%3</title>\n")
                      .arg(frame.width)
                      .arg(frame.height)
                      .arg(esc(title));
    for (int i = 0; i <= 4; ++i) {
        const double y = frame.top + frame.plotHeight() * (1.0 - i / 4.0);
        svg += QStringLiteral("<line x1=\"%1\" x2=\"%2\" y1=\"%3\" y2=\"%3\" stroke=\"#ddd\"/>"
                              "<text x=\"%4\" y=\"%5\" text-anchor=\"end\" font-size=\"11\">%6"
                              "</text>\n")
                   .arg(frame.left)
                   .arg(frame.width - frame.right)
                   .arg(y, 0, 'f', 1)
                   .arg(frame.left - 4)
                   .arg(y + 4, 0, 'f', 1)
                   .arg(number(max * i / 4.0));
    }
    return svg;
}

QString xLabels(const QStringList &labels, const Frame &frame)
{
    QString svg;
    const double slot = double(frame.plotWidth()) / std::max<qsizetype>(1, labels.size());
    // At most about twelve labels, or they overlap.
    const int every = std::max(1, int(std::ceil(labels.size() / 12.0)));
    for (int i = 0; i < labels.size(); i += every) {
        svg += QStringLiteral("<text x=\"%1\" y=\"%2\" text-anchor=\"middle\" "
                              "font-size=\"11\">%3</text>\n")
                   .arg(frame.left + slot * (i + 0.5), 0, 'f', 1)
                   .arg(frame.top + frame.plotHeight() + 16)
                   .arg(esc(labels.at(i)));
    }
    return svg;
}

QString legend(const QList<ReportDashboard::Series> &series, const Frame &frame)
{
    QString svg;
    double x = frame.left;
    for (int i = 0; i < series.size(); ++i) {
        const char *colour = kPalette[i % 8];
        svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"10\" height=\"10\" fill=\"%3\"/>"
                              "<text x=\"%4\" y=\"%5\" font-size=\"11\">%6</text>\n")
                   .arg(x, 0, 'f', 1)
                   .arg(frame.height - 18)
                   .arg(QLatin1String(colour))
                   .arg(x + 14, 0, 'f', 1)
                   .arg(frame.height - 9)
                   .arg(esc(series.at(i).name));
        x += 24 + series.at(i).name.size() * 7;
    }
    return svg;
}

double maxOf(const QList<ReportDashboard::Series> &series)
{
    double max = 0;
    for (const auto &one : series) {
        for (double value : one.values)
            max = std::max(max, value);
    }
    return niceMax(max);
}

QString table(const QStringList &headers, const QList<QStringList> &rows,
              const QList<QString> &rowAttributes = {})
{
    QString html = QStringLiteral("<table><thead><tr>");
    for (const QString &header : headers)
        html += QStringLiteral("<th>") + esc(header) + QStringLiteral("</th>");
    html += QStringLiteral("</tr></thead><tbody>\n");
    for (int r = 0; r < rows.size(); ++r) {
        html += QStringLiteral("<tr") + rowAttributes.value(r) + QLatin1Char('>');
        for (int c = 0; c < rows.at(r).size(); ++c) {
            // The first column names the row; the others are numbers.
            html += (c == 0 ? QStringLiteral("<th scope=\"row\">") : QStringLiteral("<td>")) +
                    esc(rows.at(r).at(c)) +
                    (c == 0 ? QStringLiteral("</th>") : QStringLiteral("</td>"));
        }
        html += QStringLiteral("</tr>\n");
    }
    if (rows.isEmpty())
        html +=
            QStringLiteral("<tr><td colspan=\"%1\">No reports.</td></tr>\n").arg(headers.size());
    return html + QStringLiteral("</tbody></table>\n");
}

QString attribute(const QString &name, const QString &value)
{
    return QStringLiteral(" data-%1=\"%2\"").arg(name, esc(value));
}

} // namespace

QString ReportDashboard::barChart(const QString &title, const QStringList &labels,
                                  const QList<Series> &series)
{
    const Frame frame;
    const double max = maxOf(series);
    QString svg = chartStart(title, frame, max);
    const double slot = double(frame.plotWidth()) / std::max<qsizetype>(1, labels.size());
    const double barWidth = slot * 0.8 / std::max<qsizetype>(1, series.size());
    for (int s = 0; s < series.size(); ++s) {
        for (int i = 0; i < labels.size(); ++i) {
            const double value = series.at(s).values.value(i);
            const double h = frame.plotHeight() * value / max;
            svg += QStringLiteral("<rect class=\"bar\" x=\"%1\" y=\"%2\" width=\"%3\" "
                                  "height=\"%4\" fill=\"%5\"><title>%6 %7: %8</title></rect>\n")
                       .arg(frame.left + slot * i + slot * 0.1 + barWidth * s, 0, 'f', 1)
                       .arg(frame.top + frame.plotHeight() - h, 0, 'f', 1)
                       .arg(barWidth, 0, 'f', 1)
                       .arg(h, 0, 'f', 1)
                       .arg(QLatin1String(kPalette[s % 8]))
                       .arg(esc(series.at(s).name), esc(labels.at(i)), number(value));
        }
    }
    return svg + xLabels(labels, frame) + legend(series, frame) + QStringLiteral("</svg>\n");
}

QString ReportDashboard::lineChart(const QString &title, const QStringList &labels,
                                   const QList<Series> &series)
{
    const Frame frame;
    const double max = maxOf(series);
    QString svg = chartStart(title, frame, max);
    const double slot = double(frame.plotWidth()) / std::max<qsizetype>(1, labels.size());
    for (int s = 0; s < series.size(); ++s) {
        QStringList points;
        for (int i = 0; i < labels.size(); ++i) {
            const double value = series.at(s).values.value(i);
            points << QStringLiteral("%1,%2")
                          .arg(frame.left + slot * (i + 0.5), 0, 'f', 1)
                          .arg(frame.top + frame.plotHeight() * (1.0 - value / max), 0, 'f', 1);
        }
        svg += QStringLiteral("<polyline class=\"line\" fill=\"none\" stroke=\"%1\" "
                              "stroke-width=\"2\" points=\"%2\"><title>%3</title></polyline>\n")
                   .arg(QLatin1String(kPalette[s % 8]), points.join(QLatin1Char(' ')),
                        esc(series.at(s).name));
        // A single day is a point, not a line.
        if (labels.size() == 1)
            svg += QStringLiteral("<circle cx=\"%1\" fill=\"%2\" r=\"4\" cy=\"%3\"/>\n")
                       .arg(points.first().section(QLatin1Char(','), 0, 0),
                            QLatin1String(kPalette[s % 8]),
                            points.first().section(QLatin1Char(','), 1));
    }
    return svg + xLabels(labels, frame) + legend(series, frame) + QStringLiteral("</svg>\n");
}

namespace {

// Runs one query and hands each row to the callback; false with *error on an SQL error.
bool forEachRow(sqlite3 *db, const QString &sql, const std::function<void(sqlite3_stmt *)> &row,
                QString *error)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        row(statement);
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    return true;
}

double percentile(const std::vector<double> &sorted, double p)
{
    if (sorted.empty())
        return 0;
    // Nearest rank.
    const auto rank = size_t(std::ceil(p / 100.0 * double(sorted.size())));
    return sorted[std::min(sorted.size(), std::max<size_t>(rank, 1)) - 1];
}

} // namespace

QString ReportDashboard::summary()
{
    QString html;
    forEachRow(
        m_db,
        QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT device_id), MIN(day), MAX(day), "
                       "SUM(%1), SUM(%2), SUM(step IS NOT NULL) FROM reports")
            .arg(QLatin1String(kInstalled), QLatin1String(kUpdated)),
        [&](sqlite3_stmt *row) {
            const QStringList names{"reports", "devices", "installs", "updates", "failures"};
            const QList<qint64> values{sqlite3_column_int64(row, 0), sqlite3_column_int64(row, 1),
                                       sqlite3_column_int64(row, 4), sqlite3_column_int64(row, 5),
                                       sqlite3_column_int64(row, 6)};
            html += QStringLiteral("<p class=\"period\">From %1 to %2 (UTC).</p>\n<dl "
                                   "class=\"summary\">")
                        .arg(esc(text(row, 2)), esc(text(row, 3)));
            for (int i = 0; i < names.size(); ++i)
                html += QStringLiteral("<div id=\"total-%1\"><dt>%1</dt><dd>%2</dd></div>")
                            .arg(names.at(i))
                            .arg(values.at(i));
            html += QStringLiteral("</dl>\n");
        },
        &m_error);
    return html;
}

QString ReportDashboard::perDay()
{
    QStringList days;
    Series installs{QStringLiteral("installs"), {}};
    Series updates{QStringLiteral("updates"), {}};
    QList<QStringList> rows;
    QList<QString> attributes;
    forEachRow(
        m_db,
        QStringLiteral("SELECT day, SUM(%1), SUM(%2) FROM reports GROUP BY day "
                       "HAVING SUM(%1) + SUM(%2) > 0 ORDER BY day")
            .arg(QLatin1String(kInstalled), QLatin1String(kUpdated)),
        [&](sqlite3_stmt *row) {
            days << text(row, 0);
            installs.values << double(sqlite3_column_int64(row, 1));
            updates.values << double(sqlite3_column_int64(row, 2));
            rows << QStringList{days.last(), number(installs.values.last()),
                                number(updates.values.last())};
            attributes << attribute(QStringLiteral("day"), days.last());
        },
        &m_error);
    return QStringLiteral("<section id=\"per-day\"><h2>Installs and updates per day</h2>\n") +
           barChart(QStringLiteral("Installs and updates per day"), days, {installs, updates}) +
           // A year of days is a long table: folded, which needs no script either.
           QStringLiteral("<details><summary>Numbers per day</summary>\n") +
           table({"day", "installs", "updates"}, rows, attributes) +
           QStringLiteral("</details></section>\n");
}

QString ReportDashboard::failures()
{
    // The rate is per started install or update: how many of them end in this failure.
    qint64 attempts = 0;
    forEachRow(
        m_db,
        QStringLiteral("SELECT COUNT(*) FROM reports WHERE action IN "
                       "('LAUNCHER_HOME_DOWNLOAD', 'LAUNCHER_UPDATE_GAME', "
                       "'LAUNCHER_GAME_REPAIR')"),
        [&](sqlite3_stmt *row) { attempts = sqlite3_column_int64(row, 0); }, &m_error);
    QStringList labels;
    Series counts{QStringLiteral("failures"), {}};
    QList<QStringList> rows;
    QList<QString> attributes;
    forEachRow(
        m_db,
        QStringLiteral("SELECT step, error_code, COUNT(*), MAX(error_reason) FROM reports "
                       "WHERE step IS NOT NULL GROUP BY step, error_code "
                       "ORDER BY COUNT(*) DESC, step, error_code"),
        [&](sqlite3_stmt *row) {
            const QString step = text(row, 0);
            const QString code = text(row, 1);
            const qint64 count = sqlite3_column_int64(row, 2);
            const QString name = ErrorDefine::errorName(code.toInt());
            labels << step + QLatin1Char(' ') + code;
            counts.values << double(count);
            rows << QStringList{step,
                                code,
                                name,
                                QString::number(count),
                                attempts > 0 ? QString::number(100.0 * count / attempts, 'f', 1) +
                                                   QLatin1Char('%')
                                             : QStringLiteral("-"),
                                text(row, 3)};
            attributes << attribute(QStringLiteral("step"), step) +
                              attribute(QStringLiteral("code"), code);
        },
        &m_error);
    return QStringLiteral("<section id=\"failures\"><h2>Failures by step and error code</h2>\n"
                          "<p>Rate: failures per started install, update or repair (%1).</p>\n")
               .arg(attempts) +
           barChart(QStringLiteral("Failures by step and error code"), labels, {counts}) +
           table({"step", "code", "error", "failures", "rate", "a reason"}, rows, attributes) +
           QStringLiteral("</section>\n");
}

QString ReportDashboard::finishedByVersion()
{
    QStringList labels;
    Series counts{QStringLiteral("finished"), {}};
    QList<QStringList> rows;
    QList<QString> attributes;
    forEachRow(
        m_db,
        QStringLiteral("SELECT COALESCE(target_version, '?'), COUNT(*), SUM(%1), SUM(%2) "
                       "FROM reports WHERE action = 'LAUNCHER_HOME_INSTALL_FINISH' "
                       "GROUP BY 1 ORDER BY 1")
            .arg(QLatin1String(kInstalled), QLatin1String(kUpdated)),
        [&](sqlite3_stmt *row) {
            labels << text(row, 0);
            counts.values << double(sqlite3_column_int64(row, 1));
            rows << QStringList{labels.last(), text(row, 1), text(row, 2), text(row, 3)};
            attributes << attribute(QStringLiteral("version"), labels.last());
        },
        &m_error);
    return QStringLiteral("<section id=\"finished\"><h2>Finished installs and updates by game "
                          "version</h2>\n") +
           barChart(QStringLiteral("Finished by game version"), labels, {counts}) +
           table({"game version", "finished", "installs", "updates"}, rows, attributes) +
           QStringLiteral("</section>\n");
}

QString ReportDashboard::adoption(const QString &title, const QString &id,
                                  const char *versionExpression)
{
    // Devices per version and day; a device that changed version that day counts for both.
    QStringList days;
    QMap<QString, QMap<QString, qint64>> byVersion;
    forEachRow(
        m_db,
        QStringLiteral("SELECT day, %1 AS v, COUNT(DISTINCT device_id) FROM reports "
                       "WHERE v IS NOT NULL GROUP BY day, v ORDER BY day")
            .arg(QLatin1String(versionExpression)),
        [&](sqlite3_stmt *row) {
            const QString day = text(row, 0);
            if (days.isEmpty() || days.last() != day)
                days << day;
            byVersion[text(row, 1)][day] = sqlite3_column_int64(row, 2);
        },
        &m_error);
    QList<Series> series;
    QList<QStringList> rows;
    QList<QString> attributes;
    for (auto it = byVersion.cbegin(); it != byVersion.cend(); ++it) {
        Series one{it.key(), {}};
        for (const QString &day : days)
            one.values << double(it.value().value(day));
        series << one;
        rows << QStringList{
            it.key(), number(one.values.last()),
            QString::number(*std::max_element(one.values.cbegin(), one.values.cend()))};
        attributes << attribute(QStringLiteral("version"), it.key());
    }
    return QStringLiteral("<section id=\"%1\"><h2>%2</h2>\n").arg(id, esc(title)) +
           lineChart(title, days, series) +
           table({"version", "devices on the last day", "most devices in a day"}, rows,
                 attributes) +
           QStringLiteral("</section>\n");
}

QString ReportDashboard::speeds()
{
    QStringList days;
    Series median{QStringLiteral("median"), {}};
    Series p90{QStringLiteral("90th percentile"), {}};
    std::vector<double> all;
    std::vector<double> today;
    QString current;
    auto closeDay = [&]() {
        if (current.isEmpty())
            return;
        days << current;
        median.values << percentile(today, 50);
        p90.values << percentile(today, 90);
        today.clear();
    };
    forEachRow(
        m_db,
        QStringLiteral("SELECT day, download_kbs FROM reports WHERE download_kbs IS NOT "
                       "NULL ORDER BY day, download_kbs"),
        [&](sqlite3_stmt *row) {
            const QString day = text(row, 0);
            if (day != current) {
                closeDay();
                current = day;
            }
            const double value = sqlite3_column_double(row, 1);
            today.push_back(value);
            all.push_back(value);
        },
        &m_error);
    closeDay();
    std::sort(all.begin(), all.end());
    QList<QStringList> rows;
    QList<QString> attributes;
    for (double p : {10.0, 50.0, 90.0, 99.0}) {
        rows << QStringList{QStringLiteral("p%1").arg(p), number(percentile(all, p))};
        attributes << attribute(QStringLiteral("percentile"), QString::number(p));
    }
    return QStringLiteral("<section id=\"speeds\"><h2>Download speed (KiB/s)</h2>\n<p>Over "
                          "%1 finished downloads.</p>\n")
               .arg(all.size()) +
           lineChart(QStringLiteral("Download speed per day, KiB/s"), days, {median, p90}) +
           table({"percentile", "KiB/s"}, all.empty() ? QList<QStringList>() : rows,
                 all.empty() ? QList<QString>() : attributes) +
           QStringLiteral("</section>\n");
}

QString ReportDashboard::failingPackages()
{
    QList<QStringList> rows;
    QList<QString> attributes;
    forEachRow(
        m_db,
        QStringLiteral("SELECT COALESCE(target_version, '?'), COALESCE(package_kind, '?'), "
                       "COALESCE(game_version, ''), COUNT(*), "
                       "GROUP_CONCAT(DISTINCT step) FROM reports WHERE step IS NOT NULL "
                       "GROUP BY 1, 2, 3 ORDER BY COUNT(*) DESC LIMIT 20"),
        [&](sqlite3_stmt *row) {
            rows << QStringList{text(row, 0), text(row, 1), text(row, 2), text(row, 3),
                                text(row, 4)};
            attributes << attribute(QStringLiteral("version"), text(row, 0)) +
                              attribute(QStringLiteral("kind"), text(row, 1));
        },
        &m_error);
    return QStringLiteral("<section id=\"failing\"><h2>Packages and versions that fail "
                          "most</h2>\n") +
           table({"target version", "package", "from version", "failures", "steps"}, rows,
                 attributes) +
           QStringLiteral("</section>\n");
}

bool ReportDashboard::write(const QString &folder, QString *error)
{
    m_error.clear();
    QString body = summary() + perDay() + failures() + finishedByVersion() +
                   adoption(QStringLiteral("Game version adoption (devices per day)"),
                            QStringLiteral("game-adoption"),
                            "CASE WHEN action = 'LAUNCHER_HOME_INSTALL_FINISH' THEN "
                            "target_version ELSE game_version END") +
                   adoption(QStringLiteral("Launcher version adoption (devices per day)"),
                            QStringLiteral("launcher-adoption"), "launcher_version") +
                   speeds() + failingPackages();
    if (!m_error.isEmpty()) {
        *error = m_error;
        return false;
    }
    const QString html =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
                       "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
                       "style-src 'unsafe-inline'; img-src data:\">\n"
                       "<title>Launcher reports</title>\n<style>\n"
                       "body{font-family:sans-serif;margin:2em auto;max-width:800px;color:#222}\n"
                       "table{border-collapse:collapse;margin:.5em 0 1.5em}\n"
                       "th,td{border-bottom:1px solid #ddd;padding:3px 10px;text-align:right}\n"
                       "th[scope=row],thead th{text-align:left}\n"
                       "dl.summary{display:flex;gap:2em}dl.summary dd{font-size:1.6em;margin:0}\n"
                       "svg.chart{display:block;max-width:100%;height:auto}\n"
                       "</style></head><body>\n<h1>Launcher reports</h1>\n<p>Written %1 UTC.</p>\n")
            .arg(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd hh:mm"))) +
        body + QStringLiteral("</body></html>\n");
    if (!QDir().mkpath(folder)) {
        *error = folder + QStringLiteral(": cannot create");
        return false;
    }
    QSaveFile file(QDir(folder).filePath(QStringLiteral("index.html")));
    if (!file.open(QIODevice::WriteOnly) || file.write(html.toUtf8()) < 0 || !file.commit()) {
        *error = file.fileName() + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}
