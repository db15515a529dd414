// This machine's battery history, kept between runs in an SQLite database
// ($XDG_STATE_HOME/voltwise/history.db): the samples (for the history view),
// and the totals the estimator learns from (seconds at each discharge power
// per day, seconds per charged percent per day). Thirty days are kept.
//
// The database runs in write-ahead-log mode: what was committed survives the
// process being killed. Several instances may have it open; one at a time
// writes (the one holding the lock on "<file>.lock"), the others read. A
// file that is not a sound database (found at the start, or by the hourly
// read-back of every page) is moved aside, never overwritten, and a new one
// is made.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "history/Estimator.h"
#include "platform/Result.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vw::history {

inline constexpr int kKeptDays = 30;

class HistoryStore {
public:
    using Say = std::function<void(const std::string&)>;

    // Whether this instance may ever write: a picture or the text readout
    // only reads (nothing made, locked, moved or written).
    enum class Access { ReadWrite, ReadOnly };

    // Opens (or makes) the database at `path`, its folder included. `say`
    // hears one line when a damaged file was moved aside. Read only, a
    // missing or damaged file is an error, and left as it is.
    static Result<std::unique_ptr<HistoryStore>> open(const std::string& path, Say say = {},
                                                      Access access = Access::ReadWrite);
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // $XDG_STATE_HOME/voltwise/history.db, else ~/.local/state/voltwise/history.db.
    static std::string defaultPath();

    const std::string& path() const { return path_; }
    // This instance writes (it holds the lock); otherwise it only reads.
    bool writer() const { return lockFd_ >= 0 && locked_; }

    // What is stored, into `estimator`, as of `now`.
    void loadInto(Estimator& estimator, double now);
    // Callbacks that store what the estimator learns.
    Learned learner();

    // A reading, for the history view.
    void addSample(const Reading& r);
    // The samples from `since` on, oldest first.
    std::vector<Reading> samplesSince(double since);

    // Whether the service's own history has been taken in once.
    bool seeded();
    void markSeeded();

    // Makes what was written since the last commit durable; drops what is
    // older than kKeptDays before `now` now and then.
    void commit(double now);

private:
    HistoryStore(std::string path, sqlite3* db, Access access);
    bool takeLock();
    bool write();  // begins a transaction when none is open; false for a reader
    Result<void> prepare();
    void prune(double now);
    void recover(const std::string& why);

    std::string path_;
    Access access_;
    Say say_;
    sqlite3* db_ = nullptr;
    int lockFd_ = -1;
    bool locked_ = false;
    bool inTransaction_ = false;
    double lastPrune_ = -1e300;
    sqlite3_stmt* addSample_ = nullptr;
    sqlite3_stmt* addDischarge_ = nullptr;
    sqlite3_stmt* addCharge_ = nullptr;
};

}  // namespace vw::history
