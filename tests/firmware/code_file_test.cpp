// The .cod reader, the filler and the block checksum.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "firmware/code_file.h"
#include "firmware/code_filler.h"
#include "firmware_rig.h"

namespace wk::firmware {
namespace {

using wk::test::hex;
using wk::test::hexOf;

std::vector<std::uint8_t> take(CodeFiller& filler, std::size_t n) {
  std::vector<std::uint8_t> out(n);
  filler.fill(out);
  return out;
}

TEST(CodeFiller, StartsAtStateOneWithTheDocumentedSequence) {
  // By hand: 1 * 214013 + 2531011 = 2745024 = 0x0029E2C0; bits 16..30 = 0x29.
  // 0x0029E2C0 * 214013 + 2531011 = 0x...C823F683; bits 16..30 = 0x4823 -> 0x23.
  // 0xC823F683 * 214013 + 2531011 = 0x...18BE873A; bits 16..30 = 0x18BE -> 0xBE.
  // 0x18BE873A * 214013 + 2531011 = 0x...E7847115; bits 16..30 = 0x6784 -> 0x84.
  // The values themselves are 41, 18467, 6334, 26500, 19169, 15724, 11478,
  // 29358, 26962, 24464, 5705, 28145, 23281, 16827, 9961, 491.
  CodeFiller filler;
  EXPECT_EQ(hexOf(take(filler, 16)), "29 23 BE 84 E1 6C D6 AE 52 90 49 F1 F1 BB E9 EB");
  // The test's own reference generator agrees, so it may stand for the long runs.
  EXPECT_EQ(hexOf(test::referenceFiller(0, 16)), "29 23 BE 84 E1 6C D6 AE 52 90 49 F1 F1 BB E9 EB");

  CodeFiller second;
  EXPECT_EQ(second.next(), 0x29);
  EXPECT_EQ(second.state(), 0x0029E2C0u);
}

TEST(CodeFiller, TheProgramsGeneratorCarriesOnUntilResetForTests) {
  CodeFiller& program = CodeFiller::program();
  program.resetForTests();
  EXPECT_EQ(&program, &CodeFiller::program());
  EXPECT_EQ(hexOf(take(program, 4)), "29 23 BE 84");
  EXPECT_EQ(hexOf(take(CodeFiller::program(), 4)), "E1 6C D6 AE");
  program.resetForTests();
  EXPECT_EQ(program.next(), 0x29);
  program.resetForTests();
}

TEST(CodeFile, HeaderThenCodeAtMostTheCodeBuffer) {
  const auto bytes = test::sampleFile(1000);
  const auto file = parseCodeFile(bytes);
  ASSERT_TRUE(file);
  EXPECT_EQ(hexOf({file->header.begin(), file->header.begin() + 4}), "A0 A1 A2 A3");
  EXPECT_EQ(file->header[127], 0x1F);  // 0xA0 + 127, wrapped
  ASSERT_EQ(file->code.size(), 1000u);
  EXPECT_EQ(hexOf({file->code.begin(), file->code.begin() + 4}), "03 0A 11 18");

  // Exactly a header: no code, all filler.
  const auto headerOnly = parseCodeFile(test::sampleFile(0));
  ASSERT_TRUE(headerOnly);
  EXPECT_TRUE(headerOnly->code.empty());

  // More than the code buffer holds: the rest is not read.
  const auto big = parseCodeFile(test::sampleFile(40000));
  ASSERT_TRUE(big);
  EXPECT_EQ(big->code.size(), 32768u);
  EXPECT_EQ(big->code.back(), static_cast<std::uint8_t>(32767 * 7 + 3));
}

TEST(CodeFile, TooShortForTheHeaderIsRefused) {
  EXPECT_FALSE(parseCodeFile({}));
  const auto bytes = test::sampleFile(0);
  EXPECT_FALSE(parseCodeFile(std::span(bytes).first(127)));
  EXPECT_TRUE(parseCodeFile(std::span(bytes).first(128)));
}

TEST(CodeFile, ReadingFromDisk) {
  test::TempDir dir;
  const std::string good = dir.file("good.cod");
  test::writeBytes(good, test::sampleFile(40000));
  const auto read = readCodeFile(good);
  EXPECT_EQ(read.status, CodeFileRead::Status::Read);
  EXPECT_EQ(read.fileSize, 128u + 32768u) << "no more is read than the buffers hold";
  EXPECT_EQ(read.file.code.size(), 32768u);

  const std::string shortFile = dir.file("short.cod");
  test::writeBytes(shortFile, std::vector<std::uint8_t>(100, 0x55));
  EXPECT_EQ(readCodeFile(shortFile).status, CodeFileRead::Status::TooShort);
  EXPECT_EQ(readCodeFile(shortFile).fileSize, 100u);

  const auto missing = readCodeFile(dir.file("missing.cod"));
  EXPECT_EQ(missing.status, CodeFileRead::Status::Unreadable);
  EXPECT_NE(missing.reason.find("No such file"), std::string::npos) << missing.reason;
  EXPECT_EQ(readCodeFile(dir.path()).status, CodeFileRead::Status::Unreadable);
  EXPECT_EQ(readCodeFile("").status, CodeFileRead::Status::Unreadable);
  EXPECT_EQ(readCodeFile("no name").status, CodeFileRead::Status::Unreadable);
  if (::geteuid() != 0) {
    ::chmod(good.c_str(), 0);
    EXPECT_EQ(readCodeFile(good).status, CodeFileRead::Status::Unreadable);
  }
}

TEST(CodeImage, FileCodeOverTheFillerWhichIsAlwaysTakenWhole) {
  CodeFiller filler;
  const auto file = parseCodeFile(test::sampleFile(1000));
  const auto image = codeImage(*file, filler);
  ASSERT_EQ(image.size(), 32768u);
  EXPECT_TRUE(std::equal(file->code.begin(), file->code.end(), image.begin()));
  // Position 1000 holds the 1001st filler value, not the first.
  EXPECT_EQ(hexOf({image.begin() + 1000, image.begin() + 1016}),
            "2B F8 37 B8 ED D5 7A A0 5C 4E FA 9F 21 FC 3C 36");
  // 32768 values were taken: the next image starts with the 32769th.
  const auto next = codeImage(*parseCodeFile(test::sampleFile(0)), filler);
  EXPECT_EQ(hexOf({next.begin(), next.begin() + 16}), "6E 56 27 4A 8E 66 E6 7C E6 D2 82 47 EE C6 CA 49");

  // A file that fills the whole buffer still takes the whole filler.
  CodeFiller full;
  codeImage(*parseCodeFile(test::sampleFile(32768)), full);
  EXPECT_EQ(full.next(), 0x6E);
}

TEST(BlockChecksum, SumModulo256) {
  std::vector<std::uint8_t> rising(128);
  for (std::size_t i = 0; i < 128; ++i) rising[i] = static_cast<std::uint8_t>(i + 1);
  EXPECT_EQ(blockChecksum(rising), 0x40);  // 128 * 129 / 2 = 8256 = 0x2040
  EXPECT_EQ(blockChecksum(std::vector<std::uint8_t>(128, 0xFF)), 0x80);  // 0x7F80
  EXPECT_EQ(blockChecksum(std::vector<std::uint8_t>(128, 0x00)), 0x00);
  EXPECT_EQ(blockChecksum(hex("42")), 0x42);
}

}  // namespace
}  // namespace wk::firmware
