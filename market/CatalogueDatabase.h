#pragma once

#include "market/CatalogueRecords.h"

#include <memory>
#include <mutex>
#include <string>

struct sqlite3;

namespace market {

class Catalogue;
class SqliteStatement;

// The catalogue's SQLite file: schema, bulk writing (generator, import),
// loading into memory, and the service's user ids.
class CatalogueDatabase {
public:
    explicit CatalogueDatabase(const std::string& path);
    ~CatalogueDatabase();
    CatalogueDatabase(const CatalogueDatabase&) = delete;
    CatalogueDatabase& operator=(const CatalogueDatabase&) = delete;

    void createSchema();
    void beginBulk();
    void commitBulk();

    void insert(const Category& category);
    void insert(const PropValue& value);
    void insert(const Seller& seller);
    void insert(const Shop& shop);
    void insert(const Product& product);
    void setMeta(const std::string& key, const std::string& value);
    std::string meta(const std::string& key) const;

    void loadInto(Catalogue& catalogue) const;
    uint32_t allocateUserId();

private:
    SqliteStatement& prepared(std::unique_ptr<SqliteStatement>& slot, const char* sql);
    void exec(const char* sql) const;

    sqlite3* db_ = nullptr;
    std::mutex userMutex_;
    std::unique_ptr<SqliteStatement> insertCategory_, insertPropValue_, insertSeller_, insertShop_,
        insertProduct_, insertProductProp_;
};

}
