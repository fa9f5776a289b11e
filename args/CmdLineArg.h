// Command-line argument objects: a string-valued argument and an on/off toggle.
#pragma once

#include "HeapString.h"
#include "OutOfMemory.h"

#include <cstdint>
#include <vector>

class CCmdLineArg
{
public:
    static const uint32_t flagPositional = 2;
    static const uint32_t flagRequired = 4;

    CCmdLineArg(const CCmdLineArg&) = delete;
    CCmdLineArg& operator=(const CCmdLineArg&) = delete;
    virtual ~CCmdLineArg() = default;

    virtual const char* GetValuePlaceholder() const = 0;
    virtual bool TakesValue() const { return true; }
    virtual const char* GetValueChoices() = 0;
    virtual bool IsValidValue(const char* text) const = 0;
    virtual bool SetValue(const char* text);

    const char* GetName() const { return m_name.GetText(); }
    const char* GetDescription() const { return m_description.GetText(); }
    bool IsGiven() const { return m_given; }
    bool IsRequired() const { return (m_flags & flagRequired) != 0; }
    bool IsPositional() const { return (m_flags & flagPositional) != 0; }
    bool IsNamed() const { return !IsPositional(); }

protected:
    CCmdLineArg(const char* name, const char* description, uint32_t flags)
        : m_name(name), m_description(description), m_flags(flags) {}

private:
    CHeapString m_name;
    CHeapString m_description;
    uint32_t m_flags;
    bool m_given = false;
};

class CCmdLineArgString : public CCmdLineArg
{
public:
    CCmdLineArgString(const char* name, const char* description, const char* defaultValue,
                      uint32_t flags)
        : CCmdLineArg(name, description, flags), m_defaultValue(defaultValue) {}

    const char* GetValuePlaceholder() const override { return "<string>"; }
    const char* GetValueChoices() override;
    bool IsValidValue(const char* text) const override;
    bool SetValue(const char* text) override;

    // Restricts bare tokens to these values (ASCII case ignored); option tokens are not checked.
    void AddAllowedValue(const char* value);

    const char* GetValue() const;
    // The value when the argument was given; null when it was not.
    const char* GetGivenValue() const { return IsGiven() ? m_value.GetText() : nullptr; }

private:
    CHeapString m_defaultValue;
    CHeapString m_value;
    std::vector<CHeapString, CStopAllocator<CHeapString>> m_allowedValues;
    CHeapString m_choices;
};

class CCmdLineArgToggle : public CCmdLineArg
{
public:
    CCmdLineArgToggle(const char* name, const char* description, bool defaultState,
                      bool showChoices, uint32_t flags)
        : CCmdLineArg(name, description, flags), m_defaultState(defaultState),
          m_showChoices(showChoices), m_state(defaultState) {}

    const char* GetValuePlaceholder() const override { return ""; }
    bool TakesValue() const override { return false; }
    const char* GetValueChoices() override { return m_showChoices ? "{+|-}" : ""; }
    bool IsValidValue(const char* text) const override;
    bool SetValue(const char* text) override;

    bool GetValue() const { return IsGiven() ? m_state : m_defaultState; }

private:
    bool m_defaultState;
    bool m_showChoices;
    bool m_state;
};
