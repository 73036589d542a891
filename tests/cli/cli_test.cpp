#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/process.h"
#include "support/temp_dir.h"

namespace wk {
namespace {

using test::runProcess;
using test::TempDir;

test::ProcessResult cli(const std::vector<std::string>& args) { return runProcess(WK_CLI_PATH, args); }

TEST(CliNew, WritesTheDefaultsAsVersion105) {
  TempDir dir;
  const auto r = cli({"new", "-o", dir.file("new.vld")});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto f = test::readBytes(dir.file("new.vld"));
  ASSERT_EQ(f.size(), 66512u);
  EXPECT_EQ(f[0], 0x69);
  EXPECT_EQ(f[1], 0x00);
  const std::uint8_t record0[] = {0x00, 0x00, 0x0A, 0x00, 0x01};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(f[2 + i], record0[i]);
  const std::uint8_t balance[] = {0x05, 0x2A, 0x31, 0x30, 0x30, 0x23};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(f[65538 + 856 + i], balance[i]);
}

TEST(CliConvert, ConvertsAVersion104File) {
  TempDir dir;
  std::vector<std::uint8_t> old(66512, 0);
  old[0] = 0x68;
  old[2 + 256 + 3] = 0x42;       // SMS record 1, byte 3
  old[2 + 256 + 200] = 0x77;     // slot padding, dropped
  old[65538 + 973] = 0x24;       // last EE byte
  test::writeBytes(dir.file("old.vld"), old);
  const auto r = cli({"convert", dir.file("old.vld"), "-o", dir.file("new.vld")});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.err, "The old version detected... File will be saved in new format\n");
  const auto f = test::readBytes(dir.file("new.vld"));
  ASSERT_EQ(f.size(), 66512u);
  EXPECT_EQ(f[0], 0x69);
  EXPECT_EQ(f[2 + 158 + 3], 0x42);
  EXPECT_EQ(f[2 + 256 + 200], 0x00);
  EXPECT_EQ(f[66511], 0x24);
}

TEST(CliConvert, AFileOfAnUnknownVersionIsNotConvertedElsewhereEither) {
  // Its fallback contents are not the file's: `convert a -o b && mv b a` would lose the site.
  TempDir dir;
  std::vector<std::uint8_t> newer(66512, 0x55);
  newer[0] = 0x6A;
  newer[1] = 0x00;
  test::writeBytes(dir.file("newer.vld"), newer);
  test::writeBytes(dir.file("old-out.vld"), {1, 2, 3});
  for (const std::string& out : {dir.file("out.vld"), dir.file("old-out.vld")}) {
    const auto r = cli({"convert", dir.file("newer.vld"), "-o", out});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.err, "The new version detected. Update Application\n"
                     "watchkeep-cli: " + dir.file("newer.vld") +
                     " was not converted: its version cannot be read; nothing was written\n");
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.vld")));
  EXPECT_EQ(test::readBytes(dir.file("old-out.vld")), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(test::readBytes(dir.file("newer.vld")), newer);
}

TEST(CliConvert, AFileOfAnUnknownVersionIsNeverConvertedInPlace) {
  TempDir dir;
  std::vector<std::uint8_t> newer(66512, 0x55);
  newer[0] = 0x6A;
  newer[1] = 0x00;
  test::writeBytes(dir.file("newer.vld"), newer);
  std::filesystem::create_symlink(dir.file("newer.vld"), dir.file("link.vld"));
  for (const std::string& out : {dir.file("newer.vld"), dir.file("link.vld"), dir.path() + "/./newer.vld"}) {
    const auto r = cli({"convert", dir.file("newer.vld"), "-o", out});
    EXPECT_EQ(r.exitStatus, 2) << out;
    EXPECT_EQ(r.err, "The new version detected. Update Application\n"
                     "watchkeep-cli: " + dir.file("newer.vld") +
                     " was not converted: its version cannot be read, so it is left as it is\n");
    EXPECT_EQ(test::readBytes(dir.file("newer.vld")), newer);
  }
}

TEST(CliConvert, AVersion104FileIsConvertedInPlace) {
  TempDir dir;
  std::vector<std::uint8_t> old(66512, 0);
  old[0] = 0x68;
  old[2 + 3] = 0x42;
  test::writeBytes(dir.file("old.vld"), old);
  const auto r = cli({"convert", dir.file("old.vld"), "-o", dir.file("old.vld")});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  const auto f = test::readBytes(dir.file("old.vld"));
  ASSERT_EQ(f.size(), 66512u);
  EXPECT_EQ(f[0], 0x69);
  EXPECT_EQ(f[2 + 3], 0x42);
}

TEST(CliWrite, AFileOfAnUnknownVersionIsNotSentToTheController) {
  TempDir dir;
  std::vector<std::uint8_t> older(66512, 0x55);
  older[0] = 0x67;
  older[1] = 0x00;
  test::writeBytes(dir.file("older.vld"), older);
  // The port is never tried: its failure would say "Port busy or not exist!".
  const auto r = cli({"--port", dir.file("no-port"), "write", dir.file("older.vld")});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.err, "The old version detected. File format not supported\n"
                   "watchkeep-cli: nothing was written to the controller: the version of " +
                       dir.file("older.vld") + " cannot be read\n");
}

TEST(CliConvert, ShortFileFailsWithoutWritingTheOutput) {
  TempDir dir;
  test::writeBytes(dir.file("short.vld"), {0x69});
  const auto r = cli({"convert", dir.file("short.vld"), "-o", dir.file("out.vld")});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.err, "Unexpected file format.\n");
  EXPECT_FALSE(test::fileExists(dir.file("out.vld")));

