// How grx call reads and prints each kind of export parameter. A kind says what it keeps while
// the export runs (Storage), how it reads that from the name=value arguments for a direction,
// how it passes it as the export's parameter type, and how it prints it as an out-value. The
// adapters of every export are made from the export table with these kinds.
#pragma once

#include <cstdlib>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include <memory>

#include "dbaccess/listing.h"
#include "export_call.h"
#include "grx/w5lhlpax.h"
#include "grx_error.h"
#include "log_object.h"
#include "platform/com_lite.h"
#include "project_client.h"

namespace grx::cli::kinds {

enum class Direction { In, Out, InOut, Appended };

// Whether a parameter of this direction is read from the arguments, and printed after the call.
constexpr bool IsRead(Direction d) {
  return d != Direction::Out;
}
constexpr bool IsPrinted(Direction d) {
  return d != Direction::In;
}

// An object identifier, given as an object path; placeholder says what it names.
template <const char* placeholder>
struct Identifier {
  using Storage = GlObjectId;
  static constexpr const char* kPlaceholder = placeholder;
  static constexpr bool kOptional = false;
  static void Read(CallContext& c, const char* name, Direction d, Storage& value) {
    value = d == Direction::In ? c.Id(name) : c.Id(name, 0);
  }
  static void Print(CallContext& c, const char* name, const Storage& value) { c.OutId(name, value); }
};

inline constexpr char kRes[] = "RES";
inline constexpr char kChart[] = "CHART";
inline constexpr char kTask[] = "TASK";
inline constexpr char kObject[] = "OBJECT";
using Res = Identifier<kRes>;
using Chart = Identifier<kChart>;
using Task = Identifier<kTask>;
using Object = Identifier<kObject>;

struct Transaction {
  using Storage = GlTransactionId;
  static constexpr const char* kPlaceholder = "N";
  static constexpr bool kOptional = true;
  static void Read(CallContext& c, const char*, Direction, Storage& value) { value = c.Transaction(); }
  static void Print(CallContext& c, const char* name, const Storage& value) { c.Out(name, value); }
};

struct Window {
  using Storage = grx::platform::WindowHandle;
  static constexpr const char* kPlaceholder = "HANDLE";
  static constexpr bool kOptional = true;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) { value = c.Window(name); }
  static void Print(CallContext& c, const char* name, const Storage& value) { c.Out(name, value); }
};

struct Text {
  using Storage = std::string;
  static constexpr const char* kPlaceholder = "TEXT";
  static constexpr bool kOptional = false;
  static void Read(CallContext& c, const char* name, Direction d, Storage& value) {
    value = d == Direction::In ? c.Text(name) : c.Text(name, "");
  }
  static void Print(CallContext& c, const char* name, const Storage& value) { c.Out(name, value); }
};

// A text that may be left out (an empty text is passed then).
struct OptText {
  using Storage = std::string;
  static constexpr const char* kPlaceholder = "TEXT";
  static constexpr bool kOptional = true;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) { value = c.Text(name, ""); }
  static void Print(CallContext& c, const char* name, const Storage& value) { c.Out(name, value); }
};

// A text the export writes into a CString.
struct CText {
  using Storage = CString;
  static constexpr const char* kPlaceholder = "TEXT";
  static constexpr bool kOptional = false;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) { value = c.Text(name, ""); }
  static void Print(CallContext& c, const char* name, const Storage& value) { c.Out(name, value.str()); }
};

// A text the export allocates (with _strdup) and the caller frees with free.
struct AllocatedText {
  struct Storage {
    char* text = nullptr;
    Storage() = default;
    Storage(const Storage&) = delete;
    Storage& operator=(const Storage&) = delete;
    ~Storage() { std::free(text); }
    char** Pass() { return &text; }
  };
  static constexpr const char* kPlaceholder = "";
  static constexpr bool kOptional = true;
  static void Read(CallContext&, const char*, Direction, Storage&) {}
  static void Print(CallContext& c, const char* name, const Storage& value) {
    c.Out(name, std::string(value.text ? value.text : ""));
  }
};

// A text buffer that the export may write a name of up to 52 bytes into.
struct NameBuffer {
  using Storage = std::string;
  static constexpr const char* kPlaceholder = "TEXT";
  static constexpr bool kOptional = false;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) {
    value = c.Text(name);
    value.resize(std::max<std::size_t>(value.size(), 52) + 1, '\0');
  }
  static void Print(CallContext& c, const char* name, const Storage& value) { c.Out(name, value.c_str()); }
};

