#include "Classes/Search/CityPickerViewController.h"

#include "Classes/Records/DirectoryDecoder.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Log/Log.h"

namespace lk {

std::vector<LKPickerViewController::Section> CityPickerViewController::sections() const {
  return {{{}, {cityList.begin(), cityList.end()}, {}, false}};
}

void CityPickerViewController::_loadDataSource() {
  if (!province) {
    _dataSourceReady();
    return;
  }
  startRequest(
      strprintf("%s/index/%d/city", ServiceEndpoints::serviceURL().c_str(), province->id()));
}

void CityPickerViewController::decodeAnswer(const boost::json::value& answer) {
  cityList = DirectoryDecoder::decodeCityList(answer);
}

}  // namespace lk
