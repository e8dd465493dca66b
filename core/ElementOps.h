#pragma once
// What the containers' shared code needs to know of an element type: its size
// and how to make, copy, move and end its objects. The storage, insertion,
// removal, rotation and sorting then exist once in the program instead of once
// per element type. A null entry means that plain bytes will do.

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

class String;

// True where an object may change address by a copy of its bytes, the old
// place then being forgotten: nothing in it points at the object itself.
template <class T> struct IsRelocatable : std::is_trivially_copyable<T> {};
template <> struct IsRelocatable<String> : std::true_type {};

// Each entry handles one element; the loops over many are shared.
struct ElementOps {
    int size;
    // Default-constructs an element in raw storage (null: zero bytes, as T() gives).
    void (*construct)(void* at);
    // Copy-constructs an element in raw storage (null: copy the bytes).
    void (*copy)(void* to, const void* from);
    // Moves an element into raw storage and ends the original (null: move the bytes).
    void (*relocate)(void* to, void* from);
    // Ends an element (null: nothing to do).
    void (*destroy)(void* at);
};

namespace element_ops_detail {

template <class T> void construct(void* at) {
    if constexpr (std::is_default_constructible_v<T>)
        new (at) T();
}

template <class T> void copy(void* to, const void* from) {
    if constexpr (std::is_copy_constructible_v<T>)
        new (to) T(*static_cast<const T*>(from));
}

template <class T> void relocate(void* to, void* from) {
    T* source = static_cast<T*>(from);
    new (to) T(std::move(*source));
    source->~T();
}

template <class T> void destroy(void* at) {
    static_cast<T*>(at)->~T();
}

} // namespace element_ops_detail

template <class T>
inline constexpr ElementOps kElementOps = {
    static_cast<int>(sizeof(T)),
    std::is_trivially_default_constructible_v<T> ? nullptr : &element_ops_detail::construct<T>,
    std::is_trivially_copy_constructible_v<T> ? nullptr : &element_ops_detail::copy<T>,
    IsRelocatable<T>::value ? nullptr : &element_ops_detail::relocate<T>,
    std::is_trivially_destructible_v<T> ? nullptr : &element_ops_detail::destroy<T>,
};

// The operations over n raw elements, with the byte fallbacks. The ranges of
// relocateElements may overlap.
void constructElements(const ElementOps& ops, void* at, int n);
void copyElements(const ElementOps& ops, void* to, const void* from, int n);
void relocateElements(const ElementOps& ops, void* to, void* from, int n);
void destroyElements(const ElementOps& ops, void* at, int n);
// Exchanges two elements through `scratch`, raw room for one element.
void swapElements(const ElementOps& ops, void* a, void* b, void* scratch);

// Raw room for one element while elements change places: on the stack when
// the element is small, as every element of the system is, else on the heap.
class ElementScratch {
public:
    explicit ElementScratch(const ElementOps& ops);
    ~ElementScratch();
    ElementScratch(const ElementScratch&) = delete;
    ElementScratch& operator=(const ElementScratch&) = delete;

    void* get() { return heap_ ? heap_ : local_; }

private:
    alignas(std::max_align_t) unsigned char local_[128];
    void* heap_ = nullptr;
};