// A comma-separated list of names; may be absent.
struct Names {
  using Storage = std::vector<std::string>;
  static constexpr const char* kPlaceholder = "A,B";
  static constexpr bool kOptional = true;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) { value = c.List(name); }
  static void Print(CallContext& c, const char* name, const Storage& value) { c.Out(name, value); }
};

struct Ids {
  using Storage = std::vector<GlObjectId>;
  static constexpr const char* kPlaceholder = ""; // filled by the export only
  static constexpr bool kOptional = true;
  static void Read(CallContext&, const char*, Direction, Storage&) {}
  static void Print(CallContext& c, const char* name, const Storage& value) { c.OutIds(name, value); }
};

struct Number {
  using Storage = std::int32_t;
  static constexpr const char* kPlaceholder = "N";
  static constexpr bool kOptional = false;
  static constexpr Storage kStart = -1;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) {
    value = static_cast<Storage>(c.Integer(name, INT32_MIN, INT32_MAX));
  }
  static void Print(CallContext& c, const char* name, const Storage& value) { c.Out(name, value); }
};

struct Unsigned {
  using Storage = std::uint32_t;
  static constexpr const char* kPlaceholder = "N";
  static constexpr bool kOptional = false;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) {
    value = static_cast<Storage>(c.Integer(name, 0, UINT32_MAX));
  }
  static void Print(CallContext& c, const char* name, const Storage& value) { c.Out(name, value); }
};

struct Unsigned16 {
  using Storage = std::uint16_t;
  static constexpr const char* kPlaceholder = "N";
  static constexpr bool kOptional = false;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) {
    value = static_cast<Storage>(c.Integer(name, 0, UINT16_MAX));
  }
  static void Print(CallContext& c, const char* name, const Storage& value) { c.Out(name, value); }
};

// A log of grx's own (the log component), which the export writes to; its lines and counters are
// printed after the call.
struct Log {
  struct Storage {
    platform::ComReference<w5comp::ILogView> log;
    w5comp::ILogView* Pass() { return log.get(); }
  };
  static constexpr const char* kPlaceholder = "";
  static constexpr bool kOptional = true;
  static void Read(CallContext&, const char*, Direction, Storage& value) { value.log = CreateLog(); }
  static void Print(CallContext& c, const char* name, const Storage& value) { c.Out(name, LogJson(value.log.get())); }
};

// A module with string resources: the language library of the user's language, or the one named.
struct ResourceModule {
  struct Storage {
    void* module = nullptr;
    void* Pass() { return module; }
  };
  static constexpr const char* kPlaceholder = "MODULE";
  static constexpr bool kOptional = true;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) {
    value.module = LoadResourceModule(c.Text(name, ""));
  }
  static void Print(CallContext&, const char*, const Storage&) {}
};

struct Flag {
  using Storage = bool;
  static constexpr const char* kPlaceholder = "true|false";
  static constexpr bool kOptional = false;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) {
    const std::string text = c.Text(name);
    if (text != "true" && text != "false") {
      throw GrxError(std::string(name) + " takes true or false, not \"" + text + "\"", kExitUsage);
    }
    value = text == "true";
  }
  static void Print(CallContext& c, const char* name, const Storage& value) { c.Out(name, value); }
};

// A value the export takes but does not use: optional, 0 by default.
struct Reserved {
  using Storage = std::int32_t;
  static constexpr const char* kPlaceholder = "N";
  static constexpr bool kOptional = true;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) {
    value = static_cast<Storage>(c.Integer(name, INT32_MIN, INT32_MAX, 0));
  }
  static void Print(CallContext& c, const char* name, const Storage& value) { c.Out(name, value); }
};

// An IEC data type, given as its number or as an elementary type name.
struct DataType {
  using Storage = GlDataType;
  static constexpr const char* kPlaceholder = "TYPE";
  static constexpr bool kOptional = false;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) { value = c.DataType(name); }
  static void Print(CallContext& c, const char* name, const Storage& value) { c.Out(name, value); }
};
// The same, passed to the export by pointer.
struct DataTypeRef : DataType {};

