#include "sqlite_db.h"

namespace q3 {
namespace {

[[noreturn]] void Fail(sqlite3* db, int code, std::string_view context) {
  std::string what(context);
  what += ": ";
  what += db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  throw SqliteError(code, what);
}

} // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
  const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
  if (rc != SQLITE_OK) {
    Fail(db, rc, "prepare");
  }
}

Statement::~Statement() {
  sqlite3_finalize(stmt_);
}

Statement& Statement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  return *this;
}

Statement& Statement::Bind(int index, std::int64_t value) {
  const int rc = sqlite3_bind_int64(stmt_, index, value);
  if (rc != SQLITE_OK) {
    Fail(db_, rc, "bind");
  }
  return *this;
}

Statement& Statement::Bind(int index, std::string_view value) {
  const int rc = sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
  if (rc != SQLITE_OK) {
    Fail(db_, rc, "bind");
  }
  return *this;
}

Statement& Statement::BindBlob(int index, const void* data, std::size_t size) {
  const int rc = sqlite3_bind_blob64(stmt_, index, size ? data : "", size, SQLITE_TRANSIENT);
  if (rc != SQLITE_OK) {
    Fail(db_, rc, "bind");
  }
  return *this;
}

Statement& Statement::BindNull(int index) {
  sqlite3_bind_null(stmt_, index);
  return *this;
}

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) {
    return true;
  }
  if (rc == SQLITE_DONE) {
    return false;
  }
  sqlite3_reset(stmt_);
  Fail(db_, rc, "step");
}

void Statement::Run() {
  while (Step()) {
  }
}

std::string Statement::Text(int column) const {
  const auto* text = sqlite3_column_text(stmt_, column);
  if (!text) {
    return {};
  }
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
}

std::vector<unsigned char> Statement::Blob(int column) const {
  const auto* data = static_cast<const unsigned char*>(sqlite3_column_blob(stmt_, column));
  const int size = sqlite3_column_bytes(stmt_, column);
  if (!data || size <= 0) {
    return {};
  }
  return std::vector<unsigned char>(data, data + size);
}

Database::Database(const std::string& path, bool create, bool readOnly) : path_(path) {
  int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
  if (create && !readOnly) {
    flags |= SQLITE_OPEN_CREATE;
  }
  const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
  if (rc != SQLITE_OK) {
    std::string what = "cannot open " + path + ": " + (db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
    sqlite3_close(db_);
    db_ = nullptr;
    throw SqliteError(rc, what);
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, 2000);
}

Database::~Database() {
  cache_.clear();
  sqlite3_close(db_);
}

void Database::Exec(std::string_view sql) {
  char* message = nullptr;
  const std::string text(sql);
  const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    std::string what = message ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    throw SqliteError(rc, what);
  }
}

Statement& Database::Prepare(std::string_view sql) {
  auto it = cache_.find(sql);
  if (it == cache_.end()) {
    it = cache_.emplace(std::string(sql), std::make_unique<Statement>(db_, sql)).first;
  }
  return it->second->Reset();
}

} // namespace q3
