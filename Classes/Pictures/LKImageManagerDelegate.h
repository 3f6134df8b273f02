#pragma once

#include <string>

#include "Platform/Image/Image.h"

namespace lk {

class LKImageManager;

// A view waiting for a picture through the manager.
class LKImageManagerDelegate {
 public:
  LKImageManagerDelegate() = default;
  LKImageManagerDelegate(const LKImageManagerDelegate&) = delete;
  LKImageManagerDelegate& operator=(const LKImageManagerDelegate&) = delete;
  virtual ~LKImageManagerDelegate() = default;

  virtual void webImageManager(LKImageManager& /*manager*/, const ImagePtr& /*image*/) {}
  // The picture of `url` could not be fetched this time; the view keeps its placeholder.
  virtual void webImageManagerDidFail(LKImageManager& /*manager*/, const std::string& /*url*/) {}
};

}  // namespace lk
