#include "systeminfo.h"

#include <fstream>
#include <sstream>

namespace platform {

namespace {

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

std::string processorName()
{
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        if (trimmed(line.substr(0, colon)) == "model name")
            return trimmed(line.substr(colon + 1));
    }
    return {};
}

bool physicalMemory(unsigned long long *availableBytes, unsigned long long *totalBytes)
{
    std::ifstream in("/proc/meminfo");
    std::string line;
    bool haveAvailable = false;
    bool haveTotal = false;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string key;
        unsigned long long kib = 0;
        if (!(fields >> key >> kib))
            continue;
        if (key == "MemAvailable:") {
            *availableBytes = kib * 1024;
            haveAvailable = true;
        } else if (key == "MemTotal:") {
            *totalBytes = kib * 1024;
            haveTotal = true;
        }
    }
    return haveAvailable && haveTotal;
}

} // namespace platform
