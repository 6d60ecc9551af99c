// Tasks, processing groups and chart interfaces: the interface items of a chart, the task that
// runs an object, and the clean-up of tasks and empty processing groups.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "app/grx_help_app.h"
#include "dbaccess/api_wrappers.h"
#include "grx/w5lhlpax.h"
#include "helpfuncs/listing_answers.h"
#include "opendata/iec_cfc_var.h"
#include "opendata/iec_obj_manager.h"
#include "opendata/open_data_exception.h"

namespace {

constexpr const char* kFile = ".\\HelpFunc";
constexpr std::size_t kNameBuffer = 52;
const char* const kProtectedTasks[] = {"T1", "T2", "T3", "T4", "T5"};

using grx::helpfuncs::Delivered;
using grx::helpfuncs::EndOrDelivered;

// Runs the interface-item iteration of a chart: onItem(id, type) for each chart input (27) or
// output (28); a failed call raises COpenDataException with the given line.
template <class OnItem>
bool ForEachInterfaceItem(GlObjectId chartId, GlTransactionId tr, int line, OnItem&& onItem) {
  for (MODE mode = M_FIRST;; mode = M_NEXT) {
    GlObjectId item = 0;
    GlObjectType type = 36;
    const GlResult result = iec_VarsGet(mode, IEC_SELECT_ALL, chartId, item, type, tr);
    const std::uint32_t errorId = gl_ErrorIdGet(result);
    if (!EndOrDelivered(errorId)) {
      throw OpenData::COpenDataException("iec_VarsGet failed.", result, kFile, static_cast<std::uint32_t>(line));
    }
    if (Delivered(errorId) && (type == IEC_OBJ_CFC_OUT_VAR || type == IEC_OBJ_CFC_IN_VAR)) {
      if (onItem(item, type)) return true;
    }
    if (errorId != 0) return false;
  }
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
  for (MODE mode = M_FIRST;; mode = M_NEXT) {
    GlObjectId group = 0;
    GlObjectType type = 36;
    const std::uint32_t errorId =
        gl_ErrorIdGet(iec_TaskElementsGet(mode, IEC_SELECT_TASK_ELEMENTS, taskId, group, type, kNoTransaction));
    if (Delivered(errorId)) onGroup(group);
    if (errorId != 0) return;
  }
}

// Whether a processing group has a member: one call, outside any transaction.
bool IsOccupied(GlObjectId groupId) {
  GlObjectId member = 0;
  GlObjectType type = IEC_OBJ_NULL;
  return Delivered(
      gl_ErrorIdGet(iec_ProcessingGroupBlocksGet(M_FIRST, IEC_SELECT_ALL, groupId, member, type, kNoTransaction)));
}

} // namespace

bool W5GRX_GetPlanInterface(GlObjectId& chartId, std::vector<BLOCK>& blocks, GlTransactionId prevTransactionId) {
  GRX_EXPORT_FRAME;
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
  GRX_EXPORT_FRAME;
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
  GRX_EXPORT_FRAME;
  const GlTransactionId tr = OpenData::CIecObjManager::GetInstance()->GetTransactionId();
  const bool found = ForEachInterfaceItem(chartId, tr, 3052, [&](GlObjectId item, GlObjectType type) {
    std::string itemName = ItemName(item, type);
    std::transform(itemName.begin(), itemName.end(), itemName.begin(), [](unsigned char c) { return std::toupper(c); });
    if (itemName != name) return false;
    parentId = chartId;
    locId = item;
    return true;
  });
  if (found) return true;
  GlObjectId iter = 0;
  for (MODE mode = M_FIRST;; mode = M_NEXT) {
    GlObjectId block = 0;
    GlObjectType type = 36;
    const GlResult result = iec_CfcBlocksGet(mode, IEC_SELECT_IS_CFC, chartId, iter, block, type, tr);
    const std::uint32_t errorId = gl_ErrorIdGet(result);
    if (!EndOrDelivered(errorId)) {
      throw OpenData::COpenDataException("W5GRX_GetPlanInterfaceParentidAndLoc failed.", result, kFile, 3094);
    }
    if (Delivered(errorId) && type == IEC_OBJ_CFC &&
        W5GRX_GetPlanInterfaceParentidAndLoc(block, name, parentId, locId)) {
      return true;
    }
    if (errorId != 0) return false;
  }
}

