// CHandle: the one move-only owner of a system handle; each kind says how it is closed and which
// value means "none".
#pragma once

#include <windows.h>

#include <utility>

template <class Traits> class CHandle {
public:
    using Type = typename Traits::Type;

    CHandle() = default;
    explicit CHandle(Type handle) : m_handle(handle) {}
    ~CHandle() { Close(); }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    CHandle(CHandle&& other) noexcept : m_handle(other.Release()) {}
    CHandle& operator=(CHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Type Get() const { return m_handle; }
    operator Type() const { return m_handle; }
    bool Valid() const { return m_handle != Traits::None(); }

    // Closes what is held and takes handle instead.
    void Reset(Type handle = Traits::None())
    {
        Close();
        m_handle = handle;
    }
    // Gives the handle away; nothing is closed.
    Type Release() { return std::exchange(m_handle, Traits::None()); }

private:
    void Close()
    {
        if (Valid())
            Traits::Close(m_handle);
        m_handle = Traits::None();
    }

    Type m_handle = Traits::None();
};

struct MenuTraits {
    using Type = HMENU;
    static HMENU None() { return nullptr; }
    static void Close(HMENU menu) { ::DestroyMenu(menu); }
};
using CMenuHandle = CHandle<MenuTraits>;

// Files and other kernel objects that CreateFile-style calls give INVALID_HANDLE_VALUE for "none".
struct FileTraits {
    using Type = HANDLE;
    static HANDLE None() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE file) { ::CloseHandle(file); }
};
using CFileHandle = CHandle<FileTraits>;

// Events, threads and other kernel objects whose "none" is null.
struct KernelTraits {
    using Type = HANDLE;
    static HANDLE None() { return nullptr; }
    static void Close(HANDLE object) { ::CloseHandle(object); }
};
using CKernelHandle = CHandle<KernelTraits>;

// File searches (FindFirstFile), closed by FindClose.
struct FindTraits {
    using Type = HANDLE;
    static HANDLE None() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE search) { ::FindClose(search); }
};
using CFindHandle = CHandle<FindTraits>;
