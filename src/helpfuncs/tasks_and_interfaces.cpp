// Tasks, processing groups and chart interfaces: the interface items of a chart, the task that
// runs an object, and the clean-up of tasks and empty processing groups.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "app/export_bodies.h"
#include "dbaccess/chartdb_functions.h"
#include "grx/w5lhlpax.h"
#include "dbaccess/listing.h"
#include "helpfuncs/sub_chart_listing.h"
#include "opendata/iec_cfc_var.h"
#include "opendata/iec_obj_manager.h"
#include "opendata/open_data_exception.h"
#include "platform/code_page.h"

namespace {

constexpr const char* kFile = ".\\HelpFunc";
constexpr std::size_t kNameBuffer = 52;
const char* const kProtectedTasks[] = {"T1", "T2", "T3", "T4", "T5"};

using grx::dbaccess::ForEachListed;
using grx::dbaccess::kPresetElementType;
using grx::dbaccess::kPresetNullType;
using grx::dbaccess::ListingDelivered;
using grx::dbaccess::ListingStep;

// Runs the interface-item iteration of a chart: onItem(id, type) for each chart input (27) or
// output (28); a failed call raises COpenDataException with the given line.
template <class OnItem>
bool ForEachInterfaceItem(GlObjectId chartId, GlTransactionId tr, int line, OnItem&& onItem) {
  GlObjectId item = 0;
  GlObjectType type = kPresetElementType;
  const auto outcome = ForEachListed(
      [&](MODE mode) {
        item = 0;
        type = kPresetElementType;
        return iec_VarsGet(mode, IEC_SELECT_ALL, chartId, item, type, tr);
      },
      [&] {
        if (type != IEC_OBJ_CFC_OUT_VAR && type != IEC_OBJ_CFC_IN_VAR) return ListingStep::Next;
        return onItem(item, type) ? ListingStep::Stop : ListingStep::Next;
      });
  if (outcome.failed()) {
    throw OpenData::COpenDataException("iec_VarsGet failed.", outcome.result, kFile, static_cast<std::uint32_t>(line));
  }
  return outcome.stopped();
}

std::string ItemName(GlObjectId item, GlObjectType type) {
  OpenData::CIecObject* object =
      OpenData::CIecObjManager::GetInstance()->FindIecObject(OpenData::CIecObjId(item), type);
  return object->GetName();
}

bool ReadName(GlObjectId id, char (&name)[kNameBuffer], GlTransactionId tr) {
  return gl_ErrorIdGet(gl_ObjectNameGet(id, name, tr)) == 0;
}

// Lists the processing groups of a task (outside any transaction); stops at the first
// identifier other than 0.
template <class OnGroup>
void ForEachGroup(GlObjectId taskId, OnGroup&& onGroup) {
  GlObjectId group = 0;
  GlObjectType type = kPresetElementType;
  ForEachListed(
      [&](MODE mode) {
        group = 0;
        type = kPresetElementType;
        return iec_TaskElementsGet(mode, IEC_SELECT_TASK_ELEMENTS, taskId, group, type, kNoTransaction);
      },
      [&] { onGroup(group); });
}

// Whether a processing group has a member: one call, outside any transaction.
bool IsOccupied(GlObjectId groupId) {
  GlObjectId member = 0;
  GlObjectType type = kPresetNullType;
  return ListingDelivered(
      gl_ErrorIdGet(iec_ProcessingGroupBlocksGet(M_FIRST, IEC_SELECT_ALL, groupId, member, type, kNoTransaction)));
}

} // namespace

