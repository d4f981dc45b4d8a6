#include "autostart.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <QString>

#include <cstdlib>

namespace platform {

namespace {

QString configHome()
{
    // XDG: a relative XDG_CONFIG_HOME is invalid and must be ignored.
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')
        return QString::fromLocal8Bit(xdg);
    return QDir::homePath() + QLatin1String("/.config");
}

// Exec quoting: one double-quoted argument with ", `, $ and \ escaped, and % doubled (field
// codes), so any path (spaces, quotes, dollars) reaches the program unchanged.
QString quoteExecArgument(const QString &program)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    return quoted;
}

// Desktop-entry string escaping, applied to the whole Exec value on top of the quoting.
QString escapeValue(const QString &value)
{
    QString out;
    for (const QChar c : value) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out;
}

QString unescapeValue(const QString &value)
{
    QString out;
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        if (next == QLatin1Char('s'))
            out += QLatin1Char(' ');
        else if (next == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (next == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (next == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else
            out += next;
    }
    return out;
}

// The program (first argument) of an unescaped Exec value.
QString firstExecArgument(const QString &exec)
{
    const QString text = exec.trimmed();
    QString arg;
    if (text.startsWith(QLatin1Char('"'))) {
        for (int i = 1; i < text.size(); ++i) {
            QChar c = text.at(i);
            if (c == QLatin1Char('"'))
                break;
            if (c == QLatin1Char('\\') && i + 1 < text.size())
                c = text.at(++i);
            arg += c;
        }
    } else {
        arg = text.section(QLatin1Char(' '), 0, 0);
    }
    return arg.replace(QLatin1String("%%"), QLatin1String("%"));
}

} // namespace

std::string autoStartLocation(const std::string &name)
{
    const QString path = configHome() + QLatin1String("/autostart/") +
                         QString::fromStdString(name) + QLatin1String(".desktop");
    return path.toStdString();
}

std::string autoStartProgram(const std::string &name)
{
    QFile file(QString::fromStdString(autoStartLocation(name)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.readAll().split('\n');
    bool inEntry = false;
    bool hidden = false;
    QString program;
    for (const QByteArray &raw : lines) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (!inEntry || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("Hidden"))
            hidden = value == QLatin1String("true");
        else if (key == QLatin1String("Exec"))
            program = firstExecArgument(unescapeValue(value));
    }
    return hidden ? std::string() : program.toStdString();
}

bool setAutoStart(const std::string &name, const std::string &program, bool enabled)
{
    const QString path = QString::fromStdString(autoStartLocation(name));
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    const QString exec = escapeValue(quoteExecArgument(QString::fromStdString(program)));
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=%1\n"
                                  "Exec=%2\n"
                                  "Hidden=%3\n"
                                  "X-GNOME-Autostart-enabled=%4\n")
                       .arg(escapeValue(QString::fromStdString(name)), exec,
                            enabled ? QStringLiteral("false") : QStringLiteral("true"),
                            enabled ? QStringLiteral("true") : QStringLiteral("false"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}

} // namespace platform
