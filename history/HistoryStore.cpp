#include "history/HistoryStore.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>

namespace vw::history {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value TEXT) WITHOUT ROWID;"
    // One row a sample: percent in hundredths, energies in mWh, power in mW.
    "CREATE TABLE IF NOT EXISTS samples(t INTEGER PRIMARY KEY, phase INTEGER, percent INTEGER, energy INTEGER,"
    " full INTEGER, rate INTEGER, charge_limit INTEGER);"
    "CREATE TABLE IF NOT EXISTS discharge(day INTEGER, bin INTEGER, seconds REAL, watt_seconds REAL,"
    " PRIMARY KEY(day, bin)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS charge(day INTEGER, percent INTEGER, seconds REAL, count INTEGER,"
    " PRIMARY KEY(day, percent)) WITHOUT ROWID;";

constexpr double kPruneEvery = 3600;

// An integer column's value, or NULL for a missing reading.
void bindScaled(sqlite3_stmt* s, int column, double v, double scale) {
    if (std::isfinite(v)) sqlite3_bind_int64(s, column, std::llround(v * scale));
    else sqlite3_bind_null(s, column);
}

double columnScaled(sqlite3_stmt* s, int column, double scale) {
    if (sqlite3_column_type(s, column) == SQLITE_NULL) return NAN;
    return static_cast<double>(sqlite3_column_int64(s, column)) / scale;
}

std::string errorOf(sqlite3* db) { return db ? sqlite3_errmsg(db) : "out of memory"; }

// A database that opens and whose schema can be read. (The full check reads
// every page: it runs now and then while the store is in use, not before the
// first frame.)
Result<sqlite3*> openChecked(const std::string& path, bool readOnly = false) {
    sqlite3* db = nullptr;
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, 2000);
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        Error e{errorOf(db), sqlite3_extended_errcode(db) & 0xff};
        sqlite3_close(db);
        return e;
    }
    return db;
}

// Whether every page of `db` reads as it should.
std::optional<std::string> damageIn(sqlite3* db) {
    std::string verdict;
    char* message = nullptr;
    const int rc = sqlite3_exec(
        db, "PRAGMA quick_check",
        [](void* out, int, char** values, char**) {
            if (values[0] && static_cast<std::string*>(out)->empty()) *static_cast<std::string*>(out) = values[0];
            return 0;
        },
        &verdict, &message);
    const std::string why = message ? message : verdict;
    sqlite3_free(message);
    if (rc == SQLITE_OK && verdict == "ok") return std::nullopt;
    return why.empty() ? std::string("damaged") : why;
}

// Moves `path` (and its write-ahead log and index) to "<path>.damaged-<time>".
std::string moveAside(const std::string& path) {
    const std::string aside = path + ".damaged-" + std::to_string(static_cast<long long>(std::time(nullptr)));
    std::string target = aside;
    for (int n = 2; fs::exists(target) && n < 1000; ++n) target = aside + "-" + std::to_string(n);
    std::error_code ec;
    fs::rename(path, target, ec);
    for (const char* part : {"-wal", "-shm"}) {
        std::error_code ignored;
        if (fs::exists(path + part, ignored)) fs::rename(path + part, target + part, ignored);
    }
    return ec ? std::string() : target;
}

}  // namespace

std::string HistoryStore::defaultPath() {
    if (const char* x = std::getenv("XDG_STATE_HOME"); x && *x) return std::string(x) + "/voltwise/history.db";
    if (const char* h = std::getenv("HOME"); h && *h) return std::string(h) + "/.local/state/voltwise/history.db";
    return "voltwise-history.db";
}

HistoryStore::HistoryStore(std::string path, sqlite3* db, Access access)
    : path_(std::move(path)), access_(access), db_(db) {}

HistoryStore::~HistoryStore() {
    if (inTransaction_) sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    for (sqlite3_stmt* s : {addSample_, addDischarge_, addCharge_}) sqlite3_finalize(s);
    sqlite3_close(db_);
    if (lockFd_ >= 0) ::close(lockFd_);
}

