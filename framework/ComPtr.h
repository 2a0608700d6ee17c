// Owns one reference to a COM interface and releases it exactly once.
#pragma once

template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* Get() const { return m_p; }
    Interface* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For calls that hand out a new reference: drops the old one first.
    Interface** Out() {
        Reset();
        return &m_p;
    }
    // Takes a reference of its own to p.
    void Share(Interface* p) {
        if (p) p->AddRef();
        Reset();
        m_p = p;
    }
    void Reset() {
        if (m_p) m_p->Release();
        m_p = nullptr;
    }

private:
    Interface* m_p = nullptr;
};
