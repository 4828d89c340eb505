#include "OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "ArchiveError.h"

namespace vz {
namespace {

[[noreturn]] void Fail(const std::filesystem::path& where, int error) {
  throw CArchiveError(kFileError, where.string(), error);
}

}  // namespace

UniqueFd OpenEntryFolders(const std::filesystem::path& destination, std::span<const std::string> folders) {
  std::error_code ignored;
  std::filesystem::create_directories(destination, ignored);
  UniqueFd dir(::open(destination.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir) Fail(destination, errno);
  std::filesystem::path where = destination;
  for (const std::string& name : folders) {
    where /= name;
    if (::mkdirat(dir.Get(), name.c_str(), 0755) != 0 && errno != EEXIST) Fail(where, errno);
    UniqueFd next(::openat(dir.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!next) Fail(where, errno == ELOOP ? ENOTDIR : errno);
    dir = std::move(next);
  }
  return dir;
}

COutputFile::COutputFile(const std::filesystem::path& destination, const EntryPath& path) {
  std::span<const std::string> all(path.components);
  UniqueFd dir = OpenEntryFolders(destination, all.first(all.size() - 1));
  const std::string& leaf = all.back();
  target_ = destination / path.Joined('/');
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::openat(dir.Get(), leaf.c_str(), flags, 0644);
  if (fd < 0 && errno == EEXIST) {
    struct stat st {};
    if (::fstatat(dir.Get(), leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)) {
      Fail(target_, EISDIR);
    }
    // Replace, never write into: the old name may be a link to somewhere else.
    if (::unlinkat(dir.Get(), leaf.c_str(), 0) != 0) Fail(target_, errno);
    fd = ::openat(dir.Get(), leaf.c_str(), flags, 0644);
  }
  if (fd < 0) Fail(target_, errno);
  fd_.Reset(fd);
}

void COutputFile::Write(std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd_.Get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(target_, errno);
    }
    done += static_cast<std::size_t>(n);
    written_ += static_cast<std::uint64_t>(n);
  }
}

bool COutputFile::SetTimes(std::optional<std::int64_t> modified) noexcept {
  if (!fd_ || !modified) return false;
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_NOW;
  times[1].tv_sec = static_cast<time_t>(*modified);
  times[1].tv_nsec = 0;
  return ::futimens(fd_.Get(), times) == 0;
}

bool COutputFile::SpaceLeft(std::uint64_t& freeBytes, std::uint64_t& totalBytes) const noexcept {
  struct statvfs st {};
  if (!fd_ || ::fstatvfs(fd_.Get(), &st) != 0) return false;
  freeBytes = static_cast<std::uint64_t>(st.f_bavail) * st.f_frsize;
  totalBytes = static_cast<std::uint64_t>(st.f_blocks) * st.f_frsize;
  return true;
}

void COutputFile::Close() {
  if (fd_.Close() != 0) Fail(target_, errno);
}

}  // namespace vz
