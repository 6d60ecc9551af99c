#include "project_store.h"

#include <algorithm>
#include <chrono>

#include "api_result.h"

namespace q3 {
namespace {

constexpr const char* kFormat = "q3sim-project/1";

constexpr const char* kSchema = R"sql(
CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID;
CREATE TABLE object(
  id INTEGER PRIMARY KEY,
  type INTEGER NOT NULL,
  parent INTEGER NOT NULL,
  cpu INTEGER NOT NULL,
  seq INTEGER NOT NULL,
  name TEXT NOT NULL,
  comment TEXT NOT NULL DEFAULT '',
  data_type INTEGER NOT NULL DEFAULT 0,
  type_ref INTEGER NOT NULL DEFAULT 0,
  value TEXT NOT NULL DEFAULT '',
  text2 TEXT NOT NULL DEFAULT '',
  text3 TEXT NOT NULL DEFAULT '',
  num1 INTEGER NOT NULL DEFAULT 0,
  num2 INTEGER NOT NULL DEFAULT 0,
  num3 INTEGER NOT NULL DEFAULT 0,
  data_version TEXT NOT NULL DEFAULT '',
  created INTEGER NOT NULL DEFAULT 0,
  modified INTEGER NOT NULL DEFAULT 0,
  altered INTEGER NOT NULL DEFAULT 0,
  struct_altered INTEGER NOT NULL DEFAULT 0,
  surrogate INTEGER NOT NULL DEFAULT 0);
CREATE INDEX object_children ON object(parent, seq);
CREATE INDEX object_names ON object(parent, name);
CREATE INDEX object_kind ON object(type, cpu);
CREATE TABLE membership(
  ord INTEGER PRIMARY KEY,
  container INTEGER NOT NULL,
  member INTEGER NOT NULL,
  position INTEGER NOT NULL,
  UNIQUE(container, member));
CREATE INDEX membership_order ON membership(container, position);
CREATE INDEX membership_member ON membership(member);
CREATE TABLE run_sequence_pointer(parent INTEGER PRIMARY KEY, scope INTEGER NOT NULL, pred INTEGER NOT NULL);
CREATE TABLE connection(
  ord INTEGER PRIMARY KEY,
  sink INTEGER NOT NULL,
  source INTEGER NOT NULL,
  kind INTEGER NOT NULL,
  flag INTEGER NOT NULL,
  text TEXT NOT NULL DEFAULT '');
CREATE INDEX connection_sink ON connection(sink);
CREATE INDEX connection_source ON connection(source);
CREATE TABLE uda(
  ord INTEGER PRIMARY KEY,
  object INTEGER NOT NULL,
  name TEXT NOT NULL,
  value TEXT NOT NULL,
  UNIQUE(object, name));
CREATE INDEX uda_object ON uda(object);
CREATE TABLE blob(object INTEGER PRIMARY KEY, data BLOB NOT NULL);
CREATE TABLE interchange(object INTEGER PRIMARY KEY, data TEXT NOT NULL);
)sql";

constexpr const char* kColumns =
    "id, type, parent, cpu, seq, name, comment, data_type, type_ref, value, text2, text3, num1, "
    "num2, num3, data_version, created, modified, altered, struct_altered, surrogate";

constexpr std::int64_t kMsPerDay = 86'400'000;
constexpr std::int64_t kIecEpochDays = 5113; // 1984-01-01 in days since 1970-01-01

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
}

} // namespace

struct ProjectStore::Transaction {
  GlTransactionId id = 0;
  std::set<GlObjectId> touched;
};

Category CategoryOf(GlObjectType type) {
  switch (type) {
    case IEC_OBJ_RESOURCE:
      return Category::Resource;
    case IEC_OBJ_CFC:
      return Category::Chart;
    case IEC_OBJ_FUNCTION_BLOCK:
    case IEC_OBJ_FUNCTION:
      return Category::Block;
    case IEC_OBJ_IN_VAR:
    case IEC_OBJ_OUT_VAR:
    case IEC_OBJ_IN_OUT_VAR:
    case IEC_OBJ_CFC_IN_VAR:
    case IEC_OBJ_CFC_OUT_VAR:
    case IEC_OBJ_CFC_IN_OUT_VAR:
      return Category::Variable;
    case IEC_OBJ_FUNCTION_BLOCK_TYPE:
    case IEC_OBJ_FUNCTION_TYPE:
    case IEC_OBJ_IN_VAR_TYPE:
    case IEC_OBJ_OUT_VAR_TYPE:
    case IEC_OBJ_IN_OUT_VAR_TYPE:
      return Category::Type;
    case IEC_OBJ_TASK:
    case IEC_OBJ_PROCESSING_GROUP:
      return Category::Schedule;
    case IEC_OBJ_GLOBAL_VAR:
      return Category::Global;
    case IEC_OBJ_VAR_TYPE_ELEMENT:
    case IEC_OBJ_VAR_ELEMENT:
      return Category::Element;
    default:
      return Category::Marker;
  }
}

