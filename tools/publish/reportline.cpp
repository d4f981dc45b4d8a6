#include "reportline.h"

#include <cstring>

namespace {

struct Key
{
    std::string_view name;
    ReportLine::Field field;
};

// The query keys a report carries that the database keeps; device_name and device_info are
// left behind on purpose (see the README's privacy paragraph).
constexpr Key kKeys[] = {
    {"action", ReportLine::Action},
    {"device_id", ReportLine::DeviceId},
    {"transaction_no", ReportLine::TransactionNo},
    {"version", ReportLine::LauncherVersion},
    {"game_version", ReportLine::GameVersion},
    {"target_version", ReportLine::TargetVersion},
    {"package_kind", ReportLine::PackageKind},
    {"error_code", ReportLine::ErrorCode},
    {"error_reason", ReportLine::ErrorReason},
    {"download_kbs", ReportLine::DownloadKbs},
    {"channel", ReportLine::Channel},
    {"sub_channel", ReportLine::SubChannel},
    {"register_cps", ReportLine::RegisterCps},
    {"client_language", ReportLine::ClientLanguage},
    {"os", ReportLine::Os},
    {"env", ReportLine::Env},
    {"cts", ReportLine::Cts},
    {"log_time", ReportLine::LogTime},
    {"extMsg", ReportLine::ExtMsg},
};

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool digits(std::string_view text, size_t from, size_t count, int *value)
{
    if (from + count > text.size())
        return false;
    int v = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
    }
    *value = v;
    return true;
}

// Days since 1970-01-01 of a civil date (Howard Hinnant's algorithm).
long long daysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097LL + doe - 719468;
}

void civilFromDays(long long z, int *y, int *m, int *d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    *d = int(doy - (153 * mp + 2) / 5 + 1);
    *m = int(mp < 10 ? mp + 3 : mp - 9);
    *y = int(yoe + era * 400 + (*m <= 2));
}

void appendUtf8(unsigned code, std::string *out)
{
    if (code < 0x80) {
        out->push_back(char(code));
    } else if (code < 0x800) {
        out->push_back(char(0xC0 | (code >> 6)));
        out->push_back(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out->push_back(char(0xE0 | (code >> 12)));
        out->push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out->push_back(char(0x80 | (code & 0x3F)));
    } else {
        out->push_back(char(0xF0 | (code >> 18)));
        out->push_back(char(0x80 | ((code >> 12) & 0x3F)));
        out->push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out->push_back(char(0x80 | (code & 0x3F)));
    }
}

// A JSON string starting after its opening quote at *pos; *pos ends after the closing quote.
bool readJsonString(std::string_view text, size_t *pos, std::string *out)
{
    out->clear();
    size_t i = *pos;
    while (i < text.size()) {
        const char c = text[i++];
        if (c == '"') {
            *pos = i;
            return true;
        }
        if (c != '\\') {
            out->push_back(c);
            continue;
        }
        if (i >= text.size())
            return false;
        const char e = text[i++];
        switch (e) {
        case '"':
        case '\\':
        case '/':
            out->push_back(e);
            break;
        case 'b':
            out->push_back('\b');
            break;
        case 'f':
            out->push_back('\f');
            break;
        case 'n':
            out->push_back('\n');
            break;
        case 'r':
            out->push_back('\r');
            break;
        case 't':
            out->push_back('\t');
            break;
        case 'u': {
            auto hex4 = [&](unsigned *code) {
                if (i + 4 > text.size())
                    return false;
                unsigned v = 0;
                for (int k = 0; k < 4; ++k) {
                    const int h = hexValue(text[i + k]);
                    if (h < 0)
                        return false;
                    v = v * 16 + unsigned(h);
                }
                i += 4;
                *code = v;
                return true;
            };
            unsigned code = 0;
            if (!hex4(&code))
                return false;
            if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i] == '\\' &&
                text[i + 1] == 'u') {
                i += 2;
                unsigned low = 0;
                if (!hex4(&low) || low < 0xDC00 || low > 0xDFFF)
                    return false;
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            }
            appendUtf8(code, out);
            break;
        }
        default:
            return false;
        }
    }
    return false;
}

void skipSpace(std::string_view text, size_t *pos)
{
    while (*pos < text.size() && (text[*pos] == ' ' || text[*pos] == '\t' || text[*pos] == '\r'))
        ++*pos;
}

} // namespace

std::string_view ReportLine::stepOf(std::string_view action)
{
    if (action == "LAUNCHER_DOWNLOAD_FAILED")
        return "download";
    if (action == "LAUNCHER_CHECK_FAILED")
        return "check";
    if (action == "LAUNCHER_UNPACK_FAILED")
        return "unpack";
    if (action == "LAUNCHER_REPAIR_FAILED")
        return "repair";
    if (action == "LAUNCHER_SELF_UPDATE_FAILED")
        return "launcher update";
    if (action == "LAUNCHER_SIGNATURE_FAILED")
        return "signature";
    return {};
}

void ReportLine::percentDecode(std::string_view in, std::string *out)
{
    out->clear();
    out->reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '%' && i + 2 < in.size()) {
            const int hi = hexValue(in[i + 1]);
            const int lo = hexValue(in[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out->push_back(char(hi * 16 + lo));
                i += 2;
                continue;
            }
        }
        out->push_back(in[i]);
    }
}

