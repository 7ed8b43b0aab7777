#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace market {

class CatalogueDatabase;
struct Department;

// Fills an empty catalogue database with a believable, deterministic
// catalogue: the same seed and size always give the same products.
class CatalogueGenerator {
public:
    static constexpr int64_t kBrandPid = 20000;
    static constexpr int64_t kColourPid = 1627207;

    CatalogueGenerator(CatalogueDatabase& db, uint32_t seed);
    void generate(int productCount);


private:
    struct SellerPlan {
        std::string nick;
        int department;
        bool mall;
    };

    void writeCategories();
    void writePropValues(int department, int64_t cid);
    void writeSellers(int count);
    void writeProducts(int count);
    std::string makeNick(int index);
    std::string makeModel();
    std::string makeDate(int yearFrom);
    static int64_t topCid(int department);
    int pick(int count);          // uniform in [0, count)
    bool chance(int percent);
    int64_t between(int64_t low, int64_t high);

    CatalogueDatabase& db_;
    std::mt19937 random_;
    std::vector<std::vector<int64_t>> leaves_;   // per department
    std::vector<SellerPlan> sellers_;
};

}
