// Library-data version stamps of resources and root charts, the chart database's data version
// against the installed software, and the installed chart editor's technology version.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "blob/blob_resource.h"
#include "blob/blob_top_level_cfc.h"
#include "app/export_bodies.h"
#include "dbaccess/chartdb_functions.h"
#include "foundation/module_trace.h"
#include "platform/com_lite.h"
#include "platform/file_search.h"
#include "helpfuncs/string_setting.h"
#include "w5comp/resource_classifier.h"
#include "w5lres/resource_numbers.h"
#include "w5tool/w5toolax.h"

namespace grx::body {
namespace {

// The stamps: the one written and accepted, and the older ones that are known but not accepted
// (the empty text too: data stamped by no release).
const std::string kCurrentStamp = "GRX_KORVALEN V4.1";
const std::string kOlderStamps[] = {"GRX_TESSADUR V4.1", "GRX V4.0", ""};
const std::string kBuildStamp = "47.80.30.00";

constexpr const char* kFile = "HelpFunc";

enum class Stamp { Accepted, Older, Foreign };

Stamp Classify(const std::string& stamp) {
  if (stamp == kCurrentStamp) return Stamp::Accepted;
  for (const std::string& older : kOlderStamps) {
    if (stamp == older) return Stamp::Older;
  }
  return Stamp::Foreign;
}

} // namespace

bool W5GRX_SetGRXVersion(grx::platform::WindowHandle, GlObjectId resourceId, GlObjectId chartId,
                         GlTransactionId prevTransactionId) {
  if (resourceId != 0) {
    CBlobResource resource(resourceId, prevTransactionId);
    resource.SetVersion(kCurrentStamp);
    resource.SetBuildVersion(kBuildStamp);
    resource.Write(resourceId, prevTransactionId);
  }
  if (chartId != 0) {
    CBlobTopLevelCfc chart(chartId, prevTransactionId);
    chart.SetVersion(kCurrentStamp);
    chart.SetBuildVersion(kBuildStamp);
    chart.ClearChangedPins();
    chart.AddChangedPin(0);
    chart.Write(chartId, prevTransactionId);
  }
  return true;
}

bool W5GRX_CheckGRXVersion(grx::platform::WindowHandle window, GlObjectId resourceId, GlObjectId chartId,
                           bool& foreignStamp, bool showMessage, GlTransactionId prevTransactionId) {
  foreignStamp = false;
  bool result = false;
  if (resourceId != 0) {
    CBlobResource resource(resourceId, prevTransactionId);
    if (resource.IsEmpty()) return false; // nothing stamped: no message
    const Stamp stamp = Classify(resource.GetVersion());
    foreignStamp = stamp == Stamp::Foreign;
    if (stamp == Stamp::Accepted) {
      if (chartId == 0) {
        result = true;
      } else {
        CBlobTopLevelCfc chart(chartId, prevTransactionId);
        if (chart.IsEmpty()) return false;
        const Stamp chartStamp = Classify(chart.GetVersion());
        foreignStamp = chartStamp == Stamp::Foreign;
        result = chartStamp == Stamp::Accepted;
      }
    }
  }
  if (showMessage && !result) {
    body::DoCfcMsgBox(window, foreignStamp ? w5lres::kForeignStamp : w5lres::kStampedByOlderRelease, 16, 0);
  }
  return result;
}

bool W5GRX_CheckDataVersion(GlObjectId objectId, GlTransactionId prevTransactionId, bool update, CString* text) {
  TraceContext context(kFile, "W5GRX_CheckDataVersion");
  char software[kGlVersionSize] = {0};
  char data[kGlVersionSize] = {0};
  const GlResult softwareResult = gl_SoftwareVersionGet(software);
  const GlResult dataResult = gl_DataVersionGet(objectId, data, prevTransactionId);
  if (gl_ErrorIdGet(softwareResult) != 0 || gl_ErrorIdGet(dataResult) != 0) {
    context.level = 4;
    TraceWrite(context, "Opendata error! SwVersGet: %x, DataVersGet: %x",
               static_cast<unsigned>(gl_ErrorIdGet(softwareResult)), static_cast<unsigned>(gl_ErrorIdGet(dataResult)));
    return true;
  }
  if (text) *text = CString(data);
  if (std::strcmp(software, data) == 0) return true;
  context.level = 3;
  TraceWrite(context, "Database version differs from the installed CFC version!");
  if (!update) return false;
  char comment[kGlTextSize] = {0};
  const GlResult read = gl_ObjectCommentGet(objectId, comment, prevTransactionId);
  if (gl_ErrorIdGet(read) != 0) {
    context.level = 4;
    TraceWrite(context, "Opendata error: %x", static_cast<unsigned>(gl_ErrorIdGet(read)));
    return false;
  }
  // Writing the object lets the chart database bring its data version up.
  const GlResult written = gl_ObjectCommentSet(objectId, comment, prevTransactionId);
  const std::uint32_t errorId = gl_ErrorIdGet(written);
  if (errorId == 0) {
    context.level = 1;
    TraceWrite(context, "Data version updated successfully.");
    return true;
  }
  context.level = 4;
  if (errorId == 0x20147) {
    TraceWrite(context, "DATABASE_INCOMPATIBLE_SUPPRESSED");
  } else {
    TraceWrite(context, "Opendata error: %x", static_cast<unsigned>(errorId));
  }
  return false;
}

bool W5GRX_GetVersionCFC(CString& version) {
  char software[kGlVersionSize] = {0};
  if (gl_ErrorIdGet(gl_SoftwareVersionGet(software)) != 0) return true;
  const char* v = std::strchr(software, 'V');
  const char* dot = std::strchr(software, '.');
  if (!v || !dot) return false;
  auto twoDigits = [](long number) {
    char text[32];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(number));
    return std::strlen(text) == 1 ? std::string("0") + text : std::string(text);
  };
  version = CString(twoDigits(std::strtol(v + 1, nullptr, 10)) + twoDigits(std::strtol(dot + 1, nullptr, 10)));
  return true;
}

