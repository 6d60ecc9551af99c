// Call-trace lines byte for byte, the scrambling and its decoding, the installation-error texts
// and the supported-name table.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "dbaccess/call_trace.h"
#include "dbaccess/install_error_box.h"
#include "dbaccess/param_printers.h"
#include "dbaccess/supported_names.h"
#include "dbaccess/trace_scramble.h"

namespace grx::dbaccess {
namespace {

using ::testing::ElementsAre;

TEST(TraceFormatTest, ParameterLines) {
  EXPECT_EQ(FormatObjectId(Direction::In, "chartId", 0x0001000200000003ull), "  IN: chartId = 0001:0002:0:0000003");
  EXPECT_EQ(FormatObjectId(Direction::Out, "iter", 0xFFFFFFFFFFFFFFFFull), "  OUT: iter = ffff:ffff:f:fffffff");
  EXPECT_EQ(FormatOptionalObjectId(Direction::In, "id", nullptr), "  IN: id = NULL");
  GlObjectDescriptor od{{1, 2, 3, 4, 5, 6}};
  EXPECT_EQ(FormatDescriptor(Direction::In, "od", od), "  IN: od = OD#000005:6:000003:4:000001:2");
  EXPECT_EQ(FormatNumber16(Direction::In, "prevTransactionId", 65535), "  IN: prevTransactionId = 65535");
  EXPECT_EQ(FormatNumber32(Direction::Out, "blobLenAct", -1), "  OUT: blobLenAct = -1");
  EXPECT_EQ(FormatHandle(Direction::In, "largeObject", reinterpret_cast<void*>(0xABCD)),
            "  IN: largeObject = 0x0000ABCD");
  EXPECT_EQ(FormatChar(Direction::In, "separator", '.'), "  IN: separator = .");
  EXPECT_EQ(FormatBool(Direction::In, "useFullTHPath", 5), "  IN: useFullTHPath = TRUE");
  EXPECT_EQ(FormatBool(Direction::In, "useFullTHPath", 0), "  IN: useFullTHPath = FALSE");
  EXPECT_EQ(FormatMode(Direction::In, "mode", M_NEXT), "  IN: mode = M_NEXT");
  EXPECT_EQ(FormatMode(Direction::In, "mode", 9), "  IN: mode = ???");
  EXPECT_EQ(FormatIecType(Direction::In, "type", IEC_SDTIME), "  IN: type = IEC_SDTIME");
  EXPECT_EQ(FormatIecType(Direction::In, "type", 99), "  IN: type = ??? (0x63)");
  EXPECT_EQ(FormatSfcState(Direction::In, "state", 3), "  IN: state = (SFC_STATE_VARTYPE)3");
  EXPECT_EQ(FormatText(Direction::In, "name", nullptr), "  IN: name = NULL");
  EXPECT_EQ(FormatText(Direction::In, "name", "Plan1"), "  IN: name = (char *)\"Plan1\"");
  EXPECT_EQ(FormatText(Direction::In, "path", "A", "GlVarPath"), "  IN: path = (GlVarPath)\"A\"");
}

TEST(TraceFormatTest, EndLinesBySeverityClass) {
  EXPECT_EQ(FormatCallEnd("iec_TasksGet", 0), "END iec_TasksGet");
  EXPECT_EQ(FormatCallEnd("iec_TasksGet", 36), "END iec_TasksGet #ERROR_ID=0x00024");
  EXPECT_EQ(FormatCallEnd("gl_UdaGet", 0x1028D), "END gl_UdaGet ##ERROR_ID=0x1028D");
  EXPECT_EQ(FormatCallEnd("iec_TasksGet", 0x00315E00140201EAull), "END iec_TasksGet #####ERROR_ID=0x201EA");
  // Detail and origin do not count: only the error id and its class byte.
  EXPECT_EQ(FormatCallEnd("x", 0x00315E0014000000ull), "END x");
}

TEST(TraceFormatTest, TextsAndAttributesAreCut) {
  const std::string eighty(80, 'x');
  EXPECT_EQ(FormatText(Direction::In, "comment", eighty.c_str()),
            "  IN: comment = (char *)\"" + std::string(75, 'x') + "....\"");
  const std::string seventyFive(75, 'y');
  EXPECT_EQ(FormatText(Direction::In, "comment", seventyFive.c_str()),
            "  IN: comment = (char *)\"" + seventyFive + "\"");
  Gl_Uda uda{};
  std::strcpy(uda.name, "Owner");
  std::memset(uda.value, 'v', 50);
  EXPECT_EQ(FormatUda(Direction::Out, "uda", uda),
            "  OUT: uda = {key=\"Owner\", value=\"" + std::string(45, 'v') + "....\"}");
  // Unterminated fields are read within their record.
  std::memset(&uda, 'k', sizeof uda);
  EXPECT_EQ(FormatUda(Direction::In, "uda", uda).size(),
            std::string("  IN: uda = {key=\"\", value=\"\"}").size() + 25 + 49);
}

TEST(TraceFormatTest, ScrambleAndDecode) {
  const std::string line = "BEGIN iec_CfcBlocksGet";
  const std::string scrambled = ScrambleTraceLine(line);
  EXPECT_EQ(scrambled.substr(0, 5), "@3#C3");
  EXPECT_EQ(scrambled.size(), line.size() + 5);
  EXPECT_NE(scrambled.substr(5), line);
  EXPECT_EQ(DecodeTraceLine(scrambled), line);
  EXPECT_EQ(ScrambleTraceLine(""), "");
  EXPECT_FALSE(DecodeTraceLine("plain text"));

  // Every line decodes, whatever its bytes and length, and no scrambled byte is zero.
  std::mt19937 random(42);
  for (int round = 0; round < 2000; ++round) {
    std::string text(1 + random() % 300, ' ');
    for (char& c : text) c = static_cast<char>(1 + random() % 255);
    const std::string s = ScrambleTraceLine(text);
    ASSERT_EQ(std::strlen(s.c_str()), s.size());
    ASSERT_EQ(DecodeTraceLine(s), text);
  }
}

TEST(TraceFormatTest, InstallErrorTexts) {
  EXPECT_EQ(InstallErrorText(kInstallErrorCaption, 1), "Installation error");
  EXPECT_EQ(InstallErrorText(kInstallErrorCaption, 0), "Fehler in der Installation");
  EXPECT_EQ(InstallErrorText(7, 1), std::nullopt);
  const char* args[] = {"iec_TasksGet", "Q3JDBMOX.DLL", nullptr};
  // The box shows Windows-1252 text: é is one byte.
  EXPECT_EQ(FillInstallErrorText(InstallErrorText(kFunctionNotAvailable, 2)->c_str(), args, 3),
            "Cette fonction iec_TasksGet n'est pas encore disponible dans la version CFC install\xE9"
            "e (Q3JDBMOX.DLL).\n"
            "Installez si possible la version ??? ou une version ult\xE9rieure.");
  EXPECT_EQ(FillInstallErrorText("%s1 and %s5 and %s and 100%", args, 2), "Q3JDBMOX.DLL and ??? and %s and 100%");
  const std::string fits(996, 'a'), tooLong(997, 'a');
  const char* fitting[] = {fits.c_str()};
  EXPECT_EQ(FillInstallErrorText("x %s0 y", fitting, 1), "x " + fits + " y"); // 1,000 characters
  const char* big[] = {tooLong.c_str()};
  EXPECT_EQ(FillInstallErrorText("x %s0 y", big, 1), "x %s0 y");
}

TEST(TraceFormatTest, SupportedNames) {
  const auto names = SupportedNames();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.front(), "gl_CpuIdGet"); // the overloaded functions come first
  EXPECT_TRUE(std::is_sorted(names.begin() + 1, names.end()));
  EXPECT_TRUE(IsSupportedName("iec_TaskRead"));
  EXPECT_TRUE(IsSupportedName("es_PVEdit"));
  EXPECT_FALSE(IsSupportedName("iec_SourcesGetV6_0"));
  EXPECT_FALSE(IsSupportedName("gl_LogicalPathGetV6_0"));
  EXPECT_FALSE(IsSupportedName("_gl_MemoryAllocate"));
  EXPECT_FALSE(IsSupportedName("iec_taskread"));
}

} // namespace
} // namespace grx::dbaccess