  const auto missing = cli({"convert", dir.file("none.vld"), "-o", dir.file("out.vld")});
  EXPECT_EQ(missing.exitStatus, 2);
  EXPECT_NE(missing.err.find("Failed to open document."), std::string::npos);
  EXPECT_FALSE(test::fileExists(dir.file("out.vld")));
}

// Unusual paths, as a user may give them on the command line.
TEST(CliPaths, AFifoAsInputFailsAtOnce) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("fifo.vld").c_str(), 0644), 0);
  const auto r = test::runProcess(WK_CLI_PATH, {"convert", dir.file("fifo.vld"), "-o", dir.file("out.vld")},
                                  std::chrono::seconds(30));
  EXPECT_FALSE(r.timedOut) << "the open waited for a writer";
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.err, "Failed to open document.\ncannot read " + dir.file("fifo.vld") + ": not a regular file\n");
  EXPECT_FALSE(test::fileExists(dir.file("out.vld")));
}

TEST(CliPaths, AReadOnlyTargetIsRefusedWithTheSystemsReason) {
  TempDir dir;
  test::writeBytes(dir.file("ro.vld"), {1, 2, 3});
  ::chmod(dir.file("ro.vld").c_str(), 0444);
  const auto r = cli({"new", "-o", dir.file("ro.vld")});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.err, "Failed to save document.\ncannot write " + dir.file("ro.vld") + ": Permission denied\n");
  EXPECT_EQ(test::readBytes(dir.file("ro.vld")), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(CliPaths, ATargetThatIsNoRegularFileIsNeverReplaced) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("fifo.vld").c_str(), 0644), 0);
  std::filesystem::create_symlink("fifo.vld", dir.file("stdout"));  // as /dev/stdout points to a pipe
  for (const std::string name : {"fifo.vld", "stdout"}) {
    const auto r = test::runProcess(WK_CLI_PATH, {"new", "-o", dir.file(name)}, std::chrono::seconds(30));
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.err, "Failed to save document.\ncannot write " + dir.file("fifo.vld") + ": not a regular file\n");
  }
  struct stat st {};
  ASSERT_EQ(::lstat(dir.file("fifo.vld").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("stdout")));
}

TEST(CliPaths, ALinkToNothingCreatesTheFileItNames) {
  TempDir dir;
  std::filesystem::create_symlink("made.vld", dir.file("link.vld"));
  const auto r = cli({"new", "-o", dir.file("link.vld")});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.vld")));
  EXPECT_EQ(test::readBytes(dir.file("made.vld")).size(), 66512u);
}

TEST(CliPaths, AFileSizeLimitFailsTheSaveInsteadOfKillingTheProgram) {
  TempDir dir;
  test::writeBytes(dir.file("old.vld"), {1, 2, 3});
  // As a shell with "ulimit -f" starts it (8 blocks of 512 bytes).
  const auto r = test::runProcess("/bin/sh", {"-c", "ulimit -f 8 && exec \"$0\" \"$@\"", WK_CLI_PATH, "new", "-o",
                                              dir.file("old.vld")});
  EXPECT_EQ(r.signal, 0) << "ended by signal " << r.signal;
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.err.rfind("Failed to save document.\ncannot write ", 0), 0u) << r.err;
  EXPECT_NE(r.err.find(": File too large\n"), std::string::npos) << r.err;
  EXPECT_EQ(test::readBytes(dir.file("old.vld")), (std::vector<std::uint8_t>{1, 2, 3}));
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1u) << "no temporary file is left";
}

