#include "app/c_interface.h"

#include <cstddef>
#include <cstdio>
#include <exception>
#include <new>

#include "app/export_frame.h"
#include "dbaccess/chartdb_functions.h"
#include "foundation/exceptions.h"

// The records of the C interface have the size of the library's; the chains of parameter-type
// records are the chart database's records themselves.
static_assert(sizeof(grx_move_block) == sizeof(MoveBlockInfoT));
static_assert(sizeof(grx_in_var_type) == sizeof(Iec_InVarType));
static_assert(offsetof(grx_in_var_type, data_type) == offsetof(Iec_InVarType, dataType));
static_assert(offsetof(grx_in_var_type, next) == offsetof(Iec_InVarType, next));
static_assert(sizeof(grx_out_var_type) == sizeof(Iec_OutVarType));
static_assert(offsetof(grx_out_var_type, next) == offsetof(Iec_OutVarType, next));
static_assert(sizeof(grx_var_type_element) == sizeof(Iec_VarTypeElement));
static_assert(offsetof(grx_var_type_element, first_nested) == offsetof(Iec_VarTypeElement, firstNested));
static_assert(offsetof(grx_var_type_element, next) == offsetof(Iec_VarTypeElement, next));

namespace grx::capi {
namespace {

// The last error of the calling thread. A call that succeeds only lowers the flag and never
// touches the text; a text that cannot be stored (no memory) leaves a fixed one.
thread_local bool failed = false;
thread_local std::string lastError;
thread_local const char* fixedError = nullptr;

template <class Item>
Item* NewItems(size_t count) {
  auto* items = static_cast<Item*>(std::calloc(count == 0 ? 1 : count, sizeof(Item)));
  if (!items) throw std::bad_alloc();
  return items;
}

// A chart-database call that did not succeed becomes an error with the database's error id.
void Check(GlResult result) {
  const auto id = gl_ErrorIdGet(result);
  if (id == 0) return;
  char hex[24];
  std::snprintf(hex, sizeof hex, "0x%X", static_cast<unsigned>(id));
  throw CallError(std::string("the chart database answered error ") + hex);
}

// A transaction call, in the library's module state like the exports.
template <class Body>
int TransactionCall(const char* name, Body&& body) noexcept {
  return Call(name, [&]() -> int { return grx::app::RunExport<grx::app::ExportPolicy::Raises>(name, body); });
}

void FreeText(char*& text) {
  std::free(text);
  text = nullptr;
}

// Puts the converted items into a list the caller owns; on failure nothing is handed over.
template <class Item, class From, class Convert, class Release>
void Put(const std::vector<From>& items, Item** out, size_t* count, Convert convert, Release release) {
  Item* list = NewItems<Item>(items.size());
  size_t done = 0;
  try {
    for (; done < items.size(); ++done) convert(items[done], list[done]);
  } catch (...) {
    release(list, done + 1);
    throw;
  }
  *out = list;
  *count = items.size();
}

} // namespace

void ClearLastError() noexcept {
  failed = false;
}

void SetLastError(const std::string& text) noexcept {
  try {
    lastError = text;
    fixedError = nullptr;
  } catch (...) {
    fixedError = "the library failed, and the text of the error did not fit into memory";
  }
  failed = true;
}

std::string CaughtText() {
  std::string text;
  try {
    throw;
  } catch (const ZEB::CException& e) {
    text = e.GetText();
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
    text = "an exception the library does not describe";
  }
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

void RefuseNull(const char* name) {
  throw CallError(std::string(name) + " is NULL");
}

void RequireList(const void* items, const size_t* count, const char* name) {
  Require(items, name);
  Require(count, (std::string(name) + "_count").c_str());
}

void RequireNameBuffer(const char* buffer, size_t size, const char* name) {
  Require(buffer, name);
  if (size < 52) throw CallError(std::string(name) + " holds " + std::to_string(size) + " bytes; names need 52");
}

char* NewText(const std::string& text) {
  char* copy = NewItems<char>(text.size() + 1);
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

char* NewText(const char* text) {
  return NewText(std::string(text ? text : ""));
}

std::vector<FIND> Finds(const grx_find* finds, size_t count) {
  if (count > 0) Require(finds, "finds");
  std::vector<FIND> out(count);
  for (size_t i = 0; i < count; ++i) {
    const grx_find& f = finds[i];
    out[i].location = f.location ? f.location : "";
    out[i].globalVarName = f.global_var_name ? f.global_var_name : "";
    out[i].rootChartName = f.root_chart_name ? f.root_chart_name : "";
    out[i].kind = f.kind;
    out[i].rootChartId = f.root_chart_id;
    out[i].varId = f.var_id;
    out[i].globalVarId = f.global_var_id;
  }
  return out;
}

std::vector<MoveBlockInfoT> MoveBlocks(const grx_move_block* blocks, size_t count) {
  if (count > 0) Require(blocks, "blocks");
  std::vector<MoveBlockInfoT> out(count);
  for (size_t i = 0; i < count; ++i) {
    out[i].blockId = blocks[i].block_id;
    out[i].procGroupId = blocks[i].proc_group_id;
    out[i].blockPos = blocks[i].block_pos;
    out[i].grPos = blocks[i].gr_pos;
    std::memcpy(out[i].tpName, blocks[i].tp_name, sizeof out[i].tpName - 1);
  }
  return out;
}

void PutList(const std::vector<GlObjectId>& items, grx_id** out, size_t* count) {
  Put(
      items, out, count, [](GlObjectId from, grx_id& to) { to = from; }, [](grx_id* list, size_t) { std::free(list); });
}

void PutList(const std::vector<std::string>& items, char*** out, size_t* count) {
  Put(
      items, out, count, [](const std::string& from, char*& to) { to = NewText(from); }, grx_free_texts);
}

void PutList(const std::vector<BLOCK>& items, grx_block** out, size_t* count) {
  Put(
      items, out, count,
      [](const BLOCK& from, grx_block& to) {
        to.id = from.id;
        to.name = NewText(from.name);
      },
      grx_free_blocks);
}

void PutList(const std::vector<PARAM>& items, grx_param** out, size_t* count) {
  Put(
      items, out, count,
      [](const PARAM& from, grx_param& to) {
        to.id = from.id;
        to.name = NewText(from.name);
        to.item_text = NewText(from.itemText);
      },
      grx_free_params);
}

void PutList(const std::vector<FIND>& items, grx_find** out, size_t* count) {
  Put(
      items, out, count,
      [](const FIND& from, grx_find& to) {
        to.kind = from.kind;
        to.root_chart_id = from.rootChartId;
        to.var_id = from.varId;
        to.global_var_id = from.globalVarId;
        to.location = NewText(from.location.GetString());
        to.global_var_name = NewText(from.globalVarName.GetString());
        to.root_chart_name = NewText(from.rootChartName.GetString());
      },
      grx_free_finds);
}

void PutList(const std::vector<MoveBlockInfoT>& items, grx_move_block** out, size_t* count) {
  Put(
      items, out, count,
      [](const MoveBlockInfoT& from, grx_move_block& to) {
        to.block_id = from.blockId;
        to.proc_group_id = from.procGroupId;
        to.block_pos = from.blockPos;
        to.gr_pos = from.grPos;
        std::memcpy(to.tp_name, from.tpName, sizeof to.tp_name);
        to.tp_name[sizeof to.tp_name - 1] = '\0';
      },
      [](grx_move_block* list, size_t) { std::free(list); });
}

} // namespace grx::capi

using namespace grx::capi;

extern "C" {

const char* grx_last_error(void) {
  if (!failed) return "";
  return fixedError ? fixedError : lastError.c_str();
}

void grx_free_text(char* text) {
  std::free(text);
}

void grx_free_texts(char** texts, size_t count) {
  if (!texts) return;
  for (size_t i = 0; i < count; ++i) FreeText(texts[i]);
  std::free(texts);
}

void grx_free_ids(grx_id* ids) {
  std::free(ids);
}

void grx_free_blocks(grx_block* blocks, size_t count) {
  if (!blocks) return;
  for (size_t i = 0; i < count; ++i) FreeText(blocks[i].name);
  std::free(blocks);
}

void grx_free_params(grx_param* params, size_t count) {
  if (!params) return;
  for (size_t i = 0; i < count; ++i) {
    FreeText(params[i].name);
    FreeText(params[i].item_text);
  }
  std::free(params);
}

void grx_free_finds(grx_find* finds, size_t count) {
  if (!finds) return;
  for (size_t i = 0; i < count; ++i) {
    FreeText(finds[i].location);
    FreeText(finds[i].global_var_name);
    FreeText(finds[i].root_chart_name);
  }
  std::free(finds);
}

void grx_free_move_blocks(grx_move_block* blocks) {
  std::free(blocks);
}

int grx_transaction_begin(grx_transaction prev, grx_transaction* transaction) {
  return TransactionCall("gl_TransactionBegin", [&]() -> int {
    Require(transaction, "transaction");
    GlTransactionId opened = GRX_NO_TRANSACTION;
    Check(gl_TransactionBegin(opened, prev));
    *transaction = opened;
    return 1;
  });
}

int grx_transaction_commit(grx_transaction transaction) {
  return TransactionCall("gl_TransactionCommit", [&]() -> int {
    Check(gl_TransactionCommit(transaction));
    return 1;
  });
}

int grx_transaction_abort(grx_transaction transaction) {
  return TransactionCall("gl_TransactionAbort", [&]() -> int {
    Check(gl_TransactionAbort(transaction));
    return 1;
  });
}

} // extern "C"
