#pragma once
// An empty dialog template in memory, for tests that need a dialog without a resource.

#include <windows.h>

#include <vector>

namespace testsupport {

class InMemoryDialogTemplate {
public:
    InMemoryDialogTemplate(DWORD style, short width, short height) : m_words(64, 0) {
        auto* header = reinterpret_cast<DLGTEMPLATE*>(m_words.data());
        header->style = style;
        header->cdit = 0;
        header->cx = width;
        header->cy = height;
        // After the header: no menu, the default class, an empty title (three zero words).
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    std::vector<WORD> m_words;  // WORD-aligned, as templates must be
};

}  // namespace testsupport
