// Where Illustrator's list is: the file Illustrator reads under UAC virtualization, and the
// folder both programs start with.
#include "fontfix/list_location.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <set>

#include "platform/virtualization.h"
#include "tests/fakes/denying_file_system.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/unit/fontfix_test_support.h"

// UAC virtualization as a Windows Vista to 11 machine answers it for user taro.
namespace vemo {
namespace {

const std::wstring kStore = L"C:\\Users\\taro\\AppData\\Local\\VirtualStore";

class FakeVirtualization : public Virtualization {
 public:
  explicit FakeVirtualization(bool inForce) : inForce_(inForce) {}
  VirtualizationFacts Facts() override {
    return {inForce_,
            L"C:\\Windows",
            {L"C:\\Program Files", L"C:\\Program Files (x86)", L"C:\\ProgramData"},
            kStore};
  }
  // What GetLongPathNameW makes of the short names of an existing folder.
  std::wstring FullLongPath(const std::wstring& path) override {
    for (const auto& [shortName, longName] :
         {std::pair{L"C:\\PROGRA~1", L"C:\\Program Files"},
          std::pair{L"C:\\PROGRA~2", L"C:\\Program Files (x86)"}}) {
      if (path.starts_with(shortName)) return longName + path.substr(std::wcslen(shortName));
    }
    return path;
  }

