#include "platform/core/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/base/file_io.h"
#include "platform/core/file_paths.h"
#include "platform/core/temp_folder_for_tests.h"

namespace {
const Krv_String kSpecial = L"bolt\u2022M20 \u00BFx\u00BF \u0192 caf\u00E9";

// Makes every rename of an atomic write fail while it lives.
struct FailingRename {
  FailingRename() : mOld(krv::base::setRenameStep([](auto&, auto&) { return false; })) {}
  ~FailingRename() { krv::base::setRenameStep(mOld); }
  krv::base::RenameStep mOld;
};

int entriesIn(const std::filesystem::path& folder) {
  int n = 0;
  for (auto it = std::filesystem::directory_iterator(folder);
       it != std::filesystem::directory_iterator(); ++it)
    ++n;
  return n;
}
}  // namespace

TEST(TextFile, ReadsEveryAcceptedEncodingAndLineEnd) {
  TempFolder dir;
  const std::string utf8 = kSpecial.utf8();
  dir.writeBytes("plain.txt", "one\r\n" + utf8 + "\nthree");
  dir.writeBytes("bom.txt", "\xEF\xBB\xBF" + utf8 + "\r\n");
  // UTF-16 LE and BE with byte order mark, CR LF line ends, and a
  // character outside the basic plane (a surrogate pair).
  const std::u16string u16 = u"bolt\u2022M20 \u00BFx\u00BF \u0192 caf\u00E9\r\n\U0001F600";
  std::string le = "\xFF\xFE", be = "\xFE\xFF";
  for (char16_t c : u16) {
    le += static_cast<char>(c & 0xFF), le += static_cast<char>(c >> 8);
    be += static_cast<char>(c >> 8), be += static_cast<char>(c & 0xFF);
  }
  dir.writeBytes("le.txt", le);
  dir.writeBytes("be.txt", be);
  dir.writeBytes("ansi.txt", "\x95 \xBF \x83\r\n");  // Windows-1252 bullet, inverted ?, florin

  Krv_StringArray lines;
  ASSERT_TRUE(ObjectExportReadFile(dir.text("plain.txt"), lines));
  EXPECT_EQ(lines, (Krv_StringArray{L"one", kSpecial, L"three"}));
  ASSERT_TRUE(ObjectExportReadFile(dir.text("bom.txt"), lines));
  EXPECT_EQ(lines, (Krv_StringArray{kSpecial}));
  for (const char* name : {"le.txt", "be.txt"}) {
    ASSERT_TRUE(ObjectExportReadFile(dir.text(name), lines)) << name;
    EXPECT_EQ(lines, (Krv_StringArray{kSpecial, L"\U0001F600"})) << name;
  }
  ASSERT_TRUE(ObjectExportReadFile(dir.text("ansi.txt"), lines));
  EXPECT_EQ(lines, (Krv_StringArray{L"\u2022 \u00BF \u0192"}));
}

TEST(TextFile, AUtf8FileWithAStrayByteKeepsItsUtf8Characters) {
  TempFolder dir;
  // Valid UTF-8 throughout but for one byte 0xE9 (é in Windows-1252).
  dir.writeBytes("damaged.txt", kSpecial.utf8() + "\nCaf\xE9\n" + kSpecial.utf8() + "\n");
  Krv_StringArray lines;
  ASSERT_TRUE(ObjectExportReadFile(dir.text("damaged.txt"), lines));
  EXPECT_EQ(lines, (Krv_StringArray{kSpecial, L"Caf\u00E9", kSpecial}))
      << "only the byte that is not UTF-8 is read as Windows-1252";
}

TEST(TextFile, TheDecodingSaysWhenAndWhyWindows1252WasUsed) {
  krv::core::TextDecoding how;
  krv::core::decodeText("plain \u2022\n", &how);
  EXPECT_FALSE(how.usedWindows1252());
  EXPECT_EQ(how.note(), "");
  krv::core::decodeText("one\ntwo\n\x95 \xBF \x83\n", &how);
  EXPECT_EQ(how.form, krv::core::TextDecoding::Form::Windows1252);
  EXPECT_EQ(how.note(), "read as Windows-1252: byte 0x95 at line 3 is not valid UTF-8");
  krv::core::decodeText("\u2022\u2022\n\xE9\u0192\xE9\n", &how);
  EXPECT_EQ(how.form, krv::core::TextDecoding::Form::Utf8WithWindows1252)
      << "three valid UTF-8 characters against two stray bytes";
  EXPECT_EQ(how.note(),
            "read as UTF-8 with 2 bytes as Windows-1252: byte 0xE9 at line 2 is not valid UTF-8");
  krv::core::decodeText("\xFF\xFEx\x00", &how);
  EXPECT_EQ(how.form, krv::core::TextDecoding::Form::Utf16LittleEndian);
}

