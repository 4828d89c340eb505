#include "BigFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "ArchiveError.h"

namespace vz {

int CBigFile::Open(const std::filesystem::path& path) {
  Close();
  // O_NONBLOCK keeps open() itself from waiting on a FIFO with no writer; the
  // type check below then refuses it before anything is read.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return errno;
  UniqueFd owner(fd);
  struct stat st {};
  if (::fstat(fd, &st) != 0) return errno;
  if (S_ISDIR(st.st_mode)) return EISDIR;
  if (!S_ISREG(st.st_mode)) return EINVAL;
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
#ifdef POSIX_FADV_SEQUENTIAL
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
  fd_ = std::move(owner);
  path_ = path;
  length_ = static_cast<std::uint64_t>(st.st_size);
  position_ = 0;
  return 0;
}

void CBigFile::Close() noexcept {
  fd_.Reset();
  length_ = 0;
  position_ = 0;
}

std::size_t CBigFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  if (!fd_) throw CArchiveError(kFileError, path_.string(), EBADF);
  // Offsets come from damaged headers; one past anything a file can hold
  // simply finds nothing.
  if (offset >= static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()) - out.size()) return 0;
  std::size_t done = 0;
  while (done < out.size()) {
    ssize_t n = ::pread(fd_.Get(), out.data() + done, out.size() - done,
                        static_cast<off_t>(offset + done));
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      throw CArchiveError(kFileError, path_.string(), errno);
    }
  }
  return done;
}

std::size_t CBigFile::Read(std::span<std::uint8_t> out) {
  std::size_t n = ReadAt(position_, out);
  position_ += n;
  return n;
}

std::uint64_t CBigFile::Seek(std::int64_t distance, Origin origin) {
  std::int64_t base = 0;
  if (origin == Origin::Current) base = static_cast<std::int64_t>(position_);
  if (origin == Origin::End) base = static_cast<std::int64_t>(length_);
  std::int64_t target = base + distance;
  if (target < 0) throw CArchiveError(kFileError, path_.string(), EINVAL);
  position_ = static_cast<std::uint64_t>(target);
  return position_;
}

}  // namespace vz
