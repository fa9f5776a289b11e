#include "CmdLineArg.h"

bool CCmdLineArg::SetValue(const char*)
{
    m_given = true;
    return true;
}

const char* CCmdLineArgString::GetValueChoices()
{
    m_choices.Assign("");
    for (size_t i = 0; i < m_allowedValues.size(); ++i) {
        m_choices.Append(i == 0 ? "{" : "|");
        m_choices.Append(m_allowedValues[i]);
    }
    if (!m_choices.IsEmpty())
        m_choices.Append("}");
    return m_choices.GetText();
}

bool CCmdLineArgString::IsValidValue(const char* text) const
{
    if (m_allowedValues.empty())
        return true;
    for (const CHeapString& allowed : m_allowedValues) {
        if (EqualsIgnoreCase(text, allowed.GetText()))
            return true;
    }
    return false;
}

bool CCmdLineArgString::SetValue(const char* text)
{
    CCmdLineArg::SetValue(text);
    m_value.Assign(text);
    return true;
}

void CCmdLineArgString::AddAllowedValue(const char* value)
{
    m_allowedValues.push_back(CHeapString(value));
}

const char* CCmdLineArgString::GetValue() const
{
    return IsGiven() ? m_value.GetText() : m_defaultValue.GetText();
}

bool CCmdLineArgToggle::IsValidValue(const char* text) const
{
    return text[0] == '\0' || ((text[0] == '+' || text[0] == '-') && text[1] == '\0');
}

bool CCmdLineArgToggle::SetValue(const char* text)
{
    CCmdLineArg::SetValue(text);
    if (text[0] != '\0' && text[0] != '+' && text[0] != '-')
        return false;
    m_state = text[0] != '-';
    return true;
}
