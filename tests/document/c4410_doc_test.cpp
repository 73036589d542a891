#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include "document/c4410_doc.h"
#include "document/vld_file.h"
#include "support/process.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace wk {
namespace {

using test::ScriptedPrompter;
using test::TempDir;

// Records every call of every editor into one shared journal.
struct JournalEditor : ImageEditor {
  JournalEditor(std::string editorName, std::vector<std::string>& sharedJournal)
      : name(std::move(editorName)), journal(sharedJournal) {}
  void TransferImage(TransferDirection direction) override {
    journal.push_back(name + ":" + std::to_string(static_cast<int>(direction)));
  }
  std::string name;
  std::vector<std::string>& journal;
};

// The nine editors, each registered for its slot by name, in no particular
// order: the document calls them in its own fixed order.
struct DocWithEditors {
  DocWithEditors() {
    doc.registerEditor(EditorSlot::Reports, &reports);
    doc.registerEditor(EditorSlot::ThermoChannel1, &thermo1);
    doc.registerEditor(EditorSlot::UserEvents, &userEvents);
    doc.registerEditor(EditorSlot::SmsData, &sms);
    doc.registerEditor(EditorSlot::Miscellaneous, &misc);
    doc.registerEditor(EditorSlot::Outputs, &outputs);
    doc.registerEditor(EditorSlot::IButtonKeys, &keys);
    doc.registerEditor(EditorSlot::MainChannels, &channels);
    doc.registerEditor(EditorSlot::ThermoChannel2, &thermo2);
  }
  std::vector<std::string> journal;
  JournalEditor sms{"sms", journal}, channels{"channels", journal}, userEvents{"userevents", journal},
      outputs{"outputs", journal}, thermo1{"thermo1", journal}, thermo2{"thermo2", journal}, keys{"keys", journal},
      misc{"misc", journal}, reports{"reports", journal};
  C4410Doc doc;
};

// SMS data, main channels, user events, outputs, thermosensor channels 1 and
// 2, iButton keys, miscellaneous settings, reports: both directions alike.
const std::vector<std::string> kRefresh = {"sms:0",     "channels:0", "userevents:0", "outputs:0", "thermo1:0",
                                           "thermo2:0", "keys:0",     "misc:0",       "reports:0"};
const std::vector<std::string> kCollect = {"sms:1",     "channels:1", "userevents:1", "outputs:1", "thermo1:1",
                                           "thermo2:1", "keys:1",     "misc:1",       "reports:1"};

TEST(C4410Doc, RefreshAndCollectCallEveryEditorInTheFixedOrder) {
  DocWithEditors d;
  d.doc.refreshEditors();
  EXPECT_EQ(d.journal, kRefresh);
  d.journal.clear();
  d.doc.collectEditors();
  EXPECT_EQ(d.journal, kCollect);
  d.journal.clear();
  d.doc.refreshSmsData();
  EXPECT_EQ(d.journal, std::vector<std::string>{"sms:0"});

  // An empty slot is passed over.
  d.journal.clear();
  d.doc.registerEditor(EditorSlot::Outputs, nullptr);
  d.doc.refreshEditors();
  EXPECT_EQ(d.journal, (std::vector<std::string>{"sms:0", "channels:0", "userevents:0", "thermo1:0", "thermo2:0",
                                                 "keys:0", "misc:0", "reports:0"}));
}

TEST(C4410Doc, NewDocumentHasTheDefaultsIsRefreshedAndNotModified) {
  DocWithEditors d;
  std::vector<bool> changes;
  d.doc.setModifiedObserver([&](bool m) { changes.push_back(m); });
  d.doc.makeNew();
  EXPECT_EQ(d.journal, kRefresh);
  EXPECT_FALSE(d.doc.isModified());
  EXPECT_TRUE(changes.empty());
  EXPECT_EQ(d.doc.image().at(4), 1);
  EXPECT_EQ(d.doc.image().at(62596 + 148), 5);

  d.doc.setModified(true);
  d.doc.setModified(true);
  d.doc.setModified(false);
  EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}

TEST(C4410Doc, SaveCollectsThenWritesAndClearsTheFlag) {
  TempDir dir;
  DocWithEditors d;
  d.doc.makeNew();
  d.doc.image().at(62000) = 0x5A;
  d.doc.setModified(true);
  d.journal.clear();
  ScriptedPrompter prompter;
  ASSERT_TRUE(d.doc.save(dir.file("a.vld"), prompter));
  EXPECT_EQ(d.journal, kCollect);
  EXPECT_FALSE(d.doc.isModified());
  EXPECT_TRUE(prompter.messages.empty());
  const auto bytes = test::readBytes(dir.file("a.vld"));
  ASSERT_EQ(bytes.size(), 66512u);
  EXPECT_EQ(bytes[65538 + 62000 - 61888], 0x5A);
  EXPECT_EQ(d.doc.path(), dir.file("a.vld"));
}

TEST(C4410Doc, OpenRefreshesTheEditorsWithTheFileContents) {
  TempDir dir;
  C4410Doc source;
  source.makeNew();
  for (std::size_t i = 0; i < image::kSize; i += 97) source.image().at(i) = static_cast<std::uint8_t>(i);
  ScriptedPrompter prompter;
  ASSERT_TRUE(source.save(dir.file("b.vld"), prompter));

  DocWithEditors d;
  d.doc.setModified(true);
  ASSERT_TRUE(d.doc.open(dir.file("b.vld"), prompter));
  EXPECT_TRUE(d.doc.image() == source.image());
  EXPECT_EQ(d.journal, kRefresh);
  EXPECT_FALSE(d.doc.isModified());
  EXPECT_TRUE(prompter.messages.empty());
}

TEST(C4410Doc, OpenAndSaveCarryEveryByteUpToTheLastOfTheEePart) {
  TempDir dir;
  std::vector<std::uint8_t> file(66512);
  for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(i % 251 + 1);
  file[0] = 0x69;
  file[1] = 0x00;
  std::fill(file.begin() + 61890, file.begin() + 65538, 0);  // SEE-Data the image does not hold
  test::writeBytes(dir.file("full.vld"), file);
  C4410Doc doc;
  ScriptedPrompter prompter;
  ASSERT_TRUE(doc.open(dir.file("full.vld"), prompter));
  EXPECT_EQ(doc.image().at(0), file[2]);
  EXPECT_EQ(doc.image().at(61887), file[61889]);
  EXPECT_EQ(doc.image().at(61888), file[65538]);
  EXPECT_EQ(doc.image().at(62861), file[66511]);  // EE-Data 973, the file's last byte
  ASSERT_TRUE(doc.save(dir.file("again.vld"), prompter));
  EXPECT_EQ(test::readBytes(dir.file("again.vld")), file);
}

struct VersionCase {
  std::uint8_t lo, hi;
  const char* message;
  MessageIcon icon;
};

TEST(C4410Doc, OpenShowsTheVersionMessages) {
  TempDir dir;
  for (const VersionCase c :
       {VersionCase{0x68, 0x00, "The old version detected... File will be saved in new format",
                    MessageIcon::Information},
        VersionCase{0x6A, 0x00, "The new version detected. Update Application", MessageIcon::Error},
        VersionCase{0xFF, 0xFF, "The new version detected. Update Application", MessageIcon::Error},
        VersionCase{0x67, 0x00, "The old version detected. File format not supported", MessageIcon::Error},
        VersionCase{0x00, 0x00, "The old version detected. File format not supported", MessageIcon::Error}}) {
    std::vector<std::uint8_t> file(66512, 0x11);
    file[0] = c.lo;
    file[1] = c.hi;
    test::writeBytes(dir.file("v.vld"), file);
    DocWithEditors d;
    ScriptedPrompter prompter;
    ASSERT_TRUE(d.doc.open(dir.file("v.vld"), prompter));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], (test::RecordedMessage{c.message, c.icon, MessageButtons::Ok}));
    EXPECT_EQ(d.journal, kRefresh);
    EXPECT_FALSE(d.doc.isModified());
    // A converted file keeps its name; fallback contents are not the file's.
    const bool converted = c.lo == 0x68 && c.hi == 0x00;
    EXPECT_EQ(d.doc.path(), converted ? dir.file("v.vld") : "");
    EXPECT_EQ(d.doc.hasFallbackContents(), !converted);
  }
}

