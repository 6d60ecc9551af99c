// The exception family: messages, titles and report texts byte for byte.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "foundation/exceptions.h"
#include "foundation/string_ex.h"
#include "opendata/open_data_exception.h"
#include "platform/com_lite.h"

namespace ZEB {
namespace {

using ::testing::HasSubstr;

TEST(ExceptionsTest, BaseReportTexts) {
  const CException withCode("Cannot open", 0x1F, "Source.cpp", 42);
  EXPECT_EQ(withCode.GetText(), "Error: Cannot open (0x1f)\nSource.cpp(42)");
  const CException withoutCode("Plain", kNoErrorCode, "Other.cpp", 7);
  EXPECT_EQ(withoutCode.GetText(), "Error: Plain\nOther.cpp(7)");
  EXPECT_TRUE(withoutCode.HasMessage());
  EXPECT_EQ(withoutCode.GetFile(), "Other.cpp");
  EXPECT_EQ(withoutCode.GetLine(), 7u);
}

TEST(ExceptionsTest, MessageOnDemandFromTheSystemText) {
  const CException e(5u, "Io.cpp", 3);
  // The report text shows the message member as it is: still empty.
  EXPECT_EQ(e.GetText(), "Error:  (0x5)\nIo.cpp(3)");
  EXPECT_EQ(e.GetMessage(), "Access is denied."); // without the trailing carriage return and line feed
  EXPECT_EQ(e.GetText(), "Error: Access is denied. (0x5)\nIo.cpp(3)");
  const CException unknown(0x12345u, "Io.cpp", 4);
  EXPECT_EQ(unknown.GetMessage(), "");
  const CException zero(0u, "Io.cpp", 5);
  EXPECT_EQ(zero.GetMessage(), ""); // the system is not asked for code 0
}

TEST(ExceptionsTest, TitledMessages) {
  EXPECT_EQ(CInvalidArgException("", "A.cpp", 1).GetMessage(), "Invalid argument exception");
  EXPECT_EQ(CInvalidArgException(nullptr, "A.cpp", 1).GetText(), "Error: Invalid argument exception\nA.cpp(1)");
  EXPECT_EQ(CMemoryException("Cannot create CIecObjFactory object.", "F.cpp", 9).GetMessage(),
            "Memory exception: Cannot create CIecObjFactory object.");
  EXPECT_EQ(CUnexpectedException("x", "F.cpp", 9).GetMessage(), "Unexpected exception: x");
  EXPECT_EQ(CIllegalStateException("y", "F.cpp", 9).GetMessage(), "Illegal state exception: y");
  const CSystemException system(2, "S.cpp", 10);
  EXPECT_EQ(system.GetMessage(), "System exception: The system cannot find the file specified.");
  const CSystemException none(0, "S.cpp", 11);
  EXPECT_EQ(none.GetMessage(), "System exception");
  EXPECT_EQ(none.GetText(), "Error: System exception (0x0)\nS.cpp(11)");
}

TEST(ExceptionsTest, ComExceptions) {
  const CComException plain(static_cast<grx::platform::HRESULT>(0x80004005), "IThing::Do", "C.cpp", 20);
  EXPECT_EQ(plain.GetText(),
            "Error:  (0x80004005)\nC.cpp(20)\nMethod: IThing::Do\nHelp Context: 0\nHelp File: \nSource: ");
  EXPECT_EQ(plain.GetMessage(), "Unspecified error");

  const int before = grx::platform::ErrorInfo::LiveObjects();
  {
    auto* info = grx::platform::ErrorInfo::Create(L"Der Import ist fehlgeschlagen", 77, L"help.chm", L"Importer");
    const grx::platform::ComError error(static_cast<grx::platform::HRESULT>(0x80040200), info);
    const CComException withInfo(error, "IImport::Run", "C.cpp", 30);
    const CComException copy = withInfo; // copies hold their own reference
    EXPECT_EQ(copy.GetText(),
              "Error: Der Import ist fehlgeschlagen (0x80040200)\nC.cpp(30)\nMethod: IImport::Run\n"
              "Help Context: 77\nHelp File: help.chm\nSource: Importer");
    EXPECT_EQ(copy.GetDescription(), "Der Import ist fehlgeschlagen");
  }
  EXPECT_EQ(grx::platform::ErrorInfo::LiveObjects(), before); // every reference released
}

TEST(ExceptionsTest, BasisEsExceptionTextsFromTheErrorTextLibrary) {
  const CBasisEsException known(static_cast<grx::platform::HRESULT>(0x80040201), "ILock", "B.cpp", 1);
  EXPECT_EQ(known.GetMessage(), "The object is locked by another user.");
  const CBasisEsException systemText(static_cast<grx::platform::HRESULT>(0x80070057), "IArg", "B.cpp", 2);
  EXPECT_EQ(systemText.GetMessage(), "The parameter is incorrect."); // no string: the system's text
  const CBasisEsException none(static_cast<grx::platform::HRESULT>(0x8FFF0001), "IArg", "B.cpp", 3);
  EXPECT_EQ(none.GetMessage(), "");
}

TEST(ExceptionsTest, ModuleExceptionsAndPlaceholders) {
  const CModuleException direct("direct text", 3, "M.cpp", 1);
  EXPECT_EQ(direct.GetMessage(), "direct text");
  EXPECT_EQ(direct.GetMessageId(), 0u);
  CModuleException::SetResourceHandle(nullptr);
  const CModuleException noModule(1032, nullptr, kNoErrorCode, "M.cpp", 2);
  EXPECT_EQ(noModule.GetText(), "Error: \nM.cpp(2)");

  EXPECT_EQ(ReplacePlaceholders("a %s b %s c", "%s", {"X", "Y", "Z"}), "a X b Y c");
  EXPECT_EQ(ReplacePlaceholders("%s", "%s", {"one %s", "two"}), "one two"); // each search starts again
  EXPECT_EQ(ReplacePlaceholders("", "%s", {"X"}), "");
  EXPECT_THROW(ReplacePlaceholders("x", nullptr, {}), CInvalidArgException);
  try {
    ReplacePlaceholders("x", nullptr, {});
  } catch (const CException& e) {
    EXPECT_EQ(e.GetMessage(), "Invalid argument exception: lpszPlaceHolder == NULL");
  }
}

TEST(ExceptionsTest, OpenDataException) {
  const OpenData::COpenDataException e("iec_ObjectTypeGet failed.", 0x0DB5A10000020101ull, "IecObject", 12);
  EXPECT_EQ(e.GetMessage(), "OPEN-DATA exception: iec_ObjectTypeGet failed.");
  EXPECT_EQ(e.GetApiResult(), 0x0DB5A10000020101ull);
  EXPECT_EQ(e.GetText(), "Error: OPEN-DATA exception: iec_ObjectTypeGet failed.\nIecObject(12)");
  EXPECT_EQ(OpenData::COpenDataException("", 1, "X", 1).GetMessage(), "OPEN-DATA exception");
  // Thrown by value, caught by reference to the base.
  try {
    throw OpenData::COpenDataException("gl_CpuIdGet failed.", 5, "IecObject", 99);
  } catch (const CException& caught) {
    EXPECT_THAT(caught.GetText(), HasSubstr("gl_CpuIdGet failed."));
  }
}

} // namespace
} // namespace ZEB
