// CRunReport: what a run of the deployment tells, a line at a time: on standard output and in the
// log as it goes, and all of it in the run's event at the end.
#pragma once

#include "DeployLog.h"
#include "HeapString.h"
#include "SystemStatus.h"

#include <initializer_list>

class CRunReport
{
public:
    explicit CRunReport(CDeployLog& log) : m_log(log) {}
    CRunReport(const CRunReport&) = delete;
    CRunReport& operator=(const CRunReport&) = delete;

    void Say(const char* line);
    void Say(std::initializer_list<const char*> parts);
    // What, then Windows' words for the status.
    void Say(const char* what, CSystemStatus status);
    // Lines that each end in a newline, each after the prefix; empty ones are left out.
    void SayLines(const char* lines, const char* prefix);

    const char* GetText() const { return m_text.GetText(); }

private:
    CDeployLog& m_log;
    CHeapString m_text;
};
