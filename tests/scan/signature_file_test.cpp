// The signature file's parsing: every form of line, and a file refused whole with each bad line's
// number and reason.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "scan/signature_file.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kHex = "00112233445566778899aabbccddeeff00112233445566778899AABBCCDDEEFF";
const std::string kLowerHex = "00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff";

AddedSignatures Parsed(const std::string& bytes) {
  auto parsed = ParseSignatureFile(bytes);
  if (auto* errors = std::get_if<std::vector<SignatureFileError>>(&parsed)) {
    ADD_FAILURE() << "refused, first at line " << errors->front().line;
    return {};
  }
  return std::get<AddedSignatures>(parsed);
}

// Each error as "line: reason".
std::vector<std::wstring> Errors(const std::string& bytes) {
  auto parsed = ParseSignatureFile(bytes);
  std::vector<std::wstring> errors;
  if (auto* found = std::get_if<std::vector<SignatureFileError>>(&parsed)) {
    for (const SignatureFileError& error : *found) {
      errors.push_back(std::to_wstring(error.line) + L": " + error.reason);
    }
  }
  return errors;
}

TEST(SignatureFile, ReadsEveryFormWithOrWithoutMarkInCrLfOrLf) {
  const std::string body =
      "# remote-control tools seen this year\n"
      "\n"
      "window\tRemote Viewer 9\tRVMainWnd\tRemote Viewer\n"
      "window\tSilent Helper\t\tHelper \xE2\x80\x93 online\n"  // an en dash, in UTF-8
      "sha256\tDropper\t" +
      kHex +
      "\n"
      "   \t \n" +
      kHex.substr(0, 63) + "1:123456:Trojan:Win32/Agent\n" + kHex.substr(0, 63) + "2:*:Any Size\n";
  for (const std::string& mark : {std::string(), std::string("\xEF\xBB\xBF")}) {
    for (const std::string& end : {std::string("\n"), std::string("\r\n")}) {
      std::string text = mark + "Quellspur signatures 1\n" + body;
      for (std::size_t at = text.find('\n'); at != std::string::npos;
           at = text.find('\n', at + end.size())) {
        text.replace(at, 1, end);
      }
      const AddedSignatures added = Parsed(text);
      ASSERT_EQ(added.windows.size(), 2u);
      EXPECT_EQ(added.windows[0].signature.backdoorName, L"Remote Viewer 9");
      EXPECT_EQ(added.windows[0].signature.windowClass, L"RVMainWnd");
      EXPECT_EQ(added.windows[0].line, 4u);
      EXPECT_EQ(added.windows[1].signature.windowClass, L"");
      EXPECT_EQ(added.windows[1].signature.windowCaption, L"Helper \u2013 online");
      ASSERT_EQ(added.hashes.size(), 3u);
      EXPECT_EQ(added.hashes[0].sha256, kLowerHex);
      EXPECT_EQ(added.hashes[0].size, std::nullopt);
      EXPECT_EQ(added.hashes[1].backdoorName, L"Trojan:Win32/Agent");
      EXPECT_EQ(added.hashes[1].size, 123456u);
      EXPECT_EQ(added.hashes[1].line, 8u);
      EXPECT_EQ(added.hashes[2].size, std::nullopt);
    }
  }
  EXPECT_TRUE(Parsed("Quellspur signatures 1").hashes.empty());
}

TEST(SignatureFile, RefusesTheWholeFileNamingEachBadLine) {
  const std::string good = "sha256\tGood\t" + kHex + "\n";
  EXPECT_THAT(
      Errors("Quellspur signatures 1\n" + good +
             "window\tNo Place\t\t\n"
             "window\tThree Fields\tClass\n"
             "sha256\tShort\t" +
             kHex.substr(1) + "\n" + "sha256\t\t" + kHex.substr(0, 63) + "9\n" + "sha256\t" +
             std::string(101, 'n') + "\t" + kHex.substr(0, 63) + "8\n" + kHex.substr(0, 63) +
             "7:12x:Bad Size\n" + kHex.substr(0, 63) + "6:99999999999999999999:Too Large\n" +
             "just a note\n"
             "window\tBad \x01 Name\tC\tx\n"
             "window\tBad\xFF\tC\tx\n"),
      ElementsAre(L"3: a window signature needs a class or a caption",
                  HasSubstr(L"4: a window signature has four fields"),
                  L"5: a SHA-256 is 64 hex digits", L"6: the name is empty",
                  L"7: the name is longer than 100 characters", L"8: the size is a byte count or *",
                  L"9: the size is a byte count or *", HasSubstr(L"10: not a signature"),
                  L"11: the name holds a control character", L"12: the line is not UTF-8"));
  // A hundred characters is the most, counted as characters however UTF-16 holds them.
  std::string hundred;
  for (int i = 0; i < 100; ++i) {
    hundred += "\xF0\x9F\x98\x80";  // one character beyond U+FFFF
  }
  EXPECT_TRUE(Errors("Quellspur signatures 1\nsha256\t" + hundred + "\t" + kHex).empty());

  EXPECT_THAT(Errors(""), ElementsAre(L"1: the first line must be \"Quellspur signatures 1\""));
  EXPECT_THAT(Errors("Quellspur signatures 2\n" + good), ElementsAre(HasSubstr(L"1: ")));
  EXPECT_THAT(Errors(good + "window\tNo Place\t\t\n"),
              ElementsAre(HasSubstr(L"1: the first line"), HasSubstr(L"2: a window signature")));
}

TEST(SignatureFile, ARepeatedSignatureIsAnErrorEvenOfABuiltInOne) {
  EXPECT_THAT(Errors("Quellspur signatures 1\n"
                     "window\tMy NetBus\ttapplication\tNetBus Server\n"
                     "window\tOne\tClassA\tCaption\n"
                     "window\tTwo\tCLASSA\tCaption\n"
                     "window\tThree\tClassA\tcaption\n"
                     "sha256\tFirst\t" +
                     kLowerHex + "\n" + kHex + ":10:Second\n"),
              ElementsAre(L"2: it repeats a built-in window signature",
                          L"4: it repeats the window signature of line 3",
                          L"7: it repeats the SHA-256 of line 6"));
  EXPECT_EQ(SignatureErrorText(L"C:\\Q\\Signatures.txt", {7, L"why"}),
            L"C:\\Q\\Signatures.txt, line 7: why");
  EXPECT_EQ(SignatureErrorText(L"S.txt", {0, L"why"}), L"S.txt: why");
}

}  // namespace
}  // namespace quellspur::testing
