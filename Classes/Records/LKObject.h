#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lk {

// A node of the service's directory: a place (Area) or a shop category (Channel). Records are
// shared between lists and screens through std::shared_ptr.
class LKObject {
 public:
  LKObject() = default;
  LKObject(int id, std::optional<std::string> name) : id_(id), name_(std::move(name)) {}
  LKObject(const LKObject&) = delete;
  LKObject& operator=(const LKObject&) = delete;
  virtual ~LKObject() = default;

  // The service's identifier. 0 is "all"; -1 is the convenience-services category.
  [[nodiscard]] int id() const { return id_; }
  void setId(int id) { id_ = id; }

  // The display name, shown as is; may be absent.
  [[nodiscard]] const std::optional<std::string>& name() const { return name_; }
  void setName(std::optional<std::string> name) { name_ = std::move(name); }
  // The name, or "" when absent.
  [[nodiscard]] std::string nameText() const { return name_.value_or(std::string()); }

  // Sub-nodes in service order; empty for leaves.
  [[nodiscard]] const std::vector<std::shared_ptr<LKObject>>& children() const { return children_; }
  void setChildren(std::vector<std::shared_ptr<LKObject>> children) {
    children_ = std::move(children);
  }

  // A new plain LKObject (never an Area or Channel) with the same id and name; the children and
  // the area flag are not copied.
  [[nodiscard]] std::shared_ptr<LKObject> copy() const;

  // Records are equal when their ids are: names, children and the kind of node are ignored, so
  // every "all" record (id 0) equals every other.
  [[nodiscard]] bool isEqual(const LKObject& other) const { return id_ == other.id_; }
  // A missing record equals nothing.
  [[nodiscard]] bool isEqual(const LKObject* other) const {
    return other != nullptr && isEqual(*other);
  }
  friend bool operator==(const LKObject& a, const LKObject& b) { return a.isEqual(b); }

 private:
  int id_ = 0;
  std::optional<std::string> name_;
  std::vector<std::shared_ptr<LKObject>> children_;
};

}  // namespace lk
