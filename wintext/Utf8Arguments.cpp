#include "Utf8Arguments.h"

#include "WideText.h"

CUtf8Arguments::CUtf8Arguments(int argc, const wchar_t* const* argv)
{
    const size_t count = argv != nullptr && argc > 0 ? static_cast<size_t>(argc) : 0;
    // Reserved whole first, so that no text moves once the vector points at it.
    m_texts.reserve(count);
    m_vector.reserve(count + 1);
    for (size_t i = 0; i < count; ++i) {
        m_texts.emplace_back();
        // The program's own name is no argument: a folder with half a pair in its name stops only
        // what needs that folder (the start-up entry), not the run.
        if (!ToUtf8(argv[i] != nullptr ? argv[i] : L"", m_texts.back()) && i > 0 && m_firstUnconvertible < 0)
            m_firstUnconvertible = static_cast<int>(i);
        m_vector.push_back(m_texts.back().GetText());
    }
    m_vector.push_back(nullptr);
}