 private:
  bool inForce_;
};

TEST(ResolveIllustratorFile, TheVirtualStoreCopyIsTheFileWhereWindowsGivesIllustratorOne) {
  const std::wstring typeSpt = L"C:\\Program Files\\Common Files\\Adobe\\TypeSpt\\AdobeFnt05.lst";
  const std::wstring typeSptCopy =
      kStore + L"\\Program Files\\Common Files\\Adobe\\TypeSpt\\AdobeFnt05.lst";
  struct Case {
    const char* what;
    bool inForce;
    std::wstring path;
    std::wstring copy;  // where Windows keeps the copy; empty: nowhere
  };
  const Case cases[] = {
      {"not in force", false, typeSpt, L""},
      {"Program Files", true, typeSpt, typeSptCopy},
      {"Program Files (x86)", true, L"C:\\Program Files (x86)\\Common Files\\a.lst",
       kStore + L"\\Program Files (x86)\\Common Files\\a.lst"},
      {"ProgramData", true, L"C:\\ProgramData\\a.lst", kStore + L"\\ProgramData\\a.lst"},
      {"the Windows folder, in another letter case", true, L"c:\\WINDOWS\\a.lst",
       kStore + L"\\WINDOWS\\a.lst"},
      {"another drive", true, L"D:\\Program Files\\a.lst", L""},
      {"a UNC path", true, L"\\\\server\\c$\\Program Files\\a.lst", L""},
      {"a short name", true, L"C:\\PROGRA~1\\Common Files\\Adobe\\TypeSpt\\AdobeFnt05.lst",
       typeSptCopy},
      {"doubled and trailing separators, slashes", true,
       L"C:/Program Files\\\\Common Files/Adobe\\TypeSpt\\\\AdobeFnt05.lst\\", typeSptCopy},
      {"'..' leading out", true, L"C:\\Program Files\\..\\Tools\\a.lst", L""},
      {"'..' leading in", true, L"C:\\Tools\\.\\..\\Program Files\\a.lst",
       kStore + L"\\Program Files\\a.lst"},
      {"a folder that only starts like one", true, L"C:\\Program Files2\\a.lst", L""},
      {"a virtualized folder itself", true, L"C:\\Program Files\\", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (bool copyExists : {false, true}) {
      FakeVirtualization virtualization(c.inForce);
      testing::FakeFileSystem files;
      if (copyExists && !c.copy.empty()) files.files[c.copy] = "copy";
      const IllustratorFile file = ResolveIllustratorFile(c.path, virtualization, files);
      if (c.copy.empty()) {
        EXPECT_EQ(file.path, c.path);
        EXPECT_EQ(file.copy, L"");
      } else {
        EXPECT_EQ(file.path, copyExists ? c.copy : c.path);
        EXPECT_EQ(file.copy, copyExists ? L"" : c.copy);
      }
    }
  }
}

// Writing the file itself is denied to a normal user under Program Files: Windows writes the
// copy instead. A read-only or busy file is refused as before.
TEST(IllustratorFileSystem, ADeniedWriteBecomesTheCopyAndAnyOtherFailureStays) {
  const std::wstring folder = L"C:\\Program Files\\Common Files\\Adobe\\TypeSpt";
  const std::wstring file = folder + L"\\AdobeFnt05.lst";
  const std::wstring copy =
      kStore + L"\\Program Files\\Common Files\\Adobe\\TypeSpt\\AdobeFnt05.lst";
  struct Case {
    const char* what;
    bool create;  // the backup is created; the list is replaced
    bool inForce, denied;
    std::int32_t failure;  // of the operation, as the file system raises it; 0: none
    std::string copyBefore;
    std::int32_t error;
    std::string fileAfter, copyAfter;  // "": absent
  };
  const std::int32_t readOnly = err::kPathFileAccessError, inUse = err::kPermissionDenied;
  const Case cases[] = {
      {"replace, denied: the copy is made", false, true, true, 0, "", 0, "old", "new"},
      {"replace, the copy there: it is the file", false, true, false, 0, "copy", 0, "old", "new"},
      {"replace, allowed: the file itself", false, true, false, 0, "", 0, "new", ""},
      {"replace, denied, not in force", false, false, true, 0, "", readOnly, "old", ""},
      {"replace, read-only", false, true, false, readOnly, "", readOnly, "old", ""},
      {"replace, in use", false, true, false, inUse, "", inUse, "old", ""},
      {"create, denied: the copy is made", true, true, true, 0, "", 0, "", "new"},
      {"create, allowed: the file itself", true, true, false, 0, "", 0, "new", ""},
      {"create, the copy there: nothing is made", true, true, true, 0, "copy", 0, "", "copy"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeVirtualization virtualization(c.inForce);
    testing::FakeFileSystem files;
    if (!c.create) files.files[file] = "old";
    if (!c.copyBefore.empty()) files.files[copy] = c.copyBefore;
    if (c.failure != 0) files.failures[c.create ? L"create" : L"replace"] = c.failure;
    testing::DenyingFileSystem denying(files, c.denied ? folder : L"");
    IllustratorFileSystem illustratorFiles(denying, virtualization);
    EXPECT_EQ(testing::ErrorOf([&] {
                if (!c.create) return illustratorFiles.ReplaceWholeFile(file, "new");
                EXPECT_EQ(illustratorFiles.CreateWholeFile(file, "new"), c.copyBefore.empty());
              }),
              c.error);
    EXPECT_EQ(files.files.count(file) ? files.files[file] : "", c.fileAfter);
    EXPECT_EQ(files.files.count(copy) ? files.files[copy] : "", c.copyAfter);
  }
}

// Where the folder box and vemofix start, and which version the window starts with: the first
// candidate folder holding Illustrator 10's list as Illustrator sees it, then 8 or 9's, then
// the first that exists.
TEST(ChooseStartList, TheFirstCandidateHoldingTheListIllustratorReadsElseOneThatExists) {
  const std::wstring usual = L"C:\\Program Files\\Common Files\\Adobe\\TypeSpt";
  const std::wstring x86 = L"C:\\Program Files (x86)\\Common Files\\Adobe\\TypeSpt";
  const std::wstring bits64 = L"C:\\Program Files (x86)\\Common Files";
  const std::wstring bits32 = L"C:\\Program Files\\Common Files";
  const std::wstring lst10 = L"\\AdobeFnt05.lst", lst9 = L"\\AdobeFnt.lst";
  const std::wstring store = kStore + L"\\Program Files (x86)\\Common Files\\Adobe\\TypeSpt";
  struct Case {
    const char* what;
    std::wstring commonFiles32;
    std::set<std::wstring> files, folders;
    std::wstring folder;
    bool illustrator10;
  };
  const Case cases[] = {
      {"64-bit, 10's list in both", bits64, {x86 + lst10, usual + lst10}, {x86, usual}, x86, true},
      {"64-bit, 10's list in the usual one only",
       bits64,
       {usual + lst10},
       {x86, usual},
       usual,
       true},
      {"64-bit, 10's in the usual one beats 9's in x86",
       bits64,
       {x86 + lst9, usual + lst10},
       {x86, usual},
       usual,
       true},
      {"64-bit, 9's list only", bits64, {usual + lst9}, {x86, usual}, usual, false},
      {"64-bit, no list, both folders", bits64, {}, {x86, usual}, x86, true},
      {"64-bit, no list, the usual folder", bits64, {}, {usual}, usual, true},
      {"64-bit, nothing", bits64, {}, {}, usual, true},
      {"64-bit, the VirtualStore copy only", bits64, {store + lst9}, {usual}, x86, false},
      {"32-bit, 9's list", bits32, {usual + lst9}, {usual}, usual, false},
      {"32-bit, a trailing separator, no list", bits32 + L"\\", {}, {usual}, usual, true},
      {"the shell knows no Common Files", L"", {x86 + lst10}, {x86}, usual, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::FakeFileSystem files;
    for (const std::wstring& file : c.files) files.files[file] = "list";
    FakeVirtualization virtualization(true);
    IllustratorFileSystem illustratorFiles(files, virtualization);
    const auto exists = [&](const std::wstring& folder) { return c.folders.count(folder) > 0; };
    const StartList start = ChooseStartList(c.commonFiles32, illustratorFiles, exists);
    EXPECT_EQ(start.folder, c.folder);
    EXPECT_EQ(start.illustrator10, c.illustrator10);
  }
}

}  // namespace
}  // namespace vemo