TEST(TextFile, OnlyFilesReadInWindows1252AreTold) {
  TempFolder dir;
  dir.writeBytes("ansi.txt", "caf\xE9\n");
  dir.writeBytes("utf8.txt", "caf\u00E9\n");
  std::vector<std::string> told;
  auto previous = krv::core::setTextDecodingNotice(
      [&](const std::filesystem::path& p, const std::string& note) {
        told.push_back(p.filename().string() + ": " + note);
      });
  Krv_StringArray lines;
  EXPECT_TRUE(ObjectExportReadFile(dir.text("utf8.txt"), lines));
  EXPECT_TRUE(ObjectExportReadFile(dir.text("ansi.txt"), lines));
  krv::core::setTextDecodingNotice(previous);
  EXPECT_EQ(told, (std::vector<std::string>{
                      "ansi.txt: read as Windows-1252: byte 0xE9 at line 1 is not valid UTF-8"}));
}

TEST(TextFile, AReadOnlyTargetIsRefusedAndKept) {
  TempFolder dir;
  ASSERT_TRUE(ObjectExportWriteFile(dir.text("locked.txt"), Krv_StringArray{L"before"}));
  const auto file = dir.path() / "locked.txt";
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  EXPECT_FALSE(ObjectExportWriteFile(dir.text("locked.txt"), Krv_StringArray{L"after"}))
      << "refused also when the tests run as the superuser";
  EXPECT_EQ(dir.readBytes("locked.txt"), "before\n");
  struct stat st;
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  EXPECT_EQ(entriesIn(dir.path()), 1) << "no temporary file is left";
}

