#pragma once

#include <boost/json/object.hpp>

#include <string>

namespace lk {

// A shop's additional information, as the service sends it.
class ShopAdditionList {
 public:
  [[nodiscard]] const std::string& type() const { return type_; }
  void setType(std::string v) { type_ = std::move(v); }
  [[nodiscard]] int total() const { return total_; }
  void setTotal(int v) { total_ = v; }
  // The entries, as the raw JSON object.
  [[nodiscard]] const boost::json::object& list() const { return list_; }
  void setList(boost::json::object v) { list_ = std::move(v); }

 private:
  std::string type_;
  int total_ = 0;
  boost::json::object list_;
};

}  // namespace lk
