// The project store of the chart-database stand-in: one SQLite database per project holding
// objects, run sequences, connections, user-defined attributes and blobs, with nested
// transactions and the object sets they touch.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "chartdb/q3jdbmox_types.h"
#include "sqlite_db.h"

namespace q3 {

// High nibble of the low 32 bits of an identifier: what kind of object it names.
enum class Category : std::uint32_t {
  Resource = 0,
  Chart = 1,
  Block = 2,
  Variable = 3,
  Type = 4,
  Schedule = 5,
  Global = 6,
  Element = 7,
  Marker = 8,
};
Category CategoryOf(GlObjectType type);

// One object of the project. Columns not used by a kind stay at their defaults:
//   resource       text2 type name, num1 family, num2 controller number
//   block type     text2 library, num1 FB type flag, num2 version
//   variable type  typeRef none, dataType, value default value, text2 identifier text
//   global         dataType, text2 second text, num1 attribute word
//   task           num1 kind, num2 cycle time (ms), num3 priority
//   group          num1 reduction, num2 phase
//   block          typeRef block type
//   block variable typeRef variable type, dataType, value
//   chart variable dataType, value, text2 item name, text3 item text
//   element        typeRef type element (for variable elements), dataType, value
struct ObjectRow {
  GlObjectId id = 0;
  GlObjectType type = IEC_OBJ_NULL;
  GlObjectId parent = 0;
  GlObjectId cpu = 0;
  std::int64_t seq = 0;
  std::string name;
  std::string comment;
  GlDataType dataType = 0;
  GlObjectId typeRef = 0;
  std::string value;
  std::string text2;
  std::string text3;
  std::int64_t num1 = 0;
  std::int64_t num2 = 0;
  std::int64_t num3 = 0;
  std::string dataVersion;
  std::int64_t created = 0; // milliseconds since 1970-01-01 UTC
  std::int64_t modified = 0;
  std::int64_t altered = 0;       // controllers: last change of anything in them
  std::int64_t structAltered = 0; // controllers: last change of their structure
  std::uint64_t surrogate = 0;
};

// An element of a listing: its ordering key and identity.
struct ListedRow {
  std::int64_t order = 0;
  GlObjectId id = 0;
  GlObjectType type = IEC_OBJ_NULL;
};

struct ConnectionRow {
  std::int64_t order = 0;
  GlObjectId sink = 0;
  GlObjectId source = 0;
  std::int32_t kind = IEC_CONNECTION;
  bool flag = false;
  std::string text;
};

struct UdaRow {
  std::int64_t order = 0;
  std::string name;
  std::string value;
};

struct MembershipRow {
  std::int64_t order = 0; // rowid
  GlObjectId container = 0;
  GlObjectId member = 0;
  std::int64_t position = 0; // 1-based place in the container's run sequence
};

// Bit set of object types (all types are below 64).
using TypeMask = std::uint64_t;
constexpr TypeMask MaskOf(std::initializer_list<GlObjectType> types) {
  TypeMask mask = 0;
  for (GlObjectType t : types) mask |= TypeMask{1} << t;
  return mask;
}
inline constexpr TypeMask kAnyType = ~TypeMask{0};

class ProjectStore {
public:
  // Opens a project file; create makes an empty project where there is none; a read-only
  // project refuses every write.
  static std::unique_ptr<ProjectStore> Open(const std::string& path, bool create, bool readOnly = false);
  explicit ProjectStore(std::unique_ptr<Database> db);
  ~ProjectStore();

  Database& db() { return *db_; }
  const std::string& path() const { return db_->path(); }

  std::string Meta(const std::string& key, const std::string& fallback = {});
  void SetMeta(const std::string& key, const std::string& value);

  void SetSoftwareVersion(std::string version) { softwareVersion_ = std::move(version); }
  const std::string& softwareVersion() const { return softwareVersion_; }
  // Milliseconds since 1970 used for new time stamps; 0 follows the clock.
  void SetFixedTime(std::int64_t ms) { fixedTime_ = ms; }
  std::int64_t Now() const;

  // Objects
  std::optional<ObjectRow> Find(GlObjectId id);
  ObjectRow Get(GlObjectId id);                       // kErrObjectNotFound
  ObjectRow GetOfType(GlObjectId id, TypeMask types); // also kErrWrongObjectType
  // Inserts the row; allocates id and seq when they are 0. Returns the id.
  GlObjectId Insert(ObjectRow row, Category category);
  void Update(const ObjectRow& row);
  // Deletes an object together with its attributes, blob, connections and memberships.
  void Delete(GlObjectId id);
  std::vector<ListedRow> Children(GlObjectId parent, TypeMask types, std::int64_t after, std::size_t limit);
  std::optional<ObjectRow> ChildByName(GlObjectId parent, const std::string& name, TypeMask types);
  std::vector<ObjectRow> ObjectsOfType(GlObjectType type);
  std::int64_t CountObjects(TypeMask types);
  std::uint32_t ControllerNumber(GlObjectId cpu);