std::unique_ptr<ProjectStore> ProjectStore::Open(const std::string& path, bool create, bool readOnly) {
  auto db = std::make_unique<Database>(path, create, readOnly);
  const bool empty = [&] {
    auto& s = db->Prepare("SELECT count(*) FROM sqlite_master");
    s.Step();
    return s.Int(0) == 0;
  }();
  if (empty) {
    if (!create) {
      throw ApiError(kErrStorage, path + " is an empty database, not a project");
    }
    db->Exec("BEGIN");
    db->Exec(kSchema);
    auto& s = db->Prepare("INSERT INTO meta(key, value) VALUES('format', ?)");
    s.Bind(1, kFormat).Run();
    db->Exec("COMMIT");
  }
  return std::make_unique<ProjectStore>(std::move(db));
}

ProjectStore::ProjectStore(std::unique_ptr<Database> db) : db_(std::move(db)) {
  std::string format;
  try {
    auto& s = db_->Prepare("SELECT value FROM meta WHERE key = 'format'");
    if (s.Step()) {
      format = s.Text(0);
    }
  } catch (const SqliteError&) {
    format.clear();
  }
  if (format != kFormat) {
    throw ApiError(kErrStorage, db_->path() + " is not a chart-database project");
  }
}

ProjectStore::~ProjectStore() {
  // Transactions and a session still open when the project closes are rolled back.
  if (!transactions_.empty() || session_) {
    try {
      db_->Exec("ROLLBACK");
    } catch (const SqliteError&) {
    }
  }
}