TEST(C4410Doc, FallbackContentsNeverGoOverTheFileTheyCameFrom) {
  TempDir dir;
  std::vector<std::uint8_t> newer(66512, 0x11);
  newer[0] = 0x6A;
  newer[1] = 0x00;
  test::writeBytes(dir.file("newer.vld"), newer);
  C4410Doc doc;
  ScriptedPrompter prompter;
  ASSERT_TRUE(doc.open(dir.file("newer.vld"), prompter));
  EXPECT_EQ(doc.path(), "");
  EXPECT_TRUE(doc.hasFallbackContents());

  // Saved under a name of its own, the document becomes that file's.
  ASSERT_TRUE(doc.save(dir.file("mine.vld"), prompter));
  EXPECT_EQ(doc.path(), dir.file("mine.vld"));
  EXPECT_FALSE(doc.hasFallbackContents());
  EXPECT_EQ(test::readBytes(dir.file("newer.vld")), newer);

  // A new document or a readable file clears the mark.
  ASSERT_TRUE(doc.open(dir.file("newer.vld"), prompter));
  doc.makeNew();
  EXPECT_FALSE(doc.hasFallbackContents());
  ASSERT_TRUE(doc.open(dir.file("newer.vld"), prompter));
  ASSERT_TRUE(doc.open(dir.file("mine.vld"), prompter));
  EXPECT_FALSE(doc.hasFallbackContents());
  EXPECT_EQ(doc.path(), dir.file("mine.vld"));

  // A file that does not open leaves the document as it was, mark included.
  ASSERT_TRUE(doc.open(dir.file("newer.vld"), prompter));
  EXPECT_FALSE(doc.open(dir.file("missing.vld"), prompter));
  EXPECT_TRUE(doc.hasFallbackContents());
  EXPECT_EQ(doc.path(), "");
}

