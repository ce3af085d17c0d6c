#include "platform/device/state_store.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <thread>

#include "platform/api/device.h"

namespace platform::state {
namespace {

std::unique_ptr<Store>& currentStore() {
    static std::unique_ptr<Store> store;
    return store;
}
std::recursive_mutex& instanceMutex() {
    static std::recursive_mutex m;
    return m;
}

constexpr int kBusyTimeoutMs = 10000;

bool isBusy(const StoreError& e) {
    std::string_view what = e.what();
    return what.find("database is locked") != std::string_view::npos ||
           what.find("database is busy") != std::string_view::npos;
}

// Runs fn again while another process holds a lock that the busy handler does not wait for
// (switching the journal mode, recovering the log), up to the busy timeout.
template <class Fn>
void retryWhileBusy(Fn fn) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    for (;;) {
        try {
            fn();
            return;
        } catch (const StoreError& e) {
            if (!isBusy(e) || std::chrono::steady_clock::now() >= deadline)
                throw;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// The library's defaults suit a long-lived server: each connection sets up a cache of pages
// and a pool of small blocks up front, touching memory that a program asking for one setting
// never uses. Ours ask for pages and blocks as they need them.
void configureLibraryOnce() {
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
        sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 256, 16);
        return true;
    }();
    (void)configured;
}

sqlite3* openDatabase(const std::string& file, int flags) {
    configureLibraryOnce();
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(file.c_str(), &db, flags | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        throw StoreError("cannot open device state " + file + ": " + message);
    }
    return db;
}

// Makes the database file when there is none, without another process ever seeing it half
// made: it is created and switched to write-ahead mode under a private name, then linked to
// its final name. Of processes racing here, one link wins and the others use its file.
void createIfMissing(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::exists(file, ec))
        return;
    std::filesystem::path aside =
        file.parent_path() / (".state.db.tmp-" + std::to_string(::getpid()) + "-new");
    ::unlink(aside.c_str());
    sqlite3* db = openDatabase(aside.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    int rc = sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    ::chmod(aside.c_str(), 0600);
    if (rc != SQLITE_OK) {
        ::unlink(aside.c_str());
        throw StoreError("cannot create device state " + file.string());
    }
    if (::link(aside.c_str(), file.c_str()) != 0 && errno != EEXIST) {
        int err = errno;
        ::unlink(aside.c_str());
        throw StoreError("cannot create device state " + file.string() + ": " + std::strerror(err));
    }
    ::unlink(aside.c_str());
}

void check(sqlite3* db, int rc, std::string_view what) {
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) {
        throw StoreError(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "no database"));
    }
}

}  // namespace

sqlite3_stmt* StatementCache::take(std::string_view sql) {
    std::lock_guard lock(mutex_);
    auto found = idle_.find(std::string(sql));
    if (found == idle_.end() || found->second.empty())
        return nullptr;
    sqlite3_stmt* stmt = found->second.back();
    found->second.pop_back();
    --kept_;
    return stmt;
}

void StatementCache::give(sqlite3_stmt* stmt) {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    std::lock_guard lock(mutex_);
    const char* sql = sqlite3_sql(stmt);
    if (!sql || kept_ >= kMaxKept) {
        sqlite3_finalize(stmt);
        return;
    }
    idle_[sql].push_back(stmt);
    ++kept_;
}

void StatementCache::clear() {
    std::lock_guard lock(mutex_);
    for (auto& [sql, statements] : idle_) {
        for (sqlite3_stmt* stmt : statements) sqlite3_finalize(stmt);
    }
    idle_.clear();
    kept_ = 0;
}

Statement::Statement(sqlite3* db, std::string_view sql, StatementCache* cache)
    : db_(db), cache_(cache) {
    if (cache_)
        stmt_ = cache_->take(sql);
    if (!stmt_) {
        int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
        check(db, rc, "prepare");
    }
}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(other.stmt_), cache_(other.cache_) {
    other.stmt_ = nullptr;
}

Statement::~Statement() {
    if (!stmt_)
        return;
    if (cache_)
        cache_->give(stmt_);
    else
        sqlite3_finalize(stmt_);
}

Statement& Statement::bind(int index, std::int64_t value) {
    check(db_, sqlite3_bind_int64(stmt_, index, value), "bind");
    return *this;
}

Statement& Statement::bind(int index, std::string_view utf8) {
    check(db_,
          sqlite3_bind_text(stmt_, index, utf8.data(), static_cast<int>(utf8.size()),
                            SQLITE_TRANSIENT),
          "bind");
    return *this;
}

Statement& Statement::bind(int index, std::wstring_view text) {
    return bind(index, toUtf8(text));
}

Statement& Statement::bindBlob(int index, const void* data, std::size_t size) {
    check(db_, sqlite3_bind_blob(stmt_, index, data, static_cast<int>(size), SQLITE_TRANSIENT),
          "bind");
    return *this;
}

Statement& Statement::bindNull(int index) {
    check(db_, sqlite3_bind_null(stmt_, index), "bind");
    return *this;
}

bool Statement::step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    check(db_, rc, "step");
    return false;
}

