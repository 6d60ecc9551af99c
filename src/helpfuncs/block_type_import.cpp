// The task and block-type imports: the fixed tasks of a controller, and the engineering system's
// block-type import (import host, its log view and the import runner) run for a controller inside
// a transaction, its log summarised; the copy of one controller's technology packages to another.
#include <cstdio>
#include <string>
#include <vector>

#include "app/export_bodies.h"
#include "blob/blob_resource.h"
#include "blob/blob_task.h"
#include "dbaccess/chartdb_functions.h"
#include "foundation/object_trace.h"
#include "platform/code_page.h"
#include "platform/com_lite.h"
#include "platform/module_state.h"
#include "w5comp/block_type_import.h"
#include "w5lres/resource_numbers.h"

namespace grx::body {
namespace {

using platform::HRESULT;

constexpr std::uint32_t kTaskExists = 0x10003;
constexpr const char* kCopySource = "W5GRX_CopyBlockTypeImport";

struct FixedTask {
  const char* name;
  std::uint32_t taskId;
};
constexpr FixedTask kFixedTasks[] = {{"T1", 1}, {"T2", 2}, {"T3", 4}, {"T4", 8}, {"T5", 16}};

std::string HresultText(HRESULT hr) {
  char text[32];
  std::snprintf(text, sizeof text, "(HRESULT) 0x%08X", static_cast<unsigned>(hr));
  return text;
}

void ShowStepFailed(platform::WindowHandle window, const std::string& step) {
  body::DoCfcMsgBox(window, w5lres::kImportStepFailed, std::vector<std::string>{step}, 16, 0);
}

// An in-process component of the engineering system: a failing HRESULT, or S_OK with the object
// (which may be missing).
template <class Interface>
HRESULT Create(const platform::CLSID& clsid, const platform::IID& iid, platform::ComReference<Interface>& out) {
  void* object = nullptr;
  const HRESULT hr = platform::CoCreateInstance(clsid, nullptr, platform::CLSCTX_INPROC_SERVER, iid, &object);
  if (platform::SUCCEEDED(hr) && object) out.reset(static_cast<Interface*>(object));
  return hr;
}

// The transaction an import works in: the caller's, or one of its own when the caller has none
// (kNoTransaction when it cannot be opened). One it opened and did not settle is rolled back when
// an exception passes.
class ImportTransaction {
public:
  explicit ImportTransaction(GlTransactionId given) : id_(given) {
    if (given != kNoTransaction) return;
    GlTransactionId opened = kNoTransaction;
    if (gl_ErrorIdGet(gl_TransactionBegin(opened, kNoTransaction)) == 0 && opened != kNoTransaction) {
      id_ = opened;
      own_ = true;
    }
  }
  ImportTransaction(const ImportTransaction&) = delete;
  ImportTransaction& operator=(const ImportTransaction&) = delete;
  ~ImportTransaction() {
    if (own_) gl_TransactionAbort(id_);
  }
  GlTransactionId& id() { return id_; }
  // Commits or rolls back a transaction opened here; the caller's stays as it is.
  void Finish(bool commit) {
    if (!own_) return;
    own_ = false;
    if (commit) {
      gl_TransactionCommit(id_);
    } else {
      gl_TransactionAbort(id_);
    }
  }

private:
  GlTransactionId id_;
  bool own_ = false;
};

// The import host, its log view and the import runner of one run.
struct ImportComponents {
  platform::ComReference<w5comp::IImportHost> host;
  platform::ComReference<w5comp::ILogView> log;
  platform::ComReference<w5comp::IImportRunner> runner;
  bool closeAtEnd = false; // the host is closed when the run ends