  // Marks an object changed: its time stamp and data version, its controller's alteration
  // times, and the object set of the open transaction. Fails with 0x20147 when data-version
  // updates are suppressed and the object's data version differs from the software version.
  void Touch(GlObjectId id, bool structural);
  void CheckDataVersion(const ObjectRow& row);

  // Run sequences: members of tasks (processing groups and directly installed objects) and of
  // processing groups, in run order.
  std::vector<MembershipRow> Members(GlObjectId container, TypeMask types, std::int64_t after, std::size_t limit);
  std::vector<MembershipRow> MembershipsOf(GlObjectId member, std::int64_t after, std::size_t limit);
  std::int64_t MemberCount(GlObjectId container);
  void AddMember(GlObjectId container, GlObjectId member);
  // Moves members out of source and into dest behind pred (0: at the front).
  void MoveMembers(const std::vector<GlObjectId>& members, GlObjectId source, GlObjectId dest, GlObjectId pred);
  void SetRunSequencePointer(GlObjectId scope, GlObjectId parent, GlObjectId pred);
  std::optional<std::pair<GlObjectId, GlObjectId>> RunSequencePointer(GlObjectId parent);

  // Connections
  std::vector<ConnectionRow> ConnectionsToSink(GlObjectId sink, std::int64_t after, std::size_t limit);
  std::vector<ConnectionRow> ConnectionsFromSource(GlObjectId source, std::int64_t after, std::size_t limit);
  void AddConnection(const ConnectionRow& row);
  bool DeleteConnection(GlObjectId sink, GlObjectId source);
  std::vector<ConnectionRow> AllConnections(GlObjectId cpu);

  // User-defined attributes
  std::optional<std::string> Uda(GlObjectId object, const std::string& name);
  void SetUda(GlObjectId object, const std::string& name, const std::string& value);
  bool RemoveUda(GlObjectId object, const std::string& name);
  std::vector<UdaRow> Udas(GlObjectId object, std::int64_t after, std::size_t limit);

  // Blobs
  std::optional<std::vector<unsigned char>> Blob(GlObjectId object);
  void SetBlob(GlObjectId object, const void* data, std::size_t size);
  bool DeleteBlob(GlObjectId object);

  // What an exchange format kept of an object that the chart model cannot hold (a JSON text; the
  // description's "plcopen" members). Project files made before it answer none.
  std::optional<std::string> Interchange(GlObjectId object);
  void SetInterchange(GlObjectId object, const std::string& data);

  // Transactions. A call that passes transaction 65535 while one is open may read but not
  // write (the objects are busy); a write must pass the innermost open transaction.
  GlTransactionId Begin(GlTransactionId prev);
  void Commit(GlTransactionId id);
  void Abort(GlTransactionId id);
  void CheckTransaction(GlTransactionId tr, bool write) const;
  bool InTransaction() const { return !transactions_.empty(); }
  GlObjectSet ObjectSetOf(GlTransactionId id);
  // A write call's additions to the innermost transaction's object set: remembered from BeginCall
  // on and taken back by UndoCallTouches when the call fails (in time proportional to the call's
  // own additions, not to the set).
  void BeginCall();
  void UndoCallTouches();
  // Contents of a live object set, or nullopt when the handle names none.
  std::optional<std::vector<GlObjectId>> ObjectSetContents(GlObjectSet set) const;

  // A session holds every change, committed transactions too, until it ends: committed, or
  // rolled back so that the file is as it was before the session began. It begins outside any
  // transaction; transactions still open when it ends are rolled back with it.
  // EndSession answers whether the session changed the project.
  void BeginSession();
  bool EndSession(bool commit);
  bool InSession() const { return session_; }

private:
  struct Transaction;
  ObjectRow ReadRow(const Statement& s) const;
  // Numbers the members of a run sequence 1, 2, ... in their order.
  void RenumberMembers(GlObjectId container);
  std::uint64_t NextSerial();

  std::unique_ptr<Database> db_;
  std::string softwareVersion_;
  std::int64_t fixedTime_ = 0;
  std::optional<bool> hasInterchange_;
  std::vector<std::unique_ptr<Transaction>> transactions_;
  GlTransactionId lastTransactionId_ = 0;
  std::vector<GlObjectId> callTouched_;
  bool session_ = false;
  std::int64_t changesAtSessionStart_ = 0;
};

// Conversions between store time (ms since 1970) and the API's time records.
IEC_DateAndTime ToIecTime(std::int64_t ms);
std::int64_t FromIecTime(const IEC_DateAndTime& t);
GlSystemTime ToSystemTime(std::int64_t ms);
std::optional<std::int64_t> FromSystemTime(const GlSystemTime& t);

} // namespace q3
