// Thin RAII layer over SQLite's C API: a connection, prepared statements and a statement cache.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace q3 {

// A failed SQLite call; code is SQLite's extended result code.
class SqliteError : public std::runtime_error {
public:
  SqliteError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
  int code() const { return code_; }

private:
  int code_;
};

class Statement {
public:
  Statement(sqlite3* db, std::string_view sql);
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  Statement& Reset();
  Statement& Bind(int index, std::int64_t value);
  Statement& Bind(int index, std::uint64_t value) { return Bind(index, static_cast<std::int64_t>(value)); }
  Statement& Bind(int index, int value) { return Bind(index, static_cast<std::int64_t>(value)); }
  Statement& Bind(int index, std::string_view value);
  Statement& Bind(int index, const char* value) { return Bind(index, std::string_view(value)); }
  Statement& BindBlob(int index, const void* data, std::size_t size);
  Statement& BindNull(int index);

  // Steps once: true when a row is available.
  bool Step();
  // Steps to the end (for statements without rows).
  void Run();

  std::int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::uint64_t Id(int column) const { return static_cast<std::uint64_t>(Int(column)); }
  bool IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
  std::string Text(int column) const;
  std::vector<unsigned char> Blob(int column) const;

private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

class Database {
public:
  // Opens (or, with create set, creates) the database file; ":memory:" gives a private one.
  // A database opened read-only refuses every write with SQLITE_READONLY.
  Database(const std::string& path, bool create, bool readOnly = false);
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  void Exec(std::string_view sql);
  // A cached prepared statement, reset and ready for binding.
  Statement& Prepare(std::string_view sql);
  std::int64_t Changes() const { return sqlite3_changes64(db_); }
  std::int64_t TotalChanges() const { return sqlite3_total_changes64(db_); }
  std::int64_t LastInsertRowId() const { return sqlite3_last_insert_rowid(db_); }
  sqlite3* handle() const { return db_; }
  const std::string& path() const { return path_; }

private:
  sqlite3* db_ = nullptr;
  std::string path_;
  std::map<std::string, std::unique_ptr<Statement>, std::less<>> cache_;
};

} // namespace q3
