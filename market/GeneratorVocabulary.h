#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace market {

// The words the catalogue generator builds believable products from.
struct Department {
    std::string name;
    std::vector<std::pair<std::string, std::vector<std::string>>> groups;   // second level → leaves
    std::vector<std::string> brands;
    std::vector<std::string> qualities;
    std::string sizeProperty;          // the third property's name
    std::vector<std::string> sizes;
    int minPriceYuan;
    int maxPriceYuan;
};

struct Location {
    std::string state;
    std::string city;
};

struct Colour {
    std::string name;
    uint32_t rgb;
};

class GeneratorVocabulary {
public:
    static const std::vector<Department>& departments();
    static const std::vector<Location>& locations();
    static const std::vector<Colour>& colours();
    static const std::vector<std::string>& nickHeads();
    static const std::vector<std::string>& nickTails();
    static const std::vector<std::string>& pinyinNicks();
    static const std::vector<std::string>& shopSuffixes();
    static const std::vector<std::string>& bulletins();
};

}
