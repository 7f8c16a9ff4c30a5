// Owning wrappers for GDI objects and device contexts, with scoped selection and leak counters.
#pragma once

#include <windows.h>

#include <utility>

// Every GDI object created or deleted through these wrappers is counted, so a test can tell a
// leak from the counters (Wine's GetGuiResources always answers 0).
struct GdiCounters {
    long created = 0;
    long deleted = 0;
    long released = 0; // handed to the system with Detach
    long failed = 0;   // creation calls that returned no handle
    long Live() const { return created - deleted - released; }
};
GdiCounters& GetGdiCounters();

// Builds with QUON_GDI_COUNTERS answer this registered message, sent to any of the program's
// windows, with one counter (wParam: 0 created, 1 deleted, 2 released, 3 failed, 4 live), so a
// soak run in another process can watch for leaks. Other builds do not answer it (0).
enum class GdiCounter : WPARAM { Created, Deleted, Released, Failed, Live };
UINT GdiCountersMessageId();
LRESULT GdiCounterValue(WPARAM which);

namespace gdi_detail {
void NoteCreated(HGDIOBJ handle);
void NoteDeleted();
void NoteReleased();
} // namespace gdi_detail

// One owned GDI object of handle type H. Move-only; deletes its handle when it ends.
template <class H> class CGdiObject {
public:
    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept
    {
        if (this != &other) {
            DeleteObject();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }

    // Takes ownership of a handle made elsewhere; false (and nothing kept) for a null handle.
    bool Attach(H handle)
    {
        DeleteObject();
        if (!handle) {
            ++GetGdiCounters().failed;
            return false;
        }
        m_handle = handle;
        ++GetGdiCounters().created;
        return true;
    }

    // Gives the handle away (to the system or another owner); the wrapper is empty afterwards.
    H Detach()
    {
        if (m_handle)
            gdi_detail::NoteReleased();
        return std::exchange(m_handle, nullptr);
    }

    bool DeleteObject()
    {
        if (!m_handle)
            return false;
        ::DeleteObject(m_handle);
        m_handle = nullptr;
        gdi_detail::NoteDeleted();
        return true;
    }

    H GetSafeHandle() const { return m_handle; }
    operator H() const { return m_handle; }

protected:
    bool Take(H handle)
    {
        DeleteObject();
        m_handle = handle;
        gdi_detail::NoteCreated(handle);
        return handle != nullptr;
    }

private:
    H m_handle = nullptr;
};

class CFont : public CGdiObject<HFONT> {
public:
    bool CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, const char* face)
    {
        return Take(::CreateFontA(height, width, escapement, orientation, weight, italic, underline,
                                  strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily,
                                  face));
    }
};

class CBrush : public CGdiObject<HBRUSH> {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    bool CreateSolidBrush(COLORREF color) { return Take(::CreateSolidBrush(color)); }
};

class CPen : public CGdiObject<HPEN> {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    bool CreatePen(int style, int width, COLORREF color) { return Take(::CreatePen(style, width, color)); }
};

class CRgn : public CGdiObject<HRGN> {
public:
    bool CreatePolygonRgn(const POINT* points, int count, int fillMode)
    {
        return Take(::CreatePolygonRgn(points, count, fillMode));
    }
};

// Selects an object into a DC for one scope and puts the previous object back when it ends.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object)
        : m_dc(dc), m_previous(object ? ::SelectObject(dc, object) : nullptr)
    {
    }
    ~CSelectObject()
    {
        if (m_previous)
            ::SelectObject(m_dc, m_previous);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;
    HGDIOBJ Previous() const { return m_previous; }
    // Selects another object of the same kind; what was selected first is still what comes back.
    void Select(HGDIOBJ object)
    {
        if (!object)
            return;
        HGDIOBJ replaced = ::SelectObject(m_dc, object);
        if (!m_previous)
            m_previous = replaced;
    }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Text colour and background mode for one drawing pass, put back when it ends.
class CScopedTextStyle {
public:
    CScopedTextStyle(HDC dc, COLORREF colour, int backgroundMode = TRANSPARENT)
        : m_dc(dc), m_colour(::SetTextColor(dc, colour)), m_mode(::SetBkMode(dc, backgroundMode))
    {
    }
    ~CScopedTextStyle()
    {
        ::SetBkMode(m_dc, m_mode);
        ::SetTextColor(m_dc, m_colour);
    }
    CScopedTextStyle(const CScopedTextStyle&) = delete;
    CScopedTextStyle& operator=(const CScopedTextStyle&) = delete;

private:
    HDC m_dc;
    COLORREF m_colour;
    int m_mode;
};

// Device context of a window's client area (GetDC/ReleaseDC).
class CClientDC {
public:
    explicit CClientDC(HWND wnd) : m_wnd(wnd), m_dc(::GetDC(wnd)) {}
    ~CClientDC()
    {
        if (m_dc)
            ::ReleaseDC(m_wnd, m_dc);
    }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    operator HDC() const { return m_dc; }
    HDC GetSafeHdc() const { return m_dc; }

private:
    HWND m_wnd;
    HDC m_dc;
};

// Device context of a whole window, frame included (GetWindowDC/ReleaseDC).
class CWindowDC {
public:
    explicit CWindowDC(HWND wnd) : m_wnd(wnd), m_dc(::GetWindowDC(wnd)) {}
    ~CWindowDC()
    {
        if (m_dc)
            ::ReleaseDC(m_wnd, m_dc);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    operator HDC() const { return m_dc; }

private:
    HWND m_wnd;
    HDC m_dc;
};

// The paint cycle's device context (BeginPaint/EndPaint).
class CPaintDC {
public:
    explicit CPaintDC(HWND wnd) : m_wnd(wnd), m_dc(::BeginPaint(wnd, &m_ps)) {}
    ~CPaintDC() { ::EndPaint(m_wnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    operator HDC() const { return m_dc; }
    const PAINTSTRUCT& Paint() const { return m_ps; }

private:
    HWND m_wnd;
    PAINTSTRUCT m_ps{};
    HDC m_dc;
};
