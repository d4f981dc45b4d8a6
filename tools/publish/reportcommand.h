#pragma once

#include <QStringList>

// "lunmere-publish report LOG... --db FILE --html DIR": loads telemetry logs into the report
// database and writes the dashboard. Returns the program's exit code.
int reportCommand(const QStringList &arguments);