// The bodies of the exports; the frame (module state, exception policy) comes from the export table.
namespace grx::body {

bool W5GRX_GetPlanInterface(GlObjectId& chartId, std::vector<BLOCK>& blocks, GlTransactionId prevTransactionId) {
  auto* manager = OpenData::CIecObjManager::GetInstance();
  manager->Clear_i();
  manager->SetTransactionId(prevTransactionId);
  ForEachInterfaceItem(chartId, manager->GetTransactionId(), 1956, [&](GlObjectId item, GlObjectType type) {
    BLOCK block;
    block.name = ItemName(item, type);
    block.id = item;
    blocks.push_back(block);
    return false;
  });
  return false;
}

bool W5GRX_GetPlanInterfaceParam(GlObjectId& chartId, std::vector<PARAM>& params) {
  ForEachInterfaceItem(chartId, kNoTransaction, 2015, [&](GlObjectId item, GlObjectType) {
    Gl_InterfaceItemAttributes attributes{};
    gl_InterfaceItemAttributesGetV6_0(item, attributes, kNoTransaction);
    PARAM param;
    param.name = std::string(attributes.name, strnlen(attributes.name, sizeof attributes.name));
    param.itemText = std::string(attributes.itemText, strnlen(attributes.itemText, sizeof attributes.itemText));
    param.id = item;
    params.push_back(param);
    return false;
  });
  return false;
}

bool W5GRX_GetPlanInterfaceParentidAndLoc(GlObjectId chartId, std::string& name, GlObjectId& parentId,
                                          GlObjectId& locId) {
  const GlTransactionId tr = OpenData::CIecObjManager::GetInstance()->GetTransactionId();
  const bool found = ForEachInterfaceItem(chartId, tr, 3052, [&](GlObjectId item, GlObjectType type) {
    const std::string itemName = grx::platform::AnsiUpper(ItemName(item, type));
    if (itemName != name) return false;
    parentId = chartId;
    locId = item;
    return true;
  });
  if (found) return true;
  const auto outcome = helpfuncs::ForEachSubChartListed(chartId, tr, [&](GlObjectId block, GlObjectType type) {
    return type == IEC_OBJ_CFC && body::W5GRX_GetPlanInterfaceParentidAndLoc(block, name, parentId, locId)
               ? ListingStep::Stop
               : ListingStep::Next;
  });
  if (outcome.failed()) {
    throw OpenData::COpenDataException("W5GRX_GetPlanInterfaceParentidAndLoc failed.", outcome.result, kFile, 3094);
  }
  return outcome.stopped();
}

bool W5GRX_GetTaskNamebyObjectId(GlObjectId taskId, GlObjectId objectId, std::string& taskName) {
  const GlTransactionId tr = OpenData::CIecObjManager::GetInstance()->GetTransactionId();
  bool match = false;
  GlObjectId group = 0;
  GlObjectType type = kPresetElementType;
  const auto outcome = ForEachListed(
      [&](MODE mode) {
        group = 0;
        type = kPresetElementType;
        return iec_TaskElementsGet(mode, IEC_SELECT_TASK_ELEMENTS, taskId, group, type, tr);
      },
      [&] {
        // The members of the group, outside any transaction; a failure ends only this listing.
        GlObjectId member = 0;
        GlObjectType memberType = kPresetNullType;
        ForEachListed(
            [&](MODE mode) {
              member = 0;
              memberType = kPresetNullType;
              return iec_ProcessingGroupBlocksGet(mode, IEC_SELECT_ALL, group, member, memberType, kNoTransaction);
            },
            [&] {
              match = member == objectId;
              return match ? ListingStep::Stop : ListingStep::Next;
            });
        return match ? ListingStep::Stop : ListingStep::Next;
      });
  if (outcome.failed()) throw OpenData::COpenDataException("iec_TaskElementsGet failed.", outcome.result, kFile, 2229);
  if (!match) return false;
  char name[kNameBuffer] = {};
  gl_ObjectNameGet(taskId, name, tr);
  taskName = name;
  return true;
}

bool W5GRX_TaskDelete(GlObjectId cpuId, GlTransactionId prevTransactionId) {
  std::vector<GlObjectId> doomed;
  GlObjectId task = 0;
  ForEachListed(
      [&](MODE mode) {
        task = 0;
        return iec_TasksGet(mode, cpuId, task, prevTransactionId);
      },
      [&] {
        char name[kNameBuffer] = {};
        if (ReadName(task, name, prevTransactionId) &&
            std::none_of(std::begin(kProtectedTasks), std::end(kProtectedTasks),
                         [&](const char* protectedName) { return std::strcmp(name, protectedName) == 0; })) {
          doomed.push_back(task);
        }
      });
  for (GlObjectId task : doomed) body::W5GRX_TaskElementsDelete(task, prevTransactionId);
  return true;
}

bool W5GRX_TaskElementsDelete(GlObjectId taskId, GlTransactionId prevTransactionId) {
  std::vector<GlObjectId> groups;
  ForEachGroup(taskId, [&](GlObjectId group) {
    char name[kNameBuffer] = {};
    if (ReadName(group, name, prevTransactionId)) groups.push_back(group);
  });
  // Every listed group is asked, also after the first occupied one.
  bool occupied = false;
  for (GlObjectId group : groups) occupied = IsOccupied(group) || occupied;
  if (occupied) return true;
  for (GlObjectId group : groups) iec_ProcessingGroupDelete(group, prevTransactionId);
  iec_TaskDelete(taskId, prevTransactionId);
  return true;
}

bool W5GRX_ProcessingGroupDeleteEmpty(GlObjectId taskId, std::vector<CString> names,
                                      GlTransactionId prevTransactionId) {
  std::vector<GlObjectId> candidates;
  ForEachGroup(taskId, [&](GlObjectId group) {
    if (!body::ExistPlan(group, names)) candidates.push_back(group);
  });
  for (GlObjectId group : candidates) {
    if (!IsOccupied(group)) iec_ProcessingGroupDelete(group, prevTransactionId);
  }
  return true;
}

bool W5GRX_GetTaskId(GlObjectId cpuId, std::vector<CString> names) {
  GlObjectId task = 0;
  const auto outcome = ForEachListed(
      [&](MODE mode) {
        task = 0;
        return iec_TasksGet(mode, cpuId, task, kNoTransaction);
      },
      [&] { body::W5GRX_ProcessingGroupDeleteEmpty(task, names, kNoTransaction); });
  if (outcome.failed()) throw OpenData::COpenDataException("iec_TasksGet failed.", outcome.result, kFile, 3675);
  return true;
}

} // namespace grx::body