TEST(CliUsage, HelpAndErrors) {
  const auto help = cli({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_NE(help.out.find("  new -o FILE"), std::string::npos);
  EXPECT_NE(help.out.find("  convert IN -o OUT"), std::string::npos);
  EXPECT_NE(help.out.find("  -V, --version"), std::string::npos);
  // After a command, that command's help alone.
  const auto dumpHelp = cli({"dump", "--help"});
  EXPECT_EQ(dumpHelp.exitStatus, 0);
  EXPECT_EQ(dumpHelp.out.rfind("  dump FILE [--json]", 0), 0u) << dumpHelp.out;
  EXPECT_EQ(dumpHelp.out.find("  convert"), std::string::npos);

  // One line naming the problem, and where help is; never the whole usage.
  const std::vector<std::pair<std::vector<std::string>, std::string>> errors = {
      {{}, "no command given"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
      {{"new"}, "new takes -o FILE"},
      {{"new", "-o"}, "-o needs a value"},
      {{"new", "--output"}, "--output needs a value"},
      {{"convert", "-o", "x.vld"}, "convert takes IN -o OUT"},
      {{"new", "-x", "-o", "y.vld"}, "unknown option '-x' for new"},
      {{"dump", "--jsn", "a.vld"}, "unknown option '--jsn' for dump"},
      {{"dump", "--json=yes", "a.vld"}, "--json takes no value"},
      {{"--bogus", "info"}, "unknown option '--bogus'"},
      {{"sensors", "4"}, "CHANNEL is 1, 2 or 3"},
      {{"--port", "Com2147483648", "info"}, "--port Com2147483648: COM ports are numbered from 1 to 256"},
      {{"--port", "com257", "info"}, "--port com257: COM ports are numbered from 1 to 256"},
      {{"info", "--port="}, "--port needs a port name"},
  };
  for (const auto& [args, why] : errors) {
    const auto r = cli(args);
    EXPECT_EQ(r.exitStatus, 2) << why;
    EXPECT_EQ(r.err, "watchkeep-cli: " + why + " (try 'watchkeep-cli --help')\n");
    EXPECT_EQ(r.out, "");
  }

  const auto unwritable = cli({"new", "-o", "/nonexistent-folder/x.vld"});
  EXPECT_EQ(unwritable.exitStatus, 2);
  EXPECT_NE(unwritable.err.find("Failed to save document."), std::string::npos);
}

TEST(CliUsage, VersionNamesTheProgramAndTheFormats) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--version"}, {"-V"}, {"dump", "--version"}}) {
    const auto r = cli(args);
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out.rfind("watchkeep-cli ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\nconfiguration files: version 105; JSON: \"watchkeep-configuration\" version 1\n"),
              std::string::npos)
        << r.out;
  }
}

TEST(CliUsage, OptionsAsUnixCommandsTakeThem) {
  TempDir dir;
  // --opt=value, -o value, -oVALUE, options before the operands or after them.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"new", "--output=" + dir.file("a.vld")},
        {"new", "--output", dir.file("b.vld")},
        {"new", "-o" + dir.file("c.vld")},
        {"--quiet", "convert", "-o", dir.file("d.vld"), dir.file("a.vld")}}) {
    const auto r = cli(args);
    EXPECT_EQ(r.exitStatus, 0) << args[1] << r.err;
  }
  for (const char* name : {"a.vld", "b.vld", "c.vld", "d.vld"}) EXPECT_EQ(test::readBytes(dir.file(name)).size(), 66512u);
  // "--" ends the options: a file whose name starts with a dash.
  const auto dashed = runProcess("/bin/sh", {"-c", "cd \"$1\" && exec \"$0\" new -o -- -x.vld", WK_CLI_PATH, dir.path()});
  EXPECT_EQ(dashed.exitStatus, 2) << "-o takes -- as its value";
  const auto r = runProcess("/bin/sh", {"-c", "cd \"$1\" && exec \"$0\" convert -o out.vld -- -in.vld", WK_CLI_PATH,
                                        dir.path()});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.err, "Failed to open document.\ncannot open -in.vld: No such file or directory\n");
}

// What standard output cannot take fails the command: a script must not keep
// a truncated dump for a whole one.
TEST(CliOutput, AFullOutputIsAnErrorWithItsReason) {
  TempDir dir;
  ASSERT_EQ(cli({"new", "-o", dir.file("a.vld")}).exitStatus, 0);
  auto other = test::readBytes(dir.file("a.vld"));
  other[2] ^= 1;  // the first SMS rule
  test::writeBytes(dir.file("b.vld"), other);
  for (const std::string command :
       {"dump a.vld", "dump --json a.vld", "schema", "diff a.vld b.vld", "--help", "--version", "dump --help"}) {
    const auto r = runProcess("/bin/sh", {"-c", "cd \"$1\" && exec \"$0\" " + command + " > /dev/full", WK_CLI_PATH,
                                          dir.path()});
    EXPECT_EQ(r.exitStatus, 2) << command << r.err;
    EXPECT_EQ(r.err, "watchkeep-cli: cannot write the output: No space left on device\n") << command;
  }
}

