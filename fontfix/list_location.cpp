#include "fontfix/list_location.h"

#include <algorithm>
#include <vector>

#include "platform/path.h"
#include "platform/runtime_error.h"
#include "platform/virtualization.h"

namespace vemo {
namespace {

// The path as Windows reads it: "\" for "/", no "." or ".." segments, no doubled separator,
// and none at the end but a drive's root ("C:\"). A UNC path keeps its leading "\\".
std::wstring Normalized(std::wstring_view path) {
  std::wstring slashed(path);
  std::replace(slashed.begin(), slashed.end(), L'/', L'\\');
  std::wstring prefix;
  std::wstring_view rest = slashed;
  if (rest.starts_with(L"\\\\")) {
    prefix = L"\\";  // the first of the two; the second joins the server's name
  } else if (rest.size() >= 2 && rest[1] == L':') {
    prefix = std::wstring(rest.substr(0, 2));
    rest.remove_prefix(2);
  }
  std::vector<std::wstring_view> segments;
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find(L'\\'), rest.size());
    const std::wstring_view segment = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (segment.empty() || segment == L".") continue;
    if (segment == L"..") {
      if (!segments.empty()) segments.pop_back();
      continue;
    }
    segments.push_back(segment);
  }
  std::wstring normalized = prefix;
  for (std::wstring_view segment : segments) normalized.append(L"\\").append(segment);
  return normalized.size() == prefix.size() ? normalized + L"\\" : normalized;
}

bool HasDrive(std::wstring_view path) {
  return path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
}

// `path` lies inside `folder` (both normalized).
bool IsInside(std::wstring_view path, std::wstring_view folder) {
  if (folder.ends_with(L'\\')) folder.remove_suffix(1);
  return !folder.empty() && path.size() > folder.size() + 1 && path[folder.size()] == L'\\' &&
         EqualIgnoringAsciiCase(path.substr(0, folder.size()), folder);
}

// Where Windows keeps a virtualized program's copy of `path`; empty where it would not.
std::wstring VirtualStorePath(const std::wstring& path, const VirtualizationFacts& facts,
                              Virtualization& virtualization) {
  const std::wstring full = Normalized(virtualization.FullLongPath(path));
  const std::wstring windows = Normalized(facts.windowsFolder);
  if (!HasDrive(full) || !HasDrive(windows) ||
      !EqualIgnoringAsciiCase(full.substr(0, 2), windows.substr(0, 2))) {
    return L"";
  }
  bool virtualized = IsInside(full, windows);
  for (const std::wstring& folder : facts.programFolders) {
    virtualized = virtualized || IsInside(full, Normalized(folder));
  }
  return virtualized ? JoinPath(facts.storeFolder, full.substr(3)) : L"";
}

}  // namespace

std::wstring ListFileName(bool illustrator10) {
  return illustrator10 ? L"AdobeFnt05.lst" : L"AdobeFnt.lst";
}

std::wstring BackupFileName(std::wstring_view listName) {
  return std::wstring(listName) + L" のバックアップ";
}

std::vector<std::wstring> ListFolderCandidates(const std::wstring& commonFiles32) {
  std::vector<std::wstring> candidates;
  if (!commonFiles32.empty()) candidates.push_back(JoinPath(commonFiles32, L"Adobe\\TypeSpt"));
  if (candidates.empty() ||
      !EqualIgnoringAsciiCase(Normalized(candidates[0]), Normalized(kDefaultListFolder))) {
    candidates.push_back(kDefaultListFolder);
  }
  return candidates;
}

StartList ChooseStartList(const std::wstring& commonFiles32, FileSystem& illustratorFiles,
                          const std::function<bool(const std::wstring&)>& folderExists) {
  const std::vector<std::wstring> candidates = ListFolderCandidates(commonFiles32);
  for (bool illustrator10 : {true, false}) {
    for (const std::wstring& folder : candidates) {
      if (illustratorFiles.FileExists(JoinPath(folder, ListFileName(illustrator10)))) {
        return {folder, illustrator10};
      }
    }
  }
  for (const std::wstring& folder : candidates) {
    if (folderExists(folder)) return {folder, true};
  }
  return {kDefaultListFolder, true};
}

IllustratorFile ResolveIllustratorFile(const std::wstring& path, Virtualization& virtualization,
                                       FileSystem& files) {
  const VirtualizationFacts facts = virtualization.Facts();
  if (!facts.inForce || facts.storeFolder.empty()) return {path, L""};
  const std::wstring copy = VirtualStorePath(path, facts, virtualization);
  if (copy.empty()) return {path, L""};
  if (files.FileExists(copy)) return {copy, L""};
  return {path, copy};
}

IllustratorFile IllustratorFileSystem::Resolve(const std::wstring& path) {
  return ResolveIllustratorFile(path, virtualization_, files_);
}

bool IllustratorFileSystem::FileExists(const std::wstring& path) {
  return files_.FileExists(Resolve(path).path);
}

std::string IllustratorFileSystem::ReadWholeFile(const std::wstring& path) {
  return files_.ReadWholeFile(Resolve(path).path);
}

bool IllustratorFileSystem::CreateWholeFile(const std::wstring& path, std::string_view bytes) {
  const IllustratorFile file = Resolve(path);
  try {
    return files_.CreateWholeFile(file.path, bytes);
  } catch (const AccessDenied&) {
    if (file.copy.empty()) throw;
  }
  files_.CreateFolders(FolderOfPath(file.copy));
  return files_.CreateWholeFile(file.copy, bytes);
}

void IllustratorFileSystem::ReplaceWholeFile(const std::wstring& path,
                                             std::span<const std::string_view> pieces) {
  const IllustratorFile file = Resolve(path);
  try {
    files_.ReplaceWholeFile(file.path, pieces);
    return;
  } catch (const AccessDenied&) {
    if (file.copy.empty()) throw;
  }
  files_.CreateFolders(FolderOfPath(file.copy));
  std::string bytes;
  for (std::string_view piece : pieces) bytes += piece;
  // Another run may have made the copy meanwhile: then it is the file to replace.
  if (!files_.CreateWholeFile(file.copy, bytes)) files_.ReplaceWholeFile(file.copy, pieces);
}

void IllustratorFileSystem::CreateFolders(const std::wstring& folder) {
  files_.CreateFolders(folder);
}

void IllustratorFileSystem::AppendToFile(const std::wstring& path, std::string_view bytes) {
  files_.AppendToFile(path, bytes);
}

}  // namespace vemo
