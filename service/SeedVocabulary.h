#pragma once

#include <string>
#include <vector>

namespace lk::service {

// The facts and word pools the sample directory is made from.
class SeedVocabulary {
 public:
  struct Province {
    int id;
    std::string name;
  };
  struct District {
    std::string name;
    std::vector<std::string> circles;
  };
  struct City {
    int id;
    std::string name;
    std::string province;
    double x;  // longitude
    double y;  // latitude
    std::string areaCode;
    std::vector<District> districts;
  };
  struct SubCategory {
    std::string name;
    std::vector<std::string> brands;
  };
  struct Category {
    int id;
    std::string name;
    std::vector<SubCategory> subs;
    std::vector<std::string> aspects;
    std::string recommendName;
    std::vector<std::string> recommends;
  };

  // Provinces in the order of their pinyin, the two special regions among them.
  static const std::vector<Province>& provinces();
  // Cities with coordinates; the hot cities carry their districts and business circles.
  static const std::vector<City>& cities();
  static const std::vector<Category>& categories();
  static const std::vector<std::string>& streets();
  static const std::vector<std::string>& buildings();
  static const std::vector<std::string>& reviewSentences();
  static const std::vector<std::string>& broadcastTexts();
  static const std::vector<std::string>& nicknameHeads();
  static const std::vector<std::string>& nicknameTails();
  static const std::vector<std::string>& tagWords();
  static const std::vector<std::string>& specialServices();
  static const std::vector<std::string>& couponTopics(const std::string& kind);
  static const std::vector<std::string>& couponTerms();
};

}  // namespace lk::service
