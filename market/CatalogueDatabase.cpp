#include "market/CatalogueDatabase.h"

#include "market/Catalogue.h"
#include "market/SqliteStatement.h"

#include <sqlite3.h>

#include <stdexcept>

namespace market {

namespace {

const char* const kSchema = R"(
CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value TEXT);
CREATE TABLE IF NOT EXISTS categories(cid INTEGER PRIMARY KEY, parent_cid INTEGER, name TEXT,
    is_parent INTEGER, sort_order INTEGER);
CREATE TABLE IF NOT EXISTS prop_values(cid INTEGER, pid INTEGER, prop_name TEXT, vid INTEGER,
    name TEXT, name_alias TEXT, sort_order INTEGER);
CREATE TABLE IF NOT EXISTS sellers(nick TEXT PRIMARY KEY, total_num INTEGER, good_num INTEGER,
    level INTEGER, state TEXT, city TEXT);
CREATE TABLE IF NOT EXISTS shops(sid INTEGER PRIMARY KEY, nick TEXT UNIQUE, cid INTEGER, title TEXT,
    description TEXT, bulletin TEXT, created TEXT, modified TEXT);
CREATE TABLE IF NOT EXISTS products(num_iid INTEGER PRIMARY KEY, cid INTEGER, title TEXT, nick TEXT,
    type TEXT, price_cents INTEGER, express_fee_cents INTEGER, volume INTEGER, num INTEGER,
    delist_offset INTEGER, is_mall INTEGER, is_prepay INTEGER, promoted INTEGER, aspect INTEGER,
    picture_file TEXT, description TEXT);
CREATE TABLE IF NOT EXISTS product_props(num_iid INTEGER, pid INTEGER, vid INTEGER);
CREATE TABLE IF NOT EXISTS users(uid INTEGER PRIMARY KEY AUTOINCREMENT, created TEXT);
)";

// User ids start high enough to look like a real service's.
const char* const kFirstUserId = "INSERT INTO sqlite_sequence(name, seq) SELECT 'users', 100000 "
                                 "WHERE NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name='users')";

}

CatalogueDatabase::CatalogueDatabase(const std::string& path)
{
    int code = sqlite3_open_v2(path.c_str(), &db_,
                               SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (code != SQLITE_OK) {
        std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw std::runtime_error("cannot open catalogue " + path + ": " + message);
    }
    sqlite3_busy_timeout(db_, 5000);
}

CatalogueDatabase::~CatalogueDatabase()
{
    insertCategory_.reset();
    insertPropValue_.reset();
    insertSeller_.reset();
    insertShop_.reset();
    insertProduct_.reset();
    insertProductProp_.reset();
    sqlite3_close(db_);
}

void CatalogueDatabase::exec(const char* sql) const
{
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error("sqlite: " + message);
    }
}

void CatalogueDatabase::createSchema()
{
    exec(kSchema);
    exec(kFirstUserId);
}

void CatalogueDatabase::beginBulk()
{
    exec("PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY; BEGIN");
}

void CatalogueDatabase::commitBulk()
{
    exec("COMMIT; CREATE INDEX IF NOT EXISTS product_props_item ON product_props(num_iid)");
}

SqliteStatement& CatalogueDatabase::prepared(std::unique_ptr<SqliteStatement>& slot, const char* sql)
{
    if (!slot)
        slot = std::make_unique<SqliteStatement>(db_, sql);
    return *slot;
}

void CatalogueDatabase::insert(const Category& category)
{
    prepared(insertCategory_, "INSERT INTO categories VALUES(?,?,?,?,?)")
        .bind(1, category.cid)
        .bind(2, category.parentCid)
        .bind(3, category.name)
        .bind(4, int64_t(category.isParent))
        .bind(5, int64_t(category.sortOrder))
        .execute();
}

void CatalogueDatabase::insert(const PropValue& value)
{
    prepared(insertPropValue_, "INSERT INTO prop_values VALUES(?,?,?,?,?,?,?)")
        .bind(1, value.cid)
        .bind(2, value.pid)
        .bind(3, value.propName)
        .bind(4, value.vid)
        .bind(5, value.name)
        .bind(6, value.nameAlias)
        .bind(7, int64_t(value.sortOrder))
        .execute();
}

void CatalogueDatabase::insert(const Seller& seller)
{
    prepared(insertSeller_, "INSERT INTO sellers VALUES(?,?,?,?,?,?)")
        .bind(1, seller.nick)
        .bind(2, seller.totalNum)
        .bind(3, seller.goodNum)
        .bind(4, int64_t(seller.level))
        .bind(5, seller.state)
        .bind(6, seller.city)
        .execute();
}

void CatalogueDatabase::insert(const Shop& shop)
{
    prepared(insertShop_, "INSERT INTO shops VALUES(?,?,?,?,?,?,?,?)")
        .bind(1, shop.sid)
        .bind(2, shop.nick)
        .bind(3, shop.cid)
        .bind(4, shop.title)
        .bind(5, shop.desc)
        .bind(6, shop.bulletin)
        .bind(7, shop.created)
        .bind(8, shop.modified)
        .execute();
}