Result<std::unique_ptr<HistoryStore>> HistoryStore::open(const std::string& path, Say say, Access access) {
    if (access == Access::ReadOnly) {
        Result<sqlite3*> db = openChecked(path, true);
        if (!db) return Error{"cannot read " + path + ": " + db.error().what, db.error().errnum};
        return std::unique_ptr<HistoryStore>(new HistoryStore(path, *db, access));
    }
    std::error_code ec;
    if (const fs::path folder = fs::path(path).parent_path(); !folder.empty()) fs::create_directories(folder, ec);
    Result<sqlite3*> db = openChecked(path);
    if (!db && (db.error().errnum == SQLITE_CORRUPT || db.error().errnum == SQLITE_NOTADB)) {
        const std::string aside = moveAside(path);
        if (aside.empty()) return Error{path + " is damaged (" + db.error().what + ") and cannot be moved aside"};
        if (say) say("history: " + path + " was damaged (" + db.error().what + "); moved it to " + aside + " and started anew");
        db = openChecked(path);
    }
    if (!db) return Error{"cannot open " + path + ": " + db.error().what, db.error().errnum};
    std::unique_ptr<HistoryStore> store(new HistoryStore(path, *db, access));
    store->say_ = std::move(say);
    if (auto ready = store->prepare(); !ready) return ready.error();
    return store;
}

// Found damaged while in use: the file is moved aside and a new one begun.
void HistoryStore::recover(const std::string& why) {
    if (inTransaction_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    inTransaction_ = false;
    for (sqlite3_stmt** s : {&addSample_, &addDischarge_, &addCharge_}) {
        sqlite3_finalize(*s);
        *s = nullptr;
    }
    sqlite3_close(db_);
    db_ = nullptr;
    const std::string aside = moveAside(path_);
    if (say_)
        say_("history: " + path_ + " was damaged (" + why + "); " +
             (aside.empty() ? "could not move it aside" : "moved it to " + aside) + " and started anew");
    if (Result<sqlite3*> db = openChecked(path_)) {
        db_ = *db;
        (void)prepare();
    }
}

Result<void> HistoryStore::prepare() {
    char* message = nullptr;
    if (sqlite3_exec(db_, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, &message) != SQLITE_OK ||
        (takeLock() && sqlite3_exec(db_, kSchema, nullptr, nullptr, &message) != SQLITE_OK)) {
        Error e{"cannot use " + path_ + ": " + (message ? message : errorOf(db_))};
        sqlite3_free(message);
        return e;
    }
    const char* statements[] = {
        "INSERT OR REPLACE INTO samples VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7)",
        "INSERT INTO discharge VALUES(?1, ?2, ?3, ?4) ON CONFLICT(day, bin) DO UPDATE SET "
        "seconds = seconds + excluded.seconds, watt_seconds = watt_seconds + excluded.watt_seconds",
        "INSERT INTO charge VALUES(?1, ?2, ?3, 1) ON CONFLICT(day, percent) DO UPDATE SET "
        "seconds = seconds + excluded.seconds, count = count + 1",
    };
    sqlite3_stmt** targets[] = {&addSample_, &addDischarge_, &addCharge_};
    for (int i = 0; i < 3; ++i)
        if (sqlite3_prepare_v3(db_, statements[i], -1, SQLITE_PREPARE_PERSISTENT, targets[i], nullptr) != SQLITE_OK) {
            // A reader that came before the first writer finds no tables yet.
            if (!writer()) return {};
            return Error{"cannot use " + path_ + ": " + errorOf(db_)};
        }
    return {};
}

bool HistoryStore::takeLock() {
    if (locked_) return true;
    if (access_ == Access::ReadOnly) return false;
    if (lockFd_ < 0) lockFd_ = ::open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ < 0) return false;
    locked_ = ::flock(lockFd_, LOCK_EX | LOCK_NB) == 0;
    return locked_;
}

bool HistoryStore::write() {
    if (!db_ || !takeLock()) return false;
    if (!addSample_ && !prepare()) return false;
    if (!inTransaction_) inTransaction_ = sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    return inTransaction_;
}

void HistoryStore::commit(double now) {
    if (!db_ || (!inTransaction_ && !takeLock())) return;
    const bool hourly = now - lastPrune_ >= kPruneEvery && write();
    if (hourly) prune(now);
    if (inTransaction_ && sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const int rc = sqlite3_extended_errcode(db_) & 0xff;
        if (rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB) recover(errorOf(db_));
    }
    inTransaction_ = false;
    // Now and then, every page is read back.
    if (hourly && db_)
        if (const auto damage = damageIn(db_)) recover(*damage);
}

void HistoryStore::prune(double now) {
    lastPrune_ = now;
    const int64_t firstDay = dayOf(now) - kKeptDays;
    sqlite3_stmt* s = nullptr;
    for (const char* sql : {"DELETE FROM samples WHERE t < ?1", "DELETE FROM discharge WHERE day < ?2",
                            "DELETE FROM charge WHERE day < ?2"}) {
        if (sqlite3_prepare_v2(db_, sql, -1, &s, nullptr) != SQLITE_OK) continue;
        sqlite3_bind_int64(s, 1, static_cast<sqlite3_int64>(now) - kKeptDays * kSecondsPerDay);
        sqlite3_bind_int64(s, 2, firstDay);
        sqlite3_step(s);
        sqlite3_finalize(s);
    }
}

