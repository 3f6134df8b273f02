#pragma once

#include <boost/json/object.hpp>
#include <boost/json/value.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <utility>

namespace lk::json {

class Document;
struct TapeAccess;

// A read-only view of one JSON value: of a parsed answer (a Document, which must outlive the
// view) or of a Boost.JSON value or object. Decoders read through it, so that one decoder serves
// both the answers of the fast parser and the values the rest of the client builds. A view of a
// member that is missing is "absent"; it reads like null. Cheap to copy.
class Node {
 public:
  enum class Kind { kNull, kBool, kInt64, kUint64, kDouble, kString, kArray, kObject };

  Node() : value_(nullptr) {}  // absent
  explicit Node(const boost::json::value& value);
  explicit Node(const boost::json::object& object);

  // False for a missing member (and for a default-constructed view).
  [[nodiscard]] bool exists() const { return backend_ != Backend::kAbsent; }
  [[nodiscard]] Kind kind() const { return kind_; }
  [[nodiscard]] bool isObject() const { return kind() == Kind::kObject; }
  [[nodiscard]] bool isArray() const { return kind() == Kind::kArray; }
  [[nodiscard]] bool isString() const { return kind() == Kind::kString; }

  // The scalar of the matching kind; false, 0 or "" for any other kind.
  [[nodiscard]] bool getBool() const;
  [[nodiscard]] std::int64_t getInt64() const;
  [[nodiscard]] std::uint64_t getUint64() const;
  [[nodiscard]] double getDouble() const;
  // Valid as long as what the view reads.
  [[nodiscard]] std::string_view getString() const;

  // An object's member. When a key occurs more than once the last occurrence counts, as in a
  // parsed Boost.JSON object. Absent for a missing member or when this is not an object.
  [[nodiscard]] Node member(std::string_view key) const;
  // member() of each key, found in one pass over the members (decoders read most members of an
  // object: looking each one up would pass over the object once per key).
  template <std::size_t N>
  [[nodiscard]] std::array<Node, N> pick(const std::array<std::string_view, N>& keys) const {
    std::array<Node, N> found{};
    pick(keys.data(), N, found.data());
    return found;
  }

  // Elements of an array, members of an object (in text order, duplicates included); empty for
  // any other kind.
  [[nodiscard]] std::size_t size() const;
  [[nodiscard]] bool empty() const { return size() == 0; }
  // The element at `index` of an array; absent when out of range.
  [[nodiscard]] Node at(std::size_t index) const;

  class ElementIterator;
  class MemberIterator;
  struct Elements;
  struct Members;
  [[nodiscard]] Elements elements() const;
  [[nodiscard]] Members members() const;

  // A copy as a Boost.JSON value with the default storage, as Boost.JSON's parser would have made
  // it from the same text (a repeated key keeps its first place and its last value).
  [[nodiscard]] boost::json::value toValue() const;

 private:
  friend class Document;
  friend struct TapeAccess;

  enum class Backend : std::uint8_t { kAbsent, kTape, kBoostValue, kBoostObject };

  void pick(const std::string_view* keys, std::size_t count, Node* found) const;

  // A view of the parser's element at `element` (the document's root).
  [[nodiscard]] static Node fromTapeElement(const void* element);

  Backend backend_ = Backend::kAbsent;
  Kind kind_ = Kind::kNull;
  // The parser's element (two words) for kTape; the Boost.JSON value or object otherwise.
  union {
    const boost::json::value* value_;
    const boost::json::object* object_;
    alignas(std::uint64_t) std::byte element_[16];
  };
};

// Iterates an array's elements.
class Node::ElementIterator {
 public:
  using value_type = Node;
  using difference_type = std::ptrdiff_t;
  ElementIterator() : boost_(nullptr) {}
  Node operator*() const;
  ElementIterator& operator++();
  ElementIterator operator++(int) {
    auto old = *this;
    ++*this;
    return old;
  }
  friend bool operator==(const ElementIterator& a, const ElementIterator& b) { return a.equals(b); }

 private:
  friend struct TapeAccess;
  [[nodiscard]] bool equals(const ElementIterator& other) const;
  Node::Backend backend_ = Node::Backend::kAbsent;
  union {
    const boost::json::value* boost_;
    alignas(std::uint64_t) std::byte tape_[16];
  };
};

// Iterates an object's members as (key, value) pairs.
class Node::MemberIterator {
 public:
  using value_type = std::pair<std::string_view, Node>;
  using difference_type = std::ptrdiff_t;
  MemberIterator() : boost_(nullptr) {}
  value_type operator*() const;
  MemberIterator& operator++();
  MemberIterator operator++(int) {
    auto old = *this;
    ++*this;
    return old;
  }
  friend bool operator==(const MemberIterator& a, const MemberIterator& b) { return a.equals(b); }

 private:
  friend struct TapeAccess;
  [[nodiscard]] bool equals(const MemberIterator& other) const;
  Node::Backend backend_ = Node::Backend::kAbsent;
  union {
    const boost::json::key_value_pair* boost_;
    alignas(std::uint64_t) std::byte tape_[16];
  };
};

struct Node::Elements {
  [[nodiscard]] ElementIterator begin() const;
  [[nodiscard]] ElementIterator end() const;
  Node array;
};

struct Node::Members {
  [[nodiscard]] MemberIterator begin() const;
  [[nodiscard]] MemberIterator end() const;
  Node object;
};

inline Node::Elements Node::elements() const {
  return Elements{*this};
}

inline Node::Members Node::members() const {
  return Members{*this};
}

}  // namespace lk::json
