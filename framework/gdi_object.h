// Owners of GDI objects: each deletes its handle when it goes.
#pragma once

#include <windows.h>

class CGdiObject {
public:
    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    void Attach(HGDIOBJ handle)
    {
        DeleteObject();
        m_handle = handle;
    }
    void DeleteObject()
    {
        if (m_handle)
            ::DeleteObject(m_handle);
        m_handle = nullptr;
    }
    HGDIOBJ GetSafeHandle() const { return m_handle; }

protected:
    HGDIOBJ m_handle = nullptr;
};

class CBitmap : public CGdiObject {
public:
    bool LoadBitmap(UINT id);
    operator HBITMAP() const { return static_cast<HBITMAP>(m_handle); }
};

class CBrush : public CGdiObject {
public:
    bool CreateSolidBrush(COLORREF colour)
    {
        Attach(::CreateSolidBrush(colour));
        return m_handle != nullptr;
    }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_handle); }
};

class CFont : public CGdiObject {
public:
    bool CreateFontIndirect(const LOGFONTA& font)
    {
        Attach(::CreateFontIndirectA(&font));
        return m_handle != nullptr;
    }
    operator HFONT() const { return static_cast<HFONT>(m_handle); }
};
