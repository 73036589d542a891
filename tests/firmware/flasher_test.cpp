// "Flash it!" against a scripted bootloader: the bytes on the wire, the
// filler, the checksums and the 'B' rule, and every way the update can fail:
// the progress window always comes down, the port is always closed, and
// nothing that failed is called a success.
#include <gtest/gtest.h>

#include "firmware/code_file.h"
#include "firmware/flasher.h"
#include "firmware_rig.h"
#include "link/device_operation.h"

namespace wk::firmware {
namespace {

using std::chrono::milliseconds;
using test::hex;
using test::hexOf;
using test::RecordedMessage;
using test::Rig;

const std::string kSuccess = "Data was sent successfully!";
const std::string kNoAnswer = "Device do not answer, check cables";

std::vector<std::uint8_t> headerOf(const std::vector<std::uint8_t>& file) { return {file.begin(), file.begin() + 128}; }

std::vector<std::uint8_t> codeOf(const std::vector<std::uint8_t>& file) {
  std::vector<std::uint8_t> code(file.begin() + 128, file.end());
  code.resize(32256);
  return code;
}

// The bytes of block k as they went out, checksum included.
std::vector<std::uint8_t> sentBlock(const test::ScriptedPeer& peer, int k) {
  // open, discard, write U, read, write W, read, write header, then a write and a read per block.
  const std::string& event = peer.events.at(7 + 2 * static_cast<std::size_t>(k));
  EXPECT_EQ(event.rfind("write ", 0), 0u) << event;
  return hex(event.substr(6, event.rfind(' ') - 6));
}

TEST(Flash, AFileOfExactlyTheBlocksIsSentWholeWithoutFiller) {
  Rig rig;
  const auto file = test::sampleFile(32256);
  test::expectUpdate(rig.peer, headerOf(file), codeOf(file));
  EXPECT_EQ(FlashFirmware(rig.link(), rig.codeFile(file), rig.filler), Outcome::Completed);
  EXPECT_TRUE(rig.peer.done());

  auto progress = test::wholeUpdateProgress();
  progress.push_back("message " + kSuccess + " (port open)");
  progress.push_back("close");
  EXPECT_EQ(rig.log, progress);
  EXPECT_EQ(rig.prompter.messages,
            (std::vector<RecordedMessage>{{kSuccess, MessageIcon::Information, MessageButtons::Ok}}));
  // The port is flushed, then closed.
  const auto& e = rig.peer.events;
  ASSERT_GE(e.size(), 2u);
  EXPECT_EQ(e[e.size() - 2], "drain");
  EXPECT_EQ(e.back(), "close");
  EXPECT_EQ(e.front(), "open /dev/ttyS0 460800");
  // Two seconds for the port, 10 ms after "U".
  EXPECT_EQ(rig.clock.sleeps, (std::vector<milliseconds>{milliseconds(2000), milliseconds(10)}));
  EXPECT_EQ(e[2], "write 55 1000ms");
  EXPECT_EQ(e[3], "read 1 1002ms");

  // Code i is i * 7 + 3: block 0 sums to 7 * 8128 + 3 * 128 = 0xDFC0.
  EXPECT_EQ(sentBlock(rig.peer, 0).back(), 0xC0);
  EXPECT_EQ(sentBlock(rig.peer, 251).size(), 129u);
  // The whole filler was still taken.
  EXPECT_EQ(rig.filler.next(), 0x6E);
}

TEST(Flash, AShortFileIsPaddedWithTheFillerFromWhereItEnds) {
  Rig rig;
  const auto file = test::sampleFile(1000);
  std::vector<std::uint8_t> code(file.begin() + 128, file.end());
  const auto filler = test::referenceFiller(1000, 32256 - 1000);
  code.insert(code.end(), filler.begin(), filler.end());
  test::expectUpdate(rig.peer, headerOf(file), code);
  EXPECT_EQ(FlashFirmware(rig.link(), rig.codeFile(file), rig.filler), Outcome::Completed);
  EXPECT_TRUE(rig.peer.done());
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{kSuccess}));

