// What the C functions of the exports (c_exports.cpp, written from the export table) are made of:
// the frame that turns an exception into the thread's last-error text and the answer 0, checks of
// the caller's pointers, and the conversions between the exports' C++ types and the C types of
// grx/w5lhlpax_c.h.
#pragma once

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "grx/w5lhlpax.h"
#include "grx/w5lhlpax_c.h"

namespace grx::capi {

// A call the C interface refuses (a missing argument); its text becomes the last error.
class CallError : public std::invalid_argument {
public:
  using std::invalid_argument::invalid_argument;
};

void ClearLastError() noexcept;
void SetLastError(const std::string& text) noexcept;
// The text of whatever the current catch block caught, for the last error.
std::string CaughtText();

// Runs the body of a C function: clears the last error; an exception becomes "EXPORT: text" and
// the answer 0.
template <class Body>
int Call(const char* exportName, Body&& body) noexcept {
  ClearLastError();
  try {
    return body();
  } catch (...) {
    SetLastError(std::string(exportName) + ": " + CaughtText());
  }
  return 0;
}

[[noreturn]] void RefuseNull(const char* name);
inline void Require(const void* pointer, const char* name) {
  if (!pointer) RefuseNull(name);
}
void RequireList(const void* items, const size_t* count, const char* name);
// A name buffer: at least 52 bytes, as the exports write names of up to 51 characters.
void RequireNameBuffer(const char* buffer, size_t size, const char* name);

// A zero-terminated copy the caller releases with grx_free_text.
char* NewText(const std::string& text);
char* NewText(const char* text);

// A text an export allocates with malloc and hands over through a char**.
class AllocatedText {
public:
  AllocatedText() = default;
  AllocatedText(const AllocatedText&) = delete;
  AllocatedText& operator=(const AllocatedText&) = delete;
  ~AllocatedText() { std::free(text_); }
  char** Receive() { return &text_; }
  const char* Text() const { return text_ ? text_ : ""; }

private:
  char* text_ = nullptr;
};

template <class Text>
std::vector<Text> Texts(const char* const* texts, size_t count) {
  if (count > 0) Require(texts, "texts");
  std::vector<Text> out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    if (!texts[i]) throw CallError("text " + std::to_string(i) + " of a list is NULL");
    out.emplace_back(texts[i]);
  }
  return out;
}

std::vector<FIND> Finds(const grx_find* finds, size_t count);
std::vector<MoveBlockInfoT> MoveBlocks(const grx_move_block* blocks, size_t count);

// The chains of records have the layout of the chart database's records.
template <class Record, class CRecord>
const Record* Records(const CRecord* first) {
  return reinterpret_cast<const Record*>(first);
}

// Lists handed to the caller, who releases them with the grx_free_ function of their kind.
void PutList(const std::vector<GlObjectId>& items, grx_id** out, size_t* count);
void PutList(const std::vector<std::string>& items, char*** out, size_t* count);
void PutList(const std::vector<BLOCK>& items, grx_block** out, size_t* count);
void PutList(const std::vector<PARAM>& items, grx_param** out, size_t* count);
void PutList(const std::vector<FIND>& items, grx_find** out, size_t* count);
void PutList(const std::vector<MoveBlockInfoT>& items, grx_move_block** out, size_t* count);

} // namespace grx::capi
