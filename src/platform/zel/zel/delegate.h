// zel::delegate<R(A...)>: an object pointer and a stub; calling the delegate calls
// stub(object, args...). An empty delegate has no stub.
#pragma once

namespace zel {

template <typename Signature>
class delegate;

template <typename R, typename... A>
class delegate<R(A...)> {
 public:
  using Stub = R (*)(void*, A...);

  delegate() = default;
  delegate(void* object, Stub stub) : m_object(object), m_stub(stub) {}

  // Binds a member function of an object that outlives the delegate.
  template <typename C, R (C::*Method)(A...)>
  static delegate FromMethod(C* object) {
    return delegate(object,
                    [](void* o, A... a) -> R { return (static_cast<C*>(o)->*Method)(a...); });
  }
  // Binds a callable object (a lambda, say) that outlives the delegate.
  template <typename F>
  static delegate FromCallable(F* callable) {
    return delegate(callable, [](void* o, A... a) -> R { return (*static_cast<F*>(o))(a...); });
  }

  explicit operator bool() const { return m_stub != nullptr; }
  R operator()(A... a) const { return m_stub(m_object, a...); }
  void* object() const { return m_object; }
  Stub stub() const { return m_stub; }

 private:
  void* m_object = nullptr;
  Stub m_stub = nullptr;
};

}  // namespace zel
