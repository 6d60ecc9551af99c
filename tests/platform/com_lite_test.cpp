// Component creation through the registry, error information kept alive by its holders, and the
// wide/narrow text conversion.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/com_lite.h"
#include "w5comp/compiler_keywords.h"
#include "platform/process.h"

namespace grx::platform {
namespace {

namespace fs = std::filesystem;

constexpr CLSID kMissingModule = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x01}};
constexpr CLSID kNotAComponentLibrary = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x02}};
constexpr CLSID kUnregistered = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x03}};

class ComponentCreationTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::ofstream(settings_) << "[HKEY_CLASSES_ROOT\\CLSID\\" << GuidToString(kMissingModule)
                             << "\\InprocServer32]\n@=no_such_component_library\n"
                             << "[HKEY_CLASSES_ROOT\\CLSID\\" << GuidToString(kNotAComponentLibrary)
                             << "\\InprocServer32]\n@=ES_LOG\n";
    grx::platform::SetEnvironmentValue("GRX_SETTINGS_FILE", settings_.string());
  }
  void TearDown() override {
    grx::platform::RemoveEnvironmentValue("GRX_SETTINGS_FILE");
    fs::remove(settings_);
  }

  fs::path settings_ =
      fs::temp_directory_path() / ("grx-com-" + std::to_string(grx::platform::CurrentProcessId()) + ".ini");
};

TEST_F(ComponentCreationTest, FailuresSayWhy) {
  void* object = &object;
  EXPECT_EQ(CoCreateInstance(kUnregistered, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr); // cleared on every failure
  EXPECT_EQ(CoCreateInstance(kMissingModule, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), CO_E_DLLNOTFOUND);
  EXPECT_EQ(CoCreateInstance(kNotAComponentLibrary, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), E_FAIL);
  EXPECT_EQ(CoCreateInstance(w5comp::CLSID_CompilerKeyWords, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, nullptr),
            E_POINTER);
  EXPECT_EQ(CoCreateInstance(w5comp::CLSID_CompilerKeyWords, nullptr, 4 /* local server only */, IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  auto* outer = reinterpret_cast<IUnknown*>(&object);
  EXPECT_EQ(CoCreateInstance(w5comp::CLSID_CompilerKeyWords, outer, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            static_cast<HRESULT>(0x80040110));
  EXPECT_EQ(object, nullptr);
}

// What the settings file does not hold comes from the build's own registrations.
TEST_F(ComponentCreationTest, RegisteredComponentIsCreatedAndAnswers) {
  void* object = nullptr;
  ASSERT_EQ(
      CoCreateInstance(w5comp::CLSID_CompilerKeyWords, nullptr, CLSCTX_ALL, w5comp::IID_ICompilerKeyWords, &object),
      S_OK);
  auto* keywords = static_cast<w5comp::ICompilerKeyWords*>(object);
  void* unknown = nullptr;
  ASSERT_EQ(keywords->QueryInterface(IID_IUnknown, &unknown), S_OK);
  static_cast<IUnknown*>(unknown)->Release();
  UniqueBstr language = MakeBstr(L"");
  UniqueBstr word = MakeBstr(L"End_While");
  UniqueBstr name = MakeBstr(L"Conveyor");
  std::uint32_t status = 0;
  EXPECT_EQ(keywords->isLangReservedName(language.get(), word.get(), &status), S_OK);
  EXPECT_EQ(status & 0xFFFF, w5comp::kReservedWordStatus);
  EXPECT_EQ(keywords->isLangReservedName(language.get(), name.get(), &status), S_OK);
  EXPECT_EQ(status & 0xFFFF, 0u);
  EXPECT_EQ(keywords->Release(), 0u);
}

TEST(ComErrorTest, HoldersShareTheErrorInformation) {
  const int before = ErrorInfo::LiveObjects();
  {
    ComError first(E_INVALIDARG, ErrorInfo::Create(L"bad ratio", 7, L"help.chm", L"Gear2"));
    ComError second(E_FAIL);
    second = first;
    second = second;
    {
      ComError third(first);
      first = ComError(S_OK);
      EXPECT_EQ(first.Description(), L"");
    }
    EXPECT_EQ(second.Error(), E_INVALIDARG);
    EXPECT_EQ(second.Description(), L"bad ratio");
    void* unknown = nullptr;
    ASSERT_EQ(second.ErrorInfoPtr()->QueryInterface(IID_IUnknown, &unknown), S_OK);
    static_cast<IUnknown*>(unknown)->Release();
    void* other = &other;
    EXPECT_EQ(second.ErrorInfoPtr()->QueryInterface(w5comp::IID_ICompilerKeyWords, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(ErrorInfo::LiveObjects(), before + 1);
  }
  EXPECT_EQ(ErrorInfo::LiveObjects(), before);
}

// A component class made with ComObject: its interface and IUnknown are answered, other
// interfaces are not, and the object goes with its last reference, also when held by ComReference.
class ITestThing : public IUnknown {
public:
  virtual int Value() = 0;
};
constexpr IID IID_ITestThing = {0x1, 0x2, 0x3, {4, 5, 6, 7, 8, 9, 10, 11}};
constexpr IID IID_IOther = {0x9, 0x2, 0x3, {4, 5, 6, 7, 8, 9, 10, 11}};
int liveThings = 0;
class TestThing final : public ComObject<ITestThing, &IID_ITestThing> {
public:
  TestThing() { ++liveThings; }
  int Value() override { return 42; }

private:
  ~TestThing() override { --liveThings; }
};

TEST(ComObjectTest, InterfacesAndReferences) {
  void* object = nullptr;
  ASSERT_EQ(CreateComponentObject<TestThing>(IID_ITestThing, &object), S_OK);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(liveThings, 1);
  ComReference<ITestThing> thing(static_cast<ITestThing*>(object));
  EXPECT_EQ(thing->Value(), 42);
  void* unknown = nullptr;
  ASSERT_EQ(thing->QueryInterface(IID_IUnknown, &unknown), S_OK);
  EXPECT_EQ(static_cast<IUnknown*>(unknown)->Release(), 1u);
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(thing->QueryInterface(IID_IOther, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(thing->QueryInterface(IID_ITestThing, nullptr), E_POINTER);
  thing.reset();
  EXPECT_EQ(liveThings, 0);
  // An interface the class does not have: nothing is handed out and nothing is left behind.
  object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CreateComponentObject<TestThing>(IID_IOther, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(liveThings, 0);
}

TEST(TextConversionTest, WideAndNarrowRoundTrip) {
  const std::wstring wide = L"Gr\u00FC\u00DFe \u20AC 5 \U0001D11E";
  const std::string narrow = Narrow(wide);
  // Narrow text is Windows-1252: the euro sign is 0x80, and what it cannot hold becomes '?'.
  EXPECT_EQ(narrow,
            "Gr\xFC\xDF"
            "e \x80 5 ?");
  EXPECT_EQ(Widen(narrow), L"Gr\u00FC\u00DFe \u20AC 5 ?");
  EXPECT_EQ(GuidToString(w5comp::CLSID_CompilerKeyWords), "{6A3D2F10-4B7C-4E21-9F3A-1C5D7E9B2A40}");
}

} // namespace
} // namespace grx::platform