// Records the chart database returns for objects given by path, kept while the export runs.
template <class Record>
struct RecordStorage {
  std::vector<std::unique_ptr<Record>> records;
  const Record* Pass() const { return records.empty() ? nullptr : records.front().get(); }
};

// A chain of parameter-type records, linked in the order of a comma list of parameter-type paths.
template <class Record, auto ReadMember>
struct VarTypeChain {
  using Storage = RecordStorage<Record>;
  static constexpr const char* kPlaceholder = "TYPE.PARAM,...";
  static constexpr bool kOptional = true;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) {
    for (const std::string& path : c.List(name)) {
      auto record = std::make_unique<Record>();
      if (c.db().ErrorId((c.db().*ReadMember)(c.db().Resolve(path), *record, kNoTransaction)) != 0) {
        throw GrxError("cannot read the parameter type " + path, kExitUsage);
      }
      if (!value.records.empty()) value.records.back()->next = record.get();
      value.records.push_back(std::move(record));
    }
  }
  static void Print(CallContext&, const char*, const Storage&) {}
};

// The structure element list of a parameter type or element type, nested lists included.
struct TypeElements {
  using Storage = RecordStorage<Iec_VarTypeElement>;
  static constexpr const char* kPlaceholder = "TYPE.PARAM";
  static constexpr bool kOptional = true;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) {
    const std::string path = c.Text(name, "");
    if (!path.empty()) ReadList(c, c.db().Resolve(path), value);
  }
  static void Print(CallContext&, const char*, const Storage&) {}

private:
  // The first element of the list under owner, or null.
  static Iec_VarTypeElement* ReadList(CallContext& c, GlObjectId owner, Storage& value) {
    std::vector<GlObjectId> ids;
    GlObjectId iter = 0;
    GlObjectId element = 0;
    dbaccess::ForEachListedWith(
        [&](GlResult r) { return c.db().ErrorId(r); },
        [&](MODE mode) { return c.db().iec_StructureElementsGet(mode, owner, iter, element, kNoTransaction); },
        [&] { ids.push_back(element); });
    Iec_VarTypeElement* first = nullptr;
    Iec_VarTypeElement* last = nullptr;
    for (GlObjectId id : ids) {
      auto record = std::make_unique<Iec_VarTypeElement>();
      if (c.db().ErrorId(c.db().iec_VarTypeElementRead(id, *record, kNoTransaction)) != 0) continue;
      Iec_VarTypeElement* current = record.get();
      value.records.push_back(std::move(record));
      current->next = nullptr;
      current->firstNested = ReadList(c, id, value);
      (last ? last->next : first) = current;
      last = current;
    }
    return first;
  }
};

using InVarTypes = VarTypeChain<Iec_InVarType, &ChartDbClient::iec_InVarTypeRead>;
using OutVarTypes = VarTypeChain<Iec_OutVarType, &ChartDbClient::iec_OutVarTypeRead>;

struct Blocks {
  using Storage = std::vector<BLOCK>;
  static constexpr const char* kPlaceholder = "";
  static constexpr bool kOptional = true;
  static void Read(CallContext&, const char*, Direction, Storage&) {}
  static void Print(CallContext& c, const char* name, const Storage& value) {
    auto list = nlohmann::ordered_json::array();
    for (const BLOCK& b : value) list.push_back(nlohmann::ordered_json{{"name", b.name}, {"id", c.PathText(b.id)}});
    c.Out(name, list);
  }
};

struct Params {
  using Storage = std::vector<PARAM>;
  static constexpr const char* kPlaceholder = "";
  static constexpr bool kOptional = true;
  static void Read(CallContext&, const char*, Direction, Storage&) {}
  static void Print(CallContext& c, const char* name, const Storage& value) {
    auto list = nlohmann::ordered_json::array();
    for (const PARAM& p : value) {
      list.push_back(nlohmann::ordered_json{{"name", p.name}, {"itemText", p.itemText}, {"id", c.PathText(p.id)}});
    }
    c.Out(name, list);
  }
};

