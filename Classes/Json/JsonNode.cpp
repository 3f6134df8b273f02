#include "Classes/Json/JsonNode.h"

#include <simdjson.h>

#include <cstring>
#include <type_traits>

namespace lk::json {

namespace dom = simdjson::dom;

// The parser's views are two words (the document and a place on its tape) and are kept in the
// views' storage as they are.
static_assert(sizeof(dom::element) == 16 && std::is_trivially_copyable_v<dom::element>);
static_assert(sizeof(dom::array::iterator) == 16 &&
              std::is_trivially_copyable_v<dom::array::iterator>);
static_assert(sizeof(dom::object::iterator) == 16 &&
              std::is_trivially_copyable_v<dom::object::iterator>);

struct TapeAccess {
  template <typename T>
  static T load(const std::byte (&bytes)[16]) {
    T t;
    std::memcpy(static_cast<void*>(&t), bytes, sizeof t);
    return t;
  }
  template <typename T>
  static void store(std::byte (&bytes)[16], const T& t) {
    std::memcpy(bytes, static_cast<const void*>(&t), sizeof t);
  }

  static dom::element element(const Node& n) { return load<dom::element>(n.element_); }
  static Node node(dom::element e);
  static Node boostNode(const boost::json::value* v) { return v != nullptr ? Node(*v) : Node(); }

  static Node::ElementIterator elementIterator(dom::array::iterator it) {
    Node::ElementIterator i;
    i.backend_ = Node::Backend::kTape;
    store(i.tape_, it);
    return i;
  }
  static Node::ElementIterator elementIterator(const boost::json::value* at) {
    Node::ElementIterator i;
    i.backend_ = Node::Backend::kBoostValue;
    i.boost_ = at;
    return i;
  }
  static Node::MemberIterator memberIterator(dom::object::iterator it) {
    Node::MemberIterator i;
    i.backend_ = Node::Backend::kTape;
    store(i.tape_, it);
    return i;
  }
  static Node::MemberIterator memberIterator(const boost::json::key_value_pair* at) {
    Node::MemberIterator i;
    i.backend_ = Node::Backend::kBoostValue;
    i.boost_ = at;
    return i;
  }