  // Block 7: file code 896..999, then the filler values 1000..1023, then its checksum.
  const auto block7 = sentBlock(rig.peer, 7);
  EXPECT_EQ(hexOf({block7.begin() + 100, block7.end()}),
            "3F 46 4D 54 2B F8 37 B8 ED D5 7A A0 5C 4E FA 9F 21 FC 3C 36 85 8E 81 B0 7D BF EE B1 8B");
  EXPECT_EQ(sentBlock(rig.peer, 0).back(), 0xC0);
  EXPECT_EQ(sentBlock(rig.peer, 8).back(), 0xF1);
}

TEST(Flash, TheFillerCarriesOnIntoTheNextUpdate) {
  Rig rig;
  const auto file = test::sampleFile(0);  // a header alone: every block is filler
  test::expectUpdate(rig.peer, headerOf(file), test::referenceFiller(0, 32256));
  const std::string path = rig.codeFile(file);
  ASSERT_EQ(FlashFirmware(rig.link(), path, rig.filler), Outcome::Completed);
  EXPECT_EQ(hexOf(sentBlock(rig.peer, 0)).substr(0, 23), "29 23 BE 84 E1 6C D6 AE");
  EXPECT_EQ(sentBlock(rig.peer, 0).back(), 0x35);

  // The second update goes on with the 32769th value: nothing starts over.
  rig.peer.events.clear();
  test::expectUpdate(rig.peer, headerOf(file), test::referenceFiller(32768, 32256));
  ASSERT_EQ(FlashFirmware(rig.link(), path, rig.filler), Outcome::Completed);
  EXPECT_TRUE(rig.peer.done());
  EXPECT_EQ(hexOf(sentBlock(rig.peer, 0)).substr(0, 23), "6E 56 27 4A 8E 66 E6 7C");
  EXPECT_EQ(sentBlock(rig.peer, 0).back(), 0xF6);
}

TEST(Flash, TheProgramsFillerIsTheDefault) {
  CodeFiller::program().resetForTests();
  Rig rig;
  const auto file = test::sampleFile(0);
  test::expectUpdate(rig.peer, headerOf(file), test::referenceFiller(0, 32256));
  EXPECT_EQ(FlashFirmware(rig.link(), rig.codeFile(file)), Outcome::Completed);
  EXPECT_TRUE(rig.peer.done());
  EXPECT_EQ(CodeFiller::program().next(), 0x6E);
  CodeFiller::program().resetForTests();
}

// A file whose block 0 is all 1 (checksum 0x80) and block 3 sums to 0x42.
std::vector<std::uint8_t> fileWithChecksumB() {
  auto file = test::sampleFile(32256);
  std::fill(file.begin() + 128, file.end(), 0x01);
  std::fill(file.begin() + 128 + 3 * 128, file.begin() + 128 + 4 * 128, 0x00);
  file[128 + 3 * 128] = 0x42;
  return file;
}

// The script of an update whose block k is answered with reply (none: silent).
void expectUpTo(test::ScriptedPeer& peer, const std::vector<std::uint8_t>& file, int k,
                std::vector<std::uint8_t> reply) {
  test::expectUpdate(peer, headerOf(file), codeOf(file), k);
  std::vector<std::uint8_t> block(file.begin() + 128 + k * 128, file.begin() + 128 + (k + 1) * 128);
  block.push_back(test::sumOf(block.data(), 128));
  peer.expect(block, std::move(reply));
}

TEST(Flash, ABadBlockStopsTheUpdate) {
  Rig rig;
  const auto file = fileWithChecksumB();
  expectUpTo(rig.peer, file, 5, hex("42"));
  EXPECT_EQ(FlashFirmware(rig.link(), rig.codeFile(file), rig.filler), Outcome::Failed);
  EXPECT_TRUE(rig.peer.done()) << "nothing after block 5";
  EXPECT_EQ(rig.prompter.messages,
            (std::vector<RecordedMessage>{{"Record faled on 5 block", MessageIcon::None, MessageButtons::Ok}}));
  // The port closed and the window down before the message.
  EXPECT_EQ(std::vector<std::string>(rig.log.end() - 3, rig.log.end()),
            (std::vector<std::string>{"pos 5", "close", "message Record faled on 5 block"}));
  EXPECT_EQ(rig.peer.events.back(), "close");
  EXPECT_EQ(std::count(rig.peer.events.begin(), rig.peer.events.end(), "drain"), 0);
}