// No command writes its output over its own input, through a link neither.
TEST(CliPaths, NoOutputReplacesTheInput) {
  TempDir dir;
  ASSERT_EQ(cli({"new", "-o", dir.file("site.vld")}).exitStatus, 0);
  ASSERT_EQ(cli({"export", dir.file("site.vld"), "-o", dir.file("site.json")}).exitStatus, 0);
  const auto vld = test::readBytes(dir.file("site.vld"));
  const auto json = test::readBytes(dir.file("site.json"));
  std::filesystem::create_symlink("site.vld", dir.file("vld-link"));
  std::filesystem::create_hard_link(dir.file("site.json"), dir.file("json-hard"));
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"export", dir.file("site.vld"), "-o", dir.file("site.vld")}, dir.file("site.vld")},
      {{"export", dir.file("site.vld"), "-o", dir.file("vld-link")}, dir.file("site.vld")},
      {{"export", dir.file("vld-link"), "-o", dir.path() + "/./site.vld"}, dir.file("vld-link")},
      {{"import", dir.file("site.json"), "-o", dir.file("site.json")}, dir.file("site.json")},
      {{"import", dir.file("site.json"), "-o", dir.file("json-hard")}, dir.file("site.json")},
  };
  for (const auto& [args, input] : cases) {
    const auto r = cli(args);
    EXPECT_EQ(r.exitStatus, 2) << args[3];
    EXPECT_EQ(r.err, "watchkeep-cli: the output would replace " + input + " itself: nothing was written\n");
  }
  EXPECT_EQ(test::readBytes(dir.file("site.vld")), vld);
  EXPECT_EQ(test::readBytes(dir.file("site.json")), json);
  // Onto its base, import is an update: the base is read before anything is written.
  const auto update = cli({"import", dir.file("site.json"), "--base", dir.file("site.vld"), "-o", dir.file("site.vld")});
  EXPECT_EQ(update.exitStatus, 0) << update.err;
  EXPECT_EQ(test::readBytes(dir.file("site.vld")), vld);
}

TEST(CliPaths, AFolderAsOutputIsNamedOnce) {
  TempDir dir;
  ASSERT_EQ(cli({"new", "-o", dir.file("site.vld")}).exitStatus, 0);
  std::filesystem::create_directory(dir.file("dir.vld"));
  const auto r = cli({"export", dir.file("site.vld"), "-o", dir.file("dir.vld")});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.err, "watchkeep-cli: cannot write " + dir.file("dir.vld") + ": Is a directory\n");
}

// The trace holds phone numbers: never anything but a regular file, and
// readable by its owner alone, an old one too.
TEST(CliTrace, OnlyARegularFileForItsOwnerAlone) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0644), 0);
  const auto fifo = runProcess(WK_CLI_PATH, {"--trace", dir.file("fifo"), "--port", dir.file("no-port"), "info"},
                               std::chrono::seconds(30));
  EXPECT_FALSE(fifo.timedOut) << "the open waited for a reader";
  EXPECT_EQ(fifo.exitStatus, 2);
  EXPECT_EQ(fifo.err, "watchkeep-cli: cannot write the trace " + dir.file("fifo") + ": not a regular file\n");
  const auto folder = cli({"--trace", dir.path(), "--port", dir.file("no-port"), "info"});
  EXPECT_EQ(folder.exitStatus, 2);
  EXPECT_EQ(folder.err, "watchkeep-cli: cannot write the trace " + dir.path() + ": not a regular file\n");

  test::writeBytes(dir.file("old.trace"), {'o', 'l', 'd', '\n'});
  ASSERT_EQ(::chmod(dir.file("old.trace").c_str(), 0644), 0);
  const auto r = cli({"--trace", dir.file("old.trace"), "--port", dir.file("no-port"), "info"});
  EXPECT_EQ(r.exitStatus, 1) << r.err;
  struct stat st {};
  ASSERT_EQ(::stat(dir.file("old.trace").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  const auto bytes = test::readBytes(dir.file("old.trace"));
  const std::string trace(bytes.begin(), bytes.end());
  EXPECT_EQ(trace.rfind("old\n# watchkeep serial trace, started ", 0), 0u) << "appended to";
  EXPECT_NE(trace.find(" open " + dir.file("no-port") + " 460800: failed"), std::string::npos) << trace;
}

}  // namespace
}  // namespace wk
