#pragma once

// Holds one reference of a 7-Zip COM object and releases it when it leaves its scope, so an
// extraction that stops on any path gives every object back.
template<typename T>
class ComRef
{
public:
    ComRef() = default;
    explicit ComRef(T *object)
        : m_object(object)
    {
        if (m_object)
            m_object->AddRef();
    }
    ~ComRef()
    {
        if (m_object)
            m_object->Release();
    }
    ComRef(const ComRef &) = delete;
    ComRef &operator=(const ComRef &) = delete;
    T *get() const { return m_object; }
    T *operator->() const { return m_object; }
    // For out-parameters that hand over one reference.
    void **receive() { return reinterpret_cast<void **>(&m_object); }

private:
    T *m_object = nullptr;
};
