// Block placement: the function blocks and functions of a chart hierarchy with their places in
// the run sequences, the three orders the host sorts them in, and moving them into another
// processing group behind its last member, group by group.
#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <unordered_set>

#include "app/export_bodies.h"
#include "dbaccess/chartdb_functions.h"
#include "dbaccess/listing.h"
#include "helpfuncs/stable_insertion_sort.h"
#include "opendata/open_data_exception.h"
#include "platform/com_lite.h"

namespace grx::body {
namespace {

using grx::dbaccess::ForEachListed;
using grx::dbaccess::ForEachListedWith;
using grx::dbaccess::kPresetElementType;
using grx::dbaccess::kPresetNullType;
using grx::dbaccess::ListingStep;

constexpr const char* kFile = ".\\HelpFunc";
constexpr std::uint32_t kBlockListingLine = 3266;

bool IsBlock(GlObjectType type) {
  return type == IEC_OBJ_FUNCTION_BLOCK || type == IEC_OBJ_FUNCTION;
}

// Whether the run-sequence answer for a block counts as found: a place delivered by the listing
// (0, or 166 for a block that runs in one place only, which is the usual case), or the place of
// the chart that holds it (169).
bool PlaceFound(std::uint32_t errorId) {
  return grx::dbaccess::ListingDelivered(errorId) || errorId == GL_ERR_AS_TASK_INDIRECT;
}

// Asks where a block runs (M_FIRST only) and fills info with its group, places and task name;
// answers whether a place was found. A task name longer than the field keeps its first 27
// characters.
bool AskPlace(GlObjectId block, MoveBlockInfoT& info, GlTransactionId tr) {
  GlObjectId task = 0;
  Gl_RunSeqRecord place{};
  info = MoveBlockInfoT{};
  info.blockId = block;
  if (!PlaceFound(gl_ErrorIdGet(gl_ObjectAsTasksGet(M_FIRST, block, info.procGroupId, task, place, tr)))) {
    return false;
  }
  info.blockPos = place.blockPos;
  info.grPos = place.grPos;
  std::memcpy(info.tpName, place.taskName,
              std::min(strnlen(place.taskName, sizeof place.taskName), sizeof info.tpName - 1));
  return true;
}

// The element list of gl_RunSeqElemsMove lives in COM task memory.
struct TaskMemFree {
  void operator()(GlObjectId* block) const { grx::platform::CoTaskMemFree(block); }
};
using TaskMemIds = std::unique_ptr<GlObjectId, TaskMemFree>;

// The blocks of the chart and, depth first, of its sub-charts. A chart met a second time (charts of
// a damaged project that contain each other) is not searched again.
void SearchMoveBlocks(GlObjectId chartId, std::vector<MoveBlockInfoT>& blocks, GlTransactionId prevTransactionId,
                      std::unordered_set<GlObjectId>& searched) {
  if (!searched.insert(chartId).second) return;
  GlObjectId iter = 0;
  GlObjectId block = 0;
  GlObjectType type = kPresetElementType;
  const auto outcome = ForEachListed(
      [&](MODE mode) {
        block = 0;
        type = kPresetElementType;
        return iec_CfcBlocksGet(mode, IEC_SELECT_ALL, chartId, iter, block, type, prevTransactionId);
      },
      [&] {
        if (type == IEC_OBJ_CFC) {
          SearchMoveBlocks(block, blocks, prevTransactionId, searched);
          return ListingStep::Next;
        }
        if (!IsBlock(type)) return ListingStep::Next;
        // A block without a place ends the search in this chart; what was gathered stays, and a
        // calling level goes on with its own listing.
        MoveBlockInfoT info;
        if (!AskPlace(block, info, prevTransactionId)) return ListingStep::Stop;
        blocks.push_back(info);
        return ListingStep::Next;
      });
  if (outcome.failed()) {
    throw OpenData::COpenDataException("iec_CfcBlocksGet failed.", outcome.result, kFile, kBlockListingLine);
  }
}

} // namespace

bool W5GRX_SearchMoveBlocks(GlObjectId chartId, std::vector<MoveBlockInfoT>& blocks,
                            GlTransactionId prevTransactionId) {
  std::unordered_set<GlObjectId> searched;
  SearchMoveBlocks(chartId, blocks, prevTransactionId, searched);
  return true;
}

bool W5GRX_SortBlock(std::vector<MoveBlockInfoT>& blocks) {
  helpfuncs::StableInsertionSort(
      blocks, [](const MoveBlockInfoT& a, const MoveBlockInfoT& b) { return a.blockPos > b.blockPos; });
  return true;
}

bool W5GRX_SortGrPos(std::vector<MoveBlockInfoT>& blocks) {
  helpfuncs::StableInsertionSort(blocks,
                                 [](const MoveBlockInfoT& a, const MoveBlockInfoT& b) { return a.grPos > b.grPos; });
  return true;
}

bool W5GRX_SortTpName(std::vector<MoveBlockInfoT>& blocks) {
  helpfuncs::StableInsertionSort(blocks, [](const MoveBlockInfoT& a, const MoveBlockInfoT& b) {
    // A name that fills the field has no terminator: it is compared within the field.
    return std::strncmp(a.tpName, b.tpName, sizeof a.tpName) > 0;
  });
  return true;
}

bool W5GRX_GetLastBlockPos(GlObjectId groupId, GlObjectId& lastBlockId, GlTransactionId prevTransactionId) {
  GlObjectType type = kPresetNullType;
  std::uint32_t errorId = 0;
  bool placeMissing = false;
  ForEachListedWith([&](GlResult result) { return errorId = gl_ErrorIdGet(result); },
                    [&](MODE mode) {
                      return iec_ProcessingGroupBlocksGet(mode, IEC_SELECT_ALL, groupId, lastBlockId, type,
                                                          prevTransactionId);
                    },
                    [&] {
                      // The member delivered with the last-element answer ends the listing unchecked.
                      if (errorId != 0 || !IsBlock(type)) return ListingStep::Next;
                      MoveBlockInfoT info;
                      if (AskPlace(lastBlockId, info, prevTransactionId)) return ListingStep::Next;
                      placeMissing = true;
                      return ListingStep::Stop;
                    });
  return !placeMissing;
}

bool W5GRX_MoveBlocks(std::vector<MoveBlockInfoT>& blocks, GlObjectId destGroupId, GlTransactionId prevTransactionId) {
  const auto count = static_cast<std::uint32_t>(blocks.size());
  TaskMemIds elements(static_cast<GlObjectId*>(grx::platform::CoTaskMemAlloc(sizeof(GlObjectId) * blocks.size())));
  if (!elements) return false;
  for (std::size_t i = 0; i < blocks.size(); ++i) elements.get()[i] = blocks[i].blockId;
  const GlObjectId sourceGroup = blocks.empty() ? 0 : blocks.back().procGroupId;
  GlObjectId predecessor = 0;
  body::W5GRX_GetLastBlockPos(destGroupId, predecessor, prevTransactionId);
  const GlResult result =
      gl_RunSeqElemsMove(elements.get(), count, sourceGroup, destGroupId, predecessor, prevTransactionId);
  return gl_ErrorIdGet(result) == 0;
}

bool W5GRX_GetGroupPos(std::vector<MoveBlockInfoT>& blocks, GlObjectId destGroupId, GlTransactionId prevTransactionId) {
  if (blocks.size() == 1) {
    body::W5GRX_MoveBlocks(blocks, destGroupId, prevTransactionId);
    return true;
  }
  body::W5GRX_SortGrPos(blocks);
  if (blocks.empty()) throw std::out_of_range("invalid vector<T> subscript");
  std::vector<MoveBlockInfoT> batch{blocks.front()};
  std::int16_t current = blocks.front().grPos;
  auto moveBatch = [&] {
    body::W5GRX_SortBlock(batch);
    body::W5GRX_MoveBlocks(batch, destGroupId, prevTransactionId);
    batch.clear();
  };
  for (std::size_t i = 1; i < blocks.size();) {
    if (blocks[i].grPos != current) {
      moveBatch();
      current = blocks[i].grPos;
      continue; // the element is looked at again, as the first of the next batch
    }
    batch.push_back(blocks[i]);
    if (i + 1 == blocks.size()) moveBatch();
    ++i;
  }
  return true;
}

} // namespace grx::body