TEST(Flash, BlockZeroAndTheLastBlockCanFailToo) {
  for (const int k : {0, 251}) {
    Rig rig;
    const auto file = fileWithChecksumB();
    expectUpTo(rig.peer, file, k, hex("42"));
    EXPECT_EQ(FlashFirmware(rig.link(), rig.codeFile(file), rig.filler), Outcome::Failed);
    EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"Record faled on " + std::to_string(k) + " block"}));
  }
}

TEST(Flash, ABlockWhoseChecksumIsBTakesBAsItsEcho) {
  Rig rig;
  const auto file = fileWithChecksumB();
  expectUpTo(rig.peer, file, 3, hex("42"));  // checksum 0x42, answered 0x42
  const auto code = codeOf(file);
  for (int k = 4; k < 252; ++k) {
    std::vector<std::uint8_t> block(code.begin() + k * 128, code.begin() + (k + 1) * 128);
    block.push_back(0x80);
    rig.peer.expect(block, hex("80"));
  }
  EXPECT_EQ(FlashFirmware(rig.link(), rig.codeFile(file), rig.filler), Outcome::Completed);
  EXPECT_TRUE(rig.peer.done());
  EXPECT_EQ(sentBlock(rig.peer, 3).back(), 0x42);
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{kSuccess}));
}

TEST(Flash, RepliesOtherThanBLetTheUpdateGoOn) {
  Rig rig;
  const auto file = fileWithChecksumB();
  const auto code = codeOf(file);
  rig.peer.expect("55", "55").expect("57", "57").expect(headerOf(file), {});
  // Whatever the bootloader says, unless it is 'B' for a block not summing to 'B'.
  const std::vector<std::uint8_t> replies = hex("00 FF 41 43 62 55 57 80");
  for (int k = 0; k < 252; ++k) {
    std::vector<std::uint8_t> block(code.begin() + k * 128, code.begin() + (k + 1) * 128);
    block.push_back(test::sumOf(block.data(), 128));
    rig.peer.expect(block, {replies[static_cast<std::size_t>(k) % replies.size()]});
  }
  EXPECT_EQ(FlashFirmware(rig.link(), rig.codeFile(file), rig.filler), Outcome::Completed);
  EXPECT_TRUE(rig.peer.done());
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{kSuccess}));
}

TEST(Flash, ASilentBlockStopsThereAndIsNeverASuccess) {
  for (const int k : {0, 7, 251}) {
    Rig rig;
    const auto file = fileWithChecksumB();
    expectUpTo(rig.peer, file, k, {});
    EXPECT_EQ(FlashFirmware(rig.link(), rig.codeFile(file), rig.filler), Outcome::Failed);
    EXPECT_TRUE(rig.peer.done()) << "nothing is sent after the silent block " << k;
    EXPECT_EQ(rig.prompter.messages,
              (std::vector<RecordedMessage>{{kNoAnswer, MessageIcon::Error, MessageButtons::Ok}}));
    EXPECT_EQ(std::vector<std::string>(rig.log.end() - 3, rig.log.end()),
              (std::vector<std::string>{"pos " + std::to_string(k), "close", "message " + kNoAnswer}));
    EXPECT_EQ(rig.prompter.notes.back(), "No answer to block " + std::to_string(k));
    EXPECT_EQ(rig.peer.events.back(), "close");
  }
}

