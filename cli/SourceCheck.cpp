#include "SourceCheck.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "pipeline/SignatureSearch.h"
#include "zip/ArchiveError.h"
#include "zip/BigFile.h"
#include "zip/ScanWindow.h"

namespace vz::cli {

std::optional<std::string> CheckSource(const std::string& path) {
  CBigFile file;
  int error = file.Open(path);
  if (error == ENOENT) return "no such file";
  if (error == EISDIR) return "is a folder, not an archive";
  if (error == EINVAL) return "is not a regular file";
  if (error != 0) return std::string("cannot be read: ") + std::strerror(error);
  try {
    CScanWindow window(file);
    if (window.FindSignature(0, file.Length(), kFindLocal | kFindCentral, nullptr) >= file.Length()) {
      return pipeline::kNoSignatureText;
    }
  } catch (const CArchiveError& e) {
    return std::string("cannot be read: ") + e.what();
  }
  return std::nullopt;
}

std::optional<std::string> PrepareOutputFolder(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (ec) return "cannot create the output folder " + path + ": " + ec.message();
  if (!std::filesystem::is_directory(path, ec)) return "the output path " + path + " is not a folder";
  return std::nullopt;
}

}  // namespace vz::cli