void CatalogueDatabase::insert(const Product& product)
{
    prepared(insertProduct_, "INSERT INTO products VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)")
        .bind(1, product.numIid)
        .bind(2, product.cid)
        .bind(3, product.title)
        .bind(4, product.nick)
        .bind(5, product.type)
        .bind(6, product.priceCents)
        .bind(7, product.expressFeeCents)
        .bind(8, product.volume)
        .bind(9, product.num)
        .bind(10, product.delistOffset)
        .bind(11, int64_t(product.isMall))
        .bind(12, int64_t(product.isPrepay))
        .bind(13, int64_t(product.promoted))
        .bind(14, int64_t(product.aspect))
        .bind(15, product.pictureFile)
        .bind(16, product.desc)
        .execute();
    SqliteStatement& prop = prepared(insertProductProp_, "INSERT INTO product_props VALUES(?,?,?)");
    for (const auto& pidVid : product.props)
        prop.bind(1, product.numIid).bind(2, pidVid.first).bind(3, pidVid.second).execute();
}

void CatalogueDatabase::setMeta(const std::string& key, const std::string& value)
{
    SqliteStatement(db_, "INSERT OR REPLACE INTO meta VALUES(?,?)").bind(1, key).bind(2, value).execute();
}

std::string CatalogueDatabase::meta(const std::string& key) const
{
    SqliteStatement query(db_, "SELECT value FROM meta WHERE key=?");
    query.bind(1, key);
    return query.step() ? query.text(0) : std::string();
}

void CatalogueDatabase::loadInto(Catalogue& catalogue) const
{
    SqliteStatement categories(db_, "SELECT cid, parent_cid, name, is_parent, sort_order FROM categories "
                                    "ORDER BY sort_order, cid");
    while (categories.step())
        catalogue.addCategory({categories.integer(0), categories.integer(1), categories.text(2),
                               categories.integer(3) != 0, int(categories.integer(4))});

    SqliteStatement values(db_, "SELECT cid, pid, prop_name, vid, name, name_alias, sort_order FROM prop_values");
    while (values.step())
        catalogue.addPropValue({values.integer(0), values.integer(1), values.text(2), values.integer(3),
                                values.text(4), values.text(5), int(values.integer(6))});

    SqliteStatement sellers(db_, "SELECT nick, total_num, good_num, level, state, city FROM sellers");
    while (sellers.step())
        catalogue.addSeller({sellers.text(0), sellers.integer(1), sellers.integer(2), int(sellers.integer(3)),
                             sellers.text(4), sellers.text(5)});

    SqliteStatement shops(db_, "SELECT sid, nick, cid, title, description, bulletin, created, modified FROM shops");
    while (shops.step())
        catalogue.addShop({shops.integer(0), shops.text(1), shops.integer(2), shops.text(3), shops.text(4),
                           shops.text(5), shops.text(6), shops.text(7)});

    // Properties arrive ordered by item, so each product takes its run of rows.
    SqliteStatement props(db_, "SELECT num_iid, pid, vid FROM product_props ORDER BY num_iid, rowid");
    bool propsLeft = props.step();
    SqliteStatement products(db_, "SELECT num_iid, cid, title, nick, type, price_cents, express_fee_cents, volume, "
                                  "num, delist_offset, is_mall, is_prepay, promoted, aspect, picture_file, "
                                  "description FROM products ORDER BY num_iid");
    while (products.step()) {
        Product product;
        product.numIid = products.integer(0);
        product.cid = products.integer(1);
        product.title = products.text(2);
        product.nick = products.text(3);
        product.type = products.text(4);
        product.priceCents = products.integer(5);
        product.expressFeeCents = products.integer(6);
        product.volume = products.integer(7);
        product.num = products.integer(8);
        product.delistOffset = products.integer(9);
        product.isMall = products.integer(10) != 0;
        product.isPrepay = products.integer(11) != 0;
        product.promoted = products.integer(12) != 0;
        product.aspect = int(products.integer(13));
        product.pictureFile = products.text(14);
        product.desc = products.text(15);
        while (propsLeft && props.integer(0) < product.numIid)
            propsLeft = props.step();
        while (propsLeft && props.integer(0) == product.numIid) {
            product.props.emplace_back(props.integer(1), props.integer(2));
            propsLeft = props.step();
        }
        catalogue.addProduct(std::move(product));
    }
    catalogue.finishLoading();
}

uint32_t CatalogueDatabase::allocateUserId()
{
    std::lock_guard<std::mutex> lock(userMutex_);
    exec("INSERT INTO users(created) VALUES(datetime('now'))");
    return static_cast<uint32_t>(sqlite3_last_insert_rowid(db_));
}

}
