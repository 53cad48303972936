// SPDX-License-Identifier: GPL-3.0-or-later
// What the package installs besides the programs: the desktop file and the AppStream
// metainfo pass their validators, and the man page and the bash completion of
// quarnival-cli describe exactly the commands and options that `quarnival-cli --help` lists.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace qv::test {
namespace {

constexpr const char* kDesktopFile = "resources/quarnival.desktop";
constexpr const char* kMetainfo = "packaging/metainfo/io.github.quarnival.Quarnival.metainfo.xml";
constexpr const char* kCliManPage = "packaging/man/quarnival-cli.1.scd";
constexpr const char* kCompletion = "packaging/completion/quarnival-cli";

struct ShellRun {
    std::string output;  // standard output and standard error
    int exitCode = -1;
};

ShellRun RunShell(const std::string& command)
{
    ShellRun run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> chunk;
    size_t got;
    while ((got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) run.output.append(chunk.data(), got);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::set<std::string> WordsOf(const std::string& text)
{
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

std::set<std::string> OptionsIn(const std::string& text)
{
    static const std::regex option("--[a-z0-9][a-z0-9-]*");
    std::set<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
        found.insert(it->str());
    return found;
}

struct CommandDoc {
    std::set<std::string> options;
    std::map<std::string, std::set<std::string>> choices;  // "--format" -> {"c", "asm", ...}
};
using CommandDocs = std::map<std::string, CommandDoc>;

// The "Befehle:" block of --help: one usage line per command, indented by two blanks.
CommandDocs CommandsOfHelp(const std::string& help)
{
    static const std::regex choice("(--[a-z0-9-]+) ([A-Za-z0-9-]+(\\|[A-Za-z0-9-]+)+)");
    CommandDocs docs;
    std::istringstream lines(help);
    std::string line;
    while (std::getline(lines, line) && line != "Befehle:") {}
    while (std::getline(lines, line) && line.rfind("  ", 0) == 0) {
        CommandDoc& doc = docs[line.substr(2, line.find(' ', 2) - 2)];
        doc.options = OptionsIn(line);
        for (auto it = std::sregex_iterator(line.begin(), line.end(), choice); it != std::sregex_iterator(); ++it) {
            std::string values = (*it)[2];
            std::replace(values.begin(), values.end(), '|', ' ');
            doc.choices[(*it)[1]] = WordsOf(values);
        }
    }
    return docs;
}

// The "## command" subsections of the man page's "# BEFEHLE" section, with every option
// they mention.
CommandDocs CommandsOfManPage(const std::string& source)
{
    CommandDocs docs;
    std::istringstream lines(source);
    std::string line;
    while (std::getline(lines, line) && line != "# BEFEHLE") {}
    CommandDoc* current = nullptr;
    while (std::getline(lines, line) && line.rfind("# ", 0) != 0) {
        if (line.rfind("## ", 0) == 0)
            current = &docs[line.substr(3)];
        else if (current)
            current->options.merge(OptionsIn(line));
    }
    return docs;
}

template <typename Map>
std::set<std::string> KeysOf(const Map& map)
{
    std::set<std::string> keys;
    for (const auto& [key, value] : map) keys.insert(key);
    return keys;
}

class CliDocumentation : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* cli = std::getenv("QV_CLI");
        if (!cli) GTEST_SKIP() << "QV_CLI is not set";
        const ShellRun help = RunShell(std::string(cli) + " --help");
        ASSERT_EQ(help.exitCode, 0) << help.output;
        help_ = CommandsOfHelp(help.output);
        ASSERT_GE(help_.size(), 10u) << help.output;
    }

    // What the completion offers for the words typed so far; the last one is the word
    // being completed.
    static std::set<std::string> Complete(const std::string& typed)
    {
        const ShellRun run = RunShell(std::string("bash -c 'source ") + kCompletion + "; COMP_WORDS=(quarnival-cli " + typed +
                                 "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _quarnival_cli; echo ${COMPREPLY[@]}'");
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return WordsOf(run.output);
    }

    CommandDocs help_;
};

TEST(DesktopFile, PassesTheValidatorWithoutErrorsOrWarnings)
{
    const ShellRun run = RunShell(std::string("desktop-file-validate ") + kDesktopFile);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output.find("error:"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("warning:"), std::string::npos) << run.output;
}

TEST(Metainfo, PassesTheValidator)
{
    const ShellRun run = RunShell(std::string("appstreamcli validate --no-net ") + kMetainfo);
    EXPECT_EQ(run.exitCode, 0) << run.output;
}

TEST_F(CliDocumentation, MetainfoAndChangelogNameThisVersionAsTheNewestRelease)
{
    const ShellRun version = RunShell(std::string(std::getenv("QV_CLI")) + " --version");
    std::smatch release;
    const std::string metainfo = ReadFile(kMetainfo);
    ASSERT_TRUE(std::regex_search(metainfo, release, std::regex("<release version=\"([^\"]+)\"")));
    EXPECT_EQ("quarnival-cli " + release[1].str() + "\n", version.output);
    const std::string changelog = ReadFile("packaging/changelog");
    ASSERT_TRUE(std::regex_search(changelog, release, std::regex("^quarnival \\(([^)]+)\\)")));
    EXPECT_EQ("quarnival-cli " + release[1].str() + "\n", version.output);
}

TEST(Metainfo, NamesTheProjectLicenceAndNoAddressThatDoesNotExist)
{
    const std::string metainfo = ReadFile(kMetainfo);
    EXPECT_NE(metainfo.find("<project_license>GPL-3.0-or-later</project_license>"), std::string::npos);
    EXPECT_EQ(metainfo.find("http"), std::string::npos);
}

TEST_F(CliDocumentation, ManPageDescribesExactlyTheCommandsAndOptionsOfHelp)
{
    const CommandDocs man = CommandsOfManPage(ReadFile(kCliManPage));
    ASSERT_EQ(KeysOf(man), KeysOf(help_));
    for (const auto& [name, doc] : help_) EXPECT_EQ(man.at(name).options, doc.options) << "command " << name;
}

TEST_F(CliDocumentation, CompletionOffersExactlyTheCommandsOfHelpAndManPage)
{
    std::set<std::string> offered = Complete("\"\"");
    EXPECT_EQ(offered.erase("--help") + offered.erase("--version"), 2u);
    EXPECT_EQ(offered, KeysOf(help_));
    EXPECT_EQ(offered, KeysOf(CommandsOfManPage(ReadFile(kCliManPage))));
    EXPECT_EQ(Complete("cr"), std::set<std::string>{"crc"});
}

TEST_F(CliDocumentation, CompletionOffersEachCommandsOptionsAndTheirValues)
{
    for (const auto& [name, doc] : help_) {
        EXPECT_EQ(Complete(name + " --"), doc.options) << "command " << name;
        for (const auto& [option, values] : doc.choices)
            EXPECT_EQ(Complete(name + " " + option + " \"\""), values) << "command " << name << " " << option;
    }
}

}  // namespace
}  // namespace qv::test
