// A small owning pointer to a COM interface: releases what it holds, moves but never copies.
#pragma once

#include <objbase.h>

#include <utility>

template <class T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }

    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_p = std::exchange(other.m_p, nullptr);
        }
        return *this;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // The out-parameter form for creation and QueryInterface: releases what is held first.
    T** Receive()
    {
        Reset();
        return &m_p;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

    void Reset()
    {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }

    // Asks the held object for another interface; an empty pointer when it has none.
    template <class U> ComPtr<U> As(REFIID iid) const
    {
        ComPtr<U> out;
        if (m_p)
            m_p->QueryInterface(iid, out.ReceiveVoid());
        return out;
    }

private:
    T* m_p = nullptr;
};
