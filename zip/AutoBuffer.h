#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <span>

namespace vz {

// An owned byte array. Re-allocating to the same size keeps the bytes, which
// lets hot loops call Allocate without paying for a fresh block each time.
class CAutoBuffer {
 public:
  CAutoBuffer() = default;
  explicit CAutoBuffer(std::uint32_t size) { Allocate(size); }
  CAutoBuffer(const CAutoBuffer& other) { *this = other; }
  CAutoBuffer(CAutoBuffer&&) noexcept = default;
  CAutoBuffer& operator=(CAutoBuffer&&) noexcept = default;
  CAutoBuffer& operator=(const CAutoBuffer& other) {
    if (this == &other) return *this;
    Release();
    if (other.size_ != 0) {
      Allocate(other.size_);
      std::memcpy(bytes_.get(), other.bytes_.get(), size_);
    }
    return *this;
  }

  std::uint8_t* Allocate(std::uint32_t size, bool zero = false) {
    if (size == size_) {
      if (zero && size_ != 0) std::memset(bytes_.get(), 0, size_);
      return bytes_.get();
    }
    Release();
    if (size != 0) {
      bytes_ = std::make_unique_for_overwrite<std::uint8_t[]>(size);
      size_ = size;
      if (zero) std::memset(bytes_.get(), 0, size_);
    }
    return bytes_.get();
  }
  void Release() noexcept {
    bytes_.reset();
    size_ = 0;
  }

  std::uint8_t* Data() noexcept { return bytes_.get(); }
  const std::uint8_t* Data() const noexcept { return bytes_.get(); }
  std::uint32_t Size() const noexcept { return size_; }
  bool Empty() const noexcept { return size_ == 0; }
  std::span<std::uint8_t> Span() noexcept { return {bytes_.get(), size_}; }
  std::span<const std::uint8_t> Span() const noexcept { return {bytes_.get(), size_}; }

 private:
  std::unique_ptr<std::uint8_t[]> bytes_;
  std::uint32_t size_ = 0;
};

}  // namespace vz
