// The component object model: reference-counted objects reached through
// interfaces named by 32-bit identifiers, held through Ref<T>.
#pragma once

#include <atomic>
#include <cstdint>
#include <tuple>
#include <type_traits>
#include <utility>

#include "velk/result.h"

namespace velk {

// Every interface starts with these three operations. Interfaces declare
// `static constexpr iid_t IID` and, when they extend another interface,
// `using Parent = ThatInterface;`.
struct IObject {
  static constexpr iid_t IID = 0;
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;
  virtual result_t QueryInterface(iid_t iid, void** out) = 0;

 protected:
  virtual ~IObject() = default;
};

// Live framework objects of the module; back at its starting value once the
// last object of a run is released.
int32_t liveObjectCount();

namespace detail {
void objectCreated();
void objectDestroyed();

template <class I, class = void>
struct ParentOf {
  using type = void;
};
template <class I>
struct ParentOf<I, std::void_t<typename I::Parent>> {
  using type = typename I::Parent;
};

// Finds `iid` in the interface `I` or the interfaces it extends.
template <class Self, class I>
bool castTo(Self* self, iid_t iid, void** out) {
  if constexpr (std::is_void_v<I>) {
    return false;
  } else {
    if (I::IID == iid) {
      *out = static_cast<I*>(self);
      return true;
    }
    return castTo<Self, typename ParentOf<I>::type>(self, iid, out);
  }
}
}  // namespace detail

// Intrusive smart pointer: the only place that calls AddRef/Release.
template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(std::nullptr_t) {}
  // Takes a new reference.
  explicit Ref(T* p) : p_(p) {
    if (p_) p_->AddRef();
  }
  Ref(const Ref& other) : Ref(other.p_) {}
  Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(const Ref<U>& other) : Ref(static_cast<T*>(other.get())) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(Ref<U>&& other) noexcept : p_(other.detach()) {}
  ~Ref() { reset(); }

  Ref& operator=(Ref other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }

  // Takes over a reference the caller already owns (an out parameter).
  static Ref adopt(T* p) {
    Ref r;
    r.p_ = p;
    return r;
  }

  void reset() {
    if (auto* p = std::exchange(p_, nullptr)) p->Release();
  }
  T* detach() { return std::exchange(p_, nullptr); }
  // For out parameters: releases what is held and hands out the slot.
  T** put() {
    reset();
    return &p_;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }
  bool operator==(const Ref& other) const { return p_ == other.p_; }

 private:
  T* p_ = nullptr;
};

// Implements the object model for a class implementing `Interfaces...`.
// The first interface answers identifier 0.
template <class... Interfaces>
class ObjectBase : public Interfaces... {
 public:
  ObjectBase() { detail::objectCreated(); }
  ObjectBase(const ObjectBase&) = delete;
  ObjectBase& operator=(const ObjectBase&) = delete;

  uint32_t AddRef() override { return ++refs_; }
  uint32_t Release() override {
    uint32_t left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  result_t QueryInterface(iid_t iid, void** out) override {
    if (!out) return errors::kInvalidArgument;
    *out = nullptr;
    if (iid == 0) {
      *out = static_cast<First*>(this);
    } else if (!(detail::castTo<ObjectBase, Interfaces>(this, iid, out) || ...)) {
      return errors::kNoInterface;
    }
    AddRef();
    return errors::kOk;
  }

 protected:
  ~ObjectBase() override { detail::objectDestroyed(); }

 private:
  using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
  std::atomic<uint32_t> refs_{0};
};

// Creates an object and holds its first reference.
template <class T, class... Args>
Ref<T> make(Args&&... args) {
  return Ref<T>(new T(std::forward<Args>(args)...));
}

// QueryInterface into a Ref; empty on failure.
template <class To, class From>
Ref<To> queryInterface(From* from) {
  Ref<To> to;
  if (from) from->QueryInterface(To::IID, to.putVoid());
  return to;
}

}  // namespace velk