  // Asks the opened host for its log view and empties it for the object's import.
  void ResetLog(GlObjectId objectId, GlTransactionId tr) {
    void* view = nullptr;
    if (platform::SUCCEEDED(host->QueryInterface(w5comp::IID_ILogView, &view)) && view) {
      log.reset(static_cast<w5comp::ILogView*>(view));
      log->Reset(objectId, 0, tr);
    }
  }
  std::int32_t Errors() {
    std::int32_t errors = 0, warnings = 0;
    if (log) log->GetCounts(&errors, &warnings);
    return errors;
  }
  void Summarize(void* module, const CString& start) {
    CString end;
    body::W5GRX_GetTime(end);
    body::W5GRX_LogSummary(log.get(), module, start.str().c_str(), end.str().c_str());
  }
  ~ImportComponents() {
    if (host && closeAtEnd) host->Close();
  }
};

void* LibraryResourceModule() {
  const platform::ModuleState* state = platform::CurrentModuleState();
  return state ? state->resourceHandle : nullptr;
}

// The part of a package name that name-compatible packages share: up to the first "." or "["
// (a name that starts with one is taken whole).
std::string NameStem(const std::string& name) {
  const std::size_t cut = name.find_first_of(".[");
  return cut == std::string::npos || cut == 0 ? name : name.substr(0, cut);
}

// The part before the product mark ("KORVALEN" in any case; a name that starts with it is taken
// whole).
std::string ProductStem(const std::string& name) {
  const std::size_t cut = platform::AnsiUpper(name).find("KORVALEN");
  return cut == std::string::npos || cut == 0 ? name : name.substr(0, cut);
}

void CopyTrace(const char* format, const CTPAttribs& s, const CTPAttribs& t) {
  ZEB::CObject::Trace(1, kCopySource, format, s.m_strName.c_str(), t.m_strName.c_str());
}

// Whether the target has a partner for the source package, in the order of the three passes.
bool HasPartner(const CTPAttribs& s, const std::vector<CTPAttribs>& targets) {
  for (const CTPAttribs& t : targets) {
    if (!platform::AnsiEqualNoCase(NameStem(s.m_strName), NameStem(t.m_strName))) continue;
    CopyTrace("same TP name %s, %s found", s, t);
    if (!(s.m_rtTypeGuid == t.m_rtTypeGuid) || s.m_strTPVersion != t.m_strTPVersion) {
      CopyTrace("name compatible TPs %s, %s found", s, t);
    } else {
      CopyTrace("same TP name ,rtguid, version %s, %s found", s, t);
      if (!(s.m_interfaceGuid == t.m_interfaceGuid) || s.m_bIsLib != t.m_bIsLib) {
        CopyTrace("name compatible TPs %s, %s found", s, t);
      } else {
        CopyTrace("full compatible TPs %s, %s found", s, t);
      }
    }
    return true;
  }
  for (const CTPAttribs& t : targets) {
    if (!platform::AnsiEqualNoCase(ProductStem(s.m_strName), ProductStem(t.m_strName))) continue;
    CopyTrace(" TP with compatible name %s, %s found", s, t);
    return true;
  }
  for (const CTPAttribs& t : targets) {
    if (!(s.m_interfaceGuid == t.m_interfaceGuid)) continue;
    CopyTrace("in interface compatible TPs %s, %s found", s, t);
    return true;
  }
  return false;
}

std::vector<CTPAttribs> Packages(CBlobResource& record) {
  std::vector<CTPAttribs> packages;
  for (const auto& element : record.GetLibElements()) packages.push_back(*element);
  return packages;
}

void AddPackage(CBlobResource& record, const CTPAttribs& p) {
  record.AddLibElement(p.m_strName, p.m_strTPVersion, p.m_nLanguageId, p.m_rtTypeGuid, p.m_interfaceGuid, p.m_bIsLib,
                       p.m_typeIDMappedTPs);
}

} // namespace

RESPONSE W5GRX_ASTaskImport(grx::platform::WindowHandle window, GlObjectId resourceId, bool,
                            GlTransactionId prevTransactionId) {
  RESPONSE result = RESPONSE_FAILED;
  ImportTransaction tr(prevTransactionId);
  ImportComponents components;
  HRESULT created = Create(w5comp::CLSID_ImportHost, w5comp::IID_IImportHost, components.host);
  if (platform::SUCCEEDED(created) && components.host) {
    created = Create(w5comp::CLSID_ImportRunner, w5comp::IID_IImportRunner, components.runner);
  }
  if (platform::FAILED(created)) {
    ShowStepFailed(window, HresultText(created));
  } else if (components.host && components.runner) {
    for (const FixedTask& fixed : kFixedTasks) {
      Iec_Task task{};
      std::snprintf(task.name, sizeof task.name, "%s", fixed.name);
      task.taskKind = 1;
      task.cycleTimeMs = static_cast<std::int32_t>(fixed.taskId);
      task.priority = static_cast<std::int32_t>(&fixed - kFixedTasks) + 1;
      GlObjectId taskId = 0;
      const std::uint32_t error = gl_ErrorIdGet(iec_TaskWrite(resourceId, task, taskId, tr.id()));
      if (error != 0 && error != kTaskExists) {
        char step[64];
        std::snprintf(step, sizeof step, "iec_TaskWrite %s (0x%X)", fixed.name, error);
        ShowStepFailed(window, step);
        continue; // no task to link or to give a record
      }
      if (fixed.taskId == 2) {
        const std::uint32_t linked = gl_ErrorIdGet(gl_RunSeqPtrSet(resourceId, taskId, 0, tr.id()));
        if (linked != 0) {
          char step[64];
          std::snprintf(step, sizeof step, "gl_RunSeqPtrSet %s (0x%X)", fixed.name, linked);
          ShowStepFailed(window, step);
        }
      }
      CBlobTask record(0, tr.id());
      record.SetTaskId(fixed.taskId);
      record.Write(taskId, tr.id());
    }
    result = RESPONSE_OK;
  }
  tr.Finish(true);
  return result;
}

RESPONSE W5GRX_ASBlockTypeImport(grx::platform::WindowHandle window, GlObjectId resourceId, bool quiet, int* started,
                                 GlTransactionId prevTransactionId) {
  CString start;
  body::W5GRX_GetTime(start);
  if (started) *started = 1;
  RESPONSE result = RESPONSE_FAILED;
  ImportTransaction tr(prevTransactionId);
  void* module = LibraryResourceModule();
  {
    ImportComponents components;
    // The steps up to the run; a failing one ends in the error box.
    const HRESULT failed = [&]() -> HRESULT {
      HRESULT hr = Create(w5comp::CLSID_ImportHost, w5comp::IID_IImportHost, components.host);
      if (platform::FAILED(hr) || !components.host) return hr;
      components.closeAtEnd = true; // once created, even when it cannot be opened
      hr = components.host->Open(resourceId, tr.id());
      if (platform::FAILED(hr)) return hr;
      components.ResetLog(resourceId, tr.id());
      hr = Create(w5comp::CLSID_ImportRunner, w5comp::IID_IImportRunner, components.runner);
      if (platform::FAILED(hr) || !components.runner) return hr;
      return components.runner->Run(window, components.host.get(), resourceId, &tr.id(), &result);
    }();
    if (platform::FAILED(failed)) {
      ShowStepFailed(window, HresultText(failed));
      result = RESPONSE_FAILED;
    } else {
      if (result != RESPONSE_OTHER && components.Errors() > 0) result = RESPONSE_FAILED;
      components.Summarize(module, start);
      if (!quiet)
        body::W5GRX_AskShowProt(window, components.log.get(), false, module, w5lres::kImportTasksAndTypes, 0xFFFF);
      if (result == RESPONSE_FAILED && body::DoCfcMsgBox(window, w5lres::kAcceptImportWithErrors, 0x24, 4) == 6) {
        result = RESPONSE_OK;
      }
    }
    tr.Finish(result == RESPONSE_OK);
  }
  return result;
}

bool W5GRX_CopyBlockTypeImport(grx::platform::WindowHandle window, GlObjectId, GlObjectId targetId, GlObjectId sourceId,
                               GlTransactionId prevTransactionId) {
  CString start;
  body::W5GRX_GetTime(start);
  CBlobResource source(sourceId, prevTransactionId);
  CBlobResource target(targetId, prevTransactionId);
  const std::vector<CTPAttribs> sources = Packages(source);
  const std::vector<CTPAttribs> targets = Packages(target);
  if (sources.empty()) return true;
  std::size_t added = 0;
  for (const CTPAttribs& s : sources) {
    if (!targets.empty() && HasPartner(s, targets)) continue;
    AddPackage(target, s);
    ++added;
  }
  if (added == 0) return true;
  target.Write(targetId, prevTransactionId);

  ImportComponents components;
  if (platform::FAILED(Create(w5comp::CLSID_ImportRunner, w5comp::IID_IImportRunner, components.runner)) ||
      !components.runner) {
    return false;
  }
  Create(w5comp::CLSID_ImportHost, w5comp::IID_IImportHost, components.host);
  if (!components.host || platform::FAILED(components.host->Open(targetId, prevTransactionId))) return false;
  components.closeAtEnd = true;
  components.ResetLog(targetId, prevTransactionId);
  GlTransactionId tr = prevTransactionId;
  RESPONSE response = RESPONSE_FAILED;
  const platform::HRESULT hr = components.runner->Run(window, components.host.get(), targetId, &tr, &response);
  const std::int32_t errors = components.Errors();
  components.Summarize(LibraryResourceModule(), start);
  // An import run that failed, or stopped with errors, is no copy: the packages it added have no
  // block types.
  if (platform::FAILED(hr) || response == RESPONSE_FAILED || errors > 0) {
    ZEB::CObject::Trace(3, kCopySource, "the import run failed: (HRESULT) 0x%08X, response %d, %d error(s)",
                        static_cast<unsigned>(hr), static_cast<int>(response), static_cast<int>(errors));
    return false;
  }
  return true;
}

} // namespace grx::body
