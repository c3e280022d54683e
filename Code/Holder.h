#pragma once

#include <type_traits>

// The one owner of a heap object. Ownership moves, it is never shared.
template <class T>
class Holder {
public:
    explicit Holder(T* object = nullptr) : m_object(object) {}
    Holder(Holder&& other) noexcept : m_object(other.m_object) { other.m_object = nullptr; }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

    // The old object goes first, then the other's pointer is taken over.
    Holder& operator=(Holder&& other) {
        if (this != &other) {
            destroy();
            m_object = other.m_object;
            other.m_object = nullptr;
        }
        return *this;
    }

    virtual ~Holder() { destroy(); }

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }

private:
    void destroy() {
        T* object = m_object;
        m_object = nullptr;
        if constexpr (std::is_polymorphic_v<T> && !std::has_virtual_destructor_v<T>) {
            // An interface without a virtual destructor (Callback) is ended by
            // its own destructor; the memory is freed without a size, since
            // the object is larger than the interface.
            if (object) {
                object->~T();
                ::operator delete(object);
            }
        } else {
            delete object;
        }
    }

    T* m_object;
};