bool ReportLine::nginxTimeToUtc(std::string_view in, std::string *out)
{
    // dd/Mon/yyyy:hh:mm:ss +hhmm
    static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    int day = 0, year = 0, hour = 0, minute = 0, second = 0, offH = 0, offM = 0;
    if (in.size() < 26 || in[2] != '/' || in[6] != '/' || in[11] != ':' || in[20] != ' ' ||
        !digits(in, 0, 2, &day) || !digits(in, 7, 4, &year) || !digits(in, 12, 2, &hour) ||
        !digits(in, 15, 2, &minute) || !digits(in, 18, 2, &second) || !digits(in, 22, 2, &offH) ||
        !digits(in, 24, 2, &offM) || (in[21] != '+' && in[21] != '-'))
        return false;
    const char *found = nullptr;
    for (int m = 0; m < 12 && !found; ++m) {
        if (std::memcmp(kMonths + m * 3, in.data() + 3, 3) == 0)
            found = kMonths + m * 3;
    }
    if (!found || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return false;
    const int month = int(found - kMonths) / 3 + 1;
    const long long offset = (in[21] == '+' ? 1 : -1) * (offH * 3600LL + offM * 60LL);
    long long secs =
        daysFromCivil(year, month, day) * 86400LL + hour * 3600LL + minute * 60LL + second - offset;
    long long days = secs >= 0 ? secs / 86400 : (secs - 86399) / 86400;
    const long long rest = secs - days * 86400;
    int y = 0, m = 0, d = 0;
    civilFromDays(days, &y, &m, &d);
    char buffer[32];
    snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", y, m, d, int(rest / 3600),
             int(rest % 3600 / 60), int(rest % 60));
    out->assign(buffer);
    return true;
}

void ReportLine::clear()
{
    for (std::string &value : m_values)
        value.clear();
}

void ReportLine::assign(std::string_view key, std::string_view rawValue, bool encoded)
{
    for (const Key &known : kKeys) {
        if (known.name == key) {
            if (encoded)
                percentDecode(rawValue, &m_values[known.field]);
            else
                m_values[known.field].assign(rawValue);
            return;
        }
    }
}

bool ReportLine::parse(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    clear();
    const bool ok = !line.empty() && line.front() == '{' ? parseJson(line) : parseNginx(line);
    return ok && !m_values[Action].empty() && !m_values[Received].empty();
}

bool ReportLine::parseNginx(std::string_view line)
{
    const size_t open = line.find('[');
    const size_t close = open == std::string_view::npos ? open : line.find(']', open);
    if (close == std::string_view::npos ||
        !nginxTimeToUtc(line.substr(open + 1, close - open - 1), &m_values[Received]))
        return false;
    // nginx escapes a quote inside the request line as \x22, so the next quote ends it.
    const size_t quote = line.find('"', close);
    const size_t end = quote == std::string_view::npos ? quote : line.find('"', quote + 1);
    if (end == std::string_view::npos)
        return false;
    std::string_view request = line.substr(quote + 1, end - quote - 1);
    const size_t space = request.find(' ');
    if (space == std::string_view::npos || request.substr(0, space) != "GET")
        return false;
    request.remove_prefix(space + 1);
    const size_t protocol = request.rfind(" HTTP/");
    if (protocol != std::string_view::npos)
        request = request.substr(0, protocol);
    const size_t mark = request.find('?');
    if (mark == std::string_view::npos || request.substr(0, mark) != "/client_report")
        return false;
    std::string_view query = request.substr(mark + 1);
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const size_t eq = pair.find('=');
        if (eq != std::string_view::npos)
            assign(pair.substr(0, eq), pair.substr(eq + 1), true);
        if (amp == std::string_view::npos)
            break;
        query.remove_prefix(amp + 1);
    }
    return true;
}

bool ReportLine::parseJson(std::string_view line)
{
    size_t pos = 1;
    std::string key;
    std::string &value = m_scratch;
    skipSpace(line, &pos);
    if (pos < line.size() && line[pos] == '}')
        return false;
    while (pos < line.size()) {
        skipSpace(line, &pos);
        if (pos >= line.size() || line[pos++] != '"' || !readJsonString(line, &pos, &key))
            return false;
        skipSpace(line, &pos);
        if (pos >= line.size() || line[pos++] != ':')
            return false;
        skipSpace(line, &pos);
        if (pos >= line.size())
            return false;
        if (line[pos] == '"') {
            ++pos;
            if (!readJsonString(line, &pos, &value))
                return false;
            if (key == "received")
                m_values[Received].assign(value, 0, 19);
            else
                assign(key, value, false);
        } else if (line[pos] == '{') {
            // The extra message: back to its "key:value;" form.
            ++pos;
            std::string joined;
            std::string inner;
            skipSpace(line, &pos);
            if (pos < line.size() && line[pos] == '}') {
                ++pos;
            } else {
                while (true) {
                    skipSpace(line, &pos);
                    if (pos >= line.size() || line[pos++] != '"' ||
                        !readJsonString(line, &pos, &inner))
                        return false;
                    joined += inner;
                    joined += ':';
                    skipSpace(line, &pos);
                    if (pos >= line.size() || line[pos++] != ':')
                        return false;
                    skipSpace(line, &pos);
                    if (pos >= line.size() || line[pos++] != '"' ||
                        !readJsonString(line, &pos, &inner))
                        return false;
                    joined += inner;
                    joined += ';';
                    skipSpace(line, &pos);
                    if (pos < line.size() && line[pos] == ',') {
                        ++pos;
                        continue;
                    }
                    if (pos < line.size() && line[pos] == '}') {
                        ++pos;
                        break;
                    }
                    return false;
                }
            }
            assign(key, joined, false);
        } else {
            return false;
        }
        skipSpace(line, &pos);
        if (pos < line.size() && line[pos] == ',') {
            ++pos;
            continue;
        }
        return pos < line.size() && line[pos] == '}';
    }
    return false;
}
