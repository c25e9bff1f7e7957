#pragma once

#include <type_traits>
#include <utility>

// The replaceable services of the program (the dialogs, the Word factory, the URL opener, ...),
// each reached through one registry keyed by type. A test puts its own in place with an
// Override, which puts the previous one back when it goes, also when the test fails or throws.
//
// The key is a type. An interface (platform::Dialogs) is its own key and is held by pointer; any
// other key is a small struct naming the value it holds (`using Value = ...`). Every key has a
// `static Value byDefault()`: what is used while no override is in force. Layers above platform
// declare their own keys beside the code that uses them; this header includes none of them.
namespace platform::services {

template <class Key>
struct ValueOfKey {
    using type = Key*;
};
template <class Key>
requires requires { typename Key::Value; }
struct ValueOfKey<Key> {
    using type = typename Key::Value;
};
template <class Key>
using ValueOf = typename ValueOfKey<Key>::type;

// One override in a chain, innermost first. Overrides may end in any order: each takes itself out
// of the chain, so an outer one ending first never leaves a dangling inner one behind.
class OverrideLink {
  protected:
    OverrideLink() = default;
    ~OverrideLink() = default;
    static void push(OverrideLink*& innermost, OverrideLink* link);
    static void remove(OverrideLink*& innermost, OverrideLink* link);

  private:
    OverrideLink* outer_ = nullptr;
};

// Replaces Key's service for the life of this object (not owned when it is a pointer).
template <class Key>
class Override : private OverrideLink {
  public:
    explicit Override(ValueOf<Key> value) : value_(std::move(value)) { push(innermost, this); }
    ~Override() { remove(innermost, this); }
    Override(const Override&) = delete;
    Override& operator=(const Override&) = delete;

    // The value of the innermost override in force, or null when there is none.
    static const ValueOf<Key>* current() {
        return innermost != nullptr ? &static_cast<const Override*>(innermost)->value_ : nullptr;
    }

  private:
    static inline OverrideLink* innermost = nullptr;
    ValueOf<Key> value_;
};

// The service in use: the innermost override, else Key::byDefault().
template <class Key>
ValueOf<Key> get() {
    if (const ValueOf<Key>* value = Override<Key>::current()) return *value;
    return Key::byDefault();
}

// An interface key's service, by reference.
template <class Key>
requires std::is_same_v<ValueOf<Key>, Key*> Key& use() { return *get<Key>(); }

}  // namespace platform::services
