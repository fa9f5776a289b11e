#include "ConfigurationRecord.h"

#include "DeployLog.h"
#include "ExitStatus.h"
#include "Registry.h"
#include "WinlogonKeys.h"

#include <cstring>

namespace {

CRegistryKey OpenTollveyKey(bool create)
{
    return create ? CRegistry::Instance().CreateKey(CRegistry::rootLocalMachine, tollveyPath)
                  : CRegistry::Instance().OpenKey(CRegistry::rootLocalMachine, tollveyPath);
}

bool Holds(const CRegistryKey& key, const char* name, const char* text)
{
    CValueRead value;
    key.Read(name, value);
    return value.state == CValueRead::read && value.type == regSz && std::strcmp(value.text.GetText(), text) == 0;
}

void ForgetRefusal(CRegistryKey& key)
{
    static_cast<void>(key.DeleteValue(refusedVersionValue));
    static_cast<void>(key.DeleteValue(refusedBecauseValue));
}

} // namespace

bool IsRecorded(const char* version)
{
    return Holds(OpenTollveyKey(false), configurationVersionValue, version);
}

unsigned RecordVersion(const char* version, CRunReport& report)
{
    CRegistryKey key = OpenTollveyKey(true);
    const bool same = Holds(key, configurationVersionValue, version);
    ForgetRefusal(key);
    const CSystemStatus written = key.WriteString(configurationVersionValue, version);
    if (!written) {
        report.Say("ConfigurationVersion could not be written", written);
        return exitDeployWriteFailed;
    }
    report.Say({"configuration version ", version, same ? " recorded, as before" : " recorded, new here"});
    return same ? exitRecordedBefore : exitRestartApplies;
}

bool RemoveVersion(bool off, CRunReport& report)
{
    CRegistryKey key = OpenTollveyKey(false);
    if (off)
        ForgetRefusal(key);
    const CSystemStatus deleted = key.DeleteValue(configurationVersionValue);
    if (deleted || deleted.GetCode() == ERROR_FILE_NOT_FOUND) {
        report.Say(deleted ? "configuration version removed" : "configuration version: none recorded");
        return true;
    }
    report.Say("ConfigurationVersion could not be removed", deleted);
    return false;
}

bool WasRefused(const char* version, CHeapString& because)
{
    const CRegistryKey key = OpenTollveyKey(false);
    if (!Holds(key, refusedVersionValue, version))
        return false;
    CValueRead kept;
    key.Read(refusedBecauseValue, kept);
    because = kept.text;
    return true;
}

bool KeepRefusal(const char* version, const char* why)
{
    CHeapString because;
    AppendTime(because);
    because.Append(why);
    CRegistryKey key = OpenTollveyKey(true);
    return key.WriteString(refusedVersionValue, version) && key.WriteString(refusedBecauseValue, because.GetText());
}
