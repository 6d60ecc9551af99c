// The object a compiler message is about: a processing group ("{NAME}"), a chart's interface
// parameter ("<NAME>") or a block and its parameter ("\".BLOCK.PARAM\""), found below the chart
// or controller the message belongs to.
#include <string>
#include <utility>
#include <vector>

#include "app/export_bodies.h"
#include "blob/blob_block.h"
#include "blob/zeb_iec_obj_factory.h"
#include "dbaccess/chartdb_functions.h"
#include "dbaccess/listing.h"
#include "foundation/module_trace.h"
#include "helpfuncs/sub_chart_listing.h"
#include "opendata/iec_block.h"
#include "opendata/iec_obj_manager.h"
#include "opendata/iec_processing_group.h"
#include "opendata/open_data_exception.h"
#include "platform/code_page.h"

namespace grx::body {
namespace {

constexpr const char* kFile = ".\\HelpFunc.cpp";

using dbaccess::ForEachListed;
using dbaccess::kPresetElementType;
using dbaccess::ListingStep;
using OpenData::CIecObjId;
using OpenData::CIecObjManager;

void ThrowIfFailed(const dbaccess::ListingOutcome& outcome, int line) {
  if (outcome.failed()) {
    throw OpenData::COpenDataException("iec_VarsGet failed.", outcome.result, kFile, static_cast<std::uint32_t>(line));
  }
}

// The processing group of that name (same case) among the tasks of the object's controller; 0
// when there is none.
GlObjectId FindProcessingGroup(GlObjectId objectId, const std::string& name) {
  auto* manager = CIecObjManager::GetInstance();
  const GlTransactionId tr = manager->GetTransactionId();
  GlObjectId cpu = 0;
  OutCpu outCpu{};
  if (gl_ErrorIdGet(gl_CpuIdGet(objectId, cpu, outCpu, tr)) != 0 || cpu == 0) return 0;
  const GlObjectId resource = manager->FindIecObject(CIecObjId(cpu), IEC_OBJ_RESOURCE)->GetId();
  GlObjectId found = 0;
  GlObjectId task = 0;
  const auto tasks =
      ForEachListed([&](MODE mode) { return iec_TasksGet(mode, resource, task, tr); },
                    [&] {
                      GlObjectId element = 0;
                      GlObjectType type = kPresetElementType;
                      const auto elements = ForEachListed(
                          [&](MODE mode) {
                            element = 0;
                            type = kPresetElementType;
                            return iec_TaskElementsGet(mode, IEC_SELECT_TASK_ELEMENTS, task, element, type, tr);
                          },
                          [&] {
                            auto* group = dynamic_cast<OpenData::CIecProcessingGroup*>(
                                manager->FindIecObject(CIecObjId(element), IEC_OBJ_NULL));
                            if (!group || group->GetName() != name) return ListingStep::Next;
                            found = element;
                            return ListingStep::Stop;
                          });
                      ThrowIfFailed(elements, __LINE__);
                      return found ? ListingStep::Stop : ListingStep::Next;
                    });
  ThrowIfFailed(tasks, __LINE__);
  return found;
}

// The chart interface parameter of that name (same case) of the chart or of a sub-chart, depth
// first: the chart that holds it and the parameter.
bool FindChartParameter(GlObjectId chartId, const std::string& name, GlObjectId& chart, GlObjectId& parameter) {
  auto* manager = CIecObjManager::GetInstance();
  const GlTransactionId tr = manager->GetTransactionId();
  GlObjectId var = 0;
  GlObjectType type = kPresetElementType;
  const auto vars = ForEachListed(
      [&](MODE mode) {
        var = 0;
        type = kPresetElementType;
        return iec_VarsGet(mode, IEC_SELECT_ALL, chartId, var, type, tr);
      },
      [&] {
        if (type != IEC_OBJ_CFC_IN_VAR && type != IEC_OBJ_CFC_OUT_VAR && type != IEC_OBJ_CFC_IN_OUT_VAR) {
          return ListingStep::Next;
        }
        if (manager->FindIecObject(CIecObjId(var), type)->GetName() != name) {
          return ListingStep::Next;
        }
        chart = chartId;
        parameter = var;
        return ListingStep::Stop;
      });
  ThrowIfFailed(vars, __LINE__);
  if (vars.stopped()) return true;
  bool found = false;
  const auto subCharts = helpfuncs::ForEachSubChartListed(chartId, tr, [&](GlObjectId sub, GlObjectType) {
    found = FindChartParameter(sub, name, chart, parameter);
    return found ? ListingStep::Stop : ListingStep::Next;
  });
  ThrowIfFailed(subCharts, __LINE__);
  return found;
}

// What the block search has found so far. A message names a block by its full name ("Axis1.Move1")
// or by its own name alone: the full name wins at once, the own name only when one block of the
// hierarchy carries it, since two blocks of different sub-charts may share it.
struct BlockSearch {
  std::string wantedBlock; // upper case
  std::string wantedParam; // upper case; empty for the block alone
  GlObjectId exactBlock = 0, exactParam = 0;
  std::vector<std::pair<GlObjectId, GlObjectId>> byOwnName;
  bool failed = false;
};

// The parameter of the block that the search asks for (0 when it asks for none); false when the
// block has no such parameter.
bool WantedParameter(OpenData::CIecBlock& block, const BlockSearch& search, GlObjectId& param) {
  param = 0;
  if (search.wantedParam.empty()) return true;
  const auto children = block.GetChildren(nullptr);
  for (OpenData::CIecObject* child : *children) {
    if (platform::AnsiUpper(child->GetName()) != search.wantedParam) continue;
    param = child->GetId();
    return true;
  }
  return false;
}

// Searches the chart and its sub-charts at any depth; true when the search is over (a block of that
// full name was found, or a listing failed).
bool SearchBlock(GlObjectId chartId, BlockSearch& search) {
  auto* manager = CIecObjManager::GetInstance();
  const GlTransactionId tr = manager->GetTransactionId();
  GlObjectId iter = 0, block = 0;
  GlObjectType type = kPresetElementType;
  bool over = false;
  const auto outcome = ForEachListed(
      [&](MODE mode) {
        block = 0;
        type = kPresetElementType;
        return iec_CfcBlocksGet(mode, IEC_SELECT_ALL, chartId, iter, block, type, tr);
      },
      [&] {
        if (type == IEC_OBJ_CFC) {
          over = SearchBlock(block, search);
          return over ? ListingStep::Stop : ListingStep::Next;
        }
        if (type != IEC_OBJ_FUNCTION_BLOCK && type != IEC_OBJ_FUNCTION) return ListingStep::Next;
        auto* object = dynamic_cast<OpenData::CIecBlock*>(manager->FindIecObject(CIecObjId(block), type));
        if (!object) return ListingStep::Next;
        auto* record = dynamic_cast<CBlobBlock*>(object->GetExtension(EXTENSION_KEY_BLOB));
        // A block without a full name in its record goes by its own name.
        const std::string fullName =
            record && !record->GetFullName().empty() ? record->GetFullName() : object->GetName();
        const std::size_t point = fullName.rfind('.');
        const std::string ownName = point == std::string::npos ? fullName : fullName.substr(point + 1);
        const bool exact = platform::AnsiUpper(fullName) == search.wantedBlock;
        if (!exact && platform::AnsiUpper(ownName) != search.wantedBlock) return ListingStep::Next;
        GlObjectId param = 0;
        // The name matches, the parameter does not: search on.
        if (!WantedParameter(*object, search, param)) return ListingStep::Next;
        if (!exact) {
          search.byOwnName.emplace_back(object->GetId(), param);
          return ListingStep::Next;
        }
        search.exactBlock = object->GetId();
        search.exactParam = param;
        over = true;
        return ListingStep::Stop;
      });
  if (outcome.failed()) {
    TraceContext context(kFile, "W5GRX_GetError");
    context.level = 4;
    TraceWrite(context, "iec_CfcBlocksGet failed. result = %x", static_cast<unsigned>(outcome.result));
    search.failed = true;
    return true;
  }
  return over;
}

} // namespace

bool W5GRX_GetError(GlObjectId chartId, CString blockName, CString paramName, GlObjectId& blockId,
                    GlObjectId& paramId) {
  auto* manager = CIecObjManager::GetInstance();
  manager->Clear_i();
  manager->SetFactory(CZebIecObjFactory::GetInstance());
  BlockSearch search;
  search.wantedBlock = platform::AnsiUpper(blockName.str());
  search.wantedParam = platform::AnsiUpper(paramName.str());
  SearchBlock(chartId, search);
  if (search.failed) return false;
  if (search.exactBlock != 0) {
    blockId = search.exactBlock;
    paramId = search.exactParam;
    return true;
  }
  if (search.byOwnName.size() == 1) {
    blockId = search.byOwnName.front().first;
    paramId = search.byOwnName.front().second;
    return true;
  }
  if (search.byOwnName.size() > 1) {
    TraceContext context(kFile, "W5GRX_GetError");
    context.level = 3;
    TraceWrite(context, "%u blocks are named %s; the message names none of them by its full name",
               static_cast<unsigned>(search.byOwnName.size()), blockName.GetString());
  }
  return false;
}

bool W5GRX_GetErrorLocation(GlObjectId objectId, const CString& location, GlObjectId& firstId, GlObjectId& secondId) {
  CIecObjManager::GetInstance()->Clear_i();
  TraceContext context(kFile, "W5GRX_GetErrorLocation");
  context.level = 1;
  TraceWrite(context, "call getErrorLocation");
  const std::string text = location.str();
  const std::size_t openBrace = text.find('{'), closeBrace = text.find('}');
  if (openBrace != std::string::npos && closeBrace != std::string::npos && closeBrace > openBrace) {
    const GlObjectId group = FindProcessingGroup(objectId, text.substr(openBrace + 1, closeBrace - openBrace - 1));
    if (!group) return false;
    firstId = 0;
    secondId = group;
    return true;
  }
  const std::size_t openAngle = text.find('<'), closeAngle = text.find('>');
  if (openAngle != std::string::npos && closeAngle != std::string::npos && closeAngle > openAngle) {
    return FindChartParameter(objectId, text.substr(openAngle + 1, closeAngle - openAngle - 1), firstId, secondId);
  }
  const std::size_t quote = text.find("\".");
  if (quote == std::string::npos) return false;
  const std::size_t start = quote + 2;
  const std::size_t end = text.find('"', start);
  const std::string named = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
  const std::size_t point = named.find('.');
  const std::string block = named.substr(0, point);
  const std::string param = point == std::string::npos ? std::string() : named.substr(point + 1);
  GlObjectId blockId = 0, paramId = 0;
  if (!body::W5GRX_GetError(objectId, CString(block), CString(param), blockId, paramId)) return false;
  firstId = blockId;
  secondId = paramId;
  return true;
}

} // namespace grx::body