TEST(Flash, NoEchoOfUSendsNothingMoreAndShowsNoProgress) {
  for (const char* reply : {"", "00", "57"}) {
    Rig rig;
    rig.peer.expect("55", reply);
    EXPECT_EQ(FlashFirmware(rig.link(), rig.codeFile(test::sampleFile(10)), rig.filler), Outcome::Failed);
    EXPECT_TRUE(rig.peer.done());
    EXPECT_EQ(rig.prompter.messages,
              (std::vector<RecordedMessage>{{kNoAnswer, MessageIcon::Error, MessageButtons::Ok}}));
    EXPECT_EQ(rig.log, (std::vector<std::string>{"message " + kNoAnswer}));
    EXPECT_EQ(rig.progressWindows, 0);
    EXPECT_EQ(rig.peer.events.back(), "close");
    EXPECT_EQ(rig.filler.next(), 0x29) << "no filler taken for an update that never started";
  }
}

TEST(Flash, NoEchoOfWTakesTheProgressWindowDown) {
  for (const char* reply : {"", "55"}) {
    Rig rig;
    rig.peer.expect("55", "55").expect("57", reply);
    EXPECT_EQ(FlashFirmware(rig.link(), rig.codeFile(test::sampleFile(10)), rig.filler), Outcome::Failed);
    EXPECT_TRUE(rig.peer.done()) << "the header is not sent";
    EXPECT_EQ(rig.log, (std::vector<std::string>{"caption Update in progress...", "status Write to flash",
                                                 "range 252", "close", "message " + kNoAnswer}));
    EXPECT_EQ(rig.peer.events.back(), "close");
  }
}

TEST(Flash, AFileThatCannotBeReadStopsBeforeThePortOpens) {
  Rig rig;
  for (const std::string& path : {rig.dir.file("missing.cod"), rig.dir.path(), std::string("no name")}) {
    rig.prompter.messages.clear();
    EXPECT_EQ(FlashFirmware(rig.link(), path, rig.filler), Outcome::BadFile);
    EXPECT_EQ(rig.prompter.messages,
              (std::vector<RecordedMessage>{{"Unable to open file", MessageIcon::Error, MessageButtons::Ok}}));
    EXPECT_FALSE(rig.prompter.notes.back().empty()) << "the system's reason";
  }
  EXPECT_TRUE(rig.peer.events.empty()) << "the port was never opened, nothing sent";
  EXPECT_TRUE(rig.clock.sleeps.empty());
  EXPECT_EQ(rig.progressWindows, 0);
  EXPECT_EQ(rig.filler.next(), 0x29);
}

TEST(Flash, AFileShorterThanTheHeaderIsRefusedBeforeThePortOpens) {
  for (const std::size_t size : {0, 1, 127}) {
    Rig rig;
    auto file = test::sampleFile(0);
    file.resize(size);
    const std::string path = rig.codeFile(file, "short.cod");
    EXPECT_EQ(FlashFirmware(rig.link(), path, rig.filler), Outcome::BadFile);
    ASSERT_EQ(rig.prompter.messages.size(), 1u);
    EXPECT_EQ(rig.prompter.messages[0].text,
              "This is no code file: it is shorter than the 128-byte header.\n" + path);
    EXPECT_EQ(rig.prompter.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(rig.peer.events.empty());
    EXPECT_EQ(rig.progressWindows, 0);
  }
}

TEST(Flash, APortThatDoesNotOpenStopsQuietlyAfterItsMessage) {
  Rig rig;
  rig.peer.openResult = {link::OpenStatus::Kind::Busy, "busy"};
  EXPECT_EQ(FlashFirmware(rig.link(), rig.codeFile(test::sampleFile(10)), rig.filler), Outcome::Failed);
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"Port busy or not exist!"}));
  EXPECT_EQ(rig.progressWindows, 0);
  EXPECT_EQ(rig.filler.next(), 0x29);
}

TEST(Flash, NothingHappensWhileAnotherOperationRuns) {
  Rig rig;
  link::DeviceOperation other;
  ASSERT_TRUE(other.acquired());
  EXPECT_EQ(FlashFirmware(rig.link(), rig.codeFile(test::sampleFile(10)), rig.filler), Outcome::Busy);
  EXPECT_TRUE(rig.peer.events.empty());
  EXPECT_TRUE(rig.prompter.messages.empty());
}

}  // namespace
}  // namespace wk::firmware
