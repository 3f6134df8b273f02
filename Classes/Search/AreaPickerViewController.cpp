#include "Classes/Search/AreaPickerViewController.h"

#include "Classes/Records/DirectoryDecoder.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Log/Log.h"

namespace lk {

std::vector<LKPickerViewController::Section> AreaPickerViewController::sections() const {
  return {{{}, {areaList.begin(), areaList.end()}, {}, false}};
}

void AreaPickerViewController::_loadDataSource() {
  if (!city) {
    _dataSourceReady();
    return;
  }
  startRequest(
      strprintf("%s/index/%d/citymore", ServiceEndpoints::serviceURL().c_str(), city->id()));
}

void AreaPickerViewController::decodeAnswer(const boost::json::value& answer) {
  // Only the districts: their business circles are not offered here.
  areaList = DirectoryDecoder::decodeAreaTree(answer);
}

}  // namespace lk
