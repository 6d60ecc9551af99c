// Global variables of a controller: found by name, every use of the matching ones listed with a
// readable location, such lists sorted, and connections moved from one variable to another (a
// rename, or one connection re-targeted to a variable whose name is derived from the old one).
#include <algorithm>
#include <cstring>
#include <set>

#include "app/export_bodies.h"
#include "blob/blob_global_var.h"
#include "blob/zeb_iec_obj_factory.h"
#include "dbaccess/api_result_codes.h"
#include "dbaccess/chartdb_functions.h"
#include "dbaccess/listing.h"
#include "helpfuncs/stable_insertion_sort.h"
#include "opendata/iec_block.h"
#include "opendata/iec_cfc.h"
#include "opendata/iec_global_var.h"
#include "opendata/iec_obj_manager.h"
#include "opendata/iec_var_base.h"
#include "platform/code_page.h"

namespace grx::body {
namespace {

using grx::dbaccess::ForEachListed;
using grx::dbaccess::kPresetElementType;
using grx::dbaccess::ListingStep;

constexpr std::uint16_t kWholeName = 1;
constexpr std::uint16_t kMatchCase = 2;

// Runs the global-variable listing of a controller; onVar(id) answers whether to stop. A failed
// listing is handed to the chart database's error handler and answers false, as does a
// controller of 0.
template <class OnVar>
bool ForEachGlobal(GlObjectId resourceId, GlTransactionId tr, OnVar&& onVar) {
  if (resourceId == 0) return false;
  GlObjectId var = 0;
  const auto outcome = ForEachListed([&](MODE mode) { return iec_GlobalVarsGet(mode, resourceId, var, tr); },
                                     [&] { return onVar(var) ? ListingStep::Stop : ListingStep::Next; });
  if (outcome.failed()) {
    gl_ErrorHandler(outcome.result);
    return false;
  }
  return true;
}

// Finds a global variable by name; equal(name) decides.
template <class Equal>
bool FindByName(GlObjectId resourceId, CString& text, GlObjectId& globalVarId, GlTransactionId tr, Equal&& equal) {
  bool found = false;
  bool failed = false;
  const bool listed = ForEachGlobal(resourceId, tr, [&](GlObjectId var) {
    std::string name, second;
    if (!body::W5GRX_GetGlobalVarFromVarId(var, name, second, tr)) {
      failed = true;
      return true;
    }
    if (!equal(name)) return false;
    text = second;
    globalVarId = var;
    found = true;
    return true;
  });
  return listed && found && !failed;
}

bool ReadName(GlObjectId id, std::string& name, GlTransactionId tr) {
  char buffer[kGlNameSize] = {};
  if (gl_ErrorIdGet(gl_ObjectNameGet(id, buffer, tr)) != 0) return false;
  name.assign(buffer, strnlen(buffer, sizeof buffer));
  return true;
}

std::string FieldText(const char* field, std::size_t size) {
  return std::string(field, strnlen(field, size));
}

// The full path without its last part, which is the variable's name ("Plant\\Pumps\\" of
// "Plant\\Pumps\\Pump"); empty for a path of one part.
std::string PathPrefix(const std::string& fullPath) {
  const auto last = fullPath.rfind('\\');
  return last == std::string::npos ? std::string() : fullPath.substr(0, last + 1);
}

// Whether a name fits the name field of a global variable's record.
bool FitsNameField(const std::string& name) {
  return name.size() < sizeof(Iec_GlobalVar::name);
}

// Makes sure the global variable newName exists: an existing one is read and written back
// unchanged, a new one takes the old record's text and data type; report hands a failure to
// the error handler.
bool ProvideTarget(GlObjectId resourceId, const Iec_GlobalVar& oldRecord, const std::string& newName, bool exists,
                   GlObjectId& newId, bool report, GlTransactionId tr) {
  if (exists) {
    Iec_GlobalVar record{};
    GlResult result = iec_GlobalVarRead(newId, record, tr);
    if (gl_ErrorIdGet(result) == 0) result = iec_GlobalVarUpdate(newId, record, tr);
    if (gl_ErrorIdGet(result) == 0) return true;
    if (report) gl_ErrorHandler(result);
    return false;
  }
  Iec_GlobalVar record{};
  std::memcpy(record.name, newName.data(), std::min(newName.size(), sizeof record.name - 1));
  std::memcpy(record.text, oldRecord.text, sizeof record.text);
  record.dataType = oldRecord.dataType;
  record.attributes = 0;
  const GlResult result = iec_GlobalVarWrite(resourceId, record, newId, tr);
  if (gl_ErrorIdGet(result) == 0) return true;
  if (report) gl_ErrorHandler(result);
  return false;
}

// One real connection of the old variable to a partner, as a listing delivers it.
struct Delivered {
  GlObjectId partner = 0;
  GlBool isConnection = 0;
  Iec_Connection connection{};
};

// Lists the sinks (or sources) of a variable; onPartner answers the next step.
template <class OnPartner>
grx::dbaccess::ListingOutcome ForEachPartner(GlObjectId varId, bool sources, GlTransactionId tr,
                                             OnPartner&& onPartner) {
  Delivered d;
  GlObjectType type = kPresetElementType;
  return ForEachListed(
      [&](MODE mode) {
        type = kPresetElementType;
        return sources ? iec_SourcesGet(mode, varId, d.partner, type, d.isConnection, d.connection, tr)
                       : iec_SinksGet(mode, varId, d.partner, type, d.isConnection, d.connection, tr);
      },
      [&] { return onPartner(d); });
}

// Moves one connection from the old variable to the new one. A connect that fails after the
// delete puts the connection back on the old variable, so that no connection is lost; report
// hands every failure to the error handler.
bool MoveConnection(const Delivered& d, bool sources, GlObjectId oldId, GlObjectId newId, bool report,
                    GlTransactionId tr) {
  const GlObjectId sinkOld = sources ? oldId : d.partner;
  const GlObjectId sourceOld = sources ? d.partner : oldId;
  const GlObjectId sinkNew = sources ? newId : d.partner;
  const GlObjectId sourceNew = sources ? d.partner : newId;
  GlResult result = iec_ConnectionDelete(sinkOld, sourceOld, tr);
  if (gl_ErrorIdGet(result) != 0) {
    if (report) gl_ErrorHandler(result);
    return false;
  }
  result = iec_Connect(sinkNew, sourceNew, d.connection, tr);
  if (gl_ErrorIdGet(result) == 0) return true;
  if (report) gl_ErrorHandler(result);
  const GlResult restored = iec_Connect(sinkOld, sourceOld, d.connection, tr);
  if (report && gl_ErrorIdGet(restored) != 0) gl_ErrorHandler(restored);
  return false;
}

// Moves every real connection of the old variable's sinks (or sources) to the new variable: the
// partners are listed once, then each is moved once; a move that fails is reported and the others
// go on. Linear in the number of connections.
void MoveAll(GlObjectId oldId, GlObjectId newId, bool sources, GlTransactionId tr) {
  std::vector<Delivered> partners;
  std::set<GlObjectId> listed;
  const auto outcome = ForEachPartner(oldId, sources, tr, [&](const Delivered& d) {
    if (d.isConnection && listed.insert(d.partner).second) partners.push_back(d);
    return ListingStep::Next;
  });
  if (outcome.failed()) gl_ErrorHandler(outcome.result);
  for (const Delivered& d : partners) MoveConnection(d, sources, oldId, newId, true, tr);
}

} // namespace

bool FindGlobalVar(GlObjectId resourceId, CString name, CString& text, GlObjectId& globalVarId,
                   GlTransactionId prevTransactionId) {
  return FindByName(resourceId, text, globalVarId, prevTransactionId,
                    [&](const std::string& candidate) { return platform::AnsiEqualNoCase(candidate, name.str()); });
}

bool FindGlobal(GlObjectId resourceId, CString name, CString& text, GlObjectId& globalVarId,
                GlTransactionId prevTransactionId) {
  return FindByName(resourceId, text, globalVarId, prevTransactionId,
                    [&](const std::string& candidate) { return candidate == name.str(); });
}

bool FindGlobalVar(GlObjectId resourceId, CString pattern, std::uint16_t flags, std::vector<FIND>& results,
                   GlTransactionId prevTransactionId) {
  auto* manager = OpenData::CIecObjManager::GetInstance();
  manager->Clear_i();
  manager->SetFactory(CZebIecObjFactory::GetInstance());
  const GlTransactionId tr = manager->GetTransactionId();
  const std::string upperPattern = platform::AnsiUpper(pattern.str());
  bool failed = false;
  const bool listed = ForEachGlobal(resourceId, tr, [&](GlObjectId id) {
    if (CBlobGlobalVar(id, prevTransactionId).GetFullPath().find('*') != std::string::npos) return false;
    std::string name, text;
    if (!body::W5GRX_GetGlobalVarFromVarId(id, name, text, tr)) {
      failed = true;
      return true;
    }
    if ((flags & kMatchCase) && name.find(pattern.str()) == std::string::npos) return false;
    if ((flags & kWholeName) && name.size() != pattern.str().size()) return false;
    if (platform::AnsiUpper(name).find(upperPattern) == std::string::npos) return false;
    auto* global =
        dynamic_cast<OpenData::CIecGlobalVar*>(manager->FindIecObject(OpenData::CIecObjId(id), IEC_OBJ_GLOBAL_VAR));
    if (!global) return false;
    auto addUse = [&](auto* entry, std::int32_t kind) {
      // Only variables are located; other partners (textual references, groups) are not uses.
      auto* var = entry ? dynamic_cast<OpenData::CIecVarBase*>(entry) : nullptr;
      if (!var) return;
      std::string location, rootChartName;
      GlObjectId rootChartId = 0;
      if (!body::W5GRX_FindSinksOrSources(var->GetId(), entry->GetName(), location, rootChartId, rootChartName)) {
        return;
      }
      FIND find;
      find.location = location;
      find.globalVarName = name;
      find.rootChartName = rootChartName;
      find.kind = kind;
      find.rootChartId = rootChartId;
      find.varId = var->GetId();
      find.globalVarId = id;
      results.push_back(find);
    };
    const auto sinks = global->GetSinks();
    for (OpenData::IIecSink* sink : *sinks) addUse(sink, 0);
    const auto sources = global->GetSources();
    for (OpenData::IIecSource* source : *sources) addUse(source, 1);
    return false;
  });
  if (!listed || failed) return false;
  if (!results.empty()) body::W5GRX_Sort(results);
  return true;
}

// Location texts: a block parameter reads "._ROOT_SUB_BLOCK.PARAM" in double quotes, a chart
// interface variable (ROOT\SUB\CHART<VAR>). An interface variable of a root chart reads
// (ROOT<VAR>); a variable whose owner cannot be determined reads (?<VAR>), with no root chart.
bool W5GRX_FindSinksOrSources(GlObjectId varId, std::string varName, std::string& location, GlObjectId& rootChartId,
                              std::string& rootChartName) {
  auto* manager = OpenData::CIecObjManager::GetInstance();
  const GlTransactionId tr = manager->GetTransactionId();
  GlObjectId owner = 0;
  OpenData::CIecObject* ownerObject = nullptr;
  if (gl_ErrorIdGet(iec_VarBlockGet(varId, owner, tr)) == 0 && owner != 0) {
    ownerObject = manager->FindIecObject(OpenData::CIecObjId(owner));
  }
  auto* block = dynamic_cast<OpenData::CIecBlock*>(ownerObject);
  auto* ownerChart = dynamic_cast<OpenData::CIecCfc*>(ownerObject);
  if (!block && !ownerChart) {
    location += "(?<" + varName + ">)";
    rootChartId = 0;
    rootChartName.clear();
    return true;
  }
  std::string ownerName;
  if (!ReadName(owner, ownerName, tr)) return false;
  OpenData::CIecBlockBase* ownerBase = block ? static_cast<OpenData::CIecBlockBase*>(block) : ownerChart;
  OpenData::CIecCfc* rootChart = ownerBase->GetRootCfc();
  if (!rootChart) return false;
  OpenData::CIecCfc* chart = ownerBase->GetCfc();
  std::string lastName;
  std::string text;
  if (block) {
    if (chart) ReadName(chart->GetId(), lastName, tr); // a failed read leaves the name empty
    text = "_" + lastName + "_" + ownerName + "." + varName + "\"";
  } else if (!chart) {
    // The owner is a root chart itself.
    location += "(" + ownerName + "<" + varName + ">)";
    rootChartId = ownerChart->GetId();
    rootChartName = ownerName;
    return true;
  } else {
    if (!ReadName(chart->GetId(), lastName, tr)) return false;
    text = lastName + "\\" + ownerName + "<" + varName + ">)";
  }
  for (OpenData::CIecCfc* current = chart; current && current->GetId() != rootChart->GetId();) {
    current = current->GetCfc();
    if (!current) break;
    std::string name;
    if (!ReadName(current->GetId(), name, tr)) continue;
    lastName = name;
    text.insert(0, block ? "_" + name : name + "\\");
  }
  text.insert(0, block ? "\"." : "(");
  location += text;
  rootChartName = lastName;
  rootChartId = rootChart->GetId();
  return true;
}

bool W5GRX_Sort(std::vector<FIND>& results) {
  helpfuncs::StableInsertionSort(results, [](const FIND& a, const FIND& b) {
    return std::strcmp(a.rootChartName.GetString(), b.rootChartName.GetString()) > 0;
  });
  return true;
}

bool W5GRX_ReplaceGlobVar(GlObjectId resourceId, CString oldName, CString newName, GlTransactionId prevTransactionId) {
  const GlTransactionId tr = prevTransactionId;
  CString text;
  GlObjectId oldId = 0;
  if (!body::FindGlobalVar(resourceId, oldName, text, oldId, tr)) return false;
  // From here on the answer is true; failures go to the chart database's error handler.
  Iec_GlobalVar oldRecord{};
  const GlResult read = iec_GlobalVarRead(oldId, oldRecord, tr);
  if (gl_ErrorIdGet(read) != 0) {
    gl_ErrorHandler(read);
    return true;
  }
  // A name the record cannot hold would give a variable whose name and path disagree.
  if (!FitsNameField(newName.str())) {
    gl_ErrorHandler(grx::dbaccess::MakeApiResult(grx::dbaccess::kTextTooLong, 0, grx::dbaccess::kLibraryOrigin));
    return true;
  }
  CBlobGlobalVar blob(oldId, tr);
  const std::string prefix = PathPrefix(blob.GetFullPath());
  GlObjectId newId = 0;
  const bool exists = body::FindGlobalVar(resourceId, newName, text, newId, tr);
  // A new name that differs only in case finds the old variable itself: there is nothing to
  // move, and moving connections onto their own variable would never end.
  if (exists && newId == oldId) return true;
  if (!ProvideTarget(resourceId, oldRecord, newName.str(), exists, newId, true, tr)) return true;
  blob.SetFullPath(prefix + newName.str());
  blob.Write(newId, tr);
  MoveAll(oldId, newId, false, tr);
  MoveAll(oldId, newId, true, tr);
  return true;
}

bool W5GRX_ReplaceGlobalVar(CString newPart, CString oldPart, int direction, GlObjectId connectedVarId,
                            GlObjectId resourceId, GlObjectId oldGlobalVarId) {
  const GlTransactionId tr = OpenData::CIecObjManager::GetInstance()->GetTransactionId();
  Iec_GlobalVar oldRecord{};
  if (gl_ErrorIdGet(iec_GlobalVarRead(oldGlobalVarId, oldRecord, tr)) != 0) return false;
  const std::string oldName = FieldText(oldRecord.name, sizeof oldRecord.name);
  if (oldPart.IsEmpty()) return false;
  const auto at = platform::AnsiUpper(oldName).find(platform::AnsiUpper(oldPart.str()));
  if (at == std::string::npos) return false;
  const std::string newName = oldName.substr(0, at) + newPart.str() + oldName.substr(at + oldPart.str().size());
  if (!FitsNameField(newName)) return false;
  CBlobGlobalVar blob(oldGlobalVarId, tr);
  const std::string prefix = PathPrefix(blob.GetFullPath());
  CString text;
  GlObjectId newId = 0;
  const bool exists = body::FindGlobal(resourceId, newName, text, newId, tr);
  if (!ProvideTarget(resourceId, oldRecord, newName, exists, newId, false, tr)) return false;
  if (!exists) {
    blob.SetFullPath(prefix + newName);
    blob.Write(newId, tr);
  }
  const bool sources = direction != 0;
  bool moved = true;
  ForEachPartner(oldGlobalVarId, sources, tr, [&](const Delivered& d) {
    if (d.partner != connectedVarId || !d.isConnection) return ListingStep::Next;
    moved = MoveConnection(d, sources, oldGlobalVarId, newId, false, tr);
    return ListingStep::Stop;
  });
  return moved;
}

} // namespace grx::body
