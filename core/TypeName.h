#pragma once
// Element type names for the containers' fatal messages ("Vector<String>[3]",
// "Stack<int>::pop"), built without RTTI. Each container header names its own
// template ("List<Bucket<bool,String>>"); a type named nowhere gets the name
// the compiler prints for it.

#include <cstddef>
#include <initializer_list>

class String;

namespace type_name_detail {

inline constexpr std::size_t kMaxName = 192;

// Each returns a name kept for the process, in room outside any template: a
// buffer of its own in each template would be initialized data in every
// program that names the type. "?" when there is no room left.
const char* joined(std::initializer_list<const char*> parts);
// Takes the "T = <name>" out of a function signature as GCC and clang print it.
const char* fromSignature(const char* signature);

} // namespace type_name_detail

// The name of `Named`, joined once from `parts` and kept for the process.
template <class Named> const char* composeTypeName(std::initializer_list<const char*> parts) {
    static const char* known = nullptr;
    if (!known)
        known = type_name_detail::joined(parts);
    return known;
}

template <class T> struct TypeName {
    static const char* name() {
        static const char* known = nullptr;
        if (!known)
            known = type_name_detail::fromSignature(__PRETTY_FUNCTION__);
        return known;
    }
};

// The text is an inline variable, so that every program holds it once, not
// once in each object that names the type.
#define VARNOKE_PLAIN_TYPE_NAME(type, text)                                                        \
    template <> struct TypeName<type> {                                                            \
        static constexpr char kText[] = text;                                                      \
        static const char* name() { return kText; }                                                \
    };
VARNOKE_PLAIN_TYPE_NAME(String, "String")
VARNOKE_PLAIN_TYPE_NAME(bool, "bool")
VARNOKE_PLAIN_TYPE_NAME(char, "char")
VARNOKE_PLAIN_TYPE_NAME(signed char, "signed char")
VARNOKE_PLAIN_TYPE_NAME(unsigned char, "unsigned char")
VARNOKE_PLAIN_TYPE_NAME(short, "short")
VARNOKE_PLAIN_TYPE_NAME(unsigned short, "unsigned short")
VARNOKE_PLAIN_TYPE_NAME(int, "int")
VARNOKE_PLAIN_TYPE_NAME(unsigned, "unsigned")
VARNOKE_PLAIN_TYPE_NAME(long, "long")
VARNOKE_PLAIN_TYPE_NAME(unsigned long, "unsigned long")
VARNOKE_PLAIN_TYPE_NAME(long long, "long long")
VARNOKE_PLAIN_TYPE_NAME(unsigned long long, "unsigned long long")
VARNOKE_PLAIN_TYPE_NAME(double, "double")
VARNOKE_PLAIN_TYPE_NAME(void, "void")
#undef VARNOKE_PLAIN_TYPE_NAME

template <class T> struct TypeName<const T> {
    static const char* name() { return composeTypeName<const T>({"const ", TypeName<T>::name()}); }
};

template <class T> struct TypeName<T*> {
    static const char* name() { return composeTypeName<T*>({TypeName<T>::name(), "*"}); }
};

template <class... Ts> struct TypeNameListTag;

// "void(*)(unsigned)", as a table of handlers by type code names its values.
template <class R, class... Args> struct TypeName<R (*)(Args...)> {
    static const char* name() {
        return composeTypeName<R (*)(Args...)>(
            {TypeName<R>::name(), "(*)(", typeNameList<Args...>(), ")"});
    }

private:
    template <class... Ts> static const char* typeNameList() {
        if constexpr (sizeof...(Ts) == 0) {
            return "";
        } else {
            return typeNameListOf<Ts...>();
        }
    }
    template <class First, class... Rest> static const char* typeNameListOf() {
        if constexpr (sizeof...(Rest) == 0)
            return TypeName<First>::name();
        else
            return composeTypeName<TypeNameListTag<First, Rest...>>(
                {TypeName<First>::name(), ",", typeNameListOf<Rest...>()});
    }
};
