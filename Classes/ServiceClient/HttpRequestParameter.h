#pragma once

#include <optional>
#include <string>

#include "Classes/ServiceClient/FormValue.h"

namespace lk {

// A name and an optional value, for queries whose pairs must keep a given order
// (HttpRequest::makeURLWithOrderedParams). A pair without a value is left out.
class HttpRequestParameter {
 public:
  HttpRequestParameter(std::string name, std::optional<FormValue> value)
      : name_(std::move(name)), value_(std::move(value)) {}

  static HttpRequestParameter parameterWithName(std::string name, std::optional<FormValue> value) {
    return HttpRequestParameter(std::move(name), std::move(value));
  }

  [[nodiscard]] const std::string& name() const { return name_; }
  [[nodiscard]] const std::optional<FormValue>& value() const { return value_; }

 private:
  std::string name_;
  std::optional<FormValue> value_;
};

}  // namespace lk