bool W5GRX_CheckVersionCFC_V70(bool& tooOld) {
  std::string value;
  if (!helpfuncs::ReadStringSetting(w5tl::kHkeyLocalMachine, "SOFTWARE\\Halvorn\\KELPO\\CFC", "TechnVersion", value) ||
      value.empty()) {
    return false;
  }
  tooOld = false;
  // A letter, then major.minor.third.fourth: the text is split at its points first, and each part
  // read as the decimal number it begins with ("V7.0x.1.3" is 7, 0, 1, 3).
  const std::string text = value.substr(1);
  long parts[4] = {0, 0, 0, 0};
  int separators = 0;
  for (std::size_t start = 0;; ++separators) {
    const std::size_t point = separators < 3 ? text.find('.', start) : std::string::npos;
    parts[separators] = std::strtol(text.substr(start, point - start).c_str(), nullptr, 10);
    if (point == std::string::npos) break;
    start = point + 1;
  }
  const long major = parts[0], minor = parts[1], third = parts[2], fourth = parts[3];
  if (separators < 2) return false;
  auto old = [&] {
    tooOld = true;
    return false;
  };
  if (major < 7) return old();
  if (major > 7) return true;
  if (separators < 3) return false;
  if (minor == 0) {
    if (third == 0) return old();
    if (third == 1) return fourth >= 3 ? true : old();
    return third >= 2; // a negative third part has no row
  }
  if (minor == 1) {
    if (third == 0) return fourth >= 1 ? true : old();
    return third >= 1;
  }
  return minor >= 2;
}

bool W5GRX_IsCfcEditorInstalled() {
  char installPath[260] = {0};
  if (W5TL_GetQ3InstallPath(installPath) != 0) return true;
  return grx::platform::FindFirstFile(std::string(installPath) + "\\Q3cfc\\q3jcfcax.exe");
}

namespace {

constexpr std::uint32_t kDirectlyServedFamily = 0x112002;

} // namespace

bool W5GRX_CheckResource(grx::platform::WindowHandle window, GlObjectId resourceId, bool& servedKind, bool showMessage,
                         GlTransactionId prevTransactionId) {
  servedKind = false;
  bool result = false;
  bool direct = false;
  grx::platform::ComReference<w5comp::IResourceClassifier> component;
  GlObjectDescriptor od{};
  // Each step that fails ends the classification; the message below tells the outcome.
  [&] {
    if (gl_ErrorIdGet(gl_ObjectId_2_OD(resourceId, od, prevTransactionId)) != 0) return;
    if (od.word[4] == kDirectlyServedFamily) {
      result = direct = true;
      return;
    }
    void* object = nullptr;
    if (grx::platform::FAILED(grx::platform::CoCreateInstance(w5comp::CLSID_ResourceClassifier, nullptr,
                                                              grx::platform::CLSCTX_ALL,
                                                              w5comp::IID_IResourceClassifier, &object)) ||
        !object) {
      return;
    }
    component.reset(static_cast<w5comp::IResourceClassifier*>(object));
    GlObjectSet objectSet = nullptr;
    if (prevTransactionId != kNoTransaction && gl_ErrorIdGet(gl_ObjectSetGet(prevTransactionId, objectSet)) != 0) {
      return;
    }
    GlObjectDescriptor classified{};
    std::uint32_t status = 0;
    grx::platform::HRESULT hr = component->Classify(od, w5comp::kClassifySelector, &classified, &status, objectSet);
    if (grx::platform::FAILED(hr) || status != 0) {
      status = 0;
      hr = component->Classify(od, 0, &classified, &status, objectSet);
      if (grx::platform::FAILED(hr) || status != 0) return;
    }
    std::uint32_t kind = 0;
    status = 0;
    if (grx::platform::SUCCEEDED(component->GetKind(classified, &kind, &status)) && status == 0) {
      result = true;
      servedKind = kind == w5comp::kServedKind;
    }
  }();
  if (showMessage && !servedKind) {
    body::DoCfcMsgBox(window, direct ? w5lres::kControllerServedDirectly : w5lres::kControllerNotServed, 16, 0);
  }
  return result;
}

} // namespace grx::body
