#pragma once
// A callback made of an object pointer and a function that takes that pointer first. Two words,
// copyable, no allocation: windows, widgets and event listeners keep many of them.
//
//   Closure<void(int32_t)> onClick = MakeClosure<&MyWindow::OnClick>(this);
//   Closure<void()> onShown(this, [](void* self) { static_cast<MyWindow*>(self)->Shown(); });
//   if (onClick) onClick(7);

#include <utility>

template <class Signature>
class Closure;

template <class R, class... A>
class Closure<R(A...)> {
public:
    using Function = R (*)(void* object, A... args);

    constexpr Closure() = default;
    constexpr Closure(void* object, Function function) : object(object), function(function) {}

    // Binds a member function (const or not) of T to the object.
    template <auto Method, class T>
    static Closure Member(T* target) {
        return Closure(const_cast<void*>(static_cast<const void*>(target)), [](void* self, A... args) -> R {
            return (static_cast<T*>(self)->*Method)(std::forward<A>(args)...);
        });
    }

    // Calls the function with the object; the closure must have a function.
    R operator()(A... args) const { return function(object, std::forward<A>(args)...); }

    explicit operator bool() const { return function != nullptr; }

    friend bool operator==(const Closure& a, const Closure& b) {
        return a.object == b.object && a.function == b.function;
    }

    void* object = nullptr;
    Function function = nullptr;
};

namespace ClosureDetail {

template <class MemberPointer>
struct MemberTraits;

template <class T, class R, class... A>
struct MemberTraits<R (T::*)(A...)> {
    using Class = T;
    using Signature = R(A...);
};

template <class T, class R, class... A>
struct MemberTraits<R (T::*)(A...) const> {
    using Class = const T;
    using Signature = R(A...);
};

}  // namespace ClosureDetail

// The closure type follows the member function's own signature.
template <auto Method>
Closure<typename ClosureDetail::MemberTraits<decltype(Method)>::Signature> MakeClosure(
    typename ClosureDetail::MemberTraits<decltype(Method)>::Class* target) {
    using Result = Closure<typename ClosureDetail::MemberTraits<decltype(Method)>::Signature>;
    return Result::template Member<Method>(target);
}