TEST(C4410Doc, AVersion104FileIsConvertedInPlace) {
  TempDir dir;
  std::vector<std::uint8_t> old(66512, 0);
  old[0] = 0x68;
  old[2 + 3] = 0x42;  // SMS record 0, byte 3
  test::writeBytes(dir.file("old.vld"), old);
  C4410Doc doc;
  ScriptedPrompter prompter;
  ASSERT_TRUE(doc.open(dir.file("old.vld"), prompter));
  ASSERT_EQ(doc.path(), dir.file("old.vld"));
  ASSERT_TRUE(doc.save(doc.path(), prompter));
  const auto saved = test::readBytes(dir.file("old.vld"));
  ASSERT_EQ(saved.size(), 66512u);
  EXPECT_EQ(saved[0], 0x69);
  EXPECT_EQ(saved[2 + 3], 0x42);
}

TEST(C4410Doc, FailedOpenLeavesTheDocumentAlone) {
  TempDir dir;
  for (const std::vector<std::uint8_t>& content : {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{0x69}}) {
    test::writeBytes(dir.file("short.vld"), content);
    DocWithEditors d;
    d.doc.makeNew();
    d.doc.image().at(10) = 0x99;
    d.doc.setModified(true);
    d.journal.clear();
    const ConfigImage before = d.doc.image();
    ScriptedPrompter prompter;
    EXPECT_FALSE(d.doc.open(dir.file("short.vld"), prompter));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Unexpected file format."});
    EXPECT_TRUE(d.doc.image() == before);
    EXPECT_TRUE(d.doc.isModified());
    EXPECT_TRUE(d.journal.empty());
  }

  C4410Doc doc;
  ScriptedPrompter prompter;
  EXPECT_FALSE(doc.open(dir.file("missing.vld"), prompter));
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Failed to open document."});
  EXPECT_FALSE(prompter.notes.empty());  // the system's reason
  EXPECT_FALSE(doc.open(dir.path(), prompter));  // a folder
}

