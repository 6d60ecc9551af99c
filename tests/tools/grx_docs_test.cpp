// grx's man page, bash completion and command reference are made from its command table: what
// the build installs and what docs/cli.md holds is what the table says.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "command_table.h"
#include "grx_cli_fixture.h"

namespace grx::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// The first word of every command of the table ("trace" for "trace decode").
std::vector<std::string> CommandWords() {
  std::vector<std::string> words;
  for (const cli::CommandSpec& spec : cli::Commands()) {
    const std::string name = spec.name;
    words.push_back(name.substr(0, name.find(' ')));
  }
  return words;
}

class GrxDocsTest : public GrxCliTest {
protected:
  static fs::path Share() { return BinDir().parent_path() / "share"; }

  // What the completion offers for the words typed so far (the last one being completed).
  std::string Complete(const std::string& words) {
    const std::string script = Write(
        "complete.sh", "source '" + (Share() / "bash-completion/completions/grx").string() + "'\nCOMP_WORDS=(" + words +
                           ")\nCOMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n_grx\n"
                           "printf '%s\\n' \"${COMPREPLY[@]}\"\n");
    const GrxRun run = Run("/bin/bash", script);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    return run.out;
  }
};

TEST_F(GrxDocsTest, TheReferenceInDocsIsTheTables) {
  const GrxRun reference = Grx("docs markdown");
  ASSERT_EQ(reference.exitCode, 0);
  EXPECT_EQ(reference.out, FileBytes(fs::path(GRX_SOURCE_DIR) / "docs" / "cli.md"))
      << "run: build/bin/grx docs markdown -o docs/cli.md";
  for (const cli::CommandSpec& spec : cli::Commands()) {
    EXPECT_THAT(reference.out, HasSubstr("\n### " + std::string(spec.name) + "\n")) << spec.name;
  }
}

TEST_F(GrxDocsTest, TheBuildsManPageIsTheTables) {
  const std::string page = FileBytes(Share() / "man/man1/grx.1");
  ASSERT_FALSE(page.empty()) << "the build writes share/man/man1/grx.1";
  EXPECT_EQ(page, Grx("docs man").out);
  EXPECT_THAT(page, HasSubstr(".TH GRX 1"));
  EXPECT_THAT(page, HasSubstr(".SH EXIT STATUS\n.TP\n.B 0\n"));
  EXPECT_THAT(page, HasSubstr(".TP\n.B 3\nthe command failed; a writing command changed nothing\n"));
  const auto roff = [](const std::string& text) {
    std::string escaped;
    for (const char c : text) escaped += c == '-' ? std::string("\\-") : std::string(1, c);
    return escaped;
  };
  for (const cli::CommandSpec& spec : cli::Commands()) {
    EXPECT_THAT(page, HasSubstr(".B grx [OPTIONS] " + roff(spec.name))) << spec.name;
  }
  for (const cli::GlobalOption& option : cli::GlobalOptions()) {
    EXPECT_THAT(page, HasSubstr(".B " + roff(option.name))) << option.name;
  }
  // Every line is roff: no line of text starts with a dot or a quote unless it is a request.
  std::istringstream lines(page);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || (line[0] != '.' && line[0] != '\'')) continue;
    EXPECT_TRUE(line.size() >= 3 && std::isalpha(static_cast<unsigned char>(line[1]))) << line;
  }
}

TEST_F(GrxDocsTest, TheCompletionOffersTheTablesCommandsAndOptions) {
  ASSERT_EQ(FileBytes(Share() / "bash-completion/completions/grx"), Grx("docs completion").out);
  const std::string commands = Complete("grx ''");
  for (const std::string& word : CommandWords()) EXPECT_THAT(commands, HasSubstr(word + "\n")) << word;
  EXPECT_THAT(commands, HasSubstr("--project\n"));
  EXPECT_THAT(Complete("grx --project d.db stamp --"), HasSubstr("--dry-run\n"));
  EXPECT_EQ(Complete("grx check-name s"), "sub\n");
  EXPECT_EQ(Complete("grx trace d"), "decode\n");
  EXPECT_THAT(Complete("grx rename-global --m"), HasSubstr("--merge"));
}

} // namespace
} // namespace grx::testing
