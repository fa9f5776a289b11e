// Reads back what tollvey_probe printed.
#pragma once

#include <string>
#include <vector>

struct CProbeReport
{
    std::string path;      // GetExecutablePath
    std::string directory; // GetExecutableDirectory
    std::vector<std::string> arguments; // argv from 1 on
};

// False when the output does not have the probe's shape.
bool ParseProbeOutput(const std::string& output, CProbeReport& report);
