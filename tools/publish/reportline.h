#pragma once

#include <string>
#include <string_view>

// One telemetry report read back from a log line: either the request line of an nginx access
// log (the "combined" format the nginx command's server block writes) or a JSON line of the
// serve command. Parsing works on the raw bytes and reuses its buffers, so that millions of
// lines load without a memory allocation per line.
class ReportLine
{
public:
    enum Field {
        Received, // UTC, "yyyy-MM-ddThh:mm:ss"
        Action,
        DeviceId,
        TransactionNo,
        LauncherVersion,
        GameVersion,
        TargetVersion,
        PackageKind,
        ErrorCode,
        ErrorReason,
        DownloadKbs,
        Channel,
        SubChannel,
        RegisterCps,
        ClientLanguage,
        Os,
        Env,
        Cts,
        LogTime,
        ExtMsg,
        FieldCount
    };

    // False for a line that is no report (another request, a broken or foreign line).
    bool parse(std::string_view line);
    const std::string &value(Field field) const { return m_values[field]; }

    // The step a failure action stands for ("download", "check", ...); empty for others.
    static std::string_view stepOf(std::string_view action);
    // "%41b" -> "Ab"; a "+" stays a "+" (the launcher encodes a plus sign as %2B).
    static void percentDecode(std::string_view in, std::string *out);
    // "07/Dec/2026:18:06:02 +0100" -> "2026-12-07T17:06:02"; false when it is not such a time.
    static bool nginxTimeToUtc(std::string_view in, std::string *out);

private:
    bool parseNginx(std::string_view line);
    bool parseJson(std::string_view line);
    void assign(std::string_view key, std::string_view rawValue, bool encoded);
    void clear();

    std::string m_values[FieldCount];
    std::string m_scratch;
};
