#pragma once
// The machine-state store: one SQLite database under <root>/.device/ that every process of
// the device opens at once (write-ahead log, short transactions). Internal to the platform;
// nothing above it sees SQLite.

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace platform::state {

// Compiled statements kept for their next use: a program reads dozens of settings through the
// same few statements, and compiling each again cost more than running it.
class StatementCache {
  public:
    StatementCache() = default;
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;
    ~StatementCache() { clear(); }

    // A kept statement of this text, or none.
    sqlite3_stmt* take(std::string_view sql);
    // Keeps a statement for its next use, reset and with its parameters cleared.
    void give(sqlite3_stmt* stmt);
    void clear();

  private:
    static constexpr std::size_t kMaxKept = 64;
    std::mutex mutex_;
    std::unordered_map<std::string, std::vector<sqlite3_stmt*>> idle_;
    std::size_t kept_ = 0;
};

class Statement {
  public:
    // Compiles the statement, or takes a kept one from the cache, which gets it back when
    // this one is destroyed.
    Statement(sqlite3* db, std::string_view sql, StatementCache* cache = nullptr);
    Statement(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    // Parameters count from 1, as in SQL.
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, std::string_view utf8);
    Statement& bind(int index, std::wstring_view text);  // stored as UTF-8
    Statement& bindBlob(int index, const void* data, std::size_t size);
    Statement& bindNull(int index);

    // Advances to the next row; false when there is none (or the statement is done).
    bool step();
    // Runs to completion; returns the number of rows changed.
    int run();
    void reset();

    bool isNull(int column) const;
    std::int64_t integer(int column) const;
    std::string utf8(int column) const;
    std::wstring text(int column) const;
    std::string blob(int column) const;

  private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    StatementCache* cache_ = nullptr;
};

class Store {
  public:
    // The store of the current device root, opened (and created) on first use.
    static Store& instance();
    // Closes the store so the next instance() opens the store of the current root (tests
    // that switch device roots call this).
    static void closeInstance();

    ~Store();

    // Creates a component's tables once per process ("CREATE TABLE IF NOT EXISTS ...").
    void ensureSchema(std::string_view component, std::string_view sql);

    Statement prepare(std::string_view sql);
    void exec(std::string_view sql);
    std::int64_t lastInsertId() const;

    // Runs fn inside one immediate transaction, waiting for other processes' transactions.
    // Commits when fn returns, rolls back when it throws. Nested calls join the outer one.
    void transaction(const std::function<void()>& fn);

    // Everything that touches the store from several threads of one process holds this.
    std::recursive_mutex& mutex() { return mutex_; }

  private:
    explicit Store(const std::string& file);
    void configure();

    sqlite3* db_ = nullptr;
    StatementCache statements_;
    std::recursive_mutex mutex_;
    int transactionDepth_ = 0;
    std::string schemasDone_;
};

// A failure of the store itself (disk full, corrupt file): an invariant of the device broke.
struct StoreError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace platform::state