bool W5GRX_GetTaskNamebyObjectId(GlObjectId taskId, GlObjectId objectId, std::string& taskName) {
  GRX_EXPORT_FRAME;
  const GlTransactionId tr = OpenData::CIecObjManager::GetInstance()->GetTransactionId();
  bool match = false;
  for (MODE mode = M_FIRST; !match; mode = M_NEXT) {
    GlObjectId group = 0;
    GlObjectType type = 36;
    const GlResult result = iec_TaskElementsGet(mode, IEC_SELECT_TASK_ELEMENTS, taskId, group, type, tr);
    const std::uint32_t errorId = gl_ErrorIdGet(result);
    if (!EndOrDelivered(errorId)) {
      throw OpenData::COpenDataException("iec_TaskElementsGet failed.", result, kFile, 2229);
    }
    if (Delivered(errorId)) {
      for (MODE memberMode = M_FIRST;; memberMode = M_NEXT) {
        GlObjectId member = 0;
        GlObjectType memberType = IEC_OBJ_NULL;
        const std::uint32_t memberError = gl_ErrorIdGet(
            iec_ProcessingGroupBlocksGet(memberMode, IEC_SELECT_ALL, group, member, memberType, kNoTransaction));
        if (!Delivered(memberError)) break;
        if (member == objectId) {
          match = true;
          break;
        }
        if (memberError != 0) break;
      }
    }
    if (!match && errorId != 0) return false;
  }
  char name[kNameBuffer] = {};
  gl_ObjectNameGet(taskId, name, tr);
  taskName = name;
  return true;
}

bool W5GRX_TaskDelete(GlObjectId cpuId, GlTransactionId prevTransactionId) {
  GRX_EXPORT_FRAME;
  std::vector<GlObjectId> doomed;
  for (MODE mode = M_FIRST;; mode = M_NEXT) {
    GlObjectId task = 0;
    const std::uint32_t errorId = gl_ErrorIdGet(iec_TasksGet(mode, cpuId, task, prevTransactionId));
    if (Delivered(errorId)) {
      char name[kNameBuffer] = {};
      if (ReadName(task, name, prevTransactionId) &&
          std::none_of(std::begin(kProtectedTasks), std::end(kProtectedTasks),
                       [&](const char* protectedName) { return std::strcmp(name, protectedName) == 0; })) {
        doomed.push_back(task);
      }
    }
    if (errorId != 0) break;
  }
  for (GlObjectId task : doomed) W5GRX_TaskElementsDelete(task, prevTransactionId);
  return true;
}

bool W5GRX_TaskElementsDelete(GlObjectId taskId, GlTransactionId prevTransactionId) {
  GRX_EXPORT_FRAME;
  std::vector<GlObjectId> groups;
  ForEachGroup(taskId, [&](GlObjectId group) {
    char name[kNameBuffer] = {};
    if (ReadName(group, name, prevTransactionId)) groups.push_back(group);
  });
  if (std::any_of(groups.begin(), groups.end(), IsOccupied)) return true;
  for (GlObjectId group : groups) iec_ProcessingGroupDelete(group, prevTransactionId);
  iec_TaskDelete(taskId, prevTransactionId);
  return true;
}

bool W5GRX_ProcessingGroupDeleteEmpty(GlObjectId taskId, std::vector<CString> names,
                                      GlTransactionId prevTransactionId) {
  GRX_EXPORT_FRAME;
  std::vector<GlObjectId> candidates;
  ForEachGroup(taskId, [&](GlObjectId group) {
    if (!ExistPlan(group, names)) candidates.push_back(group);
  });
  for (GlObjectId group : candidates) {
    if (!IsOccupied(group)) iec_ProcessingGroupDelete(group, prevTransactionId);
  }
  return true;
}

bool W5GRX_GetTaskId(GlObjectId cpuId, std::vector<CString> names) {
  GRX_EXPORT_FRAME;
  for (MODE mode = M_FIRST;; mode = M_NEXT) {
    GlObjectId task = 0;
    const GlResult result = iec_TasksGet(mode, cpuId, task, kNoTransaction);
    const std::uint32_t errorId = gl_ErrorIdGet(result);
    if (Delivered(errorId)) W5GRX_ProcessingGroupDeleteEmpty(task, names, kNoTransaction);
    if (errorId == GL_ERR_NO_MORE_ELEMENTS || errorId == GL_ERR_LAST_ELEMENT) return true;
    if (errorId != 0) throw OpenData::COpenDataException("iec_TasksGet failed.", result, kFile, 3675);
  }
}