std::int64_t ProjectStore::Now() const {
  if (fixedTime_ != 0) {
    return fixedTime_;
  }
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string ProjectStore::Meta(const std::string& key, const std::string& fallback) {
  auto& s = db_->Prepare("SELECT value FROM meta WHERE key = ?");
  s.Bind(1, key);
  return s.Step() ? s.Text(0) : fallback;
}

void ProjectStore::SetMeta(const std::string& key, const std::string& value) {
  db_->Prepare("INSERT INTO meta(key, value) VALUES(?, ?) ON CONFLICT(key) DO UPDATE SET value = excluded.value")
      .Bind(1, key)
      .Bind(2, value)
      .Run();
}

ObjectRow ProjectStore::ReadRow(const Statement& s) const {
  ObjectRow r;
  r.id = s.Id(0);
  r.type = static_cast<GlObjectType>(s.Int(1));
  r.parent = s.Id(2);
  r.cpu = s.Id(3);
  r.seq = s.Int(4);
  r.name = s.Text(5);
  r.comment = s.Text(6);
  r.dataType = static_cast<GlDataType>(s.Int(7));
  r.typeRef = s.Id(8);
  r.value = s.Text(9);
  r.text2 = s.Text(10);
  r.text3 = s.Text(11);
  r.num1 = s.Int(12);
  r.num2 = s.Int(13);
  r.num3 = s.Int(14);
  r.dataVersion = s.Text(15);
  r.created = s.Int(16);
  r.modified = s.Int(17);
  r.altered = s.Int(18);
  r.structAltered = s.Int(19);
  r.surrogate = s.Id(20);
  return r;
}

std::optional<ObjectRow> ProjectStore::Find(GlObjectId id) {
  if (id == 0) {
    return std::nullopt;
  }
  auto& s = db_->Prepare(std::string("SELECT ") + kColumns + " FROM object WHERE id = ?");
  s.Bind(1, id);
  if (!s.Step()) {
    return std::nullopt;
  }
  return ReadRow(s);
}

ObjectRow ProjectStore::Get(GlObjectId id) {
  auto row = Find(id);
  if (!row) {
    throw ApiError(kErrObjectNotFound, "no object " + std::to_string(id));
  }
  return std::move(*row);
}

ObjectRow ProjectStore::GetOfType(GlObjectId id, TypeMask types) {
  ObjectRow row = Get(id);
  if (row.type < 0 || row.type >= 64 || (types & (TypeMask{1} << row.type)) == 0) {
    throw ApiError(kErrWrongObjectType, "object " + std::to_string(id) + " has type " + std::to_string(row.type));
  }
  return row;
}

std::uint64_t ProjectStore::NextSerial() {
  const std::uint64_t serial = std::stoull(Meta("next_serial", "1"));
  if (serial >= (1u << 28)) {
    throw ApiError(kErrStorage, "object numbers exhausted");
  }
  SetMeta("next_serial", std::to_string(serial + 1));
  return serial;
}

std::uint32_t ProjectStore::ControllerNumber(GlObjectId cpu) {
  return static_cast<std::uint32_t>((cpu >> 32) & 0xFFFF);
}

GlObjectId ProjectStore::Insert(ObjectRow row, Category category) {
  const std::uint64_t serial = NextSerial();
  if (row.id == 0) {
    const std::uint64_t controller =
        row.type == IEC_OBJ_RESOURCE ? static_cast<std::uint64_t>(row.num2) : ControllerNumber(row.cpu);
    row.id = (std::uint64_t{1} << 48) | ((controller & 0xFFFF) << 32) | (static_cast<std::uint64_t>(category) << 28) |
             serial;
  }
  if (row.type == IEC_OBJ_RESOURCE) {
    row.cpu = row.id;
  }
  if (row.seq == 0) {
    auto& s = db_->Prepare("SELECT coalesce(max(seq), 0) FROM object WHERE parent = ?");
    s.Bind(1, row.parent);
    s.Step();
    row.seq = s.Int(0) + 1;
  }
  if (row.surrogate == 0) {
    row.surrogate = serial;
  }
  const std::int64_t now = Now();
  if (row.created == 0) row.created = now;
  if (row.modified == 0) row.modified = row.created;
  if (row.dataVersion.empty()) row.dataVersion = Meta("data_version", softwareVersion_);
  auto& s = db_->Prepare(std::string("INSERT INTO object(") + kColumns +
                         ") VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
  s.Bind(1, row.id).Bind(2, row.type).Bind(3, row.parent).Bind(4, row.cpu).Bind(5, row.seq);
  s.Bind(6, row.name).Bind(7, row.comment).Bind(8, row.dataType).Bind(9, row.typeRef);
  s.Bind(10, row.value).Bind(11, row.text2).Bind(12, row.text3);
  s.Bind(13, row.num1).Bind(14, row.num2).Bind(15, row.num3).Bind(16, row.dataVersion);
  s.Bind(17, row.created).Bind(18, row.modified).Bind(19, row.altered).Bind(20, row.structAltered);
  s.Bind(21, row.surrogate);
  s.Run();
  return row.id;
}

void ProjectStore::Update(const ObjectRow& row) {
  auto& s = db_->Prepare(
      "UPDATE object SET name=?, comment=?, data_type=?, type_ref=?, value=?, text2=?, text3=?, "
      "num1=?, num2=?, num3=? WHERE id=?");
  s.Bind(1, row.name).Bind(2, row.comment).Bind(3, row.dataType).Bind(4, row.typeRef);
  s.Bind(5, row.value).Bind(6, row.text2).Bind(7, row.text3);
  s.Bind(8, row.num1).Bind(9, row.num2).Bind(10, row.num3).Bind(11, row.id);
  s.Run();
}

void ProjectStore::Delete(GlObjectId id) {
  std::vector<GlObjectId> pending{id};
  std::vector<GlObjectId> all;
  while (!pending.empty()) {
    const GlObjectId current = pending.back();
    pending.pop_back();
    all.push_back(current);
    auto& s = db_->Prepare("SELECT id FROM object WHERE parent = ?");
    s.Bind(1, current);
    while (s.Step()) {
      pending.push_back(s.Id(0));
    }
  }
  std::set<GlObjectId> containers;
  for (GlObjectId victim : all) {
    auto& m = db_->Prepare("SELECT container FROM membership WHERE member = ?");
    m.Bind(1, victim);
    while (m.Step()) containers.insert(m.Id(0));
    db_->Prepare("DELETE FROM object WHERE id = ?").Bind(1, victim).Run();
    db_->Prepare("DELETE FROM uda WHERE object = ?").Bind(1, victim).Run();
    db_->Prepare("DELETE FROM blob WHERE object = ?").Bind(1, victim).Run();
    db_->Prepare("DELETE FROM connection WHERE sink = ?").Bind(1, victim).Run();
    db_->Prepare("DELETE FROM connection WHERE source = ?").Bind(1, victim).Run();
    db_->Prepare("DELETE FROM membership WHERE member = ?").Bind(1, victim).Run();
    db_->Prepare("DELETE FROM membership WHERE container = ?").Bind(1, victim).Run();
    db_->Prepare("DELETE FROM run_sequence_pointer WHERE parent = ?").Bind(1, victim).Run();
    containers.erase(victim);
  }
  // Close the gaps the deleted members left in the run sequences.
  for (GlObjectId container : containers) {
    RenumberMembers(container);
  }
}

void ProjectStore::RenumberMembers(GlObjectId container) {
  std::vector<std::int64_t> ords;
  auto& s = db_->Prepare("SELECT ord FROM membership WHERE container = ? ORDER BY position");
  s.Bind(1, container);
  while (s.Step()) ords.push_back(s.Int(0));
  for (std::size_t i = 0; i < ords.size(); ++i) {
    db_->Prepare("UPDATE membership SET position = ? WHERE ord = ?")
        .Bind(1, static_cast<std::int64_t>(i + 1))
        .Bind(2, ords[i])
        .Run();
  }
}

std::vector<ListedRow> ProjectStore::Children(GlObjectId parent, TypeMask types, std::int64_t after,
                                              std::size_t limit) {
  auto& s = db_->Prepare(
      "SELECT seq, id, type FROM object WHERE parent = ? AND seq > ? AND ((1 << type) & ?) != 0 "
      "ORDER BY seq LIMIT ?");
  s.Bind(1, parent).Bind(2, after).Bind(3, static_cast<std::int64_t>(types));
  s.Bind(4, static_cast<std::int64_t>(limit));
  std::vector<ListedRow> rows;
  while (s.Step()) {
    rows.push_back({s.Int(0), s.Id(1), static_cast<GlObjectType>(s.Int(2))});
  }
  return rows;
}

std::optional<ObjectRow> ProjectStore::ChildByName(GlObjectId parent, const std::string& name, TypeMask types) {
  // "+seq": the few children of that name are sorted, so that the lookup runs on the name index
  // and not along every child of the parent.
  auto& s = db_->Prepare(std::string("SELECT ") + kColumns +
                         " FROM object WHERE parent = ? AND name = ? AND ((1 << type) & ?) != 0 "
                         "ORDER BY +seq LIMIT 1");
  s.Bind(1, parent).Bind(2, name).Bind(3, static_cast<std::int64_t>(types));
  if (!s.Step()) {
    return std::nullopt;
  }
  return ReadRow(s);
}

std::vector<ObjectRow> ProjectStore::ObjectsOfType(GlObjectType type) {
  auto& s = db_->Prepare(std::string("SELECT ") + kColumns + " FROM object WHERE type = ? ORDER BY id");
  s.Bind(1, type);
  std::vector<ObjectRow> rows;
  while (s.Step()) {
    rows.push_back(ReadRow(s));
  }
  return rows;
}

std::int64_t ProjectStore::CountObjects(TypeMask types) {
  auto& s = db_->Prepare("SELECT count(*) FROM object WHERE ((1 << type) & ?) != 0");
  s.Bind(1, static_cast<std::int64_t>(types));
  s.Step();
  return s.Int(0);
}

void ProjectStore::CheckDataVersion(const ObjectRow& row) {
  if (Meta("suppress_data_version_update") == "1" && row.dataVersion != softwareVersion_) {
    throw ApiError(GL_ERR_DATA_VERSION_SUPPRESSED,
                   "data version " + row.dataVersion + " differs from " + softwareVersion_);
  }
}

void ProjectStore::Touch(GlObjectId id, bool structural) {
  ObjectRow row = Get(id);
  CheckDataVersion(row);
  const std::int64_t now = Now();
  db_->Prepare("UPDATE object SET modified = ?, data_version = ? WHERE id = ?")
      .Bind(1, now)
      .Bind(2, softwareVersion_)
      .Bind(3, id)
      .Run();
  if (row.cpu != 0) {
    if (structural) {
      db_->Prepare("UPDATE object SET altered = ?, struct_altered = ? WHERE id = ?")
          .Bind(1, now)
          .Bind(2, now)
          .Bind(3, row.cpu)
          .Run();
    } else {
      db_->Prepare("UPDATE object SET altered = ? WHERE id = ?").Bind(1, now).Bind(2, row.cpu).Run();
    }
  }
  if (!transactions_.empty() && transactions_.back()->touched.insert(id).second) {
    callTouched_.push_back(id);
  }
}

std::vector<MembershipRow> ProjectStore::Members(GlObjectId container, TypeMask types, std::int64_t after,
                                                 std::size_t limit) {
  auto& s = db_->Prepare(
      "SELECT m.ord, m.container, m.member, m.position FROM membership m "
      "LEFT JOIN object o ON o.id = m.member "
      "WHERE m.container = ? AND m.position > ? AND ((1 << coalesce(o.type, 46)) & ?) != 0 "
      "ORDER BY m.position LIMIT ?");
  s.Bind(1, container).Bind(2, after).Bind(3, static_cast<std::int64_t>(types));
  s.Bind(4, static_cast<std::int64_t>(limit));
  std::vector<MembershipRow> rows;
  while (s.Step()) {
    rows.push_back({s.Int(0), s.Id(1), s.Id(2), s.Int(3)});
  }
  return rows;
}

std::vector<MembershipRow> ProjectStore::MembershipsOf(GlObjectId member, std::int64_t after, std::size_t limit) {
  auto& s = db_->Prepare(
      "SELECT ord, container, member, position FROM membership WHERE member = ? AND ord > ? "
      "ORDER BY ord LIMIT ?");
  s.Bind(1, member).Bind(2, after).Bind(3, static_cast<std::int64_t>(limit));
  std::vector<MembershipRow> rows;
  while (s.Step()) {
    rows.push_back({s.Int(0), s.Id(1), s.Id(2), s.Int(3)});
  }
  return rows;
}

std::int64_t ProjectStore::MemberCount(GlObjectId container) {
  auto& s = db_->Prepare("SELECT count(*) FROM membership WHERE container = ?");
  s.Bind(1, container);
  s.Step();
  return s.Int(0);
}

void ProjectStore::AddMember(GlObjectId container, GlObjectId member) {
  const std::int64_t position = MemberCount(container) + 1;
  db_->Prepare("INSERT INTO membership(container, member, position) VALUES(?, ?, ?)")
      .Bind(1, container)
      .Bind(2, member)
      .Bind(3, position)
      .Run();
}

void ProjectStore::MoveMembers(const std::vector<GlObjectId>& members, GlObjectId source, GlObjectId dest,
                               GlObjectId pred) {
  auto positionIn = [&](GlObjectId container, GlObjectId member) -> std::optional<std::int64_t> {
    auto& s = db_->Prepare("SELECT position FROM membership WHERE container = ? AND member = ?");
    s.Bind(1, container).Bind(2, member);
    if (!s.Step()) return std::nullopt;
    return s.Int(0);
  };
  std::set<GlObjectId> unique;
  for (GlObjectId m : members) {
    if (!unique.insert(m).second) {
      throw ApiError(kErrInvalidArgument, "element listed twice");
    }
    if (!positionIn(source, m)) {
      throw ApiError(kErrNotInRunSequence, "element is not in the source run sequence");
    }
    if (source != dest && positionIn(dest, m)) {
      throw ApiError(kErrInvalidArgument, "element is already in the destination");
    }
  }
  if (pred != 0 && (unique.count(pred) || !positionIn(dest, pred))) {
    throw ApiError(kErrNotInRunSequence, "predecessor is not in the destination run sequence");
  }
  for (GlObjectId m : members) {
    db_->Prepare("DELETE FROM membership WHERE container = ? AND member = ?").Bind(1, source).Bind(2, m).Run();
  }
  RenumberMembers(source);
  const std::int64_t after = pred == 0 ? 0 : *positionIn(dest, pred);
  const auto count = static_cast<std::int64_t>(members.size());
  // Two steps keep the (container, position) ordering free of collisions.
  db_->Prepare("UPDATE membership SET position = -(position + ?) WHERE container = ? AND position > ?")
      .Bind(1, count)
      .Bind(2, dest)
      .Bind(3, after)
      .Run();
  db_->Prepare("UPDATE membership SET position = -position WHERE container = ? AND position < 0").Bind(1, dest).Run();
  for (std::int64_t i = 0; i < count; ++i) {
    db_->Prepare("INSERT INTO membership(container, member, position) VALUES(?, ?, ?)")
        .Bind(1, dest)
        .Bind(2, members[static_cast<std::size_t>(i)])
        .Bind(3, after + i + 1)
        .Run();
  }
}

void ProjectStore::SetRunSequencePointer(GlObjectId scope, GlObjectId parent, GlObjectId pred) {
  db_->Prepare(
         "INSERT INTO run_sequence_pointer(parent, scope, pred) VALUES(?, ?, ?) "
         "ON CONFLICT(parent) DO UPDATE SET scope = excluded.scope, pred = excluded.pred")
      .Bind(1, parent)
      .Bind(2, scope)
      .Bind(3, pred)
      .Run();
}

std::optional<std::pair<GlObjectId, GlObjectId>> ProjectStore::RunSequencePointer(GlObjectId parent) {
  auto& s = db_->Prepare("SELECT scope, pred FROM run_sequence_pointer WHERE parent = ?");
  s.Bind(1, parent);
  if (!s.Step()) return std::nullopt;
  return std::make_pair(s.Id(0), s.Id(1));
}

namespace {
std::vector<ConnectionRow> ReadConnections(Statement& s) {
  std::vector<ConnectionRow> rows;
  while (s.Step()) {
    rows.push_back({s.Int(0), s.Id(1), s.Id(2), static_cast<std::int32_t>(s.Int(3)), s.Int(4) != 0, s.Text(5)});
  }
  return rows;
}
} // namespace

std::vector<ConnectionRow> ProjectStore::ConnectionsToSink(GlObjectId sink, std::int64_t after, std::size_t limit) {
  auto& s = db_->Prepare(
      "SELECT ord, sink, source, kind, flag, text FROM connection "
      "WHERE sink = ? AND ord > ? ORDER BY ord LIMIT ?");
  s.Bind(1, sink).Bind(2, after).Bind(3, static_cast<std::int64_t>(limit));
  return ReadConnections(s);
}

std::vector<ConnectionRow> ProjectStore::ConnectionsFromSource(GlObjectId source, std::int64_t after,
                                                               std::size_t limit) {
  auto& s = db_->Prepare(
      "SELECT ord, sink, source, kind, flag, text FROM connection "
      "WHERE source = ? AND ord > ? ORDER BY ord LIMIT ?");
  s.Bind(1, source).Bind(2, after).Bind(3, static_cast<std::int64_t>(limit));
  return ReadConnections(s);
}

std::vector<ConnectionRow> ProjectStore::AllConnections(GlObjectId cpu) {
  auto& s = db_->Prepare(
      "SELECT c.ord, c.sink, c.source, c.kind, c.flag, c.text FROM connection c "
      "JOIN object o ON o.id = c.sink WHERE o.cpu = ? ORDER BY c.ord");
  s.Bind(1, cpu);
  return ReadConnections(s);
}

void ProjectStore::AddConnection(const ConnectionRow& row) {
  db_->Prepare("INSERT INTO connection(sink, source, kind, flag, text) VALUES(?, ?, ?, ?, ?)")
      .Bind(1, row.sink)
      .Bind(2, row.source)
      .Bind(3, row.kind)
      .Bind(4, row.flag ? 1 : 0)
      .Bind(5, row.text)
      .Run();
}

bool ProjectStore::DeleteConnection(GlObjectId sink, GlObjectId source) {
  db_->Prepare("DELETE FROM connection WHERE sink = ? AND +source = ?").Bind(1, sink).Bind(2, source).Run();
  return db_->Changes() > 0;
}

std::optional<std::string> ProjectStore::Uda(GlObjectId object, const std::string& name) {
  auto& s = db_->Prepare("SELECT value FROM uda WHERE object = ? AND name = ?");
  s.Bind(1, object).Bind(2, name);
  if (!s.Step()) return std::nullopt;
  return s.Text(0);
}

void ProjectStore::SetUda(GlObjectId object, const std::string& name, const std::string& value) {
  db_->Prepare(
         "INSERT INTO uda(object, name, value) VALUES(?, ?, ?) "
         "ON CONFLICT(object, name) DO UPDATE SET value = excluded.value")
      .Bind(1, object)
      .Bind(2, name)
      .Bind(3, value)
      .Run();
}

bool ProjectStore::RemoveUda(GlObjectId object, const std::string& name) {
  db_->Prepare("DELETE FROM uda WHERE object = ? AND name = ?").Bind(1, object).Bind(2, name).Run();
  return db_->Changes() > 0;
}

std::vector<UdaRow> ProjectStore::Udas(GlObjectId object, std::int64_t after, std::size_t limit) {
  auto& s = db_->Prepare("SELECT ord, name, value FROM uda WHERE object = ? AND ord > ? ORDER BY ord LIMIT ?");
  s.Bind(1, object).Bind(2, after).Bind(3, static_cast<std::int64_t>(limit));
  std::vector<UdaRow> rows;
  while (s.Step()) {
    rows.push_back({s.Int(0), s.Text(1), s.Text(2)});
  }
  return rows;
}

std::optional<std::vector<unsigned char>> ProjectStore::Blob(GlObjectId object) {
  auto& s = db_->Prepare("SELECT data FROM blob WHERE object = ?");
  s.Bind(1, object);
  if (!s.Step()) return std::nullopt;
  return s.Blob(0);
}

void ProjectStore::SetBlob(GlObjectId object, const void* data, std::size_t size) {
  db_->Prepare("INSERT INTO blob(object, data) VALUES(?, ?) ON CONFLICT(object) DO UPDATE SET data = excluded.data")
      .Bind(1, object)
      .BindBlob(2, data, size)
      .Run();
}

bool ProjectStore::DeleteBlob(GlObjectId object) {
  db_->Prepare("DELETE FROM blob WHERE object = ?").Bind(1, object).Run();
  return db_->Changes() > 0;
}

std::optional<std::string> ProjectStore::Interchange(GlObjectId object) {
  if (!hasInterchange_) {
    auto& s = db_->Prepare("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'interchange'");
    s.Step();
    hasInterchange_ = s.Int(0) > 0;
  }
  if (!*hasInterchange_) return std::nullopt;
  auto& s = db_->Prepare("SELECT data FROM interchange WHERE object = ?");
  s.Bind(1, object);
  if (!s.Step()) return std::nullopt;
  return s.Text(0);
}

void ProjectStore::SetInterchange(GlObjectId object, const std::string& data) {
  db_->Prepare(
         "INSERT INTO interchange(object, data) VALUES(?, ?) ON CONFLICT(object) DO UPDATE SET data = excluded.data")
      .Bind(1, object)
      .Bind(2, data)
      .Run();
}

GlTransactionId ProjectStore::Begin(GlTransactionId prev) {
  if (prev == kNoTransaction) {
    if (!transactions_.empty()) {
      throw ApiError(GL_ERR_OBJECT_BUSY, "a transaction is open");
    }
  } else if (transactions_.empty() || transactions_.back()->id != prev) {
    throw ApiError(kErrTransaction, "transaction " + std::to_string(prev) + " is not the innermost open one");
  }
  GlTransactionId id = lastTransactionId_;
  auto inUse = [&](GlTransactionId candidate) {
    return std::any_of(transactions_.begin(), transactions_.end(), [&](const auto& t) { return t->id == candidate; });
  };
  do {
    id = static_cast<GlTransactionId>(id % 0xFFFE + 1); // 1 .. 65534
  } while (inUse(id));
  db_->Exec("SAVEPOINT q3tx_" + std::to_string(id));
  auto tx = std::make_unique<Transaction>();
  tx->id = id;
  transactions_.push_back(std::move(tx));
  lastTransactionId_ = id;
  return id;
}

void ProjectStore::Commit(GlTransactionId id) {
  if (transactions_.empty() || transactions_.back()->id != id) {
    throw ApiError(kErrTransaction, "transaction " + std::to_string(id) + " is not the innermost open one");
  }
  db_->Exec("RELEASE q3tx_" + std::to_string(id));
  auto done = std::move(transactions_.back());
  transactions_.pop_back();
  if (!transactions_.empty()) {
    transactions_.back()->touched.insert(done->touched.begin(), done->touched.end());
  }
}

void ProjectStore::Abort(GlTransactionId id) {
  if (transactions_.empty() || transactions_.back()->id != id) {
    throw ApiError(kErrTransaction, "transaction " + std::to_string(id) + " is not the innermost open one");
  }
  const std::string name = "q3tx_" + std::to_string(id);
  if (transactions_.size() == 1 && !session_) {
    // The outermost transaction is rolled back as a whole: the file is left byte for byte as it
    // was (rolling back to the savepoint and releasing it would commit an empty change).
    db_->Exec("ROLLBACK");
  } else {
    db_->Exec("ROLLBACK TO " + name);
    db_->Exec("RELEASE " + name);
  }
  transactions_.pop_back();
}

void ProjectStore::BeginSession() {
  if (session_) throw ApiError(kErrTransaction, "a session is open already");
  if (!transactions_.empty()) throw ApiError(GL_ERR_OBJECT_BUSY, "a transaction is open");
  db_->Exec("SAVEPOINT q3session");
  session_ = true;
  changesAtSessionStart_ = db_->TotalChanges();
}

bool ProjectStore::EndSession(bool commit) {
  if (!session_) throw ApiError(kErrTransaction, "no session is open");
  if (commit && !transactions_.empty()) {
    throw ApiError(kErrTransaction, std::to_string(transactions_.size()) + " transaction(s) still open");
  }
  if (commit) {
    // A commit the database refuses (a lock held elsewhere) leaves the session open, to be
    // rolled back.
    db_->Exec("RELEASE q3session");
  } else {
    db_->Exec("ROLLBACK");
    transactions_.clear();
  }
  session_ = false;
  return db_->TotalChanges() != changesAtSessionStart_;
}

void ProjectStore::CheckTransaction(GlTransactionId tr, bool write) const {
  if (tr == kNoTransaction) {
    if (write && !transactions_.empty()) {
      throw ApiError(GL_ERR_OBJECT_BUSY, "objects are locked by an open transaction");
    }
    return;
  }
  const auto it = std::find_if(transactions_.begin(), transactions_.end(), [&](const auto& t) { return t->id == tr; });
  if (it == transactions_.end()) {
    throw ApiError(kErrTransaction, "transaction " + std::to_string(tr) + " is not open");
  }
  if (write && it->get() != transactions_.back().get()) {
    throw ApiError(kErrTransaction, "transaction " + std::to_string(tr) + " is not the innermost open one");
  }
}

GlObjectSet ProjectStore::ObjectSetOf(GlTransactionId id) {
  for (auto& t : transactions_) {
    if (t->id == id) {
      return reinterpret_cast<GlObjectSet>(t.get());
    }
  }
  throw ApiError(kErrTransaction, "transaction " + std::to_string(id) + " is not open");
}

void ProjectStore::BeginCall() {
  callTouched_.clear();
}

void ProjectStore::UndoCallTouches() {
  if (!transactions_.empty()) {
    for (GlObjectId id : callTouched_) transactions_.back()->touched.erase(id);
  }
  callTouched_.clear();
}

std::optional<std::vector<GlObjectId>> ProjectStore::ObjectSetContents(GlObjectSet set) const {
  for (const auto& t : transactions_) {
    if (reinterpret_cast<GlObjectSet>(t.get()) == set) {
      return std::vector<GlObjectId>(t->touched.begin(), t->touched.end());
    }
  }
  return std::nullopt;
}

IEC_DateAndTime ToIecTime(std::int64_t ms) {
  const std::int64_t minimum = kIecEpochDays * kMsPerDay;
  if (ms < minimum) ms = minimum;
  const std::int64_t days = ms / kMsPerDay - kIecEpochDays;
  IEC_DateAndTime t{};
  t.msOfDay = static_cast<std::uint32_t>(ms % kMsPerDay);
  t.days = static_cast<std::uint16_t>(std::min<std::int64_t>(days, 0xFFFF));
  return t;
}

std::int64_t FromIecTime(const IEC_DateAndTime& t) {
  return (kIecEpochDays + t.days) * kMsPerDay + (t.msOfDay % kMsPerDay);
}

GlSystemTime ToSystemTime(std::int64_t ms) {
  const std::int64_t days = ms >= 0 ? ms / kMsPerDay : (ms - kMsPerDay + 1) / kMsPerDay;
  const std::int64_t rest = ms - days * kMsPerDay;
  std::int64_t y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(days, y, m, d);
  GlSystemTime t{};
  t.wYear = static_cast<std::uint16_t>(y);
  t.wMonth = static_cast<std::uint16_t>(m);
  t.wDay = static_cast<std::uint16_t>(d);
  t.wDayOfWeek = static_cast<std::uint16_t>(((days % 7) + 11) % 7); // 1970-01-01 was a Thursday
  t.wHour = static_cast<std::uint16_t>(rest / 3'600'000);
  t.wMinute = static_cast<std::uint16_t>(rest / 60'000 % 60);
  t.wSecond = static_cast<std::uint16_t>(rest / 1000 % 60);
  t.wMilliseconds = static_cast<std::uint16_t>(rest % 1000);
  return t;
}

std::optional<std::int64_t> FromSystemTime(const GlSystemTime& t) {
  if (t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 || t.wDay > 31 || t.wHour > 23 || t.wMinute > 59 || t.wSecond > 59 ||
      t.wMilliseconds > 999) {
    return std::nullopt;
  }
  const std::int64_t days = DaysFromCivil(t.wYear, t.wMonth, t.wDay);
  std::int64_t y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(days, y, m, d);
  if (m != t.wMonth || d != t.wDay) {
    return std::nullopt; // a day that the month does not have
  }
  return days * kMsPerDay + t.wHour * 3'600'000LL + t.wMinute * 60'000LL + t.wSecond * 1000LL + t.wMilliseconds;
}

} // namespace q3