void HistoryStore::addSample(const Reading& r) {
    if (!write()) return;
    sqlite3_stmt* s = addSample_;
    sqlite3_bind_int64(s, 1, static_cast<sqlite3_int64>(std::floor(r.time)));
    sqlite3_bind_int(s, 2, static_cast<int>(r.phase));
    bindScaled(s, 3, r.percent, 100);
    bindScaled(s, 4, r.energyWh, 1000);
    bindScaled(s, 5, r.energyFullWh, 1000);
    bindScaled(s, 6, r.rateW, 1000);
    bindScaled(s, 7, r.chargeLimit, 1);
    sqlite3_step(s);
    sqlite3_reset(s);
}

Learned HistoryStore::learner() {
    Learned l;
    l.discharge = [this](double time, double watts, double seconds) {
        if (!write()) return;
        sqlite3_stmt* s = addDischarge_;
        sqlite3_bind_int64(s, 1, dayOf(time));
        sqlite3_bind_int(s, 2, PowerHistory::binOf(watts));
        sqlite3_bind_double(s, 3, seconds);
        sqlite3_bind_double(s, 4, watts * seconds);
        sqlite3_step(s);
        sqlite3_reset(s);
    };
    l.chargeStep = [this](double time, int percent, double seconds) {
        if (!write()) return;
        sqlite3_stmt* s = addCharge_;
        sqlite3_bind_int64(s, 1, dayOf(time));
        sqlite3_bind_int(s, 2, percent);
        sqlite3_bind_double(s, 3, seconds);
        sqlite3_step(s);
        sqlite3_reset(s);
    };
    return l;
}

void HistoryStore::loadInto(Estimator& estimator, double now) {
    if (!db_) return;
    const int64_t today = dayOf(now);
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT day, bin, seconds, watt_seconds FROM discharge WHERE day > ?1 ORDER BY day", -1,
                           &s, nullptr) == SQLITE_OK) {
        sqlite3_bind_int64(s, 1, today - kKeptDays);
        while (sqlite3_step(s) == SQLITE_ROW)
            estimator.addDischargeBin(sqlite3_column_int64(s, 0), sqlite3_column_int(s, 1), sqlite3_column_double(s, 2),
                                      sqlite3_column_double(s, 3));
    }
    sqlite3_finalize(s);
    if (sqlite3_prepare_v2(db_, "SELECT percent, SUM(seconds), SUM(count) FROM charge WHERE day > ?1 GROUP BY percent", -1,
                           &s, nullptr) == SQLITE_OK) {
        sqlite3_bind_int64(s, 1, today - kKeptDays);
        while (sqlite3_step(s) == SQLITE_ROW)
            estimator.addChargeStep(sqlite3_column_int(s, 0), sqlite3_column_double(s, 1), sqlite3_column_int(s, 2));
    }
    sqlite3_finalize(s);
}

std::vector<Reading> HistoryStore::samplesSince(double since) {
    std::vector<Reading> out;
    if (!db_) return out;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT t, phase, percent, energy, full, rate, charge_limit FROM samples WHERE t >= ?1 ORDER BY t",
                           -1, &s, nullptr) != SQLITE_OK)
        return out;
    sqlite3_bind_int64(s, 1, static_cast<sqlite3_int64>(std::floor(since)));
    while (sqlite3_step(s) == SQLITE_ROW) {
        Reading r;
        r.time = static_cast<double>(sqlite3_column_int64(s, 0));
        r.phase = static_cast<Phase>(sqlite3_column_int(s, 1));
        r.percent = columnScaled(s, 2, 100);
        r.energyWh = columnScaled(s, 3, 1000);
        r.energyFullWh = columnScaled(s, 4, 1000);
        r.rateW = columnScaled(s, 5, 1000);
        r.chargeLimit = columnScaled(s, 6, 1);
        out.push_back(r);
    }
    sqlite3_finalize(s);
    return out;
}

bool HistoryStore::seeded() {
    if (!db_) return false;
    sqlite3_stmt* s = nullptr;
    bool found = false;
    if (sqlite3_prepare_v2(db_, "SELECT 1 FROM meta WHERE key = 'seeded'", -1, &s, nullptr) == SQLITE_OK)
        found = sqlite3_step(s) == SQLITE_ROW;
    sqlite3_finalize(s);
    return found;
}

void HistoryStore::markSeeded() {
    if (!write()) return;
    sqlite3_exec(db_, "INSERT OR REPLACE INTO meta VALUES('seeded', '1')", nullptr, nullptr, nullptr);
}

}  // namespace vw::history