TEST(TextFile, AReplacedFileKeepsItsPermissions) {
  TempFolder dir;
  ASSERT_TRUE(ObjectExportWriteFile(dir.text("shared.txt"), Krv_StringArray{L"before"}));
  const auto file = dir.path() / "shared.txt";
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  ASSERT_TRUE(ObjectExportWriteFile(dir.text("shared.txt"), Krv_StringArray{L"after"}));
  EXPECT_EQ(dir.readBytes("shared.txt"), "after\n");
  struct stat st;
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(TextFile, WritesUtf8WithoutBomAndReadsBackExactly) {
  TempFolder dir;
  const Krv_StringArray lines{kSpecial, L"", L"  blanks kept  ", L"tab\there", L"cr\rinside"};
  ASSERT_TRUE(ObjectExportWriteFile(dir.text("out.txt"), lines));
  const std::string bytes = dir.readBytes("out.txt");
  EXPECT_EQ(bytes.substr(0, 4), "bolt");
  EXPECT_EQ(bytes.back(), '\n');
  Krv_StringArray back;
  ASSERT_TRUE(ObjectExportReadFile(dir.text("out.txt"), back));
  EXPECT_EQ(back, lines);
  // An empty list gives an empty file, which reads as no lines.
  ASSERT_TRUE(ObjectExportWriteFile(dir.text("empty.txt"), Krv_StringArray()));
  ASSERT_TRUE(ObjectExportReadFile(dir.text("empty.txt"), back));
  EXPECT_TRUE(back.isEmpty());
}

TEST(TextFile, ReplacingAFileKeepsItsLineEnds) {
  TempFolder dir;
  const Krv_StringArray lines{L"first", L"second"};
  dir.writeBytes("crlf.txt", "old\r\nlines\r\n");
  ASSERT_TRUE(ObjectExportWriteFile(dir.text("crlf.txt"), lines));
  EXPECT_EQ(dir.readBytes("crlf.txt"), "first\r\nsecond\r\n")
      << "a file a person keeps with CR LF stays so";
  dir.writeBytes("utf16.txt", std::string("\xFF\xFEo\0l\0\r\0\n\0", 10));
  ASSERT_TRUE(ObjectExportWriteFile(dir.text("utf16.txt"), lines));
  EXPECT_EQ(dir.readBytes("utf16.txt"), "first\r\nsecond\r\n")
      << "written as UTF-8, with the line ends it had";
  dir.writeBytes("lf.txt", "old\nlone cr\r inside\r\n");
  ASSERT_TRUE(ObjectExportWriteFile(dir.text("lf.txt"), lines));
  EXPECT_EQ(dir.readBytes("lf.txt"), "first\nsecond\n") << "the first line end decides";
  ASSERT_TRUE(ObjectExportWriteFile(dir.text("new.txt"), lines));
  EXPECT_EQ(dir.readBytes("new.txt"), "first\nsecond\n");
}

TEST(TextFile, MissingOrUnreadableGivesFalseAndEmptyList) {
  TempFolder dir;
  Krv_StringArray lines{L"stale"};
  EXPECT_FALSE(ObjectExportReadFile(dir.text("missing.txt"), lines));
  EXPECT_TRUE(lines.isEmpty());
  lines.append(L"stale");
  EXPECT_FALSE(ObjectExportReadFile(dir.text(""), lines));  // a folder
  EXPECT_TRUE(lines.isEmpty());
  EXPECT_FALSE(ObjectExportReadFile(L"", lines));
}

TEST(TextFile, FailedRenameLeavesOldFileWholeAndNoTemporaryFile) {
  TempFolder dir;
  ASSERT_TRUE(ObjectExportWriteFile(dir.text("keep.txt"), Krv_StringArray{L"old 1", L"old 2"}));
  {
    FailingRename fail;
    EXPECT_FALSE(ObjectExportWriteFile(dir.text("keep.txt"), Krv_StringArray{L"new"}));
    EXPECT_FALSE(copyFile(dir.text("keep.txt"), dir.text("copy.txt")));
  }
  EXPECT_EQ(dir.readBytes("keep.txt"), "old 1\nold 2\n");
  EXPECT_EQ(entriesIn(dir.path()), 1);

  // A failure the file system itself gives, for root too: the target is a
  // non-empty folder.
  dir.writeBytes("folder.txt/inner", "x");
  EXPECT_FALSE(ObjectExportWriteFile(dir.text("folder.txt"), Krv_StringArray{L"new"}));
  EXPECT_EQ(dir.readBytes("folder.txt/inner"), "x");
  EXPECT_EQ(entriesIn(dir.path()), 2);
  // No folder to write in.
  EXPECT_FALSE(ObjectExportWriteFile(dir.text("nofolder\\a.txt"), Krv_StringArray{L"x"}));
}

TEST(TableFile, RoundTripsAwkwardCellsAndGivesFamilyName) {
  TempFolder dir;
  Krv_StringTable rows;
  rows.append(Krv_StringArray{L"SysName", L"I/O", L"English"});
  rows.append(Krv_StringArray{L"tab\tin", L"line\nbreak", L"back\\slash\\t", L"cr\r"});
  rows.append(Krv_StringArray{});
  rows.append(Krv_StringArray{L""});
  rows.append(Krv_StringArray{L"", L""});
  rows.append(Krv_StringArray{kSpecial, L"  edge  ", L"\\e"});
  ASSERT_TRUE(writeFile(dir.text("HEA.pr"), rows));
  Krv_String name;
  Krv_StringTable back;
  ASSERT_TRUE(readFile(dir.text("HEA.pr"), name, back));
  EXPECT_EQ(name, L"HEA");
  ASSERT_EQ(back.length(), rows.length());
  for (int i = 0; i < rows.length(); ++i) EXPECT_EQ(back[i], rows[i]) << "row " << i;
}

TEST(TableFile, PlainTabTextAndUnknownVersions) {
  TempFolder dir;
  dir.writeBytes("plain.pr", "a\\b\tc\r\n\r\nd\n");
  Krv_String name;
  Krv_StringTable rows;
  ASSERT_TRUE(readFile(dir.text("plain.pr"), name, rows));
  ASSERT_EQ(rows.length(), 3);
  EXPECT_EQ(rows[0], (Krv_StringArray{L"a\\b", L"c"}));  // no escapes without the version line
  EXPECT_TRUE(rows[1].isEmpty());
  dir.writeBytes("future.pr", "Krv table version 2\nx\n");
  EXPECT_FALSE(readFile(dir.text("future.pr"), name, rows));
  EXPECT_TRUE(rows.isEmpty());
  EXPECT_FALSE(readFile(dir.text("missing.pr"), name, rows));
}

TEST(Paths, NameParts) {
  EXPECT_EQ(getPath(L"lib\\Standards\\a.vts"), L"lib\\Standards\\");
  EXPECT_EQ(getPath(L"a.vts"), L"");
  Krv_String n;
  EXPECT_TRUE(getFileName(L"C:\\x\\y.b.txt", n));
  EXPECT_EQ(n, L"y.b.txt");
  EXPECT_FALSE(getFileName(L"folder\\", n));
  Krv_String p = L"a.b\\c.d\\name.vts";
  changeExtension(p, L"map");
  EXPECT_EQ(p, L"a.b\\c.d\\name.map");
  changeExtension(p, L".txt");
  EXPECT_EQ(p, L"a.b\\c.d\\name.txt");
  removeExtension(p);
  EXPECT_EQ(p, L"a.b\\c.d\\name");
  removeExtension(p);  // the dot in the folder name is no extension
  EXPECT_EQ(p, L"a.b\\c.d\\name");
  p = L"dir\\.hidden";
  removeExtension(p);
  EXPECT_EQ(p, L"dir\\.hidden");
  EXPECT_EQ(ensureNoStartBSlash(L"\\\\Data\\x.txt"), L"Data\\x.txt");
  EXPECT_TRUE(krv::core::samePath(L"/Lib/Prof/", L"\\lib\\prof"));
  EXPECT_EQ(krv::core::withTrailingSeparator(L"/a/b//"), L"\\a\\b\\");
}

TEST(Paths, BackslashTextsFindFilesIgnoringCase) {
  TempFolder dir;
  dir.writeBytes("Connection Standards/Data/Bolts.TXT", "x");
  const Krv_String text = dir.text("connection standards\\DATA\\bolts.txt");
  EXPECT_EQ(krv::core::osPath(text), dir.path() / "Connection Standards/Data/Bolts.TXT");
  EXPECT_TRUE(fileExists(text));
  // A new file in an existing folder takes the folder's real spelling.
  EXPECT_EQ(krv::core::osPath(dir.text("CONNECTION STANDARDS\\new.map")),
            dir.path() / "Connection Standards/new.map");
  Krv_StringArray lines;
  EXPECT_TRUE(ObjectExportReadFile(text, lines));
  EXPECT_FALSE(fileExists(dir.text("connection standards\\nothing.txt")));
}

TEST(Paths, WildcardsExistenceCopyDeleteAndTimes) {
  TempFolder dir;
  dir.writeBytes("a/Endplate.txt", "1");
  dir.writeBytes("a/Beam/Cleat.TXT", "2");
  dir.writeBytes("a/Beam/Cleat.bmp", "3");
  EXPECT_TRUE(fileExists(dir.text("a\\*.txt")));
  EXPECT_TRUE(fileExists(dir.text("a\\Beam\\cl?at.*")));
  EXPECT_FALSE(fileExists(dir.text("a\\*.dwg")));
  EXPECT_TRUE(krv::core::wildcardMatch(L"*a*b?c", L"xxAyyBzc"));
  EXPECT_FALSE(krv::core::wildcardMatch(L"*.txt", L"a.txt.bak"));

  Krv_StringArray files;
  ASSERT_TRUE(ObjectExportFindFilesRecursive(dir.text("a"), L"*.txt", files));
  EXPECT_EQ(files, (Krv_StringArray{dir.text("a\\Beam\\Cleat.TXT"), dir.text("a\\Endplate.txt")}));
  EXPECT_FALSE(ObjectExportFindFilesRecursive(dir.text("none"), L"*", files));
  EXPECT_TRUE(files.isEmpty());

  ASSERT_TRUE(copyFile(dir.text("a\\Endplate.txt"), dir.text("a\\Copy.txt")));
  EXPECT_EQ(dir.readBytes("a/Copy.txt"), "1");
  EXPECT_FALSE(copyFile(dir.text("a\\missing.txt"), dir.text("a\\Copy.txt")));
  Krv_FileTime t1, t2;
  EXPECT_TRUE(ObjectExportGetFileTime(dir.text("a\\Copy.txt"), t1));
  std::filesystem::last_write_time(dir.path() / "a/Endplate.txt", t1 + std::chrono::seconds(5));
  EXPECT_TRUE(ObjectExportGetFileTime(dir.text("a\\Endplate.txt"), t2));
  EXPECT_GT(t2, t1);
  EXPECT_FALSE(ObjectExportGetFileTime(dir.text("a\\missing.txt"), t1));
  EXPECT_TRUE(deleteFile(dir.text("a\\copy.txt")));
  EXPECT_FALSE(fileExists(dir.text("a\\Copy.txt")));
  EXPECT_FALSE(deleteFile(dir.text("a\\Copy.txt")));
  EXPECT_FALSE(deleteFile(dir.text("a\\Beam")));
}
