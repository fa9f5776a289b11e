#include "ProbeOutput.h"

#include <cstdlib>

namespace {

std::string Unescape(const std::string& line)
{
    std::string text;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 3 < line.size() && line[i + 1] == 'x') {
            text += static_cast<char>(std::strtol(line.substr(i + 2, 2).c_str(), nullptr, 16));
            i += 3;
        } else {
            text += line[i];
        }
    }
    return text;
}

} // namespace

bool ParseProbeOutput(const std::string& output, CProbeReport& report)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos)
            return false;
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(Unescape(line));
        start = end + 1;
    }
    if (lines.size() < 2)
        return false;
    report.path = lines[0];
    report.directory = lines[1];
    report.arguments.assign(lines.begin() + 2, lines.end());
    return true;
}
