#include "ActivityLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "zip/UniqueFd.h"

namespace vz::app {
namespace {

UniqueFd OpenForAppend(const std::filesystem::path& path) {
  return UniqueFd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOCTTY, 0644));
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::filesystem::path CActivityLog::LogFilePath(int kind) const {
  const bool recovery = kind == kRecoveryLog;
  std::error_code ec;
  std::string folder = settings_.ReadRegistryString(recovery ? kRecoveryLogValue : kLogPathValue);
  if (folder.empty() || !std::filesystem::is_directory(folder, ec)) {
    folder = settings_.ReadRegistryString(kFilePathValue);
  }
  std::filesystem::path base = folder;
  if (folder.empty()) {
    base = DefaultStateFolder();
    std::filesystem::create_directories(base, ec);
  }
  return base / (recovery ? "Recovery Log.txt" : "Activity Log.txt");
}

bool CActivityLog::AppendLog(int kind, std::string_view text) {
  std::lock_guard lock(mutex_);
  const std::filesystem::path path = LogFilePath(kind);
  UniqueFd fd = OpenForAppend(path);
  if (!fd) return false;
  struct stat st {};
  if (::fstat(fd.Get(), &st) == 0 && static_cast<std::uint64_t>(st.st_size) > kSizeLimit) {
    fd.Reset();
    ::unlink(path.c_str());
    fd = OpenForAppend(path);
    if (!fd) return false;
  }
  bool written = WriteAll(fd.Get(), text);
  return fd.Close() == 0 && written;
}

bool CActivityLog::Clear() {
  {
    std::lock_guard lock(mutex_);
    std::error_code ec;
    std::filesystem::remove(LogFilePath(kActivityLog), ec);
  }
  return AppendLog(kActivityLog, "\r\n");
}

}  // namespace vz::app
