#include "Ipk5.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "DRX.Format.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "uInstaller.Core.Package.h"

namespace {

constexpr char kUsage[] =
    "usage: ipk5 create OUT [--level N] ENTRY...   ENTRY is FILE, NAME=FILE or --tree DIR\n"
    "       ipk5 list PKG\n"
    "       ipk5 extract PKG NAME [OUTFILE]\n"
    "       ipk5 unpack PKG DIR\n"
    "       ipk5 verify PKG\n"
    "       ipk5 index PKG OUT   the index that lets the setup program use PKG while decoding it\n";

constexpr int kDefaultLevel = 4;
constexpr int kMaxLevel = 9;

void WriteStdout(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
    throw EWriteError(u"Cannot write to standard output");
}

void WriteStderr(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); }

void CreateFolders(const UString& path) {
  std::error_code error;
  std::filesystem::create_directories(NativePath(path), error);
  if (error) throw EOSError(Format(u"Cannot create folder \"%s\". %s", {path, Utf8ToUtf16(error.message())}));
}

class EUsage : public Exception {
 public:
  explicit EUsage(UString message = {}) : Exception(std::move(message)) {}
};

void RequireArgs(const std::vector<UString>& args, size_t least, size_t most) {
  if (args.size() < least || args.size() > most) throw EUsage();
}

bool IsDelimiter(char16_t c) { return c == u'\\' || c == u'/'; }

// Entry names from FILE (the file's own name) or NAME=FILE.
void SplitEntryArgument(const UString& arg, UString& name, UString& file) {
  const size_t equals = arg.find(u'=');
  name = equals == UString::npos ? ExtractFileName(arg) : arg.substr(0, equals);
  file = equals == UString::npos ? arg : arg.substr(equals + 1);
}

void AddFile(TSetupPackageBuilder& builder, const UString& name, const UString& file) {
  TFileStream source(file, fmOpenRead | fmShareDenyWrite);
  builder.Add(source, name);
}

UString TreeEntryName(const std::filesystem::path& relative) {
  UString name;
  for (const std::filesystem::path& part : relative) {
    if (!name.empty()) name += u'\\';
    name += PathToUString(part);
  }
  return name;
}

// Every file below the folder, named by its relative path with backslashes, in
// name order so that the same folder always gives the same package.
void AddTree(TSetupPackageBuilder& builder, const UString& folder) {
  const std::filesystem::path root = NativePath(folder);
  std::error_code error;
  std::vector<std::filesystem::path> files;
  for (std::filesystem::recursive_directory_iterator it(root, error), end; !error && it != end; it.increment(error))
    if (it->is_regular_file()) files.push_back(it->path().lexically_relative(root));
  if (error) throw EOSError(Format(u"Cannot list folder \"%s\". %s", {folder, Utf8ToUtf16(error.message())}));
  std::sort(files.begin(), files.end());
  for (const std::filesystem::path& relative : files)
    AddFile(builder, TreeEntryName(relative), PathToUString(root / relative));
}

int Create(const std::vector<UString>& args) {
  RequireArgs(args, 2, SIZE_MAX);
  size_t next = 2;
  int level = kDefaultLevel;
  if (next < args.size() && args[next] == u"--level") {
    if (next + 1 >= args.size() || !TryStrToInt(args[next + 1], level) || level < 0 || level > kMaxLevel)
      throw EUsage(u"--level takes a number from 0 to 9");
    next += 2;
  }
  TSetupPackageBuilder builder(PackageKey);
  for (; next < args.size(); ++next) {
    if (args[next] == u"--tree") {
      if (++next == args.size()) throw EUsage(u"--tree takes a folder");
      AddTree(builder, args[next]);
      continue;
    }
    UString name, file;
    SplitEntryArgument(args[next], name, file);
    AddFile(builder, name, file);
  }
  builder.Commit(args[1], level);
  return ieSuccess;
}

int List(const std::vector<UString>& args) {
  RequireArgs(args, 2, 2);
  const TSetupPackageReader reader(args[1]);
  std::string lines;
  for (int i = 0; i < reader.FileTable().Count(); ++i) {
    const TSetupPackageFileTableItem& item = reader.FileTable().Items(i);
    lines += Utf16ToUtf8(IntToStr(item.Size) + u"\t" + item.Name) + "\n";
  }
  WriteStdout(lines);
  return ieSuccess;
}

