#include "import_runner.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "blob/blob_block_type.h"
#include "blob/blob_resource.h"
#include "block_catalogue.h"
#include "chartdb/q3jdbmox_types.h"
#include "foundation/exceptions.h"
#include "import_settings.h"
#include "platform/code_page.h"
#include "platform/dynamic_library.h"
#include "w5comp/log_view.h"

namespace w5imp {
namespace {

using grx::platform::HRESULT;
using BlockTypeWriteFn = GlResult (*)(GlObjectId, const char*, GlObjectId*, int*, std::uint32_t*, GlTransactionId);
using LastErrorFn = const char* (*)();

constexpr std::uint32_t kErrorFileNotFound = 2, kErrorInvalidData = 13, kErrorModNotFound = 126,
                        kErrorProcNotFound = 127;

// The lines of the run, written to the host's log view when it has one, and counted.
class RunLog {
public:
  explicit RunLog(grx::platform::IUnknown& host) {
    void* view = nullptr;
    if (grx::platform::SUCCEEDED(host.QueryInterface(w5comp::IID_ILogView, &view)) && view) {
      view_.reset(static_cast<w5comp::ILogView*>(view));
    }
  }
  void Line(std::int32_t severity, const std::string& text) {
    errors_ += severity == w5comp::kLogError;
    if (!view_) return;
    const grx::platform::UniqueBstr line = grx::platform::MakeBstr(grx::platform::Widen(text).c_str());
    view_->AddLine(line.get(), severity, 0, 0);
  }
  void Info(const std::string& text) { Line(w5comp::kLogInformation, text); }
  void Warning(const std::string& text) { Line(w5comp::kLogWarning, text); }
  void Error(const std::string& text) { Line(w5comp::kLogError, text); }
  int errors() const { return errors_; }

private:
  grx::platform::ComReference<w5comp::ILogView> view_;
  int errors_ = 0;
};

std::string Hex(std::uint64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

// The part of a package name before a version suffix ("." or "[" not at the start).
std::string PureName(const std::string& name) {
  const std::size_t cut = name.find_first_of(".[");
  return cut == std::string::npos || cut == 0 ? name : name.substr(0, cut);
}

const CataloguePackage* FindPackage(const Catalogue& catalogue, const std::string& name) {
  for (const CataloguePackage& package : catalogue.packages) {
    if (grx::platform::AnsiEqualNoCase(package.name, name)) return &package;
  }
  return nullptr;
}

class Import {
public:
  Import(RunLog& log, GlObjectId controller, GlTransactionId tr, BlockTypeWriteFn write, LastErrorFn lastError)
      : log_(log), controller_(controller), tr_(tr), write_(write), lastError_(lastError) {}

  // Imports the packages the controller's record names, or all of the catalogue's when it names
  // none (they are added to the record then). True when anything changed.
  bool Run(const Catalogue& catalogue) {
    CBlobResource resource(controller_, tr_);
    const std::vector<std::string> names = resource.GetNames();
    std::vector<const CataloguePackage*> packages;
    if (names.empty()) {
      for (const CataloguePackage& package : catalogue.packages) packages.push_back(&package);
    } else {
      const std::vector<std::string> versions = resource.GetTPVersions();
      for (std::size_t i = 0; i < names.size(); ++i) {
        const CataloguePackage* package = FindPackage(catalogue, names[i]);
        if (!package) {
          log_.Error("The technology package " + names[i] + " is not in the block-type catalogue.");
          continue;
        }
        if (i < versions.size() && versions[i] != package->version) {
          log_.Warning("The controller uses " + names[i] + " " + versions[i] + ", the catalogue has version " +
                       package->version + ".");
        }
        packages.push_back(package);
      }
    }
    for (const CataloguePackage* package : packages) ImportPackage(*package);
    if (names.empty() && !packages.empty()) {
      for (const CataloguePackage* p : packages) {
        resource.AddLibElement(p->name, p->version, p->languageId, p->rtTypeGuid, p->interfaceGuid, p->isLibrary,
                               p->mappedTypes);
      }
      resource.Write(controller_, tr_);
      log_.Info("The controller now uses " + std::to_string(packages.size()) + " technology package(s).");
      changed_ = true;
    }
    return changed_;
  }

private:
  void ImportPackage(const CataloguePackage& package) {
    log_.Info("Technology package " + package.name + (package.version.empty() ? "" : " " + package.version) + ": " +
              std::to_string(package.blockTypes.size()) + " block type(s)");
    for (const CatalogueBlockType& type : package.blockTypes) ImportType(package, type);
  }

  void ImportType(const CataloguePackage& package, const CatalogueBlockType& type) {
    GlObjectId typeId = 0;
    int created = 0;
    std::uint32_t changes = 0;
    const GlResult result = write_(controller_, type.description.c_str(), &typeId, &created, &changes, tr_);
    if (result != 0) {
      const char* reason = lastError_ ? lastError_() : "";
      log_.Error("Block type " + type.name + " cannot be written: " + (reason && *reason ? reason : "") + " (" +
                 Hex(result & 0xFFFFFF) + ")");
      return;
    }
    const bool recordChanged = WriteRecord(package, type, typeId);
    if (created) {
      log_.Info("Block type " + type.name + " created.");
    } else if (changes > 0 || recordChanged) {
      log_.Info("Block type " + type.name + " updated (" + std::to_string(changes + (recordChanged ? 1 : 0)) +
                " change(s)).");
    } else {
      log_.Info("Block type " + type.name + " is up to date.");
    }
    changed_ = changed_ || created || changes > 0 || recordChanged;
  }

  // The block-type record names the package as the type's library; its other fields stay.
  bool WriteRecord(const CataloguePackage& package, const CatalogueBlockType& type, GlObjectId typeId) {
    CBlobBlockType record(typeId, tr_);
    const std::string pure = PureName(package.name);
    if (record.GetLibrary() == package.name && record.GetLibraryPureName() == pure &&
        record.GetBlockCat() == type.category && record.GetInputCount() == type.inputCount) {
      return false;
    }
    record.SetLibrary(package.name);
    record.SetLibraryPureName(pure);
    record.SetBlockCat(type.category);
    record.SetInputCount(type.inputCount);
    record.Write(typeId, tr_);
    return true;
  }

  RunLog& log_;
  GlObjectId controller_;
  GlTransactionId tr_;
  BlockTypeWriteFn write_;
  LastErrorFn lastError_;
  bool changed_ = false;
};

} // namespace

HRESULT ImportRunner::Run(grx::platform::WindowHandle, grx::platform::IUnknown* host, GlObjectId objectId,
                          GlTransactionId* tr, RESPONSE* result) {
  if (!host || !tr || !result) return grx::platform::E_POINTER;
  *result = RESPONSE_FAILED;
  if (ImportMode() == "fail-run") return grx::platform::E_FAIL;
  void* found = nullptr;
  if (grx::platform::FAILED(host->QueryInterface(w5comp::IID_IImportHost, &found)) || !found) {
    return grx::platform::E_NOINTERFACE;
  }
  const grx::platform::ComReference<w5comp::IImportHost> importHost(static_cast<w5comp::IImportHost*>(found));
  GlObjectId opened = 0;
  GlTransactionId openedTr = kNoTransaction;
  if (grx::platform::FAILED(importHost->GetOpened(&opened, &openedTr)) || opened != objectId) return E_UNEXPECTED;

  RunLog log(*host);
  const std::string file = ImportSetting("Catalogue", "W5IMCMPX_CATALOGUE");
  if (file.empty()) {
    log.Error("No block-type catalogue is set up.");
    return HresultFromWin32(kErrorFileNotFound);
  }
  Catalogue catalogue;
  try {
    catalogue = ReadCatalogue(file);
  } catch (const CatalogueError& e) {
    log.Error(e.what());
    return HresultFromWin32(e.unreadable() ? kErrorFileNotFound : kErrorInvalidData);
  }
  const grx::platform::Module database = grx::platform::Module::Load("Q3JDBMOX");
  if (!database) {
    log.Error("The chart database Q3JDBMOX cannot be loaded.");
    return HresultFromWin32(kErrorModNotFound);
  }
  const auto write = reinterpret_cast<BlockTypeWriteFn>(database.Find("q3sim_BlockTypeWrite"));
  const auto lastError = reinterpret_cast<LastErrorFn>(database.Find("q3sim_LastError"));
  if (!write) {
    log.Error("The chart database cannot create block types (q3sim_BlockTypeWrite is missing).");
    return HresultFromWin32(kErrorProcNotFound);
  }
  bool changed = false;
  try {
    changed = Import(log, objectId, *tr, write, lastError).Run(catalogue);
  } catch (const ZEB::CException& e) {
    log.Error("The import stopped: " + e.GetMessage());
    return grx::platform::E_FAIL;
  } catch (const std::exception& e) {
    log.Error(std::string("The import stopped: ") + e.what());
    return grx::platform::E_FAIL;
  }
  if (log.errors() > 0) {
    *result = RESPONSE_FAILED;
  } else if (!changed) {
    log.Info("The block types of the controller are up to date.");
    *result = RESPONSE_OTHER;
  } else {
    *result = RESPONSE_OK;
  }
  return grx::platform::S_OK;
}

} // namespace w5imp
