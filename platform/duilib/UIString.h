// CDuiString: the toolkit's wide string, and STRINGorID for resource names.
#pragma once

#include <string>

namespace DuiLib {

typedef const wchar_t* LPCTSTR;

class CDuiString {
public:
    CDuiString() = default;
    CDuiString(const wchar_t* text) : m_text(text ? text : L"") {}
    CDuiString(const std::wstring& text) : m_text(text) {}

    const wchar_t* GetData() const { return m_text.c_str(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    operator const wchar_t*() const { return m_text.c_str(); }
    const std::wstring& str() const { return m_text; }

    CDuiString& operator+=(const CDuiString& other) {
        m_text += other.m_text;
        return *this;
    }
    friend CDuiString operator+(const CDuiString& a, const CDuiString& b) {
        return CDuiString(a.m_text + b.m_text);
    }
    friend CDuiString operator+(const CDuiString& a, const wchar_t* b) {
        return CDuiString(a.m_text + (b ? b : L""));
    }
    friend bool operator==(const CDuiString& a, const CDuiString& b) {
        return a.m_text == b.m_text;
    }
    friend bool operator!=(const CDuiString& a, const CDuiString& b) {
        return a.m_text != b.m_text;
    }
    friend bool operator==(const CDuiString& a, const wchar_t* b) {
        return a.m_text == (b ? b : L"");
    }
    friend bool operator!=(const CDuiString& a, const wchar_t* b) { return !(a == b); }

private:
    std::wstring m_text;
};

// A resource named by text (a layout file name) or by number.
class STRINGorID {
public:
    STRINGorID(LPCTSTR name) : m_lpstr(name) {}
    STRINGorID(const std::wstring& name) : m_lpstr(name.c_str()) {}
    explicit STRINGorID(unsigned int id) : m_lpstr(nullptr), m_id(id) {}
    LPCTSTR m_lpstr;
    unsigned int m_id = 0;
};

}  // namespace DuiLib