  static const boost::json::array* boostArray(const Node& n) {
    return n.backend_ == Node::Backend::kBoostValue ? n.value_->if_array() : nullptr;
  }
  static const boost::json::object* boostObject(const Node& n) {
    if (n.backend_ == Node::Backend::kBoostObject) return n.object_;
    return n.backend_ == Node::Backend::kBoostValue ? n.value_->if_object() : nullptr;
  }
};

namespace {

Node::Kind kindOf(const boost::json::value& v) {
  switch (v.kind()) {
    case boost::json::kind::bool_:
      return Node::Kind::kBool;
    case boost::json::kind::int64:
      return Node::Kind::kInt64;
    case boost::json::kind::uint64:
      return Node::Kind::kUint64;
    case boost::json::kind::double_:
      return Node::Kind::kDouble;
    case boost::json::kind::string:
      return Node::Kind::kString;
    case boost::json::kind::array:
      return Node::Kind::kArray;
    case boost::json::kind::object:
      return Node::Kind::kObject;
    case boost::json::kind::null:
      break;
  }
  return Node::Kind::kNull;
}

Node::Kind kindOf(dom::element e) {
  switch (e.type()) {
    case dom::element_type::BOOL:
      return Node::Kind::kBool;
    case dom::element_type::INT64:
      return Node::Kind::kInt64;
    case dom::element_type::UINT64:
      return Node::Kind::kUint64;
    case dom::element_type::DOUBLE:
      return Node::Kind::kDouble;
    case dom::element_type::STRING:
      return Node::Kind::kString;
    case dom::element_type::ARRAY:
      return Node::Kind::kArray;
    case dom::element_type::OBJECT:
      return Node::Kind::kObject;
    case dom::element_type::NULL_VALUE:
      break;
  }
  return Node::Kind::kNull;
}

// The tape counts the entries of a scope up to this value, which then means "this many or more".
constexpr std::size_t kSaturatedCount = 0xFFFFFF;

template <typename Scope>
std::size_t countOf(Scope scope) {
  const std::size_t n = scope.size();
  if (n < kSaturatedCount) return n;
  std::size_t counted = 0;
  for (auto it = scope.begin(); it != scope.end(); ++it)
    ++counted;
  return counted;
}

boost::json::value valueOf(dom::element e) {
  switch (e.type()) {
    case dom::element_type::BOOL:
      return bool(e);
    case dom::element_type::INT64:
      return int64_t(e);
    case dom::element_type::UINT64:
      return uint64_t(e);
    case dom::element_type::DOUBLE:
      return double(e);
    case dom::element_type::STRING:
      return boost::json::string(std::string_view(e));
    case dom::element_type::ARRAY: {
      const dom::array list(e);
      boost::json::array out;
      out.reserve(countOf(list));
      for (dom::element item : list)
        out.push_back(valueOf(item));
      return out;
    }
    case dom::element_type::OBJECT: {
      const dom::object members(e);
      boost::json::object out;
      out.reserve(countOf(members));
      // A repeated key keeps the place of its first occurrence and the value of its last.
      for (dom::key_value_pair member : members)
        out[member.key] = valueOf(member.value);
      return out;
    }
    case dom::element_type::NULL_VALUE:
      break;
  }
  return nullptr;
}

}  // namespace

Node TapeAccess::node(dom::element e) {
  Node n;
  n.backend_ = Node::Backend::kTape;
  n.kind_ = kindOf(e);
  store(n.element_, e);
  return n;
}

Node::Node(const boost::json::value& value)
    : backend_(Backend::kBoostValue), kind_(kindOf(value)), value_(&value) {}

Node::Node(const boost::json::object& object)
    : backend_(Backend::kBoostObject), kind_(Kind::kObject), object_(&object) {}

Node Node::fromTapeElement(const void* element) {
  return TapeAccess::node(*static_cast<const dom::element*>(element));
}

bool Node::getBool() const {
  if (backend_ == Backend::kTape) {
    bool b = false;
    return TapeAccess::element(*this).get_bool().get(b) == simdjson::SUCCESS && b;
  }
  return backend_ == Backend::kBoostValue && value_->is_bool() && value_->get_bool();
}

std::int64_t Node::getInt64() const {
  if (backend_ == Backend::kTape) {
    const dom::element e = TapeAccess::element(*this);
    return e.type() == dom::element_type::INT64 ? int64_t(e) : 0;
  }
  return backend_ == Backend::kBoostValue && value_->is_int64() ? value_->get_int64() : 0;
}

std::uint64_t Node::getUint64() const {
  if (backend_ == Backend::kTape) {
    const dom::element e = TapeAccess::element(*this);
    return e.type() == dom::element_type::UINT64 ? uint64_t(e) : 0;
  }
  return backend_ == Backend::kBoostValue && value_->is_uint64() ? value_->get_uint64() : 0;
}

double Node::getDouble() const {
  if (backend_ == Backend::kTape) {
    const dom::element e = TapeAccess::element(*this);
    return e.type() == dom::element_type::DOUBLE ? double(e) : 0.0;
  }
  return backend_ == Backend::kBoostValue && value_->is_double() ? value_->get_double() : 0.0;
}

std::string_view Node::getString() const {
  if (backend_ == Backend::kTape) {
    std::string_view s;
    return TapeAccess::element(*this).get_string().get(s) == simdjson::SUCCESS ? s
                                                                               : std::string_view();
  }
  if (backend_ == Backend::kBoostValue && value_->is_string()) return value_->get_string();
  return {};
}

Node Node::member(std::string_view key) const {
  if (backend_ == Backend::kTape) {
    dom::object members;
    if (TapeAccess::element(*this).get_object().get(members) != simdjson::SUCCESS) return {};
    // The parser keeps every occurrence of a key; the last one counts.
    Node found;
    for (auto it = members.begin(); it != members.end(); ++it) {
      if (it.key_equals(key)) found = TapeAccess::node(it.value());
    }
    return found;
  }
  const auto* object = TapeAccess::boostObject(*this);
  return object != nullptr ? TapeAccess::boostNode(object->if_contains(key)) : Node();
}

void Node::pick(const std::string_view* keys, std::size_t count, Node* found) const {
  if (backend_ != Backend::kTape) {
    for (std::size_t i = 0; i < count; ++i)
      found[i] = member(keys[i]);
    return;
  }
  dom::object members;
  if (TapeAccess::element(*this).get_object().get(members) != simdjson::SUCCESS) return;
  // The service writes members in the order decoders list them: the search for the next key
  // starts after the last one found.
  std::size_t next = 0;
  for (auto it = members.begin(); it != members.end(); ++it) {
    const std::string_view key = it.key();
    for (std::size_t tried = 0; tried < count; ++tried) {
      const std::size_t i = next + tried < count ? next + tried : next + tried - count;
      // A later occurrence of a key replaces an earlier one, as in member().
      if (keys[i] == key) {
        found[i] = TapeAccess::node(it.value());
        next = i + 1 < count ? i + 1 : 0;
        break;
      }
    }
  }
}

std::size_t Node::size() const {
  if (backend_ == Backend::kTape) {
    const dom::element e = TapeAccess::element(*this);
    if (e.type() == dom::element_type::ARRAY) return countOf(dom::array(e));
    if (e.type() == dom::element_type::OBJECT) return countOf(dom::object(e));
    return 0;
  }
  if (const auto* array = TapeAccess::boostArray(*this)) return array->size();
  if (const auto* object = TapeAccess::boostObject(*this)) return object->size();
  return 0;
}

Node Node::at(std::size_t index) const {
  if (backend_ == Backend::kTape) {
    dom::array list;
    if (TapeAccess::element(*this).get_array().get(list) != simdjson::SUCCESS) return {};
    dom::element e;
    return list.at(index).get(e) == simdjson::SUCCESS ? TapeAccess::node(e) : Node();
  }
  const auto* array = TapeAccess::boostArray(*this);
  return array != nullptr ? TapeAccess::boostNode(array->if_contains(index)) : Node();
}

boost::json::value Node::toValue() const {
  switch (backend_) {
    case Backend::kTape:
      return valueOf(TapeAccess::element(*this));
    case Backend::kBoostValue:
      return boost::json::value(*value_, boost::json::storage_ptr());
    case Backend::kBoostObject:
      return boost::json::object(*object_, boost::json::storage_ptr());
    case Backend::kAbsent:
      break;
  }
  return nullptr;
}

Node::ElementIterator Node::Elements::begin() const {
  if (array.backend_ == Backend::kTape) {
    dom::array list;
    if (TapeAccess::element(array).get_array().get(list) == simdjson::SUCCESS) {
      return TapeAccess::elementIterator(list.begin());
    }
    return {};
  }
  const auto* list = TapeAccess::boostArray(array);
  return list != nullptr ? TapeAccess::elementIterator(list->begin()) : ElementIterator();
}

Node::ElementIterator Node::Elements::end() const {
  if (array.backend_ == Backend::kTape) {
    dom::array list;
    if (TapeAccess::element(array).get_array().get(list) == simdjson::SUCCESS) {
      return TapeAccess::elementIterator(list.end());
    }
    return {};
  }
  const auto* list = TapeAccess::boostArray(array);
  return list != nullptr ? TapeAccess::elementIterator(list->end()) : ElementIterator();
}

Node Node::ElementIterator::operator*() const {
  if (backend_ == Backend::kTape) {
    return TapeAccess::node(*TapeAccess::load<dom::array::iterator>(tape_));
  }
  return TapeAccess::boostNode(boost_);
}

Node::ElementIterator& Node::ElementIterator::operator++() {
  if (backend_ == Backend::kTape) {
    auto it = TapeAccess::load<dom::array::iterator>(tape_);
    TapeAccess::store(tape_, ++it);
  } else if (boost_ != nullptr) {
    ++boost_;
  }
  return *this;
}

bool Node::ElementIterator::equals(const ElementIterator& other) const {
  if (backend_ != other.backend_) return false;
  if (backend_ == Backend::kTape) return std::memcmp(tape_, other.tape_, sizeof tape_) == 0;
  return boost_ == other.boost_;
}

Node::MemberIterator Node::Members::begin() const {
  if (object.backend_ == Backend::kTape) {
    dom::object members;
    if (TapeAccess::element(object).get_object().get(members) == simdjson::SUCCESS) {
      return TapeAccess::memberIterator(members.begin());
    }
    return {};
  }
  const auto* members = TapeAccess::boostObject(object);
  return members != nullptr ? TapeAccess::memberIterator(members->begin()) : MemberIterator();
}

Node::MemberIterator Node::Members::end() const {
  if (object.backend_ == Backend::kTape) {
    dom::object members;
    if (TapeAccess::element(object).get_object().get(members) == simdjson::SUCCESS) {
      return TapeAccess::memberIterator(members.end());
    }
    return {};
  }
  const auto* members = TapeAccess::boostObject(object);
  return members != nullptr ? TapeAccess::memberIterator(members->end()) : MemberIterator();
}

Node::MemberIterator::value_type Node::MemberIterator::operator*() const {
  if (backend_ == Backend::kTape) {
    const auto it = TapeAccess::load<dom::object::iterator>(tape_);
    return {it.key(), TapeAccess::node(it.value())};
  }
  return {boost_->key(), Node(boost_->value())};
}

Node::MemberIterator& Node::MemberIterator::operator++() {
  if (backend_ == Backend::kTape) {
    auto it = TapeAccess::load<dom::object::iterator>(tape_);
    TapeAccess::store(tape_, ++it);
  } else if (boost_ != nullptr) {
    ++boost_;
  }
  return *this;
}

bool Node::MemberIterator::equals(const MemberIterator& other) const {
  if (backend_ != other.backend_) return false;
  if (backend_ == Backend::kTape) return std::memcmp(tape_, other.tape_, sizeof tape_) == 0;
  return boost_ == other.boost_;
}

}  // namespace lk::json
