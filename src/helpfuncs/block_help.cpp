// Help for a block type: the outside viewer FXBViewer, started for the package and library the
// type's library belongs to, in the language that library was installed in. The handle of the
// last viewer started is kept for the process; a still-running viewer is ended before the next
// one starts.
#include <mutex>
#include <string>

#include "app/export_bodies.h"
#include "blob/blob_block_type.h"
#include "blob/blob_resource.h"
#include "blob/zeb_iec_obj_factory.h"
#include "helpfuncs/string_setting.h"
#include "opendata/iec_block_type.h"
#include "opendata/iec_obj_manager.h"
#include "opendata/iec_resource.h"
#include "platform/child_process.h"
#include "platform/code_page.h"
#include "platform/com_lite.h"
#include "w5tool/w5tl_installation.h"
#include "w5tool/w5toolax.h"

namespace grx::body {
namespace {

constexpr const char* kFallbackHelpFolder = "korvalen\\fxb\\04_01\\";
constexpr const char* kViewerKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\FXBViewer.exe";

std::mutex viewerMutex;
platform::ChildProcess& Viewer() {
  static auto* viewer = new platform::ChildProcess(); // lives for the process, as the handle does
  return *viewer;
}

template <class Interface>
platform::ComReference<Interface> Query(platform::IUnknown& object, const platform::IID& iid) {
  void* found = nullptr;
  if (platform::FAILED(object.QueryInterface(iid, &found)) || !found) return nullptr;
  return platform::ComReference<Interface>(static_cast<Interface*>(found));
}

bool NotFound(platform::HRESULT hr) {
  return (static_cast<std::uint32_t>(hr) & 0xFFFF) == w5tl::kInstallationNotFound;
}

// The help folder of a library's product; the folder below the installation when the
// installation does not know the library or its product's help path. Empty when neither is had.
std::string HelpPath(w5tl::IInstallationLibraries& libraries, w5tl::IInstallationProducts& products,
                     const std::string& library) {
  platform::GUID product{};
  std::uint32_t status = 0;
  platform::HRESULT hr = libraries.GetProductOfLibrary(library.c_str(), &product, &status);
  std::string path;
  if (platform::SUCCEEDED(hr)) {
    const platform::UniqueBstr name = platform::MakeBstr(L"BI_HELP_PATH");
    platform::BSTR value = nullptr;
    hr = products.GetProductProperty(product, name.get(), &value, &status);
    const platform::UniqueBstr owned(value);
    if (platform::SUCCEEDED(hr) && value) path = platform::Narrow(value);
  }
  if (platform::FAILED(hr) && NotFound(hr)) {
    char installPath[260] = {0};
    if (W5TL_GetQ3InstallPath(installPath) == 0) path = std::string(installPath) + "\\" + kFallbackHelpFolder;
  }
  for (std::size_t at; (at = path.find("\\\\")) != std::string::npos;) path.erase(at, 1);
  return path;
}

// The package: the folder that holds the "fxb" folder of the help path.
std::string PackageName(const std::string& helpPath) {
  const std::string upper = platform::AnsiUpper(helpPath);
  const std::size_t fxb = upper.find("\\FXB\\");
  if (fxb == std::string::npos || fxb == 0) return {};
  const std::size_t start = helpPath.rfind('\\', fxb - 1);
  return helpPath.substr(start == std::string::npos ? 0 : start + 1,
                         fxb - (start == std::string::npos ? 0 : start + 1));
}

// The library folder: the part of the help path between its last two backslashes.
std::string LibraryDirectory(const std::string& helpPath) {
  const std::size_t last = helpPath.rfind('\\');
  if (last == std::string::npos || last == 0) return {};
  const std::size_t before = helpPath.rfind('\\', last - 1);
  return helpPath.substr(before == std::string::npos ? 0 : before + 1,
                         last - (before == std::string::npos ? 0 : before + 1));
}

// The viewer's language switch: the language the resource installed the library in.
const char* LanguageSwitch(CBlobResource& resource, const std::string& library) {
  for (const auto& element : resource.GetLibElements()) {
    if (element->m_strName != library) continue;
    switch (element->m_nLanguageId) {
      case 22:
        return " -lang de";
      case 27:
        return " -lang sp";
      case 34:
        return " -lang fr";
      case 51:
        return " -lang it";
      default:
        return " -lang en";
    }
  }
  return " -lang en";
}

} // namespace

int W5GRX_ShowFBHelp(grx::platform::WindowHandle, GlObjectId typeId, GlObjectId objectId) {
  auto* manager = OpenData::CIecObjManager::GetInstance();
  manager->Clear_i();
  manager->SetFactory(CZebIecObjFactory::GetInstance());

  const platform::ComReference<platform::IUnknown> installation(w5tl::GetInstallation());
  if (!installation) return -1;
  const auto libraries = Query<w5tl::IInstallationLibraries>(*installation, w5tl::IID_IInstallationLibraries);
  const auto products = Query<w5tl::IInstallationProducts>(*installation, w5tl::IID_IInstallationProducts);
  if (!libraries || !products) return -1;

  auto* type = dynamic_cast<OpenData::CIecBlockType*>(manager->FindIecObject(OpenData::CIecObjId(typeId)));
  auto* record = type ? dynamic_cast<CBlobBlockType*>(type->GetExtension(EXTENSION_KEY_BLOB)) : nullptr;
  if (!record) return -1; // not a block type
  const std::string library = record->GetLibrary();
  const std::string helpPath = HelpPath(*libraries, *products, library);

  const std::string package = PackageName(helpPath);
  if (package.empty()) return -1;
  const GlObjectId resourceId = manager->FindIecObject(OpenData::CIecObjId(objectId))->GetResource()->GetId();
  CBlobResource resource(resourceId, manager->GetTransactionId());
  const char* language = LanguageSwitch(resource, library);

  const std::string typeName = type->GetName();
  if (typeName.empty()) return -1;
  const std::string commandLine =
      " -korvalen " + package + " -lib " + LibraryDirectory(helpPath) + " -comp " + typeName + language;

  std::string viewerDirectory;
  helpfuncs::ReadStringSetting(w5tl::kHkeyLocalMachine, kViewerKey, "Path", viewerDirectory);
  std::lock_guard lock(viewerMutex);
  platform::ChildProcess& viewer = Viewer();
  if (viewer.ExitCode() == platform::STILL_ACTIVE) viewer.Terminate(0);
  viewer.Close();
  viewer = platform::ChildProcess::Start(viewerDirectory + "\\FXBViewer.exe", commandLine);
  return 0;
}

} // namespace grx::body