int Statement::run() {
    while (step()) {
    }
    return sqlite3_changes(db_);
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

std::string Statement::utf8(int column) const {
    const unsigned char* p = sqlite3_column_text(stmt_, column);
    int n = sqlite3_column_bytes(stmt_, column);
    return p ? std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(n))
             : std::string();
}

std::wstring Statement::text(int column) const {
    return fromUtf8(utf8(column));
}

std::string Statement::blob(int column) const {
    const void* p = sqlite3_column_blob(stmt_, column);
    int n = sqlite3_column_bytes(stmt_, column);
    return p ? std::string(static_cast<const char*>(p), static_cast<std::size_t>(n))
             : std::string();
}

Store& Store::instance() {
    std::lock_guard lock(instanceMutex());
    auto& store = currentStore();
    if (!store) {
        std::filesystem::path folder = deviceRoot() / ".device";
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        // Machine state is the user's own: no other local user reads it.
        ::chmod(folder.c_str(), 0700);
        std::filesystem::path file = folder / "state.db";
        createIfMissing(file);
        store.reset(new Store(file.string()));
    }
    return *store;
}

void Store::closeInstance() {
    std::lock_guard lock(instanceMutex());
    currentStore().reset();
}

Store::Store(const std::string& file) : db_(openDatabase(file, SQLITE_OPEN_READWRITE)) {
    try {
        configure();
    } catch (...) {
        sqlite3_close_v2(db_);
        throw;
    }
}

void Store::configure() {
    // Other processes hold the write lock only for short transactions; wait for them.
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    // The journal mode is stored in the file, so a database made by createIfMissing is in
    // write-ahead mode already; asking again only waits while another process recovers it.
    retryWhileBusy([&] { exec("PRAGMA journal_mode=WAL"); });
    exec("PRAGMA synchronous=NORMAL");
    exec("PRAGMA foreign_keys=ON");
    // Keep the log and its index file when the last connection closes. Every short-lived
    // program (a `vorn` query, a hook) would otherwise create both files and delete them again,
    // which costs more than the query. The log is cut back to a small size after each
    // checkpoint so that keeping it costs no space worth mentioning.
    int persist = 1;
    sqlite3_file_control(db_, "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
    exec("PRAGMA journal_size_limit=262144");
    // Nor does the last connection copy the log into the database as it closes: that costs
    // three disk syncs at the end of every program, and a fourth at the next program's first
    // write. The log is copied whenever it has grown to 256 pages instead, which also bounds
    // what the next program to open the store reads back from it.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    exec("PRAGMA wal_autocheckpoint=256");
}

Store::~Store() {
    statements_.clear();
    if (db_)
        sqlite3_close_v2(db_);
}

namespace {

// The names of the tables and indexes a schema text creates: each follows "IF NOT EXISTS".
std::vector<std::string> createdNames(std::string_view sql) {
    constexpr std::string_view kMarker = "IF NOT EXISTS ";
    std::vector<std::string> names;
    for (std::size_t at = sql.find(kMarker); at != std::string_view::npos;
         at = sql.find(kMarker, at)) {
        at += kMarker.size();
        std::size_t end = at;
        while (end < sql.size() &&
               (std::isalnum(static_cast<unsigned char>(sql[end])) || sql[end] == '_'))
            ++end;
        if (end > at)
            names.emplace_back(sql.substr(at, end - at));
    }
    return names;
}

}  // namespace

void Store::ensureSchema(std::string_view component, std::string_view sql) {
    std::lock_guard lock(mutex_);
    std::string marker = "|" + std::string(component) + "|";
    if (schemasDone_.find(marker) != std::string::npos)
        return;
    // A schema text only creates what does not exist yet, and seeds the rows of a table in
    // the transaction that creates it; when every table and index is there, nothing is left
    // to do, and a look at the schema spares the write transaction a program's start would
    // otherwise take for each part of the store.
    const std::vector<std::string> names = createdNames(sql);
    bool present = !names.empty();
    for (const std::string& name : names) {
        auto st = prepare("SELECT 1 FROM sqlite_schema WHERE name = ?");
        st.bind(1, std::string_view(name));
        present = present && st.step();
        if (!present)
            break;
    }
    if (!present)
        transaction([&] { exec(sql); });
    schemasDone_ += marker;
}

Statement Store::prepare(std::string_view sql) {
    return Statement(db_, sql, &statements_);
}

void Store::exec(std::string_view sql) {
    std::string text(sql);
    char* error = nullptr;
    int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errmsg(db_);
        sqlite3_free(error);
        throw StoreError("device state: " + message);
    }
}

std::int64_t Store::lastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

void Store::transaction(const std::function<void()>& fn) {
    std::lock_guard lock(mutex_);
    if (transactionDepth_ > 0) {
        ++transactionDepth_;
        try {
            fn();
        } catch (...) {
            --transactionDepth_;
            throw;
        }
        --transactionDepth_;
        return;
    }
    exec("BEGIN IMMEDIATE");
    ++transactionDepth_;
    try {
        fn();
        --transactionDepth_;
        exec("COMMIT");
    } catch (...) {
        --transactionDepth_;
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

}  // namespace platform::state