int Extract(const std::vector<UString>& args) {
  RequireArgs(args, 3, 4);
  const TSetupPackageReader reader(args[1]);
  std::unique_ptr<TMemoryStream> entry;
  if (!reader.Extract(args[2], entry)) throw Exception(u"no entry \"" + args[2] + u"\" in " + args[1]);
  if (args.size() == 4)
    entry->SaveToFile(args[3]);
  else
    WriteStdout(entry->Bytes());
  return ieSuccess;
}

// Every entry the package's own lookup finds; later duplicates are skipped. All
// names are checked before anything is written.
int Unpack(const std::vector<UString>& args) {
  RequireArgs(args, 3, 3);
  const TSetupPackageReader reader(args[1]);
  const TSetupPackageFileTable& table = reader.FileTable();
  std::vector<std::pair<int, UString>> targets;
  for (int i = 0; i < table.Count(); ++i) {
    const UString& name = table.Items(i).Name;
    const TSetupPackageFileTableItem* first;
    if (table.Find(name, first) && first != &table.Items(i)) {
      WriteStderr(Utf16ToUtf8(u"ipk5: skipped \"" + name + u"\", a duplicate of an earlier entry\n"));
      continue;
    }
    UString path;
    if (!EntryPathBelow(args[2], name, path))
      throw Exception(u"entry \"" + name + u"\" would be written outside " + args[2]);
    targets.emplace_back(i, path);
  }
  CreateFolders(args[2]);
  for (const auto& [index, path] : targets) {
    CreateFolders(ExtractFilePath(path));
    TFileStream file(path, fmCreate);
    reader.ExtractItem(index, file);
  }
  return ieSuccess;
}

int Verify(const std::vector<UString>& args) {
  RequireArgs(args, 2, 2);
  const TSetupPackageReader reader(args[1]);
  int64_t bytes = 0;
  for (int i = 0; i < reader.FileTable().Count(); ++i) bytes += reader.FileTable().Items(i).Size;
  WriteStdout(Utf16ToUtf8(args[1] + u": OK, " + IntToStr(reader.FileTable().Count()) + u" entries, " +
                          IntToStr(bytes) + u" bytes\n"));
  return ieSuccess;
}

int Index(const std::vector<UString>& args) {
  RequireArgs(args, 3, 3);
  TMemoryStream stored;
  stored.LoadFromFile(args[1]);
  const std::string index = MakeSetupPackageIndex(stored.Bytes());
  TMemoryStream(index).SaveToFile(args[2]);
  return ieSuccess;
}

int Dispatch(const std::vector<UString>& args) {
  RequireArgs(args, 1, SIZE_MAX);
  const UString& command = args[0];
  if (command == u"create") return Create(args);
  if (command == u"list") return List(args);
  if (command == u"extract") return Extract(args);
  if (command == u"unpack") return Unpack(args);
  if (command == u"verify") return Verify(args);
  if (command == u"index") return Index(args);
  throw EUsage(u"unknown command \"" + command + u"\"");
}

}  // namespace

bool EntryPathBelow(const UString& folder, const UString& name, UString& path) {
  if (name.find_first_of(UStringView(u":\0", 2)) != UString::npos) return false;
  path = folder;
  if (!path.empty() && !IsDelimiter(path.back())) path += kPathDelimiter;
  size_t start = 0;
  for (;;) {
    size_t end = start;
    while (end < name.size() && !IsDelimiter(name[end])) ++end;
    const UStringView part = UStringView(name).substr(start, end - start);
    if (part.empty() || part == u"." || part == u"..") return false;
    path += part;
    if (end == name.size()) return true;
    path += kPathDelimiter;
    start = end + 1;
  }
}

int RunIpk5(const std::vector<UString>& args) {
  try {
    return Dispatch(args);
  } catch (const EUsage& e) {
    if (!e.Message().empty()) WriteStderr("ipk5: " + Utf16ToUtf8(e.Message()) + "\n");
    WriteStderr(kUsage);
    return ieUsage;
  } catch (const Exception& e) {
    WriteStderr("ipk5: " + Utf16ToUtf8(e.Message()) + "\n");
  } catch (const std::bad_alloc&) {
    WriteStderr("ipk5: out of memory\n");
  }
  return ieError;
}