void expectSaveFailsAndKeepsTheOldFile(const TempDir& dir, const std::string& target, const std::string& reason) {
  const std::vector<std::uint8_t> old = {1, 2, 3, 4, 5};
  C4410Doc doc;
  doc.makeNew();
  doc.setModified(true);
  ScriptedPrompter prompter;
  EXPECT_FALSE(doc.save(target, prompter));
  EXPECT_EQ(prompter.messages,
            (std::vector<test::RecordedMessage>{{"Failed to save document.", MessageIcon::Error, MessageButtons::Ok}}));
  EXPECT_EQ(prompter.notes, std::vector<std::string>{reason});
  EXPECT_TRUE(doc.isModified());
  EXPECT_EQ(test::readBytes(target), old);
  // No temporary file is left behind.
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1u);
}

TEST(C4410DocSave, AFileSizeLimitFailsTheSaveAndLeavesTheOldFileIntact) {
  TempDir dir;
  const std::string target = dir.file("old.vld");
  test::writeBytes(target, {1, 2, 3, 4, 5});
  // In a child that keeps the default action of SIGXFSZ, which ends the
  // process: the save must fail, not end the program.
  const auto child = test::runInChild([&] {
    std::signal(SIGXFSZ, SIG_DFL);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    C4410Doc doc;
    doc.makeNew();
    ScriptedPrompter prompter;
    if (doc.save(target, prompter)) return 1;
    if (prompter.texts() != std::vector<std::string>{"Failed to save document."}) return 2;
    if (prompter.notes.size() != 1 || prompter.notes[0].find("File too large") == std::string::npos) return 3;
    return 0;
  });
  EXPECT_EQ(child.signal, 0) << "ended by signal " << child.signal;
  EXPECT_EQ(child.exitStatus, 0);
  EXPECT_EQ(test::readBytes(target), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1u) << "no temporary file is left";
}

TEST(C4410DocSave, AReadOnlyFileIsRefusedWithTheSystemsReason) {
  TempDir dir;
  const std::string target = dir.file("old.vld");
  test::writeBytes(target, {1, 2, 3, 4, 5});
  ::chmod(target.c_str(), 0444);  // refused by its mode, for root too
  expectSaveFailsAndKeepsTheOldFile(dir, target, "cannot write " + target + ": Permission denied");
}

TEST(C4410DocOpen, AFifoIsRefusedAtOnce) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("fifo.vld").c_str(), 0644), 0);
  const auto child = test::runInChild([&] {
    C4410Doc doc;
    ScriptedPrompter prompter;
    if (doc.open(dir.file("fifo.vld"), prompter)) return 1;
    if (prompter.texts() != std::vector<std::string>{"Failed to open document."}) return 2;
    return prompter.notes == std::vector<std::string>{"cannot read " + dir.file("fifo.vld") + ": not a regular file"}
               ? 0
               : 3;
  });
  EXPECT_FALSE(child.timedOut) << "the open waited for a writer";
  EXPECT_EQ(child.exitStatus, 0);
}

TEST(C4410DocSave, AReadOnlyFolderLeavesTheOldFileIntact) {
  TempDir dir;
  const std::string target = dir.file("old.vld");
  test::writeBytes(target, {1, 2, 3, 4, 5});
  ::chmod(dir.path().c_str(), 0555);
  if (::access(dir.path().c_str(), W_OK) == 0) {
    ::chmod(dir.path().c_str(), 0755);
    GTEST_SKIP() << "this user can write into read-only folders (root)";
  }
  expectSaveFailsAndKeepsTheOldFile(dir, target, "cannot create a file in " + dir.path() + ": Permission denied");
  ::chmod(dir.path().c_str(), 0755);
}

TEST(C4410DocSave, ReplacesTheOldFileKeepingItsPermissionsAndLinks) {
  TempDir dir;
  const std::string target = dir.file("kept.vld");
  test::writeBytes(target, {9, 9, 9});
  ::chmod(target.c_str(), 0640);
  std::filesystem::create_symlink(target, dir.file("link.vld"));
  C4410Doc doc;
  doc.makeNew();
  ScriptedPrompter prompter;
  ASSERT_TRUE(doc.save(dir.file("link.vld"), prompter));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.vld")));
  EXPECT_EQ(test::readBytes(target).size(), 66512u);
  struct stat st {};
  ::stat(target.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  EXPECT_FALSE(doc.save(dir.file("no/such/folder/x.vld"), prompter));
}

}  // namespace
}  // namespace wk