// Blocks with their run-sequence places, given as a comma list of block paths and gathered as
// W5GRX_SearchMoveBlocks gathers them.
struct MoveBlocks {
  using Storage = std::vector<MoveBlockInfoT>;
  static constexpr const char* kPlaceholder = "BLOCK,...";
  static constexpr bool kOptional = true;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) {
    for (const std::string& path : c.List(name)) {
      MoveBlockInfoT info;
      info.blockId = c.db().Resolve(path);
      GlObjectId task = 0;
      Gl_RunSeqRecord place{};
      const std::uint32_t errorId = c.db().ErrorId(
          c.db().gl_ObjectAsTasksGet(M_FIRST, info.blockId, info.procGroupId, task, place, kNoTransaction));
      if (!dbaccess::ListingDelivered(errorId) && errorId != GL_ERR_AS_TASK_INDIRECT) {
        throw GrxError("the block " + path + " has no place in a run sequence", kExitUsage);
      }
      info.blockPos = place.blockPos;
      info.grPos = place.grPos;
      std::memcpy(info.tpName, place.taskName,
                  std::min(strnlen(place.taskName, sizeof place.taskName), sizeof info.tpName - 1));
      value.push_back(info);
    }
  }
  static void Print(CallContext& c, const char* name, const Storage& value) {
    auto list = nlohmann::ordered_json::array();
    for (const MoveBlockInfoT& b : value) {
      list.push_back(nlohmann::ordered_json{{"blockId", c.PathText(b.blockId)},
                                            {"procGroupId", c.PathText(b.procGroupId)},
                                            {"blockPos", b.blockPos},
                                            {"grPos", b.grPos},
                                            {"tpName", b.tpName}});
    }
    c.Out(name, list);
  }
};

// Uses of global variables, given as a comma list of connected-variable paths, each located as
// the list form of FindGlobalVar locates it.
struct Finds {
  using Storage = std::vector<FIND>;
  static constexpr const char* kPlaceholder = "VAR,...";
  static constexpr bool kOptional = true;
  static void Read(CallContext& c, const char* name, Direction, Storage& value) {
    for (const std::string& path : c.List(name)) {
      FIND find;
      find.varId = c.db().Resolve(path);
      char varName[kGlNameSize] = {};
      c.db().gl_ObjectNameGet(find.varId, varName, kNoTransaction);
      std::string location;
      std::string rootChartName;
      GlObjectId rootChartId = 0;
      if (!::W5GRX_FindSinksOrSources(find.varId, varName, location, rootChartId, rootChartName)) {
        throw GrxError("cannot locate the variable " + path, kExitUsage);
      }
      find.location = location;
      find.rootChartName = rootChartName;
      find.rootChartId = rootChartId;
      value.push_back(find);
    }
  }
  static void Print(CallContext& c, const char* name, const Storage& value) {
    auto list = nlohmann::ordered_json::array();
    for (const FIND& f : value) {
      list.push_back(nlohmann::ordered_json{{"location", f.location.str()},
                                            {"globalVarName", f.globalVarName.str()},
                                            {"rootChartName", f.rootChartName.str()},
                                            {"kind", f.kind},
                                            {"rootChartId", c.PathText(f.rootChartId)},
                                            {"varId", c.PathText(f.varId)},
                                            {"globalVarId", c.PathText(f.globalVarId)}});
    }
    c.Out(name, list);
  }
};

// What a kind's storage becomes as the export's parameter of type T.
template <class T, class Storage>
decltype(auto) PassAs(Storage& value) {
  using Target = std::remove_cvref_t<T>;
  if constexpr (requires { value.Pass(); }) {
    return value.Pass();
  } else if constexpr (std::is_pointer_v<Target> && std::is_same_v<Storage, std::string>) {
    return value.data();
  } else if constexpr (std::is_pointer_v<Target>) {
    return &value;
  } else if constexpr (std::is_same_v<Target, std::vector<CString>>) {
    return std::vector<CString>(value.begin(), value.end());
  } else if constexpr (std::is_same_v<Target, CString> && !std::is_same_v<Storage, CString>) {
    return CString(value);

  } else {
    return static_cast<Storage&>(value);
  }
}

// How an export's result is printed.
template <class R>
nlohmann::ordered_json ResultJson(const R& result) {
  if constexpr (std::is_same_v<R, CString>) {
    return nlohmann::ordered_json(result.str());
  } else if constexpr (std::is_enum_v<R>) {
    return nlohmann::ordered_json(static_cast<std::int64_t>(result));
  } else {
    return nlohmann::ordered_json(result);
  }
}

} // namespace grx::cli::kinds
